#pragma once

// What the fuzz targets share: an invariant that breaks stops the run at the place it broke, and
// an input is taken apart into the fields a target needs.

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
