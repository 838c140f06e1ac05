// Reads the tracker's template and transaction files the way the reporting tool does; the first
// byte chooses the file. A file that reads holds no more items or records than its bytes can, and
// no text that runs on past its terminating zero.
#include "fuzz/fuzzinput.h"
#include "reporting/data/readers.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace vsolo::reporting;
using vsolo::fuzz::require;

const std::string kPath = "/fuzz/file";

// The fixed part of an item, and of a record with the header before the records.
constexpr std::size_t kMinItem = 4 * 4 + 4 + 3 * 4;
constexpr std::size_t kRecordSize = 39;
constexpr std::size_t kTransactionHeader = 29;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vsolo::fuzz::Input input(data, size);
    const bool transactions = input.byte() & 1;
    const std::string_view file = input.rest();
    if (transactions) {
        std::vector<TimeSpan> spans;
        bool cutShort = false;
        const ReportingResult result = decodeTransactionFile(file, kPath, spans, cutShort);
        require(result.ok() || !cutShort);
        require(result.ok() || (spans.empty() && !result.message.empty()));
        require(spans.empty() || spans.size() <= (file.size() - kTransactionHeader) / kRecordSize);
        return 0;
    }
    std::vector<TemplateItem> items;
    const ReportingResult result = decodeTemplateFile(file, kPath, items);
    require(result.ok() || (items.empty() && !result.message.empty()));
    require(items.size() * kMinItem <= file.size());
    for (const TemplateItem& item : items) {
        for (const std::string* text : {&item.name, &item.description, &item.thirdText}) {
            require(text->find('\0') == std::string::npos);
        }
    }
    return 0;
}
