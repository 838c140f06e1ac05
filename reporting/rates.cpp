#include "reporting/rates.h"

#include "core/base/namecompare.h"
#include "core/base/placeholders.h"
#include "reporting/data/moneytext.h"
#include "reporting/dialogsupport.h"
#include "reporting/dialogtexts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace vsolo::reporting {

RateDialog::RateDialog(const ReportSettings& settings, const std::vector<RateEntry>& rates,
                       std::optional<std::size_t> editedIndex, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_rates(rates), m_editedIndex(editedIndex),
      m_prompter(prompter), m_code(new QLineEdit(this)), m_amount(new QLineEdit(this)),
      m_description(new QLineEdit(this)) {
    setWindowTitle(qs(dialogtext::addEditTitle(settings.rateTerm)));
    auto* form = new QFormLayout;
    form->addRow(tr("&Code:"), m_code);
    form->addRow(tr("&Amount:"), m_amount);
    form->addRow(tr("&Description:"), m_description);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &RateDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RateDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void RateDialog::setRate(const RateEntry& rate) {
    m_code->setText(qs(rate.code));
    m_amount->setText(numberText(rate.amount));
    m_description->setText(qs(rate.description));
}

void RateDialog::accept() {
    const std::optional<double> amount = takeAmount(m_amount, m_prompter);
    if (!amount) {
        return;
    }
    const std::string code = ss(m_code->text());
    if (code.empty()) {
        m_prompter.show(fillPlaceholders(tx(dialogtext::kNoCode), {m_settings.rateTerm}),
                        Prompter::Icon::Warning);
        refocus(m_code);
        return;
    }
    for (std::size_t i = 0; i < m_rates.size(); ++i) {
        if (i != m_editedIndex && m_rates[i].code == code) {
            m_prompter.show(fillPlaceholders(tx(dialogtext::kCodeTaken), {m_settings.rateTerm}),
                            Prompter::Icon::Warning);
            refocus(m_code);
            return;
        }
    }
    if (!checkStoredText(m_code, m_prompter) || !checkStoredText(m_description, m_prompter)) {
        return;
    }
    m_rate.code = code;
    m_rate.amount = *amount;
    m_rate.description = ss(m_description->text());
    QDialog::accept();
}

RatesManager::RatesManager(ReportingData& reportingData, const ReportSettings& settings,
                           Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_data(reportingData), m_settings(settings), m_prompter(prompter),
      m_list(new QTreeWidget(this)) {
    setWindowTitle(qs(dialogtext::managerTitle(settings.rateTerm)));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setHeaderLabels({tr("Code"), tr("Rate"), tr("Description")});
    m_list->setColumnWidth(0, 100);
    m_list->setColumnWidth(1, 85);
    m_list->setColumnWidth(2, 215);
    m_list->setMinimumSize(420, 240);

    auto* add = plainButton(tr("&Add"), this);
    auto* edit = plainButton(tr("&Edit"), this);
    auto* remove = plainButton(tr("&Delete"), this);
    auto* ok = plainButton(tr("&OK"), this);
    // Enter edits the selected rate; Escape closes like OK, since every change is already made.
    edit->setDefault(true);
    connect(add, &QPushButton::clicked, this, &RatesManager::addRate);
    connect(edit, &QPushButton::clicked, this, &RatesManager::editRate);
    connect(remove, &QPushButton::clicked, this, &RatesManager::deleteRate);
    connect(ok, &QPushButton::clicked, this, &RatesManager::accept);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &RatesManager::editRate);
    connect(new QShortcut(Qt::Key_Insert, this), &QShortcut::activated, this,
            &RatesManager::addRate);
    auto* deleteKey = new QShortcut(QKeySequence::Delete, m_list);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &RatesManager::deleteRate);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {add, edit, remove, ok}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    fill(0);
}

// The rows hold indexes into the rate list, so that rates read with equal codes stay apart.
void RatesManager::fill(std::optional<std::size_t> selectRow) {
    const std::vector<RateEntry>& rates = m_data.rates();
    std::vector<std::size_t> order(rates.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return compareNames(rates[a].code, rates[b].code) < 0;
    });
    m_list->clear();
    for (const std::size_t index : order) {
        const RateEntry& rate = rates[index];
        auto* row = new QTreeWidgetItem(
            m_list, {qs(rate.code), qs(moneyText(rate.amount)), qs(rate.description)});
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        row->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<qulonglong>(index)));
    }
    const int count = m_list->topLevelItemCount();
    if (selectRow && count > 0) {
        const int row = std::min(static_cast<int>(*selectRow), count - 1);
        m_list->setCurrentItem(m_list->topLevelItem(row));
    }
}

