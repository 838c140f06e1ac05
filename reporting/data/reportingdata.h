#pragma once

#include "core/base/fileio.h"
#include "core/base/usertext.h"
#include "reporting/data/reportingresult.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo::reporting {

// The texts of the readers' and the document's messages, exactly as the user sees them. %s of
// kTemplateNotFoundText stands for the full path of the template.
inline constexpr int kTemplateNotFoundId = 61216;
inline constexpr const char* kTemplateNotFoundText =
    VSOLO_TR("%s could not be found, or could not be accessed.  The network may be down, or the "
             "file may have been removed, renamed, or locked.");
// kTemplateNotFoundText for the template's path.
std::string templateNotFoundText(const std::string& path);
inline constexpr int kTemplateFormatId = 61203;
inline constexpr const char* kTemplateFormatText =
    VSOLO_TR("The file format is not recognized.  Veltimo Solo Reporting requires a Veltimo Solo "
             "file created in Veltimo Solo v4.0 or above.");
inline constexpr int kReportingFileMissingId = 61214;
inline constexpr const char* kReportingFileMissingText =
    VSOLO_TR("The Veltimo Solo reporting file (*.vsr) could not be found.  Veltimo Solo will "
             "create a new reporting file.");
inline constexpr const char* kTransactionsMissingText =
    VSOLO_TR("Error opening transactions, or transactions do not exist.");
inline constexpr const char* kTransactionsNotRecognizedText =
    VSOLO_TR("File not recognized as a transaction file");

// Every counted text of the template and of the reporting file is read into a buffer of this
// many bytes, the terminating zero included: a longer length is an error of the file.
inline constexpr std::size_t kTextBufferSize = 10000;

// One item of the tracker's template. It is identified by (groupNumber, subId); the level-1 item
// of a group has subId 0. The window keeps the tree node of an item itself, by that pair.
struct TemplateItem {
    std::int32_t groupNumber = 0;
    // The parent's sub-id within the group; 0 when the parent is the level-1 item.
    std::int32_t parentSubId = 0;
    std::int32_t subId = 0;
    // 0 for level-1 items, one more per level below.
    std::int32_t depth = 0;
    // The assigned client; 0 = none.
    std::int32_t clientId = 0;
    // Read from the template and kept; the reporting tool shows and bills inactive items too.
    std::int32_t activeFlag = 1;
    std::int32_t targetPercentage = 0;
    std::string name;
    std::string description;
    std::string thirdText;
    // As stored in the template: 1 = level-1 item, 2 = level-2 item.
    std::int32_t level = 1;
    // The assigned rate's code; empty = none.
    std::string rateCode;
    // The item's place among the template's items as read (0 for the first); run-time only.
    // Items that share a key, as in a damaged template, get their assignments in this order.
    std::size_t templateOrder = 0;
};

// Recorded time of one transaction.
struct TimeSpan {
    std::int32_t groupNumber = 0;
    std::int32_t subId = 0;
    // The transaction's day as written in the file, year * 10000 + month * 100 + day: the day
    // the tracker checks the transaction with.
    std::int32_t date = 0;
    // Seconds since 1970-01-01 00:00 UTC, from the local date and start time.
    std::int32_t start = 0;
    // End minus start, in seconds; negative when the end time is before the start time.
    std::int32_t duration = 0;
    // The transaction's sent flag, as stored (nonzero = sent).
    std::int32_t sent = 0;
};

struct ExpenseEntry {
    // The group number of the level-1 item the expense is booked to.
    std::int32_t projectNumber = 0;
    std::int32_t expenseId = 0;
    // No meaning; kept as read, 0 for new expenses.
    std::int32_t reserved = 0;
    // Seconds since 1970-01-01 00:00 UTC of a local calendar date.
    std::int32_t date = 0;
    double amount = 0.0;
    std::string description;
};

struct RateEntry {
    // Unique among the rates; compared exactly (case-sensitive).
    std::string code;
    double amount = 0.0; // per hour
    std::string description;
};

struct ClientEntry {
    // 0 never names a client.
    std::int32_t clientId = 0;
    std::string name;
};

// All data of the reporting tool, one object per process. Lists keep file order unless sorted.
// Texts are UTF-8. Paths use '/' as the folder separator.
class ReportingData {
public:
    // The lists, for reading and for the managers' changes.
    std::vector<TemplateItem>& items() { return m_items; }
    const std::vector<TemplateItem>& items() const { return m_items; }
    std::vector<TimeSpan>& spans() { return m_spans; }
    const std::vector<TimeSpan>& spans() const { return m_spans; }
    std::vector<ExpenseEntry>& expenses() { return m_expenses; }
    const std::vector<ExpenseEntry>& expenses() const { return m_expenses; }
    std::vector<RateEntry>& rates() { return m_rates; }
    const std::vector<RateEntry>& rates() const { return m_rates; }
    std::vector<ClientEntry>& clients() { return m_clients; }
    const std::vector<ClientEntry>& clients() const { return m_clients; }

