#include "tracker/timesheet/timesheetview.h"

#include "core/daterange.h"
#include "core/document.h"
#include "core/transactionentry.h"
#include "print/timesheet/timesheetprint.h"
#include "tracker/app/commands.h"
#include "tracker/app/qtext.h"
#include "tracker/app/texts.h"
#include "tracker/app/viewhost.h"
#include "tracker/help/helpbook.h"
#include "tracker/timesheet/transactiondialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace vsolo {

namespace {

// The marks before the first column: a red bar for a row in error, a tick for a sent row.
QIcon rowMark(bool error) {
    static const QIcon errorMark = [] {
        QPixmap p(12, 12);
        p.fill(Qt::transparent);
        QPainter painter(&p);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(200, 0, 0));
        painter.setPen(Qt::white);
        painter.drawEllipse(0, 0, 11, 11);
        painter.drawLine(6, 2, 6, 7);
        painter.drawPoint(6, 9);
        return QIcon(p);
    }();
    static const QIcon sentMark = [] {
        QPixmap p(12, 12);
        p.fill(Qt::transparent);
        QPainter painter(&p);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0, 90, 160), 2));
        painter.drawLine(2, 6, 5, 9);
        painter.drawLine(5, 9, 10, 2);
        return QIcon(p);
    }();
    return error ? errorMark : sentMark;
}

// The widths of the columns in pixels: those of the written layout, with the date column widened
// where the desktop's font needs more for the longest date and the row mark before it.
std::vector<int> columnWidths(const QFontMetrics& metrics, const QStyle& style) {
    QString widestDay;
    QString widestMonth;
    for (const char* day :
         {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}) {
        if (metrics.horizontalAdvance(day) > metrics.horizontalAdvance(widestDay)) {
            widestDay = day;
        }
    }
    for (const char* month : {"January", "February", "March", "April", "May", "June", "July",
                              "August", "September", "October", "November", "December"}) {
        if (metrics.horizontalAdvance(month) > metrics.horizontalAdvance(widestMonth)) {
            widestMonth = month;
        }
    }
    const int text =
        metrics.horizontalAdvance(QString("%1, %2 30, 2026").arg(widestDay, widestMonth));
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
    const int mark = style.pixelMetric(QStyle::PM_SmallIconSize);
    const int date = std::max(200, text + mark + 4 * margin + 2);
    return {date, 100, 100, 75, 75, 75, 75, 250};
}

} // namespace

int CTimeSheetView::neededWidth() {
    const QTableView probe; // the desktop's font and style for a list
    int width = 0;
    for (int w : columnWidths(probe.fontMetrics(), *probe.style())) {
        width += w;
    }
    const int frame = probe.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return width + probe.style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * frame;
}

CTimeSheetView::CTimeSheetView(ViewHost& host)
    : CExListView(host, daterangekey::kTimeSheet, command::kTimeSheet, "TimeSheet",
                  TrackerHelp::TimeSheet) {
    Settings& settings = host.document().settings();
    QStringList titles = tt(kTimeSheetColumns).split('\t');
    titles[1] = qs(settings.level1Title());
    titles[2] = qs(settings.level2Title());
    ExListModel* model = list()->listModel();
    model->setColumns(titles, columnWidths(list()->fontMetrics(), *list()->style()),
                      {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight,
                       Qt::AlignRight, Qt::AlignRight, Qt::AlignLeft});
    ExListModel::Hooks hooks;
    hooks.rowCount = [this] { return static_cast<int>(m_rows.size()); };
    hooks.text = [this](int row, int column) {
        return qs(m_rows.cellText(static_cast<std::size_t>(row), column,
                                  this->host().document().templateFile()));
    };
    hooks.colour = [this](int row, int) { return rowColour(row); };
    hooks.mark = [this](int row) {
        const Transaction* t = m_rows.row(static_cast<std::size_t>(row)).transaction;
        if (t && t->isError()) {
            return rowMark(true);
        }
        return t && t->isSent() ? rowMark(false) : QIcon();
    };
    model->setHooks(std::move(hooks));
    for (int c = 0; c < static_cast<int>(model->widths().size()); ++c) {
        list()->horizontalHeader()->resizeSection(c, model->widths()[static_cast<std::size_t>(c)]);
    }
    connect(list()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTimeSheetView::onSelection);
    connect(list(), &CExListCtrl::activatedRow, this, [this](int row) {
        selectRow(row);
        run(command::kEditTransaction);
    });
    m_transactionsHook = host.document().hooks().transactionsChanged.install([this] {
        this->host().document().templateFile().store().markErrors(m_rows.days());
        rowsChanged(m_current >= 0 ? m_rows.row(static_cast<std::size_t>(m_current)).transaction
                                   : nullptr);
    });
    // The dialog is made on first use and kept while the view lives, with its window place.
    m_entryRunner = [this](const Transaction& t, bool add, const QString& previousEnd,
                           const QString& nextStart, TimeValue from,
                           TimeValue to) -> std::optional<EntryOutcome> {
        CSoloDoc& doc = this->host().document();
        if (!m_dialog) {
            m_dialog =
                new TransactionDialog(doc.templateFile(), doc.settings(), this->host().prompter(),
                                      doc.tracker(), doc.templateFile().clock(), this);
        }
        if (!m_dialog->run(t, add, previousEnd, nextStart, from, to)) {
            return std::nullopt;
        }
        return EntryOutcome{m_dialog->workingCopy(), m_dialog->changeFlags(), m_dialog->duration()};
    };
    const DateRange range = storedRange();
    m_rows.rebuild(store(), range.from, range.to);
    fill(true);
}

