#include "tracker/reports/graphviews.h"

#include "core/document.h"
#include "core/reports/piegraph.h"
#include "core/reports/studygraph.h"
#include "print/graphs/pieprint.h"
#include "print/graphs/studygraphprint.h"
#include "tracker/app/commands.h"
#include "tracker/app/viewhost.h"
#include "tracker/help/helpbook.h"
#include "tracker/reports/printing.h"
#include "tracker/timesheet/daterangedialog.h"

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
    : View(number, std::move(windowName), TrackerHelp::ReportsAndGraphs), m_host(host),
      m_scroll(new QScrollArea(this)), m_canvas(new ReportCanvas) {
    CSoloDoc& doc = host.document();
    m_range =
        loadDateRange(doc.settings().store(), daterangekey::kReports, doc.templateFile().clock())
            .ordered();
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_canvas);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
}

void CReportViewHandlers::rebuild() {
    const RangeTotals totals =
        RangeTotals::gather(m_host.document().templateFile(), m_range.from, m_range.to);
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

bool CReportViewHandlers::handles(int c) const {
    using namespace command;
    return c == kDateRange || c == kPrint || c == kPrintPreview || c == kBackToMainWindow;
}

bool CReportViewHandlers::isEnabled(int c) const {
    using namespace command;
    if (c == kPrint || c == kPrintPreview) {
        return hasData();
    }
    return handles(c);
}

void CReportViewHandlers::run(int c) {
    using namespace command;
    switch (c) {
    case kDateRange:
        changeRange();
        break;
    case kPrint:
        print(false);
        break;
    case kPrintPreview:
        print(true);
        break;
    case kBackToMainWindow:
        emit switchRequested(kMainWindow);
        break;
    default:
        break;
    }
}

void CReportViewHandlers::closeRequested() {
    run(command::kBackToMainWindow);
}

void CReportViewHandlers::changeRange() {
    CSoloDoc& doc = m_host.document();
    const std::optional<DateRange> range =
        DateRangeDialog::ask(this, doc.settings().store(), doc.settings(), daterangekey::kReports,
                             m_host.prompter(), doc.templateFile().clock());
    if (range) {
        m_range = range->ordered();
        rebuild();
        m_host.updateCommands();
    }
}

void CReportViewHandlers::print(bool preview) {
    if (!hasData()) {
        return;
    }
    // The view goes on drawing its own copy while the printer lays out the pages of this one.
    const std::unique_ptr<GraphPrint> paper = m_report->clone();
    if (preview) {
        showPrintPreview(*paper, m_host.printer(), this);
    } else {
        printWithDialog(*paper, m_host.printer(), this);
    }
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
