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
    // A fixed text of `size` bytes: the text up to the first zero byte, in Windows-1252.
    bool readFixedText(std::size_t size, std::string& out);

    enum class CountedText { Ok, Truncated, TooLong };
    // A counted text: a 32-bit length that includes the terminating zero, then that many bytes.
    // A length above `limit` is refused before anything is read; so is one that runs past the end.
    CountedText readCountedText(std::size_t limit, std::string& out);

private:
    std::string_view m_data;
    std::size_t m_pos = 0;
};

// A fixed text of `size` bytes appended to `out`: the UTF-8 text in Windows-1252, at most size - 1
// characters of it, then zeros up to size. False when the field could not hold the text as it is
// (too long, or a character without a Windows-1252 byte, written as '?'); callers check the text
// before writing (see core/textcapacity.h), so that nothing is ever cut without the user knowing.
bool appendFixedText(std::string& out, std::string_view text, std::size_t size);

class ByteWriter {
public:
    void writeU8(std::uint8_t value) { m_out.push_back(static_cast<char>(value)); }
    void writeU16(std::uint16_t value);
    void writeI32(std::int32_t value);
    void writeBytes(std::string_view bytes) { m_out.append(bytes); }
    void writeZeros(std::size_t count) { m_out.append(count, '\0'); }
    // See appendFixedText.
    bool writeFixedText(std::string_view text, std::size_t size) {
        return appendFixedText(m_out, text, size);
    }
    // The length including the terminating zero, the text, the zero. A text whose length would
    // be above `limit` is cut, at a character, to fit it: the reader would refuse it whole.
    // False when the text was cut.
    bool writeCountedText(std::string_view text, std::size_t limit = SIZE_MAX);

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

// Counted texts in files are UTF-8; one that is not valid UTF-8 comes from an older system and is
// read as Windows-1252. Fixed texts are always Windows-1252, the encoding of the layouts that have
// them: they are written in it, so they are read in it, even when the bytes happen to be valid
// UTF-8 too ("\xC3\xA9" is the two characters of "Ã©", never "é").
bool isValidUtf8(std::string_view bytes);
std::string decodeFileText(std::string_view bytes);
std::string decodeWindows1252(std::string_view bytes);
// The Windows-1252 bytes of a UTF-8 text; false when a character has no Windows-1252 byte (it is
// written as '?'). The five bytes that Windows-1252 leaves unassigned stand for the controls of the
// same number, as decodeWindows1252 reads them, so every byte reads back and writes back unchanged.
bool encodeWindows1252(std::string_view utf8, std::string& out);
bool windows1252Byte(char32_t codePoint, unsigned char& out);

// The code point of the UTF-8 character at `pos`, which moves past it; a byte that does not start
// a valid character is taken alone, as U+FFFD. `pos` must be inside the text.
char32_t nextCodePoint(std::string_view text, std::size_t& pos);
std::size_t countCharacters(std::string_view utf8);
// The longest prefix of at most maxBytes bytes that does not end inside a UTF-8 character.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

} // namespace vsolo