TransactionStore& CTimeSheetView::store() const {
    return host().document().templateFile().store();
}

QColor CTimeSheetView::rowColour(int row) const {
    switch (m_rows.shade(static_cast<std::size_t>(row))) {
    case TimeSheetRows::Shade::Error:
        return QColor(255, 0, 0);
    case TimeSheetRows::Shade::EvenDay:
        return QColor(192, 220, 192);
    case TimeSheetRows::Shade::OddDay:
        return QColor();
    }
    return QColor();
}

QString CTimeSheetView::rangeText() const {
    return vsolo::fill(text::kRangeText,
                       {m_rows.rangeFrom().longDate(), m_rows.rangeTo().longDate()});
}

void CTimeSheetView::setRange(TimeValue from, TimeValue to) {
    m_rows.rebuild(store(), from, to);
    fill(true);
}

void CTimeSheetView::fill(bool resetCurrent) {
    const bool errors = m_rows.anyError();
    if (resetCurrent) {
        m_current = -1;
    }
    list()->listModel()->reset();
    emit rangeTextChanged(rangeText());
    selectRow(static_cast<int>(m_rows.transactionRows()) - 1);
    if (errors) {
        host().prompter().show(tx(text::kErrorsFound), Prompter::Icon::Warning);
    }
}

void CTimeSheetView::rowsChanged(const Transaction* keep) {
    m_rows.refresh();
    list()->listModel()->reset();
    const int row = m_rows.rowOf(keep);
    selectRow(row >= 0 ? row : std::min(m_current, static_cast<int>(m_rows.transactionRows()) - 1));
    host().updateCommands();
}

void CTimeSheetView::selectRow(int row) {
    // The closing row is never current: the last transaction row stands in for it.
    const int last = static_cast<int>(m_rows.transactionRows()) - 1;
    if (row > last) {
        row = last;
    }
    m_selecting = true;
    list()->selectRow(row);
    m_selecting = false;
    m_current = row;
    if (row >= 0 && row == last) {
        // The closing row with the range total comes into sight with the last transaction.
        list()->scrollTo(list()->listModel()->index(row + 1, 0));
    }
}

void CTimeSheetView::onSelection() {
    if (m_selecting) {
        return;
    }
    const int row = list()->currentRow();
    if (row < 0 && m_current >= 0) {
        selectRow(m_current); // a click on empty space keeps the current row
        return;
    }
    if (row >= 0 && m_rows.isClosingRow(static_cast<std::size_t>(row))) {
        selectRow(row);
        return;
    }
    m_current = row;
    host().updateCommands();
}

bool CTimeSheetView::handles(int c) const {
    using namespace command;
    switch (c) {
    case kEditTransaction:
    case kAddTransaction:
    case kDeleteTransaction:
    case kDeleteAll:
    case kFirstRow:
    case kPreviousRow:
    case kNextRow:
    case kLastRow:
    case kSave:
    case kExportCsv:
    case kExportTxt:
        return true;
    default:
        return CExListView::handles(c);
    }
}

bool CTimeSheetView::isEnabled(int c) const {
    using namespace command;
    const bool current = m_current >= 0;
    const int lastRow = static_cast<int>(m_rows.transactionRows()) - 1;
    switch (c) {
    case kEditTransaction:
    case kDeleteTransaction:
    case kDeleteAll:
        return current;
    case kAddTransaction:
        return !host().document().templateFile().level1().empty();
    case kFirstRow:
    case kPreviousRow:
        return current && m_current != 0;
    case kNextRow:
    case kLastRow:
        return current && m_current != lastRow;
    case kSave:
        return host().document().isModified();
    case kExportCsv:
    case kExportTxt:
        return true;
    default:
        return CExListView::isEnabled(c);
    }
}

