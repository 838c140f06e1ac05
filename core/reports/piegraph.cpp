#include "core/reports/piegraph.h"

#include "core/base/placeholders.h"

#include <algorithm>

namespace vsolo {

std::vector<PieCategory> buildPieCategories(const RangeTotals& totals, int level) {
    if (!totals.hasDays()) {
        return {};
    }
    const TemplateFile& file = totals.file();
    const bool tree = file.isTreeShape();
    std::vector<PieCategory> categories;
    std::int64_t listed = 0;
    const auto add = [&](std::string name, std::int64_t seconds) {
        listed += seconds;
        if (seconds >= 60) {
            categories.push_back({std::move(name), seconds / 60});
        }
    };
    if (level == 1) {
        for (const auto& item : file.level1().items()) {
            add(item->name(), totals.level1(*item));
        }
    } else {
        for (const auto& item : file.level2().items()) {
            if (!tree) {
                add(item->name(), totals.level2Anywhere(*item));
                continue;
            }
            const LevelItem* parent = file.level1().findByGroup(item->groupNumber());
            if (!parent) {
                continue; // its time stays unknown
            }
            std::string name(firstCharacters(parent->name(), 10));
            name += " - ";
            name += item->name();
            add(std::move(name), totals.level2(*parent, *item));
        }
    }
    if (const std::int64_t unknown = totals.grandTotal() - listed; unknown >= 60) {
        categories.push_back({tx(reporttext::kUnknownCategories), unknown / 60});
    }
    std::stable_sort(
        categories.begin(), categories.end(),
        [](const PieCategory& a, const PieCategory& b) { return a.minutes > b.minutes; });
    return categories;
}

PieBrush pieBrush(std::size_t index) {
    if (index < kPieColours.size()) {
        return {kPieColours[index], PieHatch::Solid};
    }
    const std::size_t n = kPieColours.size();
    return {kPieColours[(index / n - 1) % n], static_cast<PieHatch>(1 + index % n)};
}

std::vector<PieSlice> pieSlices(const std::vector<PieCategory>& categories) {
    std::int64_t total = 0;
    for (const PieCategory& c : categories) {
        total += c.minutes;
    }
    std::vector<PieSlice> slices;
    if (total <= 0) {
        return slices;
    }
    for (std::size_t i = 0; i < categories.size(); ++i) {
        const double share =
            static_cast<double>(categories[i].minutes) / static_cast<double>(total);
        if (share >= 0.001) {
            slices.push_back(
                {categories[i].name, share, formatNumber("%2.1f%%", share * 100.0), pieBrush(i)});
            continue;
        }
        PieSlice last{categories[i].name, share, {}, pieBrush(i)};
        if (i + 1 < categories.size()) {
            std::int64_t rest = 0;
            for (std::size_t j = i; j < categories.size(); ++j) {
                rest += categories[j].minutes;
            }
            last.name = tx(reporttext::kSmallCategories);
            last.share = static_cast<double>(rest) / static_cast<double>(total);
        }
        last.percent = formatNumber("%2.2f%%", last.share * 100.0);
        slices.push_back(std::move(last));
        break;
    }
    return slices;
}

std::string pieTitle(std::string_view levelTitle) {
    return fillPlaceholders(tx(reporttext::kPieTitle), {levelTitle});
}

} // namespace vsolo
