#pragma once

#include "core/base/fileio.h"
#include "core/base/fileresult.h"
#include "core/base/timevalue.h"
#include "core/model/transactionformat.h"
#include "core/model/transactions.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vsolo {

// The time a transaction file holds for one day, counted as the time sheet counts it (a
// transaction in error, such as one that overlaps the next, adds nothing), for a display that
// asks for it every minute. A transaction file can hold a million records, so it is not read again
// and again: a file whose length and modification time are as they were is not opened; one that
// only grew, with the bytes read before still in place, is read from where the last read ended;
// only a file that another program or a save replaced or changed in place, another file or another
// day is read whole, and then with the quick skip over records of other days.
class DayTotal {
public:
    // Brings the total up to date with the transaction file at `path` for `date`. `expected` is
    // the layout of a file without a header. A missing file gives Absent and holds no time; on a
    // failure the total is 0 too, and the next update reads the file whole.
    FileResult update(const std::string& path, TransactionLayout expected, TimeValue date);
    std::int64_t seconds() const { return m_seconds; }
    // How many bytes of records the last update read: none when the file had not changed.
    std::uint64_t bytesRead() const { return m_bytesRead; }

private:
    // What the last update saw of the file, so that the next can tell what changed.
    struct Seen {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified;
        FileIdentity identity;
        // The end of the last complete record and the bytes just before it.
        std::uint64_t complete = 0;
        std::string lastBytes;
        TransactionLayout layout = TransactionLayout::Version4;
    };

    FileResult read(const std::string& path, TransactionLayout expected);
    bool grewOnly(LockedFile& file, std::uintmax_t size);
    void forget();
    void sum();

    bool m_known = false;
    std::string m_path;
    TimeValue m_date;
    Seen m_seen;
    std::vector<Transaction> m_records;
    std::int64_t m_seconds = 0;
    std::uint64_t m_bytesRead = 0;
};

} // namespace vsolo
