#include "core/base/bytes.h"

#include <array>

namespace vsolo {

namespace {

// Windows-1252 code points for the bytes 0x80..0x9F; the five unassigned bytes map to themselves
// as C1 controls so that nothing is lost.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Length of the valid UTF-8 sequence at p (1 to 4), or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view s, std::size_t p) {
    const auto lead = static_cast<unsigned char>(s[p]);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (p + length > s.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[p + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if ((length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
        return 0;
    }
    return length;
}

} // namespace

bool ByteReader::readU8(std::uint8_t& out) {
    if (remaining() < 1) {
        return false;
    }
    out = static_cast<std::uint8_t>(m_data[m_pos++]);
    return true;
}

bool ByteReader::readU16(std::uint16_t& out) {
    if (remaining() < 2) {
        return false;
    }
    out = static_cast<std::uint16_t>(static_cast<unsigned char>(m_data[m_pos]) |
                                     (static_cast<unsigned char>(m_data[m_pos + 1]) << 8));
    m_pos += 2;
    return true;
}

bool ByteReader::readI32(std::int32_t& out) {
    if (remaining() < 4) {
        return false;
    }
    out = loadI32(m_data.data() + m_pos);
    m_pos += 4;
    return true;
}

bool ByteReader::skip(std::size_t count) {
    if (remaining() < count) {
        return false;
    }
    m_pos += count;
    return true;
}

bool ByteReader::readBytes(std::size_t count, std::string_view& out) {
    if (remaining() < count) {
        return false;
    }
    out = m_data.substr(m_pos, count);
    m_pos += count;
    return true;
}

bool ByteReader::readFixedText(std::size_t size, std::string& out) {
    std::string_view field;
    if (!readBytes(size, field)) {
        return false;
    }
    out = decodeWindows1252(field.substr(0, field.find('\0')));
    return true;
}

ByteReader::CountedText ByteReader::readCountedText(std::size_t limit, std::string& out) {
    std::int32_t length = 0;
    if (!readI32(length)) {
        return CountedText::Truncated;
    }
    if (length < 0 || static_cast<std::size_t>(length) > limit) {
        return CountedText::TooLong;
    }
    std::string_view field;
    if (!readBytes(static_cast<std::size_t>(length), field)) {
        return CountedText::Truncated;
    }
    out = decodeFileText(field.substr(0, field.find('\0')));
    return CountedText::Ok;
}

void ByteWriter::writeU16(std::uint16_t value) {
    m_out.push_back(static_cast<char>(value & 0xFF));
    m_out.push_back(static_cast<char>(value >> 8));
}

void ByteWriter::writeI32(std::int32_t value) {
    char bytes[4];
    storeI32(bytes, value);
    m_out.append(bytes, 4);
}

bool appendFixedText(std::string& out, std::string_view text, std::size_t size) {
    if (size == 0) {
        return text.empty();
    }
    const std::string_view untilZero = text.substr(0, text.find('\0'));
    std::string encoded;
    bool whole = encodeWindows1252(untilZero, encoded) && untilZero.size() == text.size();
    // One byte per character: the cut can never fall inside one.
    if (encoded.size() > size - 1) {
        encoded.resize(size - 1);
        whole = false;
    }
    out.append(encoded);
    out.append(size - encoded.size(), '\0');
    return whole;
}

bool ByteWriter::writeCountedText(std::string_view text, std::size_t limit) {
    const std::string_view untilZero = text.substr(0, text.find('\0'));
    const std::size_t room = limit == 0 ? 0 : limit - 1;
    const std::string_view kept = cutUtf8(untilZero, room);
    writeI32(static_cast<std::int32_t>(kept.size() + 1));
    m_out.append(kept);
    m_out.push_back('\0');
    return kept.size() == text.size();
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t p = 0; p < bytes.size();) {
        const std::size_t length = utf8SequenceLength(bytes, p);
        if (length == 0) {
            return false;
        }
        p += length;
    }
    return true;
}

std::string decodeFileText(std::string_view bytes) {
    return isValidUtf8(bytes) ? std::string(bytes) : decodeWindows1252(bytes);
}

std::string decodeWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else if (b < 0xA0) {
            appendUtf8(out, kCp1252High[b - 0x80]);
        } else {
            appendUtf8(out, b);
        }
    }
    return out;
}

bool windows1252Byte(char32_t codePoint, unsigned char& out) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        out = static_cast<unsigned char>(codePoint);
        return true;
    }
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == codePoint) {
            out = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

bool encodeWindows1252(std::string_view utf8, std::string& out) {
    out.clear();
    out.reserve(utf8.size());
    bool all = true;
    for (std::size_t p = 0; p < utf8.size();) {
        unsigned char b = 0;
        if (windows1252Byte(nextCodePoint(utf8, p), b)) {
            out += static_cast<char>(b);
        } else {
            out += '?';
            all = false;
        }
    }
    return all;
}

char32_t nextCodePoint(std::string_view text, std::size_t& pos) {
    const std::size_t length = utf8SequenceLength(text, pos);
    if (length == 0) {
        ++pos;
        return 0xFFFD;
    }
    const auto lead = static_cast<unsigned char>(text[pos]);
    char32_t cp = length == 1   ? lead
                  : length == 2 ? lead & 0x1F
                  : length == 3 ? lead & 0x0F
                                : lead & 0x07;
    for (std::size_t i = 1; i < length; ++i) {
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    }
    pos += length;
    return cp;
}

std::size_t countCharacters(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t p = 0; p < utf8.size(); ++count) {
        nextCodePoint(utf8, p);
    }
    return count;
}

std::string_view cutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = 0;
    for (std::size_t p = 0; p < text.size();) {
        std::size_t length = utf8SequenceLength(text, p);
        if (length == 0) {
            length = 1; // a stray byte is its own character
        }
        if (p + length > maxBytes) {
            break;
        }
        p += length;
        end = p;
    }
    return text.substr(0, end);
}

} // namespace vsolo