std::optional<std::size_t> RatesManager::selectedIndex() const {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(selected.front()->data(0, Qt::UserRole).toULongLong());
}

void RatesManager::addRate() {
    RateDialog dialog(m_settings, m_data.rates(), std::nullopt, m_prompter, this);
    if (!runDialog(dialog)) {
        return;
    }
    m_data.rates().push_back(dialog.rate());
    fill(std::nullopt);
    const QString code = qs(dialog.rate().code);
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        if (m_list->topLevelItem(row)->text(0) == code) {
            m_list->setCurrentItem(m_list->topLevelItem(row));
        }
    }
}

void RatesManager::editRate() {
    const std::optional<std::size_t> index = selectedIndex();
    if (!index) {
        return;
    }
    RateDialog dialog(m_settings, m_data.rates(), index, m_prompter, this);
    dialog.setRate(m_data.rates()[*index]);
    if (!runDialog(dialog)) {
        return;
    }
    const std::string oldCode = m_data.rates()[*index].code;
    m_data.rates()[*index] = dialog.rate();
    if (dialog.rate().code != oldCode) {
        carryCode(oldCode, dialog.rate().code);
    }
    fill(std::nullopt);
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = m_list->topLevelItem(row);
        if (item->data(0, Qt::UserRole).toULongLong() == *index) {
            m_list->setCurrentItem(item);
        }
    }
}

void RatesManager::carryCode(const std::string& oldCode, const std::string& newCode) {
    // A rate read with the same code still answers for it.
    if (m_data.findRate(oldCode) != nullptr) {
        return;
    }
    std::vector<TemplateItem*> named;
    for (TemplateItem& item : m_data.items()) {
        if (item.rateCode == oldCode) {
            named.push_back(&item);
        }
    }
    // Left as they are, the items name no rate and are billed at 0.00 without a word.
    if (named.empty() ||
        m_prompter.ask(dialogtext::changedCodeQuestion(named.size()), Prompter::Buttons::YesNo,
                       Prompter::Answer::Yes) != Prompter::Answer::Yes) {
        return;
    }
    for (TemplateItem* item : named) {
        item->rateCode = newCode;
    }
}

void RatesManager::deleteRate() {
    const std::optional<std::size_t> index = selectedIndex();
    if (!index) {
        return;
    }
    if (m_prompter.ask(tx(dialogtext::kConfirmDelete), Prompter::Buttons::YesNo,
                       Prompter::Answer::Yes) != Prompter::Answer::Yes) {
        return;
    }
    const int row = m_list->indexOfTopLevelItem(m_list->selectedItems().front());
    std::vector<RateEntry>& rates = m_data.rates();
    const std::string code = rates[*index].code;
    const auto sameCode = [&](const RateEntry& rate) { return rate.code == code; };
    if (std::count_if(rates.begin(), rates.end(), sameCode) == 1) {
        // Items that named the code lose it.
        m_data.deleteRate(code);
    } else {
        // Another rate of a file keeps the code alive: only this row goes.
        rates.erase(rates.begin() + static_cast<std::ptrdiff_t>(*index));
    }
    fill(static_cast<std::size_t>(row));
}

} // namespace vsolo::reporting
