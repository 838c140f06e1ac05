#pragma once

#include "core/base/usertext.h"
#include "core/model/templatefile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vsolo {

// The rows of the time sheet, without any window: one row per transaction of the days inside a
// date range, in store order, and one closing row with the range total. The rows point into the
// store; they are made anew whenever the store changes.
class TimeSheetRows {
public:
    enum Column { Date = 0, Level1, Level2, Start, End, Duration, Total, Description, ColumnCount };
    // How a row is shaded: red for a transaction in error, otherwise by its day's position in the
    // whole store (even days green, odd days the window colour).
    enum class Shade { Error, EvenDay, OddDay };

    struct Row {
        const Transaction* transaction = nullptr; // nullptr for the closing row
        int dayIndex = -1;                        // position of the day in the whole store
        bool firstOfDay = false;
        bool lastOfDay = false;
    };

    // Finds the days of the range (from and to are exchanged when reversed), recomputes their
    // error marks and makes the rows. True when a row is in error.
    bool rebuild(TransactionStore& store, TimeValue from, TimeValue to);
    // Makes the rows again for the same range, after the store changed (no error marking).
    void refresh();

    TimeValue rangeFrom() const { return m_from; }
    TimeValue rangeTo() const { return m_to; }
    TransactionStore::DayRange days() const { return m_days; }
    std::size_t size() const { return m_rows.size(); }
    // The number of transaction rows (all rows but the closing one).
    std::size_t transactionRows() const { return m_rows.empty() ? 0 : m_rows.size() - 1; }
    const Row& row(std::size_t index) const { return m_rows[index]; }
    bool isClosingRow(std::size_t index) const { return index + 1 == m_rows.size(); }
    // The row of a transaction, or -1.
    int rowOf(const Transaction* t) const;
    bool anyError() const;

    std::int64_t rangeTotal() const;
    std::int64_t dayTotal(std::size_t rowIndex) const;

    // The text of a cell as the time sheet shows it.
    std::string cellText(std::size_t rowIndex, int column, const TemplateFile& file) const;
    Shade shade(std::size_t rowIndex) const;

private:
    TransactionStore* m_store = nullptr;
    TimeValue m_from;
    TimeValue m_to;
    TransactionStore::DayRange m_days;
    std::vector<Row> m_rows;
};

inline constexpr const char* kTimeSheetTotal = VSOLO_TR("   Total");
inline constexpr const char* kTimeSheetGrandTotal = VSOLO_TR("   Grand Total");
inline constexpr const char* kTimeSheetErrorWord = VSOLO_TR("ERROR");
//: Eight column titles separated by tabs; the second and third stand for the level titles.
inline constexpr const char* kTimeSheetColumns =
    VSOLO_TR("Date\tProject\tActivity\tStart\tEnd\tDuration\tTotal\tDescription");

} // namespace vsolo
