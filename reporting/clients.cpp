#include "reporting/clients.h"

#include "core/base/namecompare.h"
#include "reporting/dialogsupport.h"
#include "reporting/dialogtexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace vsolo::reporting {

ClientsManager::ClientsManager(ReportingData& reportingData, const ReportSettings& settings,
                               Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_data(reportingData), m_prompter(prompter), m_list(new QListWidget(this)),
      m_name(new QLineEdit(this)), m_apply(plainButton(tr("A&pply"), this)) {
    setWindowTitle(qs(dialogtext::managerTitle(settings.clientTerm)));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setMinimumSize(260, 220);
    for (const ClientEntry& client : reportingData.clients()) {
        auto* row = new QListWidgetItem(qs(client.name));
        row->setData(Qt::UserRole, client.clientId);
        m_list->insertItem(sortedRow(row->text()), row);
    }
    auto* label = new QLabel(qs(dialogtext::clientNameLabel(settings.clientTerm)), this);
    label->setBuddy(m_name);
    m_apply->setEnabled(false);

    auto* add = plainButton(tr("&Add"), this);
    auto* remove = plainButton(tr("&Delete"), this);
    auto* ok = plainButton(tr("&Ok"), this);
    connect(add, &QPushButton::clicked, this, &ClientsManager::addClient);
    connect(remove, &QPushButton::clicked, this, &ClientsManager::deleteClient);
    connect(ok, &QPushButton::clicked, this, &ClientsManager::accept);
    connect(m_apply, &QPushButton::clicked, this, &ClientsManager::applyName);
    connect(m_name, &QLineEdit::returnPressed, this, &ClientsManager::applyName);
    connect(m_name, &QLineEdit::textEdited, this, &ClientsManager::nameEdited);
    connect(m_list, &QListWidget::currentRowChanged, this, &ClientsManager::showSelected);
    connect(new QShortcut(Qt::Key_Insert, this), &QShortcut::activated, this,
            &ClientsManager::addClient);
    auto* deleteKey = new QShortcut(QKeySequence::Delete, m_list);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &ClientsManager::deleteClient);

    auto* left = new QVBoxLayout;
    left->addWidget(m_list, 1);
    left->addWidget(label);
    left->addWidget(m_name);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {add, remove, ok, m_apply}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
    }
}

int ClientsManager::sortedRow(const QString& name) const {
    const std::string text = ss(name);
    int row = 0;
    while (row < m_list->count() && compareNames(ss(m_list->item(row)->text()), text) <= 0) {
        ++row;
    }
    return row;
}

int ClientsManager::selectedRow() const {
    const QListWidgetItem* current = m_list->currentItem();
    return current != nullptr && current->isSelected() ? m_list->row(current) : -1;
}

void ClientsManager::showSelected() {
    const int row = selectedRow();
    if (row >= 0) {
        m_name->setText(m_list->item(row)->text());
        m_apply->setEnabled(false);
    }
}

void ClientsManager::nameEdited() {
    const int row = selectedRow();
    m_apply->setEnabled(row >= 0 && m_name->text() != m_list->item(row)->text());
}

void ClientsManager::addClient() {
    ClientEntry client{m_data.nextClientId(), dialogtext::kNewClient};
    m_data.clients().push_back(client);
    auto* row = new QListWidgetItem(qs(client.name));
    row->setData(Qt::UserRole, client.clientId);
    m_list->insertItem(sortedRow(row->text()), row);
    m_list->setCurrentItem(row);
    m_name->setText(row->text());
    m_name->selectAll();
    m_name->setFocus();
    m_apply->setEnabled(true);
}

void ClientsManager::applyName() {
    if (m_name->text().isEmpty()) {
        m_prompter.show(tx(dialogtext::kEmptyField), Prompter::Icon::Warning);
        m_name->setFocus();
        return;
    }
    if (!checkStoredText(m_name, m_prompter)) {
        return;
    }
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    QListWidgetItem* item = m_list->item(row);
    if (ClientEntry* client = m_data.findClient(item->data(Qt::UserRole).toInt())) {
        client->name = ss(m_name->text());
    }
    // The renamed entry keeps its place until the list is filled again.
    item->setText(m_name->text());
    m_list->setCurrentItem(item);
    m_apply->setEnabled(false);
}

void ClientsManager::deleteClient() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    if (m_prompter.ask(tx(dialogtext::kConfirmDelete), Prompter::Buttons::YesNo,
                       Prompter::Answer::Yes) != Prompter::Answer::Yes) {
        return;
    }
    QListWidgetItem* item = m_list->takeItem(row);
    m_data.deleteClient(item->data(Qt::UserRole).toInt());
    delete item;
    // With no client left the field keeps showing the deleted name.
    if (m_list->count() > 0) {
        m_list->setCurrentRow(std::min(row, m_list->count() - 1));
        showSelected();
    }
}

void ClientsManager::done(int result) {
    m_data.sortClientsByName();
    QDialog::done(result);
}

} // namespace vsolo::reporting
