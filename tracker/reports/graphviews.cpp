#include "tracker/reports/graphviews.h"

#include "core/document.h"
#include "core/reports/piegraph.h"
#include "core/reports/studygraph.h"
#include "print/graphs/pieprint.h"
#include "print/graphs/studygraphprint.h"
#include "tracker/app/commands.h"
#include "tracker/app/viewhost.h"
#include "tracker/help/helpbook.h"

#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

namespace vsolo {

void ReportCanvas::setReport(GraphPrint* report) {
    m_report = report;
    if (m_report) {
        const ReportPainter measure(*this);
        const ScreenExtent extent = m_report->screenExtent(measure);
        const auto pixels = [](int units, int dpi) {
            return static_cast<int>(
                std::ceil(static_cast<double>(units) * dpi / kReportUnitsPerInch));
        };
        setMinimumSize(pixels(extent.width, logicalDpiX()), pixels(extent.height, logicalDpiY()));
    }
    update();
}

void ReportCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    if (!m_report) {
        return;
    }
    ReportPainter painter(*this);
    painter.begin(p);
    p.setPen(palette().color(QPalette::Text));
    m_report->drawWhole(painter);
}

CReportViewHandlers::CReportViewHandlers(ViewHost& host, int number, QString windowName)
    : PeriodView(host, daterangekey::kReports, number, std::move(windowName),
                 TrackerHelp::ReportsAndGraphs),
      m_range(storedRange().ordered()), m_scroll(new QScrollArea(this)),
      m_canvas(new ReportCanvas) {
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_canvas);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
}

void CReportViewHandlers::rebuild() {
    const RangeTotals totals =
        RangeTotals::gather(host().document().templateFile(), m_range.from, m_range.to);
    m_report = makeReport(totals);
    m_canvas->setReport(m_report.get());
}

void CReportViewHandlers::setRange(TimeValue from, TimeValue to) {
    m_range = DateRange{from, to, m_range.fixed}.ordered();
    rebuild();
}

void CReportViewHandlers::activated() {
    m_scroll->setFocus(); // the keys scroll the graph
}

void CReportViewHandlers::refresh() {
    rebuild();
}

void CReportViewHandlers::applyRange(const DateRange& range) {
    m_range = range.ordered();
    rebuild();
}

std::unique_ptr<PrintedReport> CReportViewHandlers::paperReport() const {
    return m_report->clone();
}

CTimeStudyGraphView::CTimeStudyGraphView(ViewHost& host)
    : CReportViewHandlers(host, command::kTimeStudyGraph, "TimeStudyGraph") {
    rebuild();
}

std::unique_ptr<GraphPrint> CTimeStudyGraphView::makeReport(const RangeTotals& totals) const {
    CSoloDoc& doc = host().document();
    return std::make_unique<StudyGraphPrint>(buildGraphCategories(totals),
                                             doc.settings().level1Title(), totals.from(),
                                             totals.to(), doc.templateFile().clock(), doc.path());
}

CItemPieView::CItemPieView(ViewHost& host, int command)
    : CReportViewHandlers(host, command, "PieWindow"),
      m_level(command == command::kPieLevel2 ? 2 : 1) {
    rebuild();
}

std::unique_ptr<GraphPrint> CItemPieView::makeReport(const RangeTotals& totals) const {
    CSoloDoc& doc = host().document();
    const std::string title =
        m_level == 2 ? doc.settings().level2Title() : doc.settings().level1Title();
    return std::make_unique<PiePrint>(buildPieCategories(totals, m_level), title, totals.from(),
                                      totals.to(), doc.templateFile().clock(), doc.path());
}

} // namespace vsolo
