#pragma once

// What the fuzz targets share: an invariant that breaks stops the run at the place it broke, the
// check that a text is UTF-8, and an input taken apart into the fields a target needs.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vsolo::fuzz {

inline void require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing past
// U+10FFFF.
inline bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : m_rest(reinterpret_cast<const char*>(data), size) {}

    // The next byte, 0 once the input is used up.
    std::uint8_t byte() {
        if (m_rest.empty()) {
            return 0;
        }
        const auto value = static_cast<std::uint8_t>(m_rest.front());
        m_rest.remove_prefix(1);
        return value;
    }
    // A little-endian 16-bit length, then that many bytes or as many as are left.
    std::string_view counted() {
        const std::size_t length = byte() | std::size_t{byte()} << 8;
        return take(length);
    }
    std::string_view take(std::size_t length) {
        const std::string_view part = m_rest.substr(0, std::min(length, m_rest.size()));
        m_rest.remove_prefix(part.size());
        return part;
    }
    // Up to the next '\n' (not included), or the rest.
    std::string_view line() {
        const std::size_t end = m_rest.find('\n');
        const std::string_view part = take(end);
        take(1);
        return part;
    }
    std::string_view rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

} // namespace vsolo::fuzz
