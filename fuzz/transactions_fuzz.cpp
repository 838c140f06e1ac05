// Reads transaction files of both layouts. The first byte chooses the layout the caller expects,
// how the reader is driven and how many bytes each read of the file gives (so that records cross
// the reader's refills); the rest is the file. Whatever the reader ends with, the complete records
// and the tail make up the file, and the records read are written again in the file's layout and
// read back the same.
#include "core/model/transactionformat.h"
#include "core/model/transactions.h"
#include "fuzz/fuzzinput.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vsolo;
using fuzz::require;

// Gives at most `chunk` bytes a read, or everything when `chunk` is 0.
ByteSource chunked(std::string_view bytes, std::size_t chunk) {
    return [bytes, chunk](char* buffer, std::size_t capacity) mutable -> std::int64_t {
        const std::size_t n = std::min({capacity, bytes.size(), chunk == 0 ? bytes.size() : chunk});
        std::memcpy(buffer, bytes.data(), n);
        bytes.remove_prefix(n);
        return static_cast<std::int64_t>(n);
    };
}

bool same(const Transaction& a, const Transaction& b) {
    return a.date() == b.date() && a.start() == b.start() && a.end() == b.end() &&
           a.level1Key() == b.level1Key() && a.level2Key() == b.level2Key() &&
           a.description() == b.description();
}

// Writes the records in the layout into one file, which must read back to the same records.
void requireReadsBack(const std::vector<Transaction>& records, TransactionLayout layout) {
    std::string file = layout == TransactionLayout::Version4 ? transactionFileHeader() : "";
    std::vector<const Transaction*> written;
    for (const Transaction& t : records) {
        if (unstorableTransactionText(layout, t)) {
            continue; // every save refuses it before it writes anything
        }
        if (layout == TransactionLayout::Version4) {
            appendVersion4Record(file, t);
        } else {
            appendLegacyRecord(file, t);
        }
        written.push_back(&t);
    }
    TransactionReader again(sourceFromBytes(file), layout);
    Transaction back;
    for (const Transaction* t : written) {
        require(again.next(back) && same(*t, back) && back.isSent() == t->isSent());
    }
    require(!again.next(back) && !again.failed());
}

void requireEnd(const TransactionReader& reader, std::size_t size) {
    if (!reader.failed()) {
        require(reader.completeBytes() + reader.tailBytes() == size);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t choice = input.byte();
    const std::string_view file = input.rest();
    const auto expected = choice & 1 ? TransactionLayout::Legacy : TransactionLayout::Version4;
    const std::size_t chunk = (choice >> 3) * 7;

    TransactionReader reader(chunked(file, chunk), expected);
    switch ((choice >> 1) & 3) {
    case 0: {
        std::vector<Transaction> records;
        Transaction t;
        while (reader.next(t)) {
            records.push_back(t);
        }
        requireReadsBack(records, reader.layout());
        // A damaged record is counted too.
        require(reader.failed() || records.size() == reader.recordsRead());
        requireEnd(reader, file.size());
        if (!reader.failed()) {
            // Walking over the sizes alone ends where reading every field ended.
            TransactionReader walker(sourceFromBytes(file), expected);
            walker.walkToEnd();
            require(!walker.failed() && walker.completeBytes() == reader.completeBytes());
            require(walker.incompleteRecord() == reader.incompleteRecord());
        }
        break;
    }
    case 1:
        reader.walkToEnd();
        requireEnd(reader, file.size());
        break;
    case 2: {
        // The date is the record's own first date field more often than not.
        const std::string_view date = file.substr(std::min<std::size_t>(file.size(), 37), 10);
        Transaction t;
        while (reader.nextOfDate(date, t)) {
        }
        break;
    }
    default: {
        TransactionStore store;
        const bool read = readTransactionsInto(reader, store, (choice & 0x10) != 0);
        require(read == !reader.failed());
        require(store.count() == reader.recordsRead() || !read);
        break;
    }
    }
    return 0;
}
