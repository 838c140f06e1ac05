#pragma once

#include "core/base/usertext.h"
#include "core/reports/rangetotals.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo {

namespace reporttext {
inline constexpr const char* kTimeStudyTitle = VSOLO_TR("%s AND %s REPORT");
//: Five column titles separated by tabs; the first two stand for the level titles.
inline constexpr const char* kTimeStudyColumns =
    VSOLO_TR("Contract\tTask\tActual (h)\tActual (%)\tTarget");
inline constexpr const char* kTotal = VSOLO_TR("   Total");
inline constexpr const char* kGrandTotal = VSOLO_TR("   Grand Total");
} // namespace reporttext

// One row of the time study report. The kind is the row's item data: level-1 totals and the grand
// total are drawn in bold and get rules on paper.
struct TimeStudyRow {
    enum Kind : std::uint8_t { Plain = 0, Total = 1, GrandTotal = 2 };
    enum Column { Level1 = 0, Level2, Hours, Share, Target, ColumnCount };

    Kind kind = Plain;
    std::array<std::string, ColumnCount> cells;

    bool isEmpty() const;
    friend bool operator==(const TimeStudyRow&, const TimeStudyRow&) = default;
};

// The rows of the report for the range, in the order of the level lists: per level-1 item with
// time its level-2 items of a minute or more, the time on level-2 items no longer in the list
// under "Unknown categories", and its total with the sum of the shares shown above it and its
// target; then the time on level-1 items no longer in the list, and the grand total. Nothing when
// the range holds no time.
std::vector<TimeStudyRow> buildTimeStudyRows(const RangeTotals& totals);

// "%s AND %s REPORT" with the titles, which the caller gives in capitals.
std::string timeStudyTitle(std::string_view level1Title, std::string_view level2Title);

} // namespace vsolo
