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
inline constexpr const char* kPieTitle = VSOLO_TR("%% OF TOTAL HOURS WORKED BY %s");
} // namespace reporttext

// One piece of a pie: a name and its whole minutes.
struct PieCategory {
    std::string name;
    std::int64_t minutes = 0;
    friend bool operator==(const PieCategory&, const PieCategory&) = default;
};

// The items of level 1 or 2 with a whole minute in the range, and the time on items no longer in
// the list as "Unknown categories", largest first. A level-2 item of a version-4 template counts
// its time under its own level-1 item and is named by the first 10 characters of that item's
// name, " - " and its own name; in a legacy template it counts its time under every level-1 item.
std::vector<PieCategory> buildPieCategories(const RangeTotals& totals, int level);

// The solid colours (RGB) of the first six slices; later slices are hatched in them.
inline constexpr std::array<std::uint32_t, 6> kPieColours{0xFF0000, 0x00FF00, 0x0000FF,
                                                          0xFFFF00, 0xFF00FF, 0x00FFFF};
enum class PieHatch {
    Solid,
    BackwardDiagonal,
    Cross,
    DiagonalCross,
    ForwardDiagonal,
    Horizontal,
    Vertical
};

struct PieBrush {
    std::uint32_t rgb = 0;
    PieHatch hatch = PieHatch::Solid;
    friend bool operator==(const PieBrush&, const PieBrush&) = default;
};

// The brush of slice i, counted from 0: solid in colour i up to the sixth slice, then hatched
// with the six hatches in turn, in red for slices 6 to 11, green for 12 to 17, and so on.
PieBrush pieBrush(std::size_t index);

// A slice as it is drawn, with its legend line.
struct PieSlice {
    std::string name;
    double share = 0.0; // of the whole pie, 0 to 1
    std::string percent;
    PieBrush brush;
};

// The slices in category order from 3 o'clock: a category below 0.1% of the pie is drawn with all
// that follow it as one "Categories < 0.1%" slice, unless it is the last one. Nothing for a pie
// without minutes.
std::vector<PieSlice> pieSlices(const std::vector<PieCategory>& categories);

// The pie's title with the shown level's title, which the caller gives in capitals.
std::string pieTitle(std::string_view levelTitle);

} // namespace vsolo
