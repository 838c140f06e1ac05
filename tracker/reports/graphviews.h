#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so the Qt headers lead.
#include <QScrollArea>
#include <QWidget>

// The core after the Qt headers; see above.
#include "core/daterange.h"
#include "core/reports/rangetotals.h"
#include "print/graphs/graphprint.h"
#include "tracker/reports/periodview.h"

#include <memory>

namespace vsolo {

// The graph a report view shows, drawn through a report painter on the widget: the page is the
// widget's area, at least the graph's size on screen, which the view scrolls.
class ReportCanvas final : public QWidget {
    Q_OBJECT
public:
    explicit ReportCanvas(QWidget* parent = nullptr) : QWidget(parent) {}
    // The graph to draw, owned by the view; null draws an empty page.
    void setReport(GraphPrint* report);
    GraphPrint* report() const { return m_report; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GraphPrint* m_report = nullptr;
};

// The graph views: a graph of the reports' date range (shared by every report view under the key
// "Reports"), with the commands of every period view.
class CReportViewHandlers : public PeriodView {
    Q_OBJECT
public:
    void activated() override;
    void refresh() override;
    // The graph carries the titles in its heading and legend.
    void refreshTitles() override { refresh(); }

    const DateRange& range() const { return m_range; }
    // Shows the range, from <= to; nothing is stored.
    void setRange(TimeValue from, TimeValue to);
    bool hasData() const override { return m_report && m_report->hasData(); }
    const GraphPrint& report() const { return *m_report; }
    ReportCanvas* canvas() const { return m_canvas; }
    QScrollArea* scrollArea() const { return m_scroll; }

protected:
    CReportViewHandlers(ViewHost& host, int number, QString windowName);
    // A copy of the graph: the view goes on drawing its own while the printer lays out the pages.
    std::unique_ptr<PrintedReport> paperReport() const override;
    void applyRange(const DateRange& range) override;
    // The graph of the range's figures; called on opening, after a range change and on refresh.
    virtual std::unique_ptr<GraphPrint> makeReport(const RangeTotals& totals) const = 0;
    // Makes the graph anew; the derived view calls it once its own members are set.
    void rebuild();

private:
    DateRange m_range;
    std::unique_ptr<GraphPrint> m_report;
    QScrollArea* m_scroll;
    ReportCanvas* m_canvas;
};

// For every level-1 item the share of the range's hours worked on it beside its target share.
class CTimeStudyGraphView final : public CReportViewHandlers {
    Q_OBJECT
public:
    explicit CTimeStudyGraphView(ViewHost& host);

protected:
    std::unique_ptr<GraphPrint> makeReport(const RangeTotals& totals) const override;
};

// The range's hours as a pie by level-1 items (the command kPieLevel1) or by level-2 items
// (kPieLevel2).
class CItemPieView final : public CReportViewHandlers {
    Q_OBJECT
public:
    explicit CItemPieView(ViewHost& host, int command);
    int level() const { return m_level; }

protected:
    std::unique_ptr<GraphPrint> makeReport(const RangeTotals& totals) const override;

private:
    int m_level;
};

} // namespace vsolo
