#pragma once

#include "core/base/usertext.h"
#include "core/model/templateformat.h"
#include "core/model/textcapacity.h"
#include "core/model/transactions.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo {

// The two record layouts of a transaction file: the version-4 layout after a 29-byte header, and
// the legacy fixed-size records without a header.
enum class TransactionLayout { Version4, Legacy };

inline constexpr std::string_view kTransactionFileText = VSOLO_FIXED("Transaction File");
inline constexpr std::size_t kTransactionHeaderSize = 29;
inline constexpr std::size_t kLegacyRecordSize = 11 + 6 + 11 + 6 + 4 + 4 + 61;
// Descriptions hold at most this many characters in a version-4 file.
inline constexpr std::size_t kDescriptionCharLimit = 259;
// ... which takes at most this many bytes in UTF-8, with the terminating zero.
inline constexpr std::size_t kDescriptionByteLimit = kDescriptionCharLimit * 4 + 1;
inline constexpr std::size_t kLegacyDescriptionChars = 60;

std::string transactionFileHeader();

// %1 the date, %2 the start, %3 the end.
inline constexpr const char* kTransactionLabelText =
    VSOLO_TR("The transaction of %1 from %2 to %3");

// What a transaction's description can hold in a record of the layout (hand-off records alike).
TextCapacity descriptionCapacity(TransactionLayout layout);
// Why a record of the layout could not store the transaction's texts as they are, as a message
// that names the transaction; nothing when they fit. Asked before any record is written.
std::optional<std::string> unstorableTransactionText(TransactionLayout layout,
                                                     const Transaction& t);

// Where records come from: fills a buffer and returns how many bytes it gave, 0 at the end and -1
// on a read failure.
using ByteSource = std::function<std::int64_t(char* buffer, std::size_t capacity)>;
ByteSource sourceFromBytes(std::string_view bytes);

// Reads the records of a transaction file one after another. A file that starts with the
// version-4 header is read in that layout whatever the caller expected, since only that layout can
// start with it; an empty file has no records.
//
// Records are read until the first field of a record cannot be read completely: fewer bytes than
// that at the end are not a record. A last record that starts but is cut short by the end of the
// file (an append that was interrupted) ends the records too, and is told apart by
// incompleteRecord(): every record before it is read, and the file is not damaged. The same holds
// for a header cut short.
class TransactionReader {
public:
    TransactionReader(ByteSource source, TransactionLayout expected);
    // A reader of records that follow each other in the layout from where the source starts, as
    // in the middle of a file: no header is looked for, and the sizes count from there.
    static TransactionReader ofRecords(ByteSource source, TransactionLayout layout);

    // The next record into `out`; false at the end of the file or on damage (see failed()).
    bool next(Transaction& out);
    bool failed() const { return !m_detail.empty() || m_readError; }
    bool readError() const { return m_readError; }
    const std::string& detail() const { return m_detail; }
    TransactionLayout layout() const { return m_layout; }
    // Whether the file held a header, so that its layout is known from the file; once reading has
    // started.
    bool hasHeader() const { return m_hasHeader; }
    std::size_t recordsRead() const { return m_records; }
    // After the end: the bytes up to the end of the last complete record (or of the header), and
    // the bytes that follow it, which belong to no complete record.
    std::uint64_t completeBytes() const { return m_consumed; }
    std::uint64_t tailBytes() const { return m_tail; }
    // After the end: the tail is a record (or the header) cut short, not bytes too few to begin
    // one.
    bool incompleteRecord() const { return m_incomplete; }

    // Reads to the end of the file without looking into the records, only at their sizes; for
    // finding where the last complete record ends. Damage inside a record is not seen.
    void walkToEnd();

    // Skips records quickly until one of the given date ("MM/DD/YYYY") follows; used to find the
    // last transaction of a day without building the whole store. A record whose date is written
    // in another form is not skipped: it is read whole, and the caller compares its date.
    bool nextOfDate(std::string_view shortDate, Transaction& out);

private:
    bool fill(std::size_t need);
    bool fail(std::string detail);
    // Ends the records at a tail of the buffered bytes that holds no complete record.
    bool endAtTail(bool incomplete);
    // Moves past a record of that many bytes in the buffer; gives its index in the file.
    std::size_t takeRecord(std::size_t size);
    bool parseVersion4(Transaction& out, std::string_view dateFilter);
    bool parseLegacy(Transaction& out, std::string_view dateFilter);
    bool readWhen(std::string_view dateText, std::string_view startText, std::string_view endText,
                  TimeValue& date, TimeValue& start, TimeValue& end);
    bool start();

    ByteSource m_source;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_started = false;
    bool m_readError = false;
    bool m_ended = false;
    bool m_incomplete = false;
    bool m_hasHeader = false;
    bool m_walkOnly = false;
    TransactionLayout m_layout;
    std::size_t m_records = 0;
    std::uint64_t m_consumed = 0;
    std::uint64_t m_tail = 0;
    std::string m_detail;
    // The last date read, by its text.
    std::string m_lastDateText;
    TimeValue m_lastDate;
};

// Reads every record into the store. Records of format-4 and tag-512 templates get the stamps of
// file records: counting up from their day's date.
bool readTransactionsInto(TransactionReader& reader, TransactionStore& store, bool fileStamps);

// Writers of one record each, appended to `out`. A description that its field cannot hold (see
// unstorableTransactionText) is cut to fit, so that the record always reads back.
void appendVersion4Record(std::string& out, const Transaction& t);
void appendLegacyRecord(std::string& out, const Transaction& t);
// Hand-off records for the central server's two files.
void appendHandOffVersion4(std::string& out, std::string_view baseName, const Transaction& t);
void appendHandOffLegacy(std::string& out, std::string_view baseName, const Transaction& t);

// Fast text forms used by the writers: "MM/DD/YYYY" and "HH:MM".
void appendShortDate(std::string& out, TimeValue date);
void appendClockTime(std::string& out, TimeValue time);

} // namespace vsolo
