#include "mailbridge/parse/bodyparser.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

namespace vsolo::mail {

namespace {

constexpr std::string_view kSeparator = "\x01\x01";
constexpr std::string_view kColumnEnd = "||";
constexpr std::size_t kMarkLength = 2; // both terminators are two bytes

// Turns the spaces sent as 0x02 back into spaces and drops the line breaks that mail systems put
// into long lines, compacting the text in place up to its terminator. Returns the new length.
std::size_t unwrap(char* buffer) {
    std::size_t out = 0;
    for (std::size_t in = 0; buffer[in] != '\0'; ++in) {
        const char c = buffer[in];
        if (c == '\r' || c == '\n') {
            continue;
        }
        buffer[out++] = c == '\x02' ? ' ' : c;
    }
    buffer[out] = '\0';
    return out;
}

// The leading decimal digits of the text, 0 when there are none; a count beyond INT_MAX is
// held at INT_MAX.
int leadingCount(std::string_view text) {
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

void endField(char* buffer, std::size_t markAt) {
    buffer[markAt] = '\0';
    buffer[markAt + 1] = '\0';
}

} // namespace

void BodyParser::clear() {
    m_cells.clear();
    m_resourceName.clear();
    m_recordCount = 0;
    m_columns = 0;
}

BodyParser::Outcome BodyParser::parse(char* buffer, int columns) {
    clear();
    if (columns < 1) {
        return Outcome::BadColumns;
    }
    m_columns = columns;
    if (buffer == nullptr) {
        return Outcome::NoHeader;
    }
    const std::string_view body(buffer, unwrap(buffer));
    const std::size_t nameEnd = body.find(kSeparator);
    if (nameEnd == std::string_view::npos) {
        return Outcome::NoHeader;
    }
    const std::size_t countEnd = body.find(kSeparator, nameEnd + kMarkLength);
    if (countEnd == std::string_view::npos) {
        return Outcome::NoHeader;
    }
    if (nameEnd >= kResourceNameLimit) {
        return Outcome::ResourceNameTooLong;
    }

    // Every field is found before any byte is overwritten, so that a refused body keeps its
    // separators. Fields follow each other without gaps: each one's terminator lies just before
    // the next one's start.
    std::size_t start = countEnd + kMarkLength;
    std::size_t lastMark = 0;
    int column = 0;
    long rows = 0;
    for (;;) {
        const std::string_view terminator = column == columns - 1 ? kSeparator : kColumnEnd;
        const std::size_t mark = body.find(terminator, start);
        if (mark == std::string_view::npos) {
            break; // the tail of the body is not a field
        }
        if (m_cells.size() == kMaxCells) {
            clear();
            m_columns = columns;
            return Outcome::TooManyCells;
        }
        m_cells.push_back(buffer + start);
        lastMark = mark;
        start = mark + kMarkLength;
        if (++column == columns) {
            ++rows;
            column = 0;
        }
    }

    endField(buffer, nameEnd);
    endField(buffer, countEnd);
    for (std::size_t i = 1; i < m_cells.size(); ++i) {
        endField(buffer, static_cast<std::size_t>(m_cells[i] - buffer) - kMarkLength);
    }
    if (!m_cells.empty()) {
        endField(buffer, lastMark);
    }
    m_resourceName.assign(body.substr(0, nameEnd));
    m_recordCount =
        leadingCount(body.substr(nameEnd + kMarkLength, countEnd - nameEnd - kMarkLength));
    m_rowsParsed += rows;
    return Outcome::Parsed;
}

const char* BodyParser::field(int row, int column) const {
    if (row < 0 || column < 0 || column >= m_columns ||
        static_cast<std::size_t>(row) >= m_cells.size()) {
        return "";
    }
    const std::uint64_t index = static_cast<std::uint64_t>(row) * static_cast<unsigned>(m_columns) +
                                static_cast<unsigned>(column);
    return index < m_cells.size() ? m_cells[static_cast<std::size_t>(index)] : "";
}

const char* BodyParser::slot(std::size_t index) const {
    return index < m_cells.size() ? m_cells[index] : "";
}

} // namespace vsolo::mail
