#include "tracker/reports/timestudyreportview.h"

#include "core/base/placeholders.h"
#include "core/daterange.h"
#include "core/document.h"
#include "core/reports/rangetotals.h"
#include "print/timestudy/timestudyprint.h"
#include "tracker/app/commands.h"
#include "tracker/app/qtext.h"
#include "tracker/app/texts.h"
#include "tracker/app/viewhost.h"
#include "tracker/help/helpbook.h"

#include <QHeaderView>
#include <QPalette>
#include <string_view>

namespace vsolo {

namespace {

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
    : CExListView(host, daterangekey::kReports, command::kTimeStudyReport, "TimeStudyReport",
                  TrackerHelp::ReportsAndGraphs) {
    Settings& settings = host.document().settings();
    QStringList titles = tt(reporttext::kTimeStudyColumns).split('\t');
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
    // The target is a figure: it stays beside the other figures, the room to the right left
    // empty, instead of standing at the window's edge.
    list()->horizontalHeader()->setStretchLastSection(false);
    hideSelection(*list());
    const DateRange range = storedRange();
    m_from = range.from;
    m_to = range.to;
    rebuild();
}

QString CTimeStudyReportView::rangeText() const {
    return qs(fillPlaceholders(tx(text::kRangeText), {m_from.longDate(), m_to.longDate()}));
}

void CTimeStudyReportView::setRange(TimeValue from, TimeValue to) {
    m_from = from;
    m_to = to;
    rebuild();
}

// One pass over the range's transactions, whatever the number of items: the rows of a year
// are ready before the window is painted again.
void CTimeStudyReportView::rebuild() {
    TemplateFile& file = host().document().templateFile();
    m_rows = buildTimeStudyRows(RangeTotals::gather(file, m_from, m_to));
    list()->listModel()->reset();
    emit rangeTextChanged(rangeText());
    list()->selectRow(0);
}

void CTimeStudyReportView::refreshTitles() {
    showLevelTitles(TimeStudyRow::Level1, TimeStudyRow::Level2);
}

void CTimeStudyReportView::refresh() {
    rebuild();
}

std::unique_ptr<PrintedReport> CTimeStudyReportView::paperReport() const {
    CSoloDoc& doc = host().document();
    return std::make_unique<TimeStudyPrint>(m_rows, doc.settings().level1Title(),
                                            doc.settings().level2Title(), m_from, m_to,
                                            doc.templateFile().clock(), doc.path());
}

void CTimeStudyReportView::applyRange(const DateRange& range) {
    setRange(range.from, range.to);
}

} // namespace vsolo
