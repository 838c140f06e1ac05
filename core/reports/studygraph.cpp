#include "core/reports/studygraph.h"

#include "core/base/placeholders.h"

#include <algorithm>
#include <cmath>

namespace vsolo {

std::vector<GraphCategory> buildGraphCategories(const RangeTotals& totals) {
    const std::int64_t grandMinutes = totals.grandTotal() / 60;
    if (!totals.hasDays() || grandMinutes == 0) {
        return {};
    }
    const auto share = [grandMinutes](std::int64_t minutes) {
        return static_cast<float>(minutes) / static_cast<float>(grandMinutes);
    };
    std::vector<GraphCategory> categories;
    std::int64_t listed = 0;
    for (const auto& item : totals.file().level1().items()) {
        const std::int64_t seconds = totals.level1(*item);
        listed += seconds;
        const std::int64_t minutes = seconds / 60;
        if (minutes == 0 && item->target() == 0) {
            continue;
        }
        categories.push_back(
            {item->name(), share(minutes), static_cast<float>(item->target()) * 0.01f});
    }
    // The unknown time is what the listed items leave of the total, counted in seconds, so that
    // minutes cut off each item's time are never shown as time on unknown items.
    if (const std::int64_t unknownMinutes = (totals.grandTotal() - listed) / 60;
        unknownMinutes > 0) {
        categories.push_back({tx(reporttext::kUnknownCategories), share(unknownMinutes), 0.0f});
    }
    std::stable_sort(categories.begin(), categories.end(),
                     [](const GraphCategory& a, const GraphCategory& b) {
                         return a.actual + a.target > b.actual + b.target;
                     });
    return categories;
}

std::vector<GraphCategory> graphBars(const std::vector<GraphCategory>& categories) {
    std::vector<GraphCategory> bars;
    for (std::size_t i = 0; i < categories.size(); ++i) {
        const GraphCategory& c = categories[i];
        if (c.actual == 0.0f && c.target == 0.0f) {
            continue;
        }
        if (c.actual < 0.001 && c.target == 0.0f && i + 1 < categories.size()) {
            GraphCategory merged{tx(reporttext::kSmallCategories), 0.0f, 0.0f};
            for (std::size_t j = i; j < categories.size(); ++j) {
                merged.actual += categories[j].actual;
                merged.target += categories[j].target;
            }
            bars.push_back(std::move(merged));
            break;
        }
        bars.push_back(c);
    }
    return bars;
}

std::string graphShareLabel(float share) {
    // The format follows the percentage, not the float: a target of 10% is 10 * 0.01f, just under
    // 0.1, and must read "10%" as 60% and 30% do. Thousandths of a percent are far below what a
    // float share of a day's minutes can tell apart.
    const double percent = static_cast<double>(share) * 100.0;
    const char* format = share == 0.0f || std::llround(percent) >= 10 ? " %.0f%%"
                         : std::llround(percent * 1000.0) >= 100      ? " %.1f%%"
                                                                      : " %.2f%%";
    return formatNumber(format, percent);
}

std::string graphTitle(std::string_view level1Title) {
    return fillPlaceholders(tx(reporttext::kGraphTitle), {level1Title});
}

} // namespace vsolo
