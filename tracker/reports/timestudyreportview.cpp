#include "tracker/reports/timestudyreportview.h"

#include "core/base/placeholders.h"
#include "core/daterange.h"
#include "core/document.h"
#include "core/reports/rangetotals.h"
#include "print/timestudy/timestudyprint.h"
#include "tracker/app/commands.h"
#include "tracker/app/texts.h"
#include "tracker/app/viewhost.h"
#include "tracker/help/helpbook.h"
#include "tracker/reports/printing.h"
#include "tracker/timesheet/daterangedialog.h"

#include <QHeaderView>
#include <QPalette>
#include <optional>
#include <string_view>

namespace vsolo {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The list shows its rows without a selection highlight: a selected row looks like any other.
void hideSelection(CExListCtrl& list) {
    QPalette palette = list.palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, palette.color(group, QPalette::Base));
        palette.setColor(group, QPalette::HighlightedText, palette.color(group, QPalette::Text));
    }
    list.setPalette(palette);
}

} // namespace

CTimeStudyReportView::CTimeStudyReportView(ViewHost& host)
    : CExListView(command::kTimeStudyReport, "TimeStudyReport", TrackerHelp::ReportsAndGraphs),
      m_host(host) {
    Settings& settings = host.document().settings();
    QStringList titles = qs(reporttext::kTimeStudyColumns).split('\t');
    titles[TimeStudyRow::Level1] = qs(settings.level1Title());
    titles[TimeStudyRow::Level2] = qs(settings.level2Title());
    ExListModel* model = list()->listModel();
    model->setColumns(
        titles, {100, 100, 75, 75, 75},
        {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight, Qt::AlignRight});
    ExListModel::Hooks hooks;
    hooks.rowCount = [this] { return static_cast<int>(m_rows.size()); };
    hooks.text = [this](int row, int column) {
        return qs(m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)]);
    };
    hooks.bold = [this](int row) {
        return m_rows[static_cast<std::size_t>(row)].kind != TimeStudyRow::Plain;
    };
    model->setHooks(std::move(hooks));
    for (int c = 0; c < static_cast<int>(model->widths().size()); ++c) {
        list()->horizontalHeader()->resizeSection(c, model->widths()[static_cast<std::size_t>(c)]);
    }
    hideSelection(*list());
    const DateRange range = loadDateRange(settings.store(), daterangekey::kReports,
                                          host.document().templateFile().clock());
    m_from = range.from;
    m_to = range.to;
    rebuild();
}

QString CTimeStudyReportView::rangeText() const {
    return qs(fillPlaceholders(text::kRangeText, {m_from.longDate(), m_to.longDate()}));
}

void CTimeStudyReportView::setRange(TimeValue from, TimeValue to) {
    m_from = from;
    m_to = to;
    rebuild();
}

// One pass over the range's transactions, whatever the number of items: the rows of a year
// are ready before the window is painted again.
void CTimeStudyReportView::rebuild() {
    TemplateFile& file = m_host.document().templateFile();
    m_rows = buildTimeStudyRows(RangeTotals::gather(file, m_from, m_to));
    list()->listModel()->reset();
    emit rangeTextChanged(rangeText());
    list()->selectRow(0);
}

bool CTimeStudyReportView::handles(int c) const {
    using namespace command;
    return c == kDateRange || c == kPrint || c == kPrintPreview || c == kBackToMainWindow;
}

bool CTimeStudyReportView::isEnabled(int c) const {
    using namespace command;
    switch (c) {
    case kPrint:
    case kPrintPreview:
        return hasData();
    case kDateRange:
    case kBackToMainWindow:
        return true;
    default:
        return false;
    }
}

void CTimeStudyReportView::run(int c) {
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

void CTimeStudyReportView::closeRequested() {
    run(command::kBackToMainWindow);
}

void CTimeStudyReportView::activated() {
    emit rangeTextChanged(rangeText());
    list()->setFocus();
}

void CTimeStudyReportView::refreshTitles() {
    const Settings& settings = m_host.document().settings();
    list()->listModel()->setColumnTitle(TimeStudyRow::Level1, qs(settings.level1Title()));
    list()->listModel()->setColumnTitle(TimeStudyRow::Level2, qs(settings.level2Title()));
}

void CTimeStudyReportView::refresh() {
    rebuild();
}

void CTimeStudyReportView::print(bool preview) {
    if (!hasData()) {
        return;
    }
    CSoloDoc& doc = m_host.document();
    TimeStudyPrint report(m_rows, doc.settings().level1Title(), doc.settings().level2Title(),
                          m_from, m_to, doc.templateFile().clock(), doc.path());
    printOrPreview(report, m_host.printer(), this, preview);
}

void CTimeStudyReportView::changeRange() {
    const std::optional<DateRange> range =
        DateRangeDialog::ask(this, m_host.document(), m_host.prompter(), daterangekey::kReports);
    if (range) {
        setRange(range->from, range->to);
        m_host.updateCommands();
    }
}

} // namespace vsolo
