#pragma once

#include "core/base/usertext.h"
#include "core/reports/rangetotals.h"

#include <string>
#include <string_view>
#include <vector>

namespace vsolo {

namespace reporttext {
inline constexpr const char* kGraphTitle =
    VSOLO_TR("%% OF TOTAL HOURS WORKED BY %s (INCLUDING TARGET)");
inline constexpr const char* kActual = VSOLO_TR("ACTUAL");
inline constexpr const char* kTarget = VSOLO_TR("TARGET");
} // namespace reporttext

// A pair of bars of the time study graph: the share of the range's hours worked on a level-1
// item and its target share, both from 0 to 1.
struct GraphCategory {
    std::string name;
    float actual = 0.0f;
    float target = 0.0f;
    friend bool operator==(const GraphCategory&, const GraphCategory&) = default;
};

// The level-1 items with hours or a target, and the hours on items no longer in the list as
// "Unknown categories", largest actual plus target first. Nothing when the range holds no whole
// minute, so that no share is a division by zero.
std::vector<GraphCategory> buildGraphCategories(const RangeTotals& totals);

// The bars as they are drawn: categories with neither hours nor target are passed over, and a
// category below 0.1% of the hours without a target is drawn with all that follow it as one
// "Categories < 0.1%", unless it is the last one.
std::vector<GraphCategory> graphBars(const std::vector<GraphCategory>& categories);

// The label after a bar: " %.0f%%" for 0 and from 10% up, " %.1f%%" from 0.1%, " %.2f%%" below.
std::string graphShareLabel(float share);

// The graph's title with the level-1 title, which the caller gives in capitals.
std::string graphTitle(std::string_view level1Title);

} // namespace vsolo
