#include "core/reports/timestudy.h"

#include "core/base/placeholders.h"

#include <algorithm>
#include <utility>

namespace vsolo {

namespace {

std::string shareText(float share) {
    return formatNumber("%2.1f%%", static_cast<double>(share * 100.0f));
}

class RowWriter {
public:
    explicit RowWriter(std::int64_t grandTotal) : m_grand(grandTotal) {}

    void empty() { m_rows.emplace_back(); }
    // A row of time with its share; returns the share.
    float time(std::string level1, std::string_view level2, std::int64_t seconds) {
        const float share = minuteShare(seconds, m_grand);
        add(TimeStudyRow::Plain, std::move(level1), level2, hoursText(seconds), shareText(share),
            {});
        return share;
    }
    void total(TimeStudyRow::Kind kind, std::string_view label, std::int64_t seconds,
               std::string share, std::string target) {
        add(kind, std::string(label), {}, hoursText(seconds), std::move(share), std::move(target));
    }
    std::vector<TimeStudyRow> take() { return std::move(m_rows); }

private:
    void add(TimeStudyRow::Kind kind, std::string level1, std::string_view level2,
             std::string hours, std::string share, std::string target) {
        m_rows.push_back({kind,
                          {std::move(level1), std::string(level2), std::move(hours),
                           std::move(share), std::move(target)}});
    }

    std::int64_t m_grand;
    std::vector<TimeStudyRow> m_rows;
};

} // namespace

bool TimeStudyRow::isEmpty() const {
    return std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
}

std::vector<TimeStudyRow> buildTimeStudyRows(const RangeTotals& totals) {
    const std::int64_t grand = totals.grandTotal();
    if (!totals.hasDays() || grand == 0) {
        return {};
    }
    const TemplateFile& file = totals.file();
    const bool tree = file.isTreeShape();
    RowWriter rows(grand);
    rows.empty();
    std::int64_t level1Sum = 0;
    for (const auto& level1 : file.level1().items()) {
        const std::int64_t itemTotal = totals.level1(*level1);
        level1Sum += itemTotal;
        if (itemTotal == 0) {
            continue;
        }
        bool named = false;
        // The name stands on the first row written for the item only.
        auto nextName = [&named, &level1] {
            return std::exchange(named, true) ? std::string() : level1->name();
        };
        std::int64_t onListed = 0;
        float shares = 0.0f;
        for (const auto& level2 : file.level2().items()) {
            if (tree && level2->groupNumber() != level1->groupNumber()) {
                continue;
            }
            const std::int64_t seconds = totals.level2(*level1, *level2);
            onListed += seconds;
            if (seconds >= 60) {
                shares += rows.time(nextName(), level2->name(), seconds);
            }
        }
        if (onListed != itemTotal) {
            shares +=
                rows.time(nextName(), tx(reporttext::kUnknownCategories), itemTotal - onListed);
        }
        rows.total(TimeStudyRow::Total, tx(reporttext::kTotal), itemTotal, shareText(shares),
                   std::to_string(level1->target()) + "%");
        rows.empty();
    }
    if (level1Sum != grand) {
        const std::int64_t unknown = grand - level1Sum;
        rows.time(tx(reporttext::kUnknownCategories), {}, unknown);
        rows.total(TimeStudyRow::Total, tx(reporttext::kTotal), unknown,
                   shareText(minuteShare(unknown, grand)), "0%");
        rows.empty();
    }
    rows.total(TimeStudyRow::GrandTotal, tx(reporttext::kGrandTotal), grand, "100.0%", {});
    return rows.take();
}

std::string timeStudyTitle(std::string_view level1Title, std::string_view level2Title) {
    return fillPlaceholders(tx(reporttext::kTimeStudyTitle), {level1Title, level2Title});
}

} // namespace vsolo
