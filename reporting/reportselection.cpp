#include "reporting/reportselection.h"

#include "core/base/placeholders.h"
#include "core/prompter.h"
#include "core/settingsstore.h"
#include "platform/translations.h"
#include "reporting/dialogsupport.h"
#include "reporting/texts.h"

#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <algorithm>
#include <array>
#include <string>

namespace vsolo::reporting {

namespace {

constexpr int kFlagsRole = Qt::UserRole;
constexpr int kGroupRole = Qt::UserRole;

struct RowKind {
    std::optional<ReportKind> kind;
    int flags;
};
constexpr std::array<RowKind, CReportView::RowCount> kRows{{
    {ReportKind::Projects, 0},
    {ReportKind::Clients, 0},
    {std::nullopt, 0},
    {ReportKind::Rates, 0},
    {ReportKind::Expenses, CReportView::NeedsPeriod | CReportView::NeedsProjects},
    {std::nullopt, 0},
    {ReportKind::Invoice, CReportView::NeedsPeriod | CReportView::NeedsProjects},
}};

bool isSeparator(int row) {
    return row == CReportView::FirstSeparator || row == CReportView::SecondSeparator;
}

// A label whose first letter is its key; an ampersand of the text itself stays a character.
QLabel* keyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    QString marked = text;
    marked.replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* label = new QLabel(QLatin1Char('&') + marked, parent);
    label->setBuddy(buddy);
    return label;
}

QDate localDate(std::int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).date();
}

QDateEdit* datePicker(QWidget* parent) {
    auto* picker = new QDateEdit(parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    return picker;
}

} // namespace

