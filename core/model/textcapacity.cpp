#include "core/model/textcapacity.h"

#include "core/base/bytes.h"
#include "core/base/placeholders.h"

#include <cstdio>

namespace vsolo {

namespace {

std::string codeOf(char32_t codePoint) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
    return text;
}

} // namespace

std::optional<std::string> textEntryProblem(std::string_view text, const TextCapacity& capacity,
                                            std::string_view what) {
    std::size_t characters = 0;
    for (std::size_t p = 0; p < text.size(); ++characters) {
        const std::size_t start = p;
        const char32_t codePoint = nextCodePoint(text, p);
        unsigned char ignored = 0;
        if (capacity.windows1252 && !windows1252Byte(codePoint, ignored)) {
            return fillPlaceholders(tx(kTextCharacterNotStorableText),
                                    {what, text.substr(start, p - start), codeOf(codePoint)});
        }
    }
    if (characters > capacity.maxCharacters) {
        return fillPlaceholders(
            tx(kTextTooManyCharactersText),
            {what, std::to_string(characters), std::to_string(capacity.maxCharacters)});
    }
    // In Windows-1252 every character is one byte, so only UTF-8 can take more bytes than it has
    // characters.
    if (!capacity.windows1252 && text.size() > capacity.maxBytes) {
        return fillPlaceholders(tx(kTextTooManyBytesText), {what, std::to_string(text.size()),
                                                            std::to_string(capacity.maxBytes)});
    }
    return std::nullopt;
}

std::string fittedText(std::string_view text, const TextCapacity& capacity) {
    std::string fitted;
    std::size_t characters = 0;
    for (std::size_t p = 0; p < text.size() && characters < capacity.maxCharacters; ++characters) {
        const std::size_t start = p;
        const char32_t codePoint = nextCodePoint(text, p);
        unsigned char ignored = 0;
        if (capacity.windows1252 && !windows1252Byte(codePoint, ignored)) {
            fitted += '?';
            continue;
        }
        const std::string_view character = text.substr(start, p - start);
        // A Windows-1252 field takes one byte a character, whatever its UTF-8 length.
        if (!capacity.windows1252 && fitted.size() + character.size() > capacity.maxBytes) {
            break;
        }
        fitted += character;
    }
    return fitted;
}

} // namespace vsolo
