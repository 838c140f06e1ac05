// Running out of memory is passed on, never met by a fallback: that would give another text.

#include "mailbridge/layer/mimetext.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <vmime/vmime.hpp>

namespace vsolo::mail {
namespace {

// More colons than this in one header field (with its continuation lines) could make VMime's
// parser of address groups recurse too deeply.
constexpr std::size_t kMaxFieldColons = 500;

// The length of the valid UTF-8 sequence at `at`, 0 when none starts there.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong
        if (lead == 0xF4)
            high = 0x8F; // beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() - at < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

vmime::charsetConverterOptions replacingOptions() {
    vmime::charsetConverterOptions options;
    options.silentlyReplaceInvalidSequences = true;
    options.invalidSequence = "\xEF\xBF\xBD";
    return options;
}

std::string convertedToUtf8(const std::string& text, const char* charsetName) {
    try {
        std::string out;
        vmime::charset::convert(text, out, vmime::charset(charsetName),
                                vmime::charset(vmime::charsets::UTF_8), replacingOptions());
        return validUtf8(out);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return validUtf8(text);
    }
}

// The length of the field name a header line starts with: printable ASCII other than ':' (RFC
// 5322 ftext) followed by the colon, blanks allowed before it as in the obsolete syntax; 0 when
// the line is no field.
std::size_t fieldNameLength(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] >= 33 && line[i] <= 126 && line[i] != ':')
        ++i;
    std::size_t colon = i;
    while (colon < line.size() && (line[colon] == ' ' || line[colon] == '\t'))
        ++colon;
    return i > 0 && colon < line.size() && line[colon] == ':' ? i : 0;
}

bool startsWithFieldName(std::string_view line) {
    return fieldNameLength(line) > 0;
}

// Whether the field line has one of the lower-case names.
bool isNamed(std::string_view line, std::initializer_list<std::string_view> names) {
    const std::string_view fieldName = line.substr(0, fieldNameLength(line));
    return std::any_of(names.begin(), names.end(), [&](std::string_view name) {
        return std::equal(
            name.begin(), name.end(), fieldName.begin(), fieldName.end(),
            [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    });
}

} // namespace

std::string validUtf8(std::string_view text) {
    if (isValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++at;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}

std::string toUtf8(const std::string& text, const std::string& charsetName) {
    const vmime::charset from(charsetName);
    if (from == vmime::charset(vmime::charsets::UTF_8))
        return validUtf8(text);
    // Undeclared or US-ASCII text with 8-bit bytes is most often UTF-8, else Windows-1252.
    if (charsetName.empty() || from == vmime::charset(vmime::charsets::US_ASCII))
        return isValidUtf8(text) ? text : convertedToUtf8(text, vmime::charsets::WINDOWS_1252);
    try {
        std::string out;
        vmime::charset::convert(text, out, from, vmime::charset(vmime::charsets::UTF_8),
                                replacingOptions());
        return validUtf8(out);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return isValidUtf8(text) ? text : convertedToUtf8(text, vmime::charsets::WINDOWS_1252);
    }
}

bool nestsTooDeep(std::string_view raw) {
    constexpr std::size_t kMaxMultiparts = 200;
    constexpr std::string_view kMultipart = "multipart";
    std::size_t multiparts = 0;
    std::size_t colons = 0;
    bool inField = false;
    for (std::size_t at = 0; at < raw.size();) {
        std::size_t end = raw.find('\n', at);
        if (end == std::string_view::npos)
            end = raw.size();
        const std::string_view line = raw.substr(at, end - at);
        at = end + 1;
        for (std::size_t i = 0; i + kMultipart.size() <= line.size(); ++i) {
            std::size_t k = 0;
            while (k < kMultipart.size() &&
                   std::tolower(static_cast<unsigned char>(line[i + k])) == kMultipart[k])
                ++k;
            if (k == kMultipart.size() && ++multiparts > kMaxMultiparts)
                return true;
        }
        const bool continuation = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        if (!continuation) {
            inField = startsWithFieldName(line);
            colons = 0;
        }
        if (inField) {
            colons += static_cast<std::size_t>(std::count(line.begin(), line.end(), ':'));
            if (colons > kMaxFieldColons)
                return true;
        }
    }
    return false;
}

bool headerFields(std::string_view raw, std::initializer_list<std::string_view> names,
                  std::string& fields, std::size_t* headerEnd) {
    fields.clear();
    if (headerEnd != nullptr)
        *headerEnd = raw.size();
    std::string field;
    bool keep = false;
    bool anyField = false;
    std::size_t colons = 0;
    const auto endField = [&] {
        if (keep && colons <= kMaxFieldColons)
            fields += field;
        field.clear();
    };
    for (std::size_t at = 0; at < raw.size();) {
        std::size_t end = raw.find('\n', at);
        if (end == std::string_view::npos)
            end = raw.size();
        const std::string_view line = raw.substr(at, end - at);
        if (line.empty() || line == "\r") {
            if (headerEnd != nullptr)
                *headerEnd = at;
            break;
        }
        at = end + 1;
        if (line[0] != ' ' && line[0] != '\t') {
            endField();
            const bool named = startsWithFieldName(line);
            if (!named && !anyField)
                return false;
            anyField = anyField || named;
            keep = named && isNamed(line, names);
            colons = 0;
        }
        if (keep) {
            colons += static_cast<std::size_t>(std::count(line.begin(), line.end(), ':'));
            field.append(line).append("\n");
        }
    }
    endField();
    return anyField;
}

std::string textAsUtf8(const vmime::text& text, const vmime::charsetConverterOptions& options) {
    const vmime::charset utf8(vmime::charsets::UTF_8);
    const vmime::charset ascii(vmime::charsets::US_ASCII);
    std::string out;
    for (const auto& word : text.getWordList()) {
        const std::string& bytes = word->getBuffer();
        // Most words are plain ASCII, which every converter gives back as it is; only the others
        // are worth a converter.
        const bool plain = std::all_of(bytes.begin(), bytes.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (plain && (word->getCharset() == ascii || word->getCharset() == utf8))
            out += bytes;
        else
            out += word->getConvertedText(utf8, options);
    }
    return out;
}

std::shared_ptr<const vmime::headerField> firstField(const vmime::header& header,
                                                     std::string_view name) {
    for (std::size_t i = 0; i < header.getFieldCount(); ++i) {
        auto field = header.getFieldAt(i);
        const std::string& fieldName = field->getName();
        if (std::equal(fieldName.begin(), fieldName.end(), name.begin(), name.end(),
                       [](char a, char b) {
                           return std::tolower(static_cast<unsigned char>(a)) ==
                                  std::tolower(static_cast<unsigned char>(b));
                       }))
            return field;
    }
    return nullptr;
}

std::string fieldText(const vmime::header& header, const char* fieldName) {
    try {
        const auto field = firstField(header, fieldName);
        if (!field)
            return {};
        const auto value = field->getValue<vmime::text>();
        if (!value)
            return {};
        return trimmed(validUtf8(textAsUtf8(*value, replacingOptions())));
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace vsolo::mail
