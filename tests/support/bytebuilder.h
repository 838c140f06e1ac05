#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vsolo::testing {

// Builds file bytes field by field, independently of the program's own writers, so that a test
// states the layout it expects byte for byte.
class ByteBuilder {
public:
    ByteBuilder& u8(std::uint8_t value) {
        m_bytes.push_back(static_cast<char>(value));
        return *this;
    }
    ByteBuilder& u16(std::uint16_t value) {
        return u8(static_cast<std::uint8_t>(value & 0xFF))
            .u8(static_cast<std::uint8_t>(value >> 8));
    }
    ByteBuilder& i32(std::int32_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            u8(static_cast<std::uint8_t>((v >> shift) & 0xFF));
        }
        return *this;
    }
    ByteBuilder& raw(std::string_view bytes) {
        m_bytes.append(bytes);
        return *this;
    }
    ByteBuilder& zeros(std::size_t count) {
        m_bytes.append(count, '\0');
        return *this;
    }
    // The text as given, then zeros up to `size`; the caller keeps the text short enough.
    ByteBuilder& fixed(std::string_view text, std::size_t size) {
        m_bytes.append(text);
        m_bytes.append(size - text.size(), '\0');
        return *this;
    }
    // The length with the terminating zero, the text, the zero.
    ByteBuilder& counted(std::string_view text) {
        i32(static_cast<std::int32_t>(text.size() + 1));
        m_bytes.append(text);
        m_bytes.push_back('\0');
        return *this;
    }

    const std::string& bytes() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }
    operator std::string() const { return m_bytes; }

private:
    std::string m_bytes;
};

} // namespace vsolo::testing
