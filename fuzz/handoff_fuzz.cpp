// Turns time sheets received by mail into hand-off records, as the mail bridge collects them. The
// first byte cuts the input into two note texts read one after the other by one parser, so that
// the second is read after the first one's table. Every time sheet that is taken gives one record
// of the fixed size per announced row, with the keys its key columns give.
#include "core/base/bytes.h"
#include "fuzz/fuzzinput.h"
#include "mailbridge/parse/bodyparser.h"
#include "mailbridge/parse/timesheetrecords.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace vsolo::mail;
using vsolo::fuzz::require;

void readNote(BodyParser& parser, std::string_view text) {
    const std::string note(text);
    std::string records;
    if (!appendTimeSheetRecords(records, parser, note.c_str())) {
        require(records.empty());
        return;
    }
    // The same table read by a parser of its own, over a buffer that outlives it.
    std::string buffer = note;
    BodyParser table;
    require(table.parse(buffer.data(), kTimeSheetColumns) == BodyParser::Outcome::Parsed);
    require(records.size() == static_cast<std::size_t>(table.recordCount()) * kHandOffRecordSize);
    for (int row = 0; row < table.recordCount(); ++row) {
        const char* record = records.data() + static_cast<std::size_t>(row) * kHandOffRecordSize;
        require(vsolo::loadI32(record + 9) == decimalKey(table.field(row, 3)));
        require(vsolo::loadI32(record + 13) == decimalKey(table.field(row, 4)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vsolo::fuzz::Input input(data, size);
    const std::size_t cut = input.byte() * (input.rest().size() / 256 + 1);
    BodyParser parser;
    readNote(parser, input.take(cut));
    readNote(parser, input.rest());
    return 0;
}
