#include "mailbridge/parse/timesheetrecords.h"

#include "core/base/bytes.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace vsolo::mail {
namespace {

void appendRecord(ByteWriter& out, const BodyParser& body, int row) {
    out.writeFixedText(body.resourceName(), 9);
    out.writeI32(decimalKey(body.field(row, 3)));
    out.writeI32(decimalKey(body.field(row, 4)));
    out.writeFixedText(body.field(row, 0), 11);
    out.writeFixedText(body.field(row, 1), 6);
    out.writeFixedText(body.field(row, 0), 11);
    out.writeFixedText(body.field(row, 2), 6);
    out.writeFixedText(body.field(row, 5), 61);
}

} // namespace

std::int32_t decimalKey(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        ++text;
    }
    std::int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value <= std::int64_t{INT32_MAX} + 1) {
            value = value * 10 + (*text - '0');
        }
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::int64_t{INT32_MIN}, std::int64_t{INT32_MAX}));
}

bool appendTimeSheetRecords(std::string& out, BodyParser& parser, const char* noteText) {
    const std::string note = noteText != nullptr ? noteText : "";
    std::vector<char> buffer(note.begin(), note.end());
    buffer.push_back('\0');
    const long before = parser.rowsParsed();
    if (parser.parse(buffer.data(), kTimeSheetColumns) != BodyParser::Outcome::Parsed) {
        return false;
    }
    const int records = parser.recordCount();
    if (parser.rowsParsed() - before < records) {
        return false;
    }
    ByteWriter writer;
    for (int row = 0; row < records; ++row) {
        appendRecord(writer, parser, row);
    }
    out += writer.data();
    return true;
}

} // namespace vsolo::mail
