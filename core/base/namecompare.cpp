#include "core/base/namecompare.h"

#include <cstdint>

namespace vsolo {

namespace {

constexpr char32_t kInvalidBase = 0x110000;

// Reads one code point at pos and advances pos; invalid bytes come back as kInvalidBase + byte.
char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
    } else {
        ++pos;
        return kInvalidBase + lead;
    }
    if (pos + static_cast<std::size_t>(length) > s.size()) {
        ++pos;
        return kInvalidBase + lead;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kInvalidBase + lead;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kInvalidBase + lead;
    }
    pos += static_cast<std::size_t>(length);
    return cp;
}

} // namespace

char32_t foldCodePoint(char32_t c) {
    if (c >= 'A' && c <= 'Z') {
        return c + 0x20;
    }
    if (c < 0xC0 || c > 0x17E) {
        return c;
    }
    if (c <= 0xDE) {
        return c == 0xD7 ? c : c + 0x20;
    }
    if (c < 0x100) {
        return c;
    }
    if (c == 0x130) {
        return U'i';
    }
    if (c == 0x178) {
        return 0xFF;
    }
    const bool evenCapitals = (c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177);
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenCapitals && c % 2 == 0) || (oddCapitals && c % 2 == 1)) {
        return c + 1;
    }
    return c;
}

std::u32string foldedName(std::string_view name) {
    std::u32string out;
    out.reserve(name.size());
    std::size_t i = 0;
    while (i < name.size()) {
        out.push_back(foldCodePoint(nextCodePoint(name, i)));
    }
    return out;
}

int compareNames(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = foldCodePoint(nextCodePoint(a, i));
        const char32_t cb = foldCodePoint(nextCodePoint(b, j));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

} // namespace vsolo
