#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vsolo {

// Little-endian reading and writing for every file format of the program. Readers never read past
// the end of their input: each read reports whether the whole field was there.

class ByteReader {
public:
    explicit ByteReader(std::string_view data) : m_data(data) {}

    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos == m_data.size(); }

    bool readU8(std::uint8_t& out);
    bool readU16(std::uint16_t& out);
    bool readI32(std::int32_t& out);
    bool skip(std::size_t count);
    // The raw bytes of a field of the given size.
    bool readBytes(std::size_t count, std::string_view& out);
    // A fixed text of `size` bytes: the text up to the first zero byte, decoded as file text.
    bool readFixedText(std::size_t size, std::string& out);

    enum class CountedText { Ok, Truncated, TooLong };
    // A counted text: a 32-bit length that includes the terminating zero, then that many bytes.
    // A length above `limit` is refused before anything is read; so is one that runs past the end.
    CountedText readCountedText(std::size_t limit, std::string& out);

private:
    std::string_view m_data;
    std::size_t m_pos = 0;
};

class ByteWriter {
public:
    void writeU8(std::uint8_t value) { m_out.push_back(static_cast<char>(value)); }
    void writeU16(std::uint16_t value);
    void writeI32(std::int32_t value);
    void writeBytes(std::string_view bytes) { m_out.append(bytes); }
    void writeZeros(std::size_t count) { m_out.append(count, '\0'); }
    // At most size - 1 bytes of the text, never cut inside a character, then zeros up to size.
    void writeFixedText(std::string_view text, std::size_t size);
    // The length including the terminating zero, the text, the zero.
    void writeCountedText(std::string_view text);

    const std::string& data() const { return m_out; }
    std::string take() { return std::move(m_out); }
    std::size_t size() const { return m_out.size(); }
    void clear() { m_out.clear(); }
    void reserve(std::size_t n) { m_out.reserve(n); }

private:
    std::string m_out;
};

inline std::int32_t loadI32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    }
    return static_cast<std::int32_t>(v);
}

inline void storeI32(char* p, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<char>(v & 0xFF);
        v >>= 8;
    }
}

// Texts in files are UTF-8; a text that is not valid UTF-8 comes from an older system and is read
// as Windows-1252.
bool isValidUtf8(std::string_view bytes);
std::string decodeFileText(std::string_view bytes);
// The longest prefix of at most maxBytes bytes that does not end inside a UTF-8 character.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

} // namespace vsolo