void CTimeSheetView::run(int c) {
    using namespace command;
    switch (c) {
    case kEditTransaction:
        editOrAdd(false);
        break;
    case kAddTransaction:
        editOrAdd(true);
        break;
    case kDeleteTransaction:
        deleteCurrent();
        break;
    case kDeleteAll:
        deleteAll();
        break;
    case kFirstRow:
    case kPreviousRow:
    case kNextRow:
    case kLastRow:
        navigate(c);
        break;
    case kSave:
        save();
        break;
    case kExportCsv:
        exportRows(ExportFormat::CommaSeparated);
        break;
    case kExportTxt:
        exportRows(ExportFormat::TabDelimited);
        break;
    default:
        CExListView::run(c);
        break;
    }
}

void CTimeSheetView::navigate(int c) {
    const int last = static_cast<int>(m_rows.transactionRows()) - 1;
    int row = m_current;
    switch (c) {
    case command::kFirstRow:
        row = 0;
        break;
    case command::kPreviousRow:
        row = std::max(0, m_current - 1);
        break;
    case command::kNextRow:
        row = std::min(last, m_current + 1);
        break;
    default:
        row = last;
        break;
    }
    selectRow(row);
}

void CTimeSheetView::editOrAdd(bool add) {
    const Transaction* edited = nullptr;
    Transaction working;
    QString previousEnd;
    QString nextStart;
    const TimeSheetRows::Row* current =
        m_current >= 0 ? &m_rows.row(static_cast<std::size_t>(m_current)) : nullptr;
    auto sameDayTransaction = [this](int row, TimeValue date) -> const Transaction* {
        if (row < 0 || row >= static_cast<int>(m_rows.transactionRows())) {
            return nullptr;
        }
        const Transaction* t = m_rows.row(static_cast<std::size_t>(row)).transaction;
        return t && t->date() == date ? t : nullptr;
    };
    if (add) {
        working.setDate(current ? current->transaction->date() : m_rows.rangeFrom());
        if (current) {
            previousEnd = qs(current->transaction->end().clockTimeNoPad());
        }
        if (const Transaction* below =
                sameDayTransaction(current ? m_current + 1 : 0, working.date())) {
            nextStart = qs(below->start().clockTimeNoPad());
        }
    } else {
        if (!current) {
            return;
        }
        if (current->transaction->isSent()) {
            // Sent rows are locked; the status bar says why nothing happens.
            host().showStatus(tt(text::kSentRowLocked));
            return;
        }
        edited = current->transaction;
        working = *edited;
        if (const Transaction* above = sameDayTransaction(m_current - 1, working.date())) {
            previousEnd = qs(above->end().clockTimeNoPad());
        }
        if (const Transaction* below = sameDayTransaction(m_current + 1, working.date())) {
            nextStart = qs(below->start().clockTimeNoPad());
        }
    }
    if (!m_entryRunner) {
        return;
    }
    const std::optional<EntryOutcome> outcome =
        m_entryRunner(working, add, previousEnd, nextStart, m_rows.rangeFrom(), m_rows.rangeTo());
    if (!outcome) {
        return;
    }
    CSoloDoc& doc = host().document();
    doc.setModified(true);
    EntryCommitRequest request;
    request.addMode = add;
    request.edited = edited;
    request.workingCopy = outcome->working;
    request.changeFlags = outcome->changeFlags;
    request.duration = outcome->duration;
    request.dayStart = doc.settings().dayStart();
    const EntryCommit commit = commitEntry(store(), request, host().prompter());
    rowsChanged(commit.stored);
}

