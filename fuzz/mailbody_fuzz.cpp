// Parses message bodies as the mail bridge receives them: the first byte is the column count
// (signed, so that refused counts are tried too), the rest the body. Each body is parsed twice,
// the second time cut in half after the first buffer is freed, so that a cell of an earlier parse
// that is still handed out is a use after free.
#include "mailbridge/parse/bodyparser.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using vsolo::mail::BodyParser;

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// A cell is a text inside the parsed buffer, or an empty text of the parser's own.
void readCell(const char* cell, const std::vector<char>& buffer) {
    require(cell != nullptr);
    const std::size_t length = std::strlen(cell);
    if (length > 0) {
        require(cell >= buffer.data() && cell + length < buffer.data() + buffer.size());
    }
}

void readTable(const BodyParser& parser, BodyParser::Outcome outcome, int columns,
               const std::vector<char>& buffer) {
    if (outcome != BodyParser::Outcome::Parsed) {
        require(parser.resourceName()[0] == '\0' && parser.recordCount() == 0);
        require(parser.slot(0)[0] == '\0' && parser.field(0, 0)[0] == '\0');
        return;
    }
    require(std::strlen(parser.resourceName()) < vsolo::mail::kResourceNameLimit);
    require(parser.recordCount() >= 0 && parser.columns() == columns);
    // Every row the header announces, as far as the table can reach, and a few beyond.
    const long reach = static_cast<long>(vsolo::mail::kMaxCells) / columns + 2;
    const long rows = std::min<long>(parser.recordCount(), reach) + 2;
    const int width = std::min(columns, 64);
    for (int row = 0; row < rows; ++row) {
        for (int column = -1; column <= width; ++column) {
            readCell(parser.field(row, column), buffer);
        }
        readCell(parser.field(row, columns - 1), buffer);
        readCell(parser.field(row, columns), buffer);
        const std::size_t index = static_cast<std::size_t>(row) * static_cast<unsigned>(columns);
        require(parser.slot(index) == parser.field(row, 0) || parser.slot(index)[0] == '\0');
    }
    require(parser.slot(vsolo::mail::kMaxCells)[0] == '\0');
    require(parser.field(INT_MAX, INT_MAX)[0] == '\0' && parser.field(INT_MIN, 0)[0] == '\0');
    require(parser.field(-1, 0)[0] == '\0' && parser.field(0, -1)[0] == '\0');
    require(parser.slot(SIZE_MAX)[0] == '\0');
}

std::vector<char> terminated(const std::uint8_t* bytes, std::size_t size) {
    std::vector<char> buffer(bytes, bytes + size);
    buffer.push_back('\0');
    return buffer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const int columns = static_cast<std::int8_t>(data[0]);
    BodyParser parser;

    auto whole = std::make_unique<std::vector<char>>(terminated(data + 1, size - 1));
    const auto first = parser.parse(whole->data(), columns);
    readTable(parser, first, columns, *whole);
    const long rows = parser.rowsParsed();
    whole.reset();

    const std::vector<char> half = terminated(data + 1, (size - 1) / 2);
    std::vector<char> buffer = half;
    const auto second = parser.parse(buffer.data(), columns);
    readTable(parser, second, columns, buffer);
    require(parser.rowsParsed() >= rows);
    return 0;
}
