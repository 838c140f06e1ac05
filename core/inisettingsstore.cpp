#include "core/inisettingsstore.h"

#include "core/base/fileio.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <vector>

namespace vsolo {

namespace {

int hexValue(char32_t c) {
    if (c >= '0' && c <= '9') {
        return static_cast<int>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<int>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<int>(c - 'A' + 10);
    }
    return -1;
}

// The characters of UTF-8 text; a byte that is no part of a valid sequence stands for itself,
// as a Latin-1 character.
std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t code = lead;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07u;
        }
        bool valid = i + static_cast<std::size_t>(extra) < text.size() || extra == 0;
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0u) != 0x80u) {
                valid = false;
            } else {
                code = (code << 6) | (next & 0x3Fu);
            }
        }
        if (valid && extra > 0 &&
            ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
             (code >= 0xD800 && code <= 0xDFFF))) {
            valid = false;
        }
        if (!valid || (lead >= 0x80 && extra == 0)) {
            out += static_cast<char32_t>(lead);
            ++i;
            continue;
        }
        out += code;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string toUtf8(std::u32string_view text) {
    std::string out;
    for (const char32_t c : text) {
        // QString holds UTF-16: a code from an escape past its range cannot be a character.
        appendUtf8(out, c > 0x10FFFF ? U'\uFFFD' : c);
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// A group or key name: "%XX" and "%UXXXX" give the character of that code, "\" is the group
// separator "/"; everything else stands for itself.
std::string unescapedKey(std::string_view key) {
    const std::u32string chars = decodeUtf8(key);
    std::u32string out;
    std::size_t i = 0;
    while (i < chars.size()) {
        const char32_t c = chars[i];
        if (c == '\\') {
            out += U'/';
            ++i;
            continue;
        }
        if (c == '%') {
            const bool wide = i + 1 < chars.size() && chars[i + 1] == 'U';
            const std::size_t digits = wide ? 4 : 2;
            const std::size_t start = i + (wide ? 2 : 1);
            char32_t code = 0;
            bool ok = start + digits <= chars.size();
            for (std::size_t k = 0; ok && k < digits; ++k) {
                const int h = hexValue(chars[start + k]);
                ok = h >= 0;
                code = code * 16 + static_cast<char32_t>(h);
            }
            if (ok) {
                out += code;
                i = start + digits;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return toUtf8(out);
}

// The items of a value: quotes keep blanks, "," and ";"; "\" escapes; outside quotes "," ends an
// item, ";" starts a comment and blanks around an item are dropped.
std::vector<std::u32string> unescapedItems(std::string_view value) {
    const std::u32string chars = decodeUtf8(value);
    std::vector<std::u32string> items(1);
    bool quoted = false;
    // The length of the current item up to its last character that is not an unquoted blank.
    std::size_t keep = 0;
    std::size_t i = 0;
    auto take = [&](char32_t c, bool counts) {
        items.back() += c;
        if (counts) {
            keep = items.back().size();
        }
    };
    while (i < chars.size()) {
        const char32_t c = chars[i++];
        if (c == '"') {
            quoted = !quoted;
            keep = items.back().size();
            continue;
        }
        if (c == '\\' && i < chars.size()) {
            const char32_t e = chars[i++];
            switch (e) {
            case 'a':
                take(U'\a', true);
                break;
            case 'b':
                take(U'\b', true);
                break;
            case 'f':
                take(U'\f', true);
                break;
            case 'n':
                take(U'\n', true);
                break;
            case 'r':
                take(U'\r', true);
                break;
            case 't':
                take(U'\t', true);
                break;
            case 'v':
                take(U'\v', true);
                break;
            case 'x': {
                char32_t code = 0;
                while (i < chars.size() && hexValue(chars[i]) >= 0 && code <= 0x10FFFF) {
                    code = code * 16 + static_cast<char32_t>(hexValue(chars[i++]));
                }
                take(code, true);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    char32_t code = e - U'0';
                    for (int k = 0; k < 2 && i < chars.size() && chars[i] >= '0' && chars[i] <= '7';
                         ++k) {
                        code = code * 8 + (chars[i++] - U'0');
                    }
                    take(code, true);
                } else {
                    take(e, true);
                }
            }
            continue;
        }
        if (!quoted) {
            if (c == ',') {
                items.back().resize(keep);
                items.emplace_back();
                keep = 0;
                continue;
            }
            if (c == ';') {
                break;
            }
            if ((c == ' ' || c == '\t') && items.back().empty()) {
                continue;
            }
            take(c, c != ' ' && c != '\t');
            continue;
        }
        take(c, true);
    }
    items.back().resize(keep);
    return items;
}

// A value as the tracker reads it: "@ByteArray(...)" is bytes, "@@" a text starting with "@", a
// list is joined by ", ".
IniValue valueOf(std::string_view raw) {
    std::vector<std::u32string> items = unescapedItems(raw);
    IniValue value;
    value.isList = items.size() > 1;
    if (value.isList) {
        for (std::size_t k = 0; k < items.size(); ++k) {
            value.text += (k == 0 ? "" : ", ") + toUtf8(items[k]);
        }
        return value;
    }
    const std::u32string& item = items.front();
    static const std::u32string kByteArray = U"@ByteArray(";
    if (item.size() > kByteArray.size() && item.compare(0, kByteArray.size(), kByteArray) == 0 &&
        item.back() == U')') {
        for (std::size_t k = kByteArray.size(); k + 1 < item.size(); ++k) {
            value.text += static_cast<char>(item[k] & 0xFF);
        }
        return value;
    }
    if (item.size() >= 2 && item[0] == U'@' && item[1] == U'@') {
        value.text = toUtf8(std::u32string_view(item).substr(1));
        return value;
    }
    value.text = toUtf8(item);
    return value;
}

} // namespace

IniValues parseQSettingsIni(std::string_view text) {
    IniValues values;
    std::string section;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const auto close = line.find(']');
            const std::string_view raw = line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1);
            // "[General]" holds the keys outside any group; a group named so is "[%General]".
            section = raw == "General"    ? std::string()
                      : raw == "%General" ? std::string("General")
                                          : unescapedKey(raw);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string name = unescapedKey(trimmed(line.substr(0, equals)));
        values[{section, name}] = valueOf(line.substr(equals + 1));
    }
    return values;
}

IniSettingsStore::IniSettingsStore(const std::string& path) {
    std::string bytes;
    FileError error;
    if (readWholeFile(path, bytes, error)) {
        m_values = parseQSettingsIni(bytes);
        m_read = true;
    }
}

namespace {

// Where QSettings keeps the files of the organisation: the user's configuration folder.
std::string organisationFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/Orvane Systems";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/Orvane Systems";
}

} // namespace

std::string IniSettingsStore::trackerSettingsPath() {
    return organisationFolder() + "/Veltimo Solo.ini";
}

std::string IniSettingsStore::reportingSettingsPath() {
    return organisationFolder() + "/Veltimo Solo Reporting.ini";
}

std::optional<std::int32_t> IniSettingsStore::readInt(std::string_view section,
                                                      std::string_view name) const {
    const auto it = m_values.find({std::string(section), std::string(name)});
    if (it == m_values.end() || it->second.isList) {
        return std::nullopt;
    }
    std::string_view digits = trimmed(it->second.text);
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    std::int32_t number = 0;
    const auto [end, code] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (code != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::string> IniSettingsStore::readText(std::string_view section,
                                                      std::string_view name) const {
    const auto it = m_values.find({std::string(section), std::string(name)});
    if (it == m_values.end()) {
        return std::nullopt;
    }
    return it->second.text;
}

bool IniSettingsStore::writeInt(std::string_view, std::string_view, std::int32_t) {
    return false;
}

bool IniSettingsStore::writeText(std::string_view, std::string_view, std::string_view) {
    return false;
}

void IniSettingsStore::remove(std::string_view, std::string_view) {}

} // namespace vsolo
