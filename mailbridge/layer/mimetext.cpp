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

// A header field line: printable ASCII other than ':' up to the first colon (RFC 5322 ftext).
bool startsWithFieldName(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] >= 33 && line[i] <= 126 && line[i] != ':')
        ++i;
    return i > 0 && i < line.size() && line[i] == ':';
}

bool isEnvelopeField(std::string_view line) {
    const auto named = [&](std::string_view name) {
        return line.size() > name.size() && line[name.size()] == ':' &&
               std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
               });
    };
    return named("from") || named("to") || named("subject") || named("x-message-type");
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

bool envelopeFields(std::string_view raw, std::string& fields) {
    fields.clear();
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
        at = end + 1;
        if (line.empty() || line == "\r")
            break; // the end of the header
        if (line[0] != ' ' && line[0] != '\t') {
            endField();
            const bool named = startsWithFieldName(line);
            if (!named && !anyField)
                return false;
            anyField = anyField || named;
            keep = named && isEnvelopeField(line);
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

std::string fieldText(const vmime::header& header, const char* fieldName) {
    try {
        const auto field = header.findField(fieldName);
        if (!field)
            return {};
        const auto value = field->getValue<vmime::text>();
        if (!value)
            return {};
        return trimmed(validUtf8(
            value->getConvertedText(vmime::charset(vmime::charsets::UTF_8), replacingOptions())));
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace vsolo::mail