    // Empties the five lists; the base name and folder stay.
    void clear();

    // The folder is the path up to and including its last '/' (empty when there is none); the
    // base name is what follows, up to the first '.' after it.
    void setTemplatePath(std::string_view path);
    const std::string& baseName() const { return m_baseName; }
    const std::string& folder() const { return m_folder; }
    // folder + base name + ".tpl", ".trs" and ".vsr".
    std::string templatePath() const;
    std::string transactionPath() const;
    std::string reportingPath() const;

    // The template reader: replaces the items. Failures: CannotOpen (61216), NotRecognized
    // (61203), Damaged (a count or text running past the end or the buffer; the items read
    // before it are dropped).
    ReportingResult readTemplate();
    // The transaction reader: replaces the spans. Failures: CannotOpen and NotRecognized with
    // the two transaction messages, Damaged (a description length negative or running past the
    // end over later records; no spans). A last record cut short ends the list without a
    // message. The descriptions are skipped, never decoded or kept (see readTransactionFile).
    ReportingResult readTransactions();
    // After readTransactions: why the spans are not the whole of a transaction file that is
    // there (the message of a damaged, foreign or unreadable file); empty when they are, and
    // when there is no transaction file. No invoice is made from spans that are not whole.
    const std::string& transactionsProblem() const { return m_transactionsProblem; }
    // After readTransactions: the file ends in a record cut short, which is not among the spans.
    bool transactionsCutShort() const { return m_transactionsCutShort; }
    // Appends the file's expenses, rates and clients and applies its assignments to the items:
    // the n-th record of a key to the n-th item of that key in the template's order; a record
    // for an item not in the template is dropped. Failures: CannotOpen (no message: the caller
    // decides), Damaged (every list of the file is left empty and the items get no assignment).
    ReportingResult readReportingFile();
    // Writes the reporting file safely (temporary file, flush, rename): one assignment record per
    // item in list order, those of a key that several items share in the template's order. It is
    // written only while it holds what it held when it was last read or written here (or is
    // still missing, when it was), so that no other program's writing is undone; a file that was
    // there but could not be read is replaced as it is. Failures: WriteFailed, Unstorable (a text
    // of 10000 bytes or more, which the reader would refuse), ChangedElsewhere.
    ReportingResult writeReportingFile();

    // Lookups; nullptr when there is none. Rates by exact code, first match.
    TemplateItem* findLevel1Item(std::int32_t groupNumber);
    TemplateItem* findItem(std::int32_t groupNumber, std::int32_t subId);
    ClientEntry* findClient(std::int32_t clientId);
    RateEntry* findRate(std::string_view code);
    ExpenseEntry* findExpense(std::int32_t expenseId);

    // Deleting a client also clears it from every level-1 item that named it; deleting a rate
    // empties the code of every item that named it. False when there was none.
    bool deleteClient(std::int32_t clientId);
    bool deleteRate(std::string_view code);
    bool deleteExpense(std::int32_t expenseId);

    int level1Count() const;
    // The largest id plus 1; 1 for the first.
    std::int32_t nextExpenseId() const;
    std::int32_t nextClientId() const;

    // The seconds recorded for an item: the sum of the durations of the spans with its pair whose
    // start lies within [periodStart, periodEnd], both ends inclusive.
    std::int64_t itemSeconds(std::int32_t groupNumber, std::int32_t subId, std::int32_t periodStart,
                             std::int32_t periodEnd) const;

    // Stable sorts: clients by name and items by name, case-insensitive; expenses by date.
    void sortClientsByName();
    void sortExpensesByDate();
    void sortItemsByName();

private:
    std::vector<TemplateItem> m_items;
    std::vector<TimeSpan> m_spans;
    std::vector<ExpenseEntry> m_expenses;
    std::vector<RateEntry> m_rates;
    std::vector<ClientEntry> m_clients;
    std::string m_transactionsProblem;
    bool m_transactionsCutShort = false;
    std::string m_baseName;
    std::string m_folder;
    // What the reporting file held when it was last read or written; nothing when that is not
    // known.
    std::optional<FileStamp> m_reportingStamp;
};

} // namespace vsolo::reporting
