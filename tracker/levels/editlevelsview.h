#pragma once

// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QTreeWidget>

// The project headers after the Qt header; see above.
#include "core/leveledit.h"
#include "tracker/app/view.h"
#include "tracker/app/viewhost.h"

#include <QLineEdit>
#include <QPointer>
#include <unordered_map>

class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;

namespace vsolo {

class CEditLevelsView;

// The tree of the level editor: hands drags, drops, the pop-up menu and label edits to its view.
class LevelTreeWidget final : public QTreeWidget {
    Q_OBJECT
public:
    explicit LevelTreeWidget(CEditLevelsView& view);

protected:
    void startDrag(Qt::DropActions supported) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CEditLevelsView& m_view;
};

// The editor of a tree-shaped template's level items: level-1 items as roots with their level-2
// items nested below. It edits the document's lists in place and asks before it is left whether
// to save them.
class CEditLevelsView final : public View {
    Q_OBJECT
public:
    explicit CEditLevelsView(ViewHost& host);
    ~CEditLevelsView() override;

    bool mayLeave() override;
    void activated() override;
    void closeRequested() override;
    bool handles(int command) const override;
    bool isEnabled(int command) const override;
    bool isChecked(int command) const override;
    void run(int command) override;
    void refresh() override;
    void refreshTitles() override;

    bool isModified() const { return m_modified; }
    LevelTreeWidget* tree() const { return m_tree; }
    QLineEdit* targetEdit() const { return m_target; }
    QLineEdit* descriptionEdit() const { return m_description; }
    QCheckBox* removedBox() const { return m_removed; }
    QLabel* totalValue() const { return m_total; }
    QPushButton* addLevel1Button() const { return m_addLevel1; }
    QPushButton* addLevel2Button() const { return m_addLevel2; }
    QPushButton* deleteButton() const { return m_delete; }
    // The field in which a label is being edited, or null.
    QLineEdit* labelEditor() const { return m_labelEditor; }

    LevelItem* itemOf(const QTreeWidgetItem* node) const;
    QTreeWidgetItem* nodeOf(const LevelItem* item) const;
    LevelItem* selectedItem() const;
    // The label a node shows for the item: its name, and a level-1 item's target when above 0.
    static QString labelOf(const LevelItem& item);

    // A drag may start: drag and drop is on, Ctrl is held and the template is not managed.
    bool mayStartDrag() const;
    // Puts the dragged node's subtree under the target node, moved or copied as "DDC" says. A
    // move asks first whether the recorded time of the moved items goes along (at the next save).
    bool dropNode(QTreeWidgetItem* dragged, QTreeWidgetItem* target);
    // The pop-up menu of the tree, with the commands of the frame.
    QMenu* makeContextMenu(QWidget* parent);

    // Called by the label editor.
    QString labelEditText(const QTreeWidgetItem* node) const;
    void labelEditStarted(QLineEdit* editor);
    void labelEditEnded(QTreeWidgetItem* node, const QString& text);

private:
    TemplateFile& file() const { return m_host.document().templateFile(); }
    Settings& settings() const { return m_host.document().settings(); }
    bool managed() const { return file().isManaged(); }
    void rebuild(const LevelItem* select);
    void showSelection();
    void showTotal();
    void changed();
    void addLevel1();
    void addLevel2();
    void deleteSelected();
    void copySelected();
    void sortLists();
    bool save();
    void reload();
    void targetEdited(const QString& text);
    void descriptionEdited(const QString& text);
    void removedClicked(bool removed);

    ViewHost& m_host;
    LevelEditor m_editor;
    LevelTreeWidget* m_tree;
    QPushButton* m_addLevel1;
    QPushButton* m_addLevel2;
    QPushButton* m_delete;
    QLineEdit* m_target;
    QLineEdit* m_description;
    QCheckBox* m_removed;
    QLabel* m_totalLabel;
    QLabel* m_total;
    QPointer<QLineEdit> m_labelEditor;
    std::unordered_map<const LevelItem*, QTreeWidgetItem*> m_nodes;
    bool m_modified = false;
    bool m_left = false;
    HookHandle m_activeHook;
    HookHandle m_clearModifiedHook;
};

} // namespace vsolo