void CTimeSheetView::deleteCurrent() {
    if (m_current < 0) {
        return;
    }
    if (host().prompter().ask(tx(text::kDeleteOne), Prompter::Buttons::YesNo, Prompter::Answer::No,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    const int last = static_cast<int>(m_rows.transactionRows()) - 1;
    const Transaction* doomed = m_rows.row(static_cast<std::size_t>(m_current)).transaction;
    const TimeValue date = doomed->date();
    const int next = m_current == last ? m_current - 1 : m_current;
    store().removeAndDestroy(doomed);
    if (Day* day = store().findDay(date)) {
        day->markErrors();
    }
    host().document().setModified(true);
    m_rows.refresh();
    list()->listModel()->reset();
    selectRow(m_rows.transactionRows() == 0 ? -1 : next);
    host().updateCommands();
}

void CTimeSheetView::deleteAll() {
    if (m_current < 0) {
        return;
    }
    if (host().prompter().ask(tx(text::kDeleteAllRows), Prompter::Buttons::YesNo,
                              Prompter::Answer::No,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    const TransactionStore::DayRange days = m_rows.days();
    for (int d = days.last; d >= days.first; --d) {
        store().removeDay(store().day(static_cast<std::size_t>(d)));
    }
    host().document().setModified(true);
    m_rows.refresh();
    list()->listModel()->reset();
    selectRow(-1);
    host().updateCommands();
}

bool CTimeSheetView::save() {
    CSoloDoc& doc = host().document();
    TemplateFile& file = doc.templateFile();
    const FileResult saved = file.saveTransactions();
    if (!doc.reporter().present(saved)) {
        if (saved.what == FileResult::What::Conflict) {
            offerReload();
        }
        return !doc.isModified(); // the user was told why; the changes stay in memory
    }
    doc.setModified(false);
    if (file.tookInOtherChanges()) {
        rowsChanged(nullptr); // what other programs stored meanwhile is in the store now
    }
    host().updateCommands();
    return true;
}

void CTimeSheetView::offerReload() {
    if (host().prompter().ask(tx(text::kReloadAfterConflict), Prompter::Buttons::YesNo,
                              Prompter::Answer::No,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    CSoloDoc& doc = host().document();
    TemplateFile& file = doc.templateFile();
    file.unloadTransactions(false);
    if (!doc.reporter().present(file.loadTransactions())) {
        file.unloadTransactions(false);
    }
    doc.setModified(false);
    m_rows.rebuild(store(), m_rows.rangeFrom(), m_rows.rangeTo());
    fill(true);
    host().updateCommands();
}

bool CTimeSheetView::mayLeave() {
    CSoloDoc& doc = host().document();
    if (doc.isModified()) {
        if (doc.settings().autoSave()) {
            if (!save()) {
                return false; // nothing is dropped that could not be kept
            }
        } else {
            const auto answer = host().prompter().ask(
                tx(text::kSaveChanges), Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes);
            if (answer == Prompter::Answer::Cancel) {
                return false;
            }
            if (answer == Prompter::Answer::Yes && !save()) {
                return false;
            }
        }
    }
    if (doc.isModified()) {
        // No: the changes are dropped with the transactions when the frame lets them go.
        doc.setModified(false);
    } else {
        const TemplateFile& file = doc.templateFile();
        const Day* today = file.store().findDay(file.clock().today());
        doc.tracker().takeLastTransaction(today ? today->lastTransaction() : nullptr);
    }
    m_transactionsHook.reset();
    return true;
}

void CTimeSheetView::refreshTitles() {
    showLevelTitles(1, 2);
}

void CTimeSheetView::refresh() {
    m_rows.rebuild(store(), m_rows.rangeFrom(), m_rows.rangeTo());
    fill(true);
}

void CTimeSheetView::exportRows(ExportFormat format) {
    const bool csv = format == ExportFormat::CommaSeparated;
    QString path;
    if (m_exportChooser) {
        path = m_exportChooser(format);
    } else {
        QFileDialog dialog(this, csv ? tt(text::kExportCsvTitle) : tt(text::kExportTxtTitle));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(csv ? tt(text::kExportCsvFilter) : tt(text::kExportTxtFilter));
        dialog.setDefaultSuffix(csv ? "csv" : "txt");
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            path = dialog.selectedFiles().first();
        }
    }
    if (path.isEmpty()) {
        return;
    }
    AtomicFileWriter writer;
    FileError error;
    if (!writer.begin(path.toStdString(), error)) {
        host().prompter().show(tx(kExportCreateFailedText), Prompter::Icon::Warning);
        return;
    }
    const bool written = writeExport(host().document().templateFile(), m_rows.days(), format,
                                     [&writer, &error](std::string_view bytes) {
                                         return writer.write(bytes, error);
                                     }) &&
                         writer.commit(error);
    if (!written) {
        // The old file, if any, is left as it was; say what went wrong.
        if (const auto message = fileErrorText(error, path.toStdString())) {
            host().prompter().show(*message, Prompter::Icon::Warning);
        }
    }
}

std::unique_ptr<PrintedReport> CTimeSheetView::paperReport() const {
    CSoloDoc& doc = host().document();
    return std::make_unique<TimeSheetPrint>(
        m_rows, doc.templateFile(), doc.settings().level1Title(), doc.settings().level2Title(),
        doc.templateFile().clock(), doc.path());
}

void CTimeSheetView::applyRange(const DateRange& range) {
    setRange(range.from, range.to);
}

} // namespace vsolo