CReportView::CReportView(ReportingData& reportingData, ReportSettings& settings, SettingsStore& own,
                         Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_data(reportingData), m_settings(settings), m_own(own),
      m_prompter(prompter), m_reports(new QListWidget(this)), m_from(datePicker(this)),
      m_to(datePicker(this)), m_projects(new QListWidget(this)) {
    m_fromLabel = keyLabel(tr("From:"), m_from, this);
    m_toLabel = keyLabel(tr("To:"), m_to, this);
    m_projectLabel = keyLabel(tr("%1 List:").arg(qs(m_settings.level1Title)), m_projects, this);
    m_projects->setSelectionMode(QAbstractItemView::MultiSelection);

    auto* layout = new QGridLayout(this);
    layout->addWidget(keyLabel(tr("Report List:"), m_reports, this), 0, 0);
    layout->addWidget(m_reports, 1, 0, 4, 1);
    layout->addWidget(m_fromLabel, 0, 1);
    layout->addWidget(m_from, 1, 1);
    layout->addWidget(m_toLabel, 2, 1);
    layout->addWidget(m_to, 3, 1);
    layout->setRowStretch(4, 1);
    layout->addWidget(m_projectLabel, 0, 2);
    layout->addWidget(m_projects, 1, 2, 4, 1);
    setTabOrder(m_reports, m_from);
    setTabOrder(m_from, m_to);
    setTabOrder(m_to, m_projects);

    fillReports();
    fillProjects();
    m_from->setDate(localDate(m_settings.fromTime));
    m_to->setDate(localDate(m_settings.toTime));
    connect(m_from, &QDateEdit::dateChanged, this, [this] { pickerChanged(true); });
    connect(m_to, &QDateEdit::dateChanged, this, [this] { pickerChanged(false); });
    connect(m_reports, &QListWidget::currentRowChanged, this, &CReportView::rowChanged);
    connect(m_reports, &QListWidget::itemSelectionChanged, this, &CReportView::keepRuleUnselected);

    int favorite = m_settings.favoriteReport;
    if (favorite < 0 || favorite >= RowCount) {
        favorite = ProjectRow;
    } else if (isSeparator(favorite)) {
        favorite += 1;
    }
    m_reports->setCurrentRow(favorite);
    m_reports->setFocus();
}

void CReportView::fillReports() {
    const auto list = [this](const std::string& term) { return tr("%1 List").arg(qs(term)); };
    const QString texts[RowCount] = {list(m_settings.level1Title),  list(m_settings.clientTerm),
                                     QString(75, QLatin1Char('-')), list(m_settings.rateTerm),
                                     list(m_settings.expenseTerm),  QString(75, QLatin1Char('-')),
                                     tt(text::kInvoiceReport)};
    for (int row = 0; row < RowCount; ++row) {
        auto* entry = new QListWidgetItem(texts[row], m_reports);
        entry->setData(kFlagsRole, kRows[static_cast<std::size_t>(row)].flags);
    }
}

void CReportView::fillProjects() {
    m_data.sortItemsByName();
    for (const TemplateItem& item : m_data.items()) {
        if (item.level == 1) {
            auto* entry = new QListWidgetItem(qs(item.name), m_projects);
            entry->setData(kGroupRole, item.groupNumber);
        }
    }
}

void CReportView::rowChanged(int row) {
    if (row < 0) {
        return;
    }
    if (isSeparator(row)) {
        // Stepping onto a separator goes on past it in the direction the selection came from.
        m_reports->setCurrentRow(m_previousRow == row + 1 ? row - 1 : row + 1);
        return;
    }
    m_previousRow = row;
    m_settings.favoriteReport = row;
    m_own.writeInt(kReportSection, "FavoriteReport", row);
    showFlags(m_reports->item(row)->data(kFlagsRole).toInt());
}

void CReportView::keepRuleUnselected() {
    // A click selects the row under the mouse once the current row has moved on from it: the
    // selection goes back to the current row.
    const int current = m_reports->currentRow();
    if (current < 0 || isSeparator(current)) {
        return;
    }
    const QList<QListWidgetItem*> selected = m_reports->selectedItems();
    if (std::any_of(selected.begin(), selected.end(),
                    [this](QListWidgetItem* item) { return isSeparator(m_reports->row(item)); })) {
        m_reports->selectionModel()->select(m_reports->currentIndex(),
                                            QItemSelectionModel::ClearAndSelect);
    }
}

void CReportView::showFlags(int flags) {
    const bool period = (flags & NeedsPeriod) != 0;
    const bool projects = (flags & NeedsProjects) != 0;
    for (QWidget* widget : {static_cast<QWidget*>(m_fromLabel), static_cast<QWidget*>(m_from),
                            static_cast<QWidget*>(m_toLabel), static_cast<QWidget*>(m_to)}) {
        widget->setVisible(period);
    }
    m_projectLabel->setVisible(projects);
    m_projects->setVisible(projects);
}

void CReportView::pickerChanged(bool from) {
    std::int64_t& stored = from ? m_settings.fromTime : m_settings.toTime;
    // The picker shows a date; the time of day of the stored moment stays as it was.
    const QDateTime before = QDateTime::fromSecsSinceEpoch(stored);
    stored = QDateTime((from ? m_from : m_to)->date(), before.time()).toSecsSinceEpoch();
    m_own.writeText(kReportSection, from ? "FromTime" : "ToTime", std::to_string(stored));
}

std::optional<ReportChoice> CReportView::choose() {
    const int row = m_reports->currentRow();
    if (row < 0 || !kRows[static_cast<std::size_t>(row)].kind) {
        return std::nullopt;
    }
    ReportChoice choice;
    choice.kind = *kRows[static_cast<std::size_t>(row)].kind;
    choice.selection.period = wholeDays(m_settings.fromTime, m_settings.toTime);
    for (int i = 0; i < m_projects->count(); ++i) {
        if (m_projects->item(i)->isSelected()) {
            choice.selection.projects.push_back(m_projects->item(i)->data(kGroupRole).toInt());
        }
    }
    if ((kRows[static_cast<std::size_t>(row)].flags & NeedsProjects) != 0 &&
        choice.selection.projects.empty()) {
        m_prompter.show(fillPlaceholders(tx(text::kSelectProjects), {m_settings.level1Title}),
                        Prompter::Icon::Information);
        return std::nullopt;
    }
    if (choice.kind == ReportKind::Invoice && m_settings.unreadableTax) {
        m_prompter.show(unreadableTaxText(*m_settings.unreadableTax), Prompter::Icon::Warning);
        return std::nullopt;
    }
    return choice;
}

bool CReportView::writeSettings() {
    return writeReportSettings(m_settings, m_own);
}

void CReportView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit previewRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace vsolo::reporting
