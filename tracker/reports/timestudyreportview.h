#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QString>

// The core after the Qt headers; see above.
#include "core/base/timevalue.h"
#include "core/reports/timestudy.h"
#include "tracker/reports/reportview.h"

#include <memory>
#include <vector>

namespace vsolo {

// The time study report: where the hours of the reports' range went, per level-1 item and its
// level-2 items, with a total and its target per level-1 item and the grand total. The totals are
// drawn in bold; no row is highlighted. The range is the one all reports and graphs share.
class CTimeStudyReportView final : public CExListView {
    Q_OBJECT
public:
    explicit CTimeStudyReportView(ViewHost& host);

    void refresh() override;
    void refreshTitles() override;
    QString rangeText() const override;
    bool hasData() const override { return !m_rows.empty(); }

    const std::vector<TimeStudyRow>& rows() const { return m_rows; }
    TimeValue rangeFrom() const { return m_from; }
    TimeValue rangeTo() const { return m_to; }
    // Builds the rows of the range anew.
    void setRange(TimeValue from, TimeValue to);

protected:
    std::unique_ptr<PrintedReport> paperReport() const override;
    void applyRange(const DateRange& range) override;

private:
    void rebuild();

    TimeValue m_from;
    TimeValue m_to;
    std::vector<TimeStudyRow> m_rows;
};

} // namespace vsolo
