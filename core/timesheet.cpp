#include "core/timesheet.h"

#include <algorithm>

namespace vsolo {

bool TimeSheetRows::rebuild(TransactionStore& store, TimeValue from, TimeValue to) {
    if (to < from) {
        std::swap(from, to);
    }
    m_store = &store;
    m_from = from;
    m_to = to;
    m_days = store.dayRange(from, to);
    store.markErrors(m_days);
    refresh();
    return anyError();
}

void TimeSheetRows::refresh() {
    m_rows.clear();
    if (!m_store) {
        m_rows.push_back(Row{});
        return;
    }
    m_days = m_store->dayRange(m_from, m_to);
    if (!m_days.empty()) {
        m_rows.reserve(m_store->count() / std::max<std::size_t>(1, m_store->dayCount()) *
                           static_cast<std::size_t>(m_days.last - m_days.first + 1) +
                       1);
        for (int d = m_days.first; d <= m_days.last; ++d) {
            const Day& day = *m_store->day(static_cast<std::size_t>(d));
            const std::size_t n = day.size();
            for (std::size_t i = 0; i < n; ++i) {
                m_rows.push_back(Row{day.at(i), d, i == 0, i + 1 == n});
            }
        }
    }
    Row closing;
    closing.dayIndex = m_rows.empty() ? -1 : m_rows.back().dayIndex + 1;
    m_rows.push_back(closing);
}

int TimeSheetRows::rowOf(const Transaction* t) const {
    if (!t || m_rows.size() < 2) {
        return -1;
    }
    // Rows follow the store's order, so the row is found by the transaction's day and place.
    const auto first = std::lower_bound(
        m_rows.begin(), m_rows.end() - 1, t->date(),
        [](const Row& row, TimeValue date) { return row.transaction->date() < date; });
    for (auto it = first; it != m_rows.end() - 1 && it->transaction->date() == t->date(); ++it) {
        if (it->transaction == t) {
            return static_cast<int>(it - m_rows.begin());
        }
    }
    return -1;
}

bool TimeSheetRows::anyError() const {
    return std::any_of(m_rows.begin(), m_rows.end(), [](const Row& row) {
        return row.transaction && row.transaction->isError();
    });
}

std::int64_t TimeSheetRows::rangeTotal() const {
    return m_store ? m_store->total(m_days) : 0;
}

std::int64_t TimeSheetRows::dayTotal(std::size_t rowIndex) const {
    const Row& r = m_rows[rowIndex];
    return r.transaction ? m_store->day(static_cast<std::size_t>(r.dayIndex))->total() : 0;
}

std::string TimeSheetRows::cellText(std::size_t rowIndex, int column,
                                    const TemplateFile& file) const {
    const Row& r = m_rows[rowIndex];
    if (!r.transaction) {
        if (column == Date) {
            return tx(kTimeSheetTotal);
        }
        return column == Total && m_rows.size() > 1 ? formatDuration(rangeTotal(), kDurationTotal)
                                                    : std::string();
    }
    const Transaction& t = *r.transaction;
    switch (column) {
    case Date:
        return r.firstOfDay ? t.date().longDate() : std::string();
    case Level1:
        return std::string(level1Name(t, file.level1(), file.isTreeShape()));
    case Level2:
        return std::string(level2Name(t, file.level2(), file.isTreeShape()));
    case Start:
        return t.start().clockTimeNoPad();
    case End:
        return t.end().clockTimeNoPad();
    case Duration:
        return TimeValue(t.duration()).formatDuration(kDurationDayHours);
    case Total:
        return r.lastOfDay ? formatDuration(dayTotal(rowIndex), kDurationTotal) : std::string();
    case Description:
        return t.isError() ? tx(kTimeSheetErrorWord) : t.description();
    default:
        return {};
    }
}

TimeSheetRows::Shade TimeSheetRows::shade(std::size_t rowIndex) const {
    const Row& r = m_rows[rowIndex];
    if (r.transaction && r.transaction->isError()) {
        return Shade::Error;
    }
    if (!r.transaction && m_rows.size() == 1) {
        return Shade::OddDay; // the closing row alone has the window colour
    }
    return r.dayIndex % 2 == 0 ? Shade::EvenDay : Shade::OddDay;
}

} // namespace vsolo
