#include "tracker/tracking/itemtree.h"

#include <QApplication>
#include <QPalette>
#include <unordered_map>

namespace vsolo::itemtree {

namespace {

constexpr int kItemRole = Qt::UserRole + 1;

QTreeWidgetItem* makeNode(LevelItem* item) {
    auto* node = new QTreeWidgetItem(QStringList(QString::fromStdString(item->name())));
    node->setData(0, kItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(item)));
    if (!item->isActive()) {
        node->setForeground(0, QApplication::palette().color(QPalette::Disabled, QPalette::Text));
    }
    return node;
}

} // namespace

void fill(QTreeWidget* tree, TemplateFile& file, bool activeOnly) {
    tree->clear();
    // The nodes are built apart from the tree and put in at once: a tree told of each node on
    // its own takes many times as long for a template of thousands of items.
    QList<QTreeWidgetItem*> roots;
    if (!file.isTreeShape()) {
        for (const PickerRoot& root : legacyPickerTree(file.level1(), activeOnly)) {
            QTreeWidgetItem* node = makeNode(root.item);
            for (LevelItem* child : root.children) {
                node->addChild(makeNode(child));
            }
            roots.append(node);
        }
        tree->addTopLevelItems(roots);
        return;
    }
    std::unordered_map<const LevelItem*, QTreeWidgetItem*> nodes;
    for (const auto& owned : file.level1().items()) {
        if (activeOnly && !owned->isActive()) {
            continue;
        }
        QTreeWidgetItem* node = makeNode(owned.get());
        roots.append(node);
        nodes[owned.get()] = node;
    }
    const LevelTree levels = buildLevelTree(file.level1(), file.level2());
    for (const TreePlacement& placement : levels.placements) {
        const auto parent = nodes.find(placement.parent);
        // A removed item hides what hangs below it, unless everything is displayed.
        if (parent == nodes.end() || (activeOnly && !placement.item->isActive())) {
            continue;
        }
        QTreeWidgetItem* node = makeNode(placement.item);
        parent->second->addChild(node);
        nodes[placement.item] = node;
    }
    tree->addTopLevelItems(roots);
}

LevelItem* itemOf(const QTreeWidgetItem* node) {
    return node ? reinterpret_cast<LevelItem*>(node->data(0, kItemRole).value<quintptr>())
                : nullptr;
}

QTreeWidgetItem* rootOf(QTreeWidgetItem* node) {
    while (node && node->parent()) {
        node = node->parent();
    }
    return node;
}

QTreeWidgetItem* firstLeaf(QTreeWidgetItem* node) {
    while (node && node->childCount() > 0) {
        node = node->child(0);
    }
    return node;
}

Selection selectionOf(const QTreeWidgetItem* node) {
    Selection s;
    if (!node) {
        return s;
    }
    auto* mutableNode = const_cast<QTreeWidgetItem*>(node);
    QTreeWidgetItem* leaf = firstLeaf(mutableNode);
    QTreeWidgetItem* root = rootOf(mutableNode);
    s.level1 = itemOf(root);
    s.level2 = leaf == root ? nullptr : itemOf(leaf);
    return s;
}

std::int32_t level1Key(const LevelItem* item, bool treeShape) {
    if (!item) {
        return 0;
    }
    return treeShape ? item->groupNumber() : item->subId();
}

} // namespace vsolo::itemtree
