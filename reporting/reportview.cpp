#include "reporting/reportview.h"

#include "core/prompter.h"
#include "platform/translations.h"
#include "reporting/dialogsupport.h"
#include "reporting/texts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <utility>

namespace vsolo::reporting {

namespace {

constexpr int kGroupRole = Qt::UserRole;
constexpr int kSubIdRole = Qt::UserRole + 1;

using ItemKey = std::pair<std::int32_t, std::int32_t>;

ItemKey keyOf(const QTreeWidgetItem* node) {
    return {node->data(0, kGroupRole).toInt(), node->data(0, kSubIdRole).toInt()};
}

// Entries in alphabetical order, letter case aside; equal texts keep the data's order.
template <typename Entry, typename Text>
std::vector<const Entry*> alphabetical(const std::vector<Entry>& entries, Text text) {
    std::vector<const Entry*> sorted;
    for (const Entry& entry : entries) {
        sorted.push_back(&entry);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [&text](const Entry* a, const Entry* b) {
        return qs(text(*a)).compare(qs(text(*b)), Qt::CaseInsensitive) < 0;
    });
    return sorted;
}

void reorderByDepth(std::vector<TemplateItem>& items) {
    // A stable sort by depth is the same as taking every depth in turn in list order.
    std::stable_sort(items.begin(), items.end(), [](const TemplateItem& a, const TemplateItem& b) {
        return a.depth < b.depth;
    });
}

} // namespace

CVSReportView::CVSReportView(ReportingData& reportingData, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_data(reportingData), m_prompter(prompter), m_tree(new QTreeWidget(this)),
      m_clientLabel(new QLabel(this)), m_clients(new BoundedComboBox(this)),
      m_rateLabel(new QLabel(this)), m_rates(new BoundedComboBox(this)),
      m_description(new QPlainTextEdit(this)) {
    m_tree->setHeaderHidden(true);
    m_description->setReadOnly(true);
    m_description->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; }"));
    setTerms(QStringLiteral("Clients"), QStringLiteral("Rates"));

    auto* side = new QVBoxLayout;
    side->addWidget(m_clientLabel);
    side->addWidget(m_clients);
    side->addWidget(m_rateLabel);
    side->addWidget(m_rates);
    side->addWidget(new QLabel(tr("Description:"), this));
    side->addWidget(m_description, 1);
    auto* layout = new QHBoxLayout(this);
    // The tree keeps its top-left corner and ends 5 units above the form's bottom edge.
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(m_tree, 1);
    layout->addLayout(side, 1);

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { showItem(current); });
    // Only what the user picks changes an item; the form's own refills do not.
    connect(m_clients, &QComboBox::activated, this, &CVSReportView::chooseClient);
    connect(m_rates, &QComboBox::activated, this, &CVSReportView::chooseRate);
}

void CVSReportView::fillTree() {
    m_tree->clear();
    std::vector<TemplateItem>& items = m_data.items();
    reorderByDepth(items);
    // The node of each pair; the first item of a pair keeps it should the pair come twice.
    std::map<ItemKey, QTreeWidgetItem*> nodes;
    for (const TemplateItem& item : items) {
        auto* node = new QTreeWidgetItem(QStringList{qs(item.name)});
        node->setData(0, kGroupRole, item.groupNumber);
        node->setData(0, kSubIdRole, item.subId);
        const bool root = item.parentSubId == 0 && item.subId == 0;
        const auto parent = root ? nodes.end() : nodes.find({item.groupNumber, item.parentSubId});
        if (parent != nodes.end()) {
            parent->second->addChild(node);
        } else {
            m_tree->addTopLevelItem(node);
        }
        nodes.emplace(ItemKey{item.groupNumber, item.subId}, node);
    }
    m_tree->expandAll();
}

