#include "reporting/expenses.h"

#include "reporting/data/moneytext.h"
#include "reporting/data/readers.h"
#include "reporting/dialogsupport.h"
#include "reporting/dialogtexts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vsolo::reporting {

namespace {

QDate localDate(std::int32_t date) {
    return QDateTime::fromSecsSinceEpoch(date).date();
}

// English names whatever the locale, as every date text of the system.
QString dateText(std::int32_t date, const char* format) {
    return QLocale::c().toString(localDate(date), QString::fromLatin1(format));
}

} // namespace

ExpenseDialog::ExpenseDialog(const ReportSettings& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_date(new QDateEdit(this)),
      m_amount(new QLineEdit(this)), m_description(new QLineEdit(this)) {
    setWindowTitle(qs(dialogtext::addEditTitle(settings.expenseTerm)));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    // The dates whose local midnight fits the file's 32-bit seconds.
    m_date->setDateRange(QDate(1970, 1, 2), QDate(2038, 1, 18));
    auto* form = new QFormLayout;
    form->addRow(tr("&Date:"), m_date);
    form->addRow(tr("&Amount:"), m_amount);
    form->addRow(tr("D&escription:"), m_description);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ExpenseDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ExpenseDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void ExpenseDialog::setExpense(std::int32_t date, double amount, const std::string& description) {
    m_date->setDate(localDate(date));
    m_amount->setText(numberText(amount));
    m_description->setText(qs(description));
}

std::int32_t ExpenseDialog::date() const {
    const QDate d = m_date->date();
    return localTimeToUtc(d.year(), d.month(), d.day(), 0, 0);
}

std::string ExpenseDialog::description() const {
    return ss(m_description->text());
}

void ExpenseDialog::accept() {
    const std::optional<double> amount = takeAmount(m_amount, m_prompter);
    if (!amount || !checkStoredText(m_description, m_prompter)) {
        return;
    }
    m_amountValue = *amount;
    QDialog::accept();
}

ExpensesManager::ExpensesManager(ReportingData& reportingData, const ReportSettings& settings,
                                 Prompter& prompter, const Clock& clock, QWidget* parent)
    : QDialog(parent), m_data(reportingData), m_settings(settings), m_prompter(prompter),
      m_clock(clock), m_projects(new BoundedComboBox(this)), m_list(new QTreeWidget(this)) {
    setWindowTitle(qs(dialogtext::managerTitle(settings.expenseTerm)));
    for (const TemplateItem& item : reportingData.items()) {
        if (item.level == 1) {
            m_projects->addItem(qs(item.name), item.groupNumber);
        }
    }
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setHeaderLabels({tr("Date"), tr("Amount"), tr("Description")});
    m_list->setColumnWidth(0, 150);
    m_list->setColumnWidth(1, 100);
    m_list->setColumnWidth(2, 240);
    m_list->setMinimumSize(500, 240);

    auto* add = plainButton(tr("&Add"), this);
    auto* edit = plainButton(tr("&Edit"), this);
    auto* remove = plainButton(tr("&Delete"), this);
    auto* ok = plainButton(tr("&Ok"), this);
    edit->setDefault(true);
    connect(add, &QPushButton::clicked, this, &ExpensesManager::addExpense);
    connect(edit, &QPushButton::clicked, this, &ExpensesManager::editExpense);
    connect(remove, &QPushButton::clicked, this, &ExpensesManager::deleteExpense);
    connect(ok, &QPushButton::clicked, this, &ExpensesManager::accept);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &ExpensesManager::editExpense);
    connect(m_projects, &QComboBox::currentIndexChanged, this, &ExpensesManager::fill);
    connect(new QShortcut(Qt::Key_Insert, this), &QShortcut::activated, this,
            &ExpensesManager::addExpense);
    auto* deleteKey = new QShortcut(QKeySequence::Delete, m_list);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &ExpensesManager::deleteExpense);

    auto* projectLabel = new QLabel(qs(settings.level1Title + ":"), this);
    projectLabel->setBuddy(m_projects);
    auto* top = new QHBoxLayout;
    top->addWidget(projectLabel);
    top->addWidget(m_projects, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {add, edit, remove, ok}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    fill();
}

QString ExpensesManager::listedDate(std::int32_t date) {
    return dateText(date, "ddd, MMMM, dd, yyyy");
}

QString ExpensesManager::editedDate(std::int32_t date) {
    return dateText(date, "ddd, MMMM dd, yyyy");
}

std::int32_t ExpensesManager::selectedProject() const {
    return m_projects->currentData().toInt();
}

void ExpensesManager::fill() {
    m_list->clear();
    if (m_projects->currentIndex() < 0) {
        return;
    }
    for (const ExpenseEntry& expense : m_data.expenses()) {
        if (expense.projectNumber == selectedProject()) {
            auto* row = new QTreeWidgetItem(m_list, {listedDate(expense.date),
                                                     qs(moneyText(expense.amount, "$ ")),
                                                     qs(expense.description)});
            row->setData(0, Qt::UserRole, expense.expenseId);
        }
    }
}

ExpenseEntry* ExpensesManager::selectedExpense() const {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? nullptr
                              : m_data.findExpense(selected.front()->data(0, Qt::UserRole).toInt());
}

void ExpensesManager::addExpense() {
    // An expense is always booked to a project.
    if (m_projects->currentIndex() < 0) {
        return;
    }
    ExpenseDialog dialog(m_settings, m_prompter, this);
    const CalendarTime today = m_clock.today().toCalendar();
    dialog.setExpense(localTimeToUtc(today.year, today.month, today.day, 0, 0), 0.0, {});
    if (!runDialog(dialog)) {
        return;
    }
    ExpenseEntry expense;
    expense.projectNumber = selectedProject();
    expense.expenseId = m_data.nextExpenseId();
    expense.date = dialog.date();
    expense.amount = dialog.amount();
    expense.description = dialog.description();
    m_data.expenses().push_back(expense);
    auto* row = new QTreeWidgetItem(
        {listedDate(expense.date), qs(moneyText(expense.amount, "$ ")), qs(expense.description)});
    row->setData(0, Qt::UserRole, expense.expenseId);
    m_list->insertTopLevelItem(0, row);
    m_list->setCurrentItem(row);
}

void ExpensesManager::editExpense() {
    ExpenseEntry* expense = selectedExpense();
    if (expense == nullptr) {
        return;
    }
    ExpenseDialog dialog(m_settings, m_prompter, this);
    dialog.setExpense(expense->date, expense->amount, expense->description);
    if (!runDialog(dialog)) {
        return;
    }
    expense->date = dialog.date();
    expense->amount = dialog.amount();
    expense->description = dialog.description();
    QTreeWidgetItem* row = m_list->selectedItems().front();
    row->setText(0, editedDate(expense->date));
    row->setText(1, qs(moneyText(expense->amount, "$ ")));
    row->setText(2, qs(expense->description));
}

void ExpensesManager::deleteExpense() {
    const ExpenseEntry* expense = selectedExpense();
    if (expense == nullptr) {
        return;
    }
    if (m_prompter.ask(tx(dialogtext::kConfirmDelete), Prompter::Buttons::YesNo,
                       Prompter::Answer::Yes) != Prompter::Answer::Yes) {
        return;
    }
    QTreeWidgetItem* row = m_list->selectedItems().front();
    const int position = m_list->indexOfTopLevelItem(row);
    m_data.deleteExpense(expense->expenseId);
    delete row;
    const int count = m_list->topLevelItemCount();
    if (count > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(std::min(position, count - 1)));
    }
}

void ExpensesManager::done(int result) {
    m_data.sortExpensesByDate();
    QDialog::done(result);
}

} // namespace vsolo::reporting
