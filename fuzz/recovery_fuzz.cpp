// Reads recovery files. A file that reads is written again: that text must read back to the same
// records, and be written the same once more, since it is the one form the writer gives.
#include "core/model/recovery.h"
#include "core/model/transactions.h"
#include "fuzz/fuzzinput.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vsolo;
using fuzz::require;

bool same(const Transaction& a, const Transaction& b) {
    return a.date() == b.date() && a.start() == b.start() && a.end() == b.end() &&
           a.level1Key() == b.level1Key() && a.level2Key() == b.level2Key() &&
           a.description() == b.description();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<Transaction> records;
    if (!parseRecovery(text, records).ok) {
        require(records.empty());
        return 0;
    }
    const std::string written = serializeRecovery(records);
    std::vector<Transaction> again;
    require(parseRecovery(written, again).ok && again.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        require(same(records[i], again[i]));
    }
    require(serializeRecovery(again) == written);
    return 0;
}