void CVSReportView::fillLists() {
    m_clients->clear();
    m_rates->clear();
    for (const ClientEntry* client :
         alphabetical(m_data.clients(), [](const ClientEntry& c) { return c.name; })) {
        m_clients->addItem(qs(client->name), client->clientId);
    }
    for (const RateEntry* rate :
         alphabetical(m_data.rates(), [](const RateEntry& r) { return r.code; })) {
        m_rates->addItem(qs(rate->code), qs(rate->code));
    }
    m_clients->setCurrentIndex(-1);
    m_rates->setCurrentIndex(-1);
}

void CVSReportView::selectFirstRoot() {
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    showItem(m_tree->currentItem());
}

void CVSReportView::showCurrent() {
    showItem(m_tree->currentItem());
}

void CVSReportView::setTerms(const QString& clientTerm, const QString& rateTerm) {
    m_clientLabel->setText(clientTerm + QLatin1Char(':'));
    m_rateLabel->setText(rateTerm + QLatin1Char(':'));
}

bool CVSReportView::treeIsEmpty() const {
    return m_tree->topLevelItemCount() == 0;
}

QTreeWidgetItem* CVSReportView::nodeOf(std::int32_t groupNumber, std::int32_t subId) const {
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (keyOf(*it) == ItemKey{groupNumber, subId}) {
            return *it;
        }
    }
    return nullptr;
}

TemplateItem* CVSReportView::itemOf(const QTreeWidgetItem* node) const {
    if (!node) {
        return nullptr;
    }
    const ItemKey key = keyOf(node);
    return m_data.findItem(key.first, key.second);
}

void CVSReportView::showItem(const QTreeWidgetItem* node) {
    const TemplateItem* item = itemOf(node);
    if (!item) {
        m_clients->setEnabled(false);
        m_clients->setCurrentIndex(-1);
        m_rates->setCurrentIndex(-1);
        m_description->clear();
        return;
    }
    m_clients->setEnabled(item->level == 1);
    std::int32_t clientId = item->clientId;
    if (clientId == 0 && item->level != 1) {
        // Sub-items show the client of their project.
        const TemplateItem* project = m_data.findLevel1Item(item->groupNumber);
        clientId = project ? project->clientId : 0;
    }
    m_clients->setCurrentIndex(clientId == 0 ? -1 : m_clients->findData(clientId));
    showRateOf(*item);
    m_description->setPlainText(qs(item->description));
}

void CVSReportView::showRateOf(const TemplateItem& item) {
    // The exact code, as billing looks the rate up: two codes that differ only in letter case are
    // two rates, and a code whose rate is gone shows none.
    m_rates->setCurrentIndex(item.rateCode.empty() ? -1 : m_rates->findData(qs(item.rateCode)));
}

void CVSReportView::chooseClient(int index) {
    TemplateItem* item = itemOf(m_tree->currentItem());
    if (!item || index < 0) {
        return;
    }
    item->clientId = m_clients->itemData(index).toInt();
    emit modified();
}

void CVSReportView::chooseRate(int index) {
    QTreeWidgetItem* node = m_tree->currentItem();
    TemplateItem* item = itemOf(node);
    if (!item || index < 0) {
        return;
    }
    if (m_prompter.ask(tx(text::kRateSpreadQuestion), Prompter::Buttons::YesNo,
                       Prompter::Answer::Yes) != Prompter::Answer::Yes) {
        showRateOf(*item);
        return;
    }
    const std::string code = m_rates->itemData(index).toString().toStdString();
    // Each node of the subtree is visited once, so each item is set once.
    std::vector<const QTreeWidgetItem*> pending{node};
    while (!pending.empty()) {
        const QTreeWidgetItem* next = pending.back();
        pending.pop_back();
        if (TemplateItem* below = itemOf(next)) {
            below->rateCode = code;
        }
        for (int i = 0; i < next->childCount(); ++i) {
            pending.push_back(next->child(i));
        }
    }
    showRateOf(*item);
    emit modified();
}

} // namespace vsolo::reporting
