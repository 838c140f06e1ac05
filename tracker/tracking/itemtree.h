#pragma once

// moc and the C++20 core headers: a Qt header leads (see tracker/timesheet/valueedit.h).
#include "core/model/templatefile.h"

#include <QTreeWidget>
#include <cstdint>

// The level items in a tree control, as every picker of an item to record time against shows
// them: projects as roots, activities (and their sub-tasks) below. Each node carries its item.
namespace vsolo::itemtree {

// Fills the tree from the template; with activeOnly, items removed from the list for time entry
// are left out together with what hangs below them.
void fill(QTreeWidget* tree, TemplateFile& file, bool activeOnly);

LevelItem* itemOf(const QTreeWidgetItem* node);
QTreeWidgetItem* rootOf(QTreeWidgetItem* node);
// The first item without children below a node (the node itself when it has none).
QTreeWidgetItem* firstLeaf(QTreeWidgetItem* node);

// What a selected node stands for: the level-2 item is the node or its first leaf, the level-1
// item the root it belongs to. A project without activities stands for itself alone.
struct Selection {
    LevelItem* level1 = nullptr;
    LevelItem* level2 = nullptr;
};
Selection selectionOf(const QTreeWidgetItem* node);

// The key transactions use for a level-1 item: the group number in the tree shape, else the
// sub-id.
std::int32_t level1Key(const LevelItem* item, bool treeShape);

} // namespace vsolo::itemtree
