#pragma once

#include "tracker/app/view.h"

#include <QPointer>
#include <functional>

class QLabel;
class QGroupBox;
class QPlainTextEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vsolo {

class ViewHost;
class LevelItem;
class TimeEdit;

// The main window's form: the tree of level items, the descriptions, the start and end times and,
// while tracking runs, what is tracked and for how long. It carries Start, Start from Last, Stop
// and Display All Items, and checks the times the user typed before a stop.
class CSoloView final : public View {
    Q_OBJECT
public:
    explicit CSoloView(ViewHost& host);

    bool mayLeave() override;
    void activated() override;
    void refresh() override;
    void refreshTitles() override { updateLabels(); }
    bool handles(int command) const override;
    bool isEnabled(int command) const override;
    bool isChecked(int command) const override;
    void run(int command) override;
    int trackerNotify(Tracker& tracker, int code, int value) override;

    // For tests and the frame: the parts of the form.
    QTreeWidget* tree() const { return m_tree; }
    TimeEdit* startEdit() const { return m_start; }
    TimeEdit* endEdit() const { return m_end; }
    QPlainTextEdit* descriptionEdit() const { return m_description; }
    QPlainTextEdit* itemDescription() const { return m_itemDescription; }
    QLabel* startAtLabel() const { return m_startAtLabel; }
    QLabel* workedLabel() const { return m_worked; }
    QLabel* trackedLevel1() const { return m_trackedName1; }
    QLabel* trackedLevel2() const { return m_trackedName2; }
    QGroupBox* trackingFrame() const { return m_trackingFrame; }
    QLabel* dateLabel() const { return m_date; }
    int clockFaceIndex(bool tracking) const { return tracking ? m_trackingFace : m_idleFace; }
    // Selects the tree item of an item; returns false when it is not shown.
    bool selectItem(const LevelItem* item);
    // Where the state of the Shift key comes from (the keyboard; tests replace it).
    void setModifierSource(std::function<Qt::KeyboardModifiers()> source) {
        m_modifiers = std::move(source);
    }

private:
    Tracker& tracker() const;
    void buildForm();
    void fillTree();
    void selectRunningItems();
    void onSelectionChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void keepSelectionOnCurrent();
    void startCommand(bool fromLast, bool allowShrink);
    void stopCommand();
    void setTrackingMode(bool on);
    void updateTrackingTexts();
    void updateStartFromLast();
    void updateLabels();
    void advanceClock();
    // Checks the typed times before a stop and takes them and the description over.
    bool validateAndTakeOver();
    std::int32_t level1Key(const LevelItem* item) const;
    void limitDescription();
    // A typed text that the transaction file could not store is refused at once: the user is
    // told why and the last accepted text comes back. False after a refusal.
    bool checkTypedDescription();

    ViewHost& m_host;
    QLabel* m_date = nullptr;
    QLabel* m_titles = nullptr;
    QTreeWidget* m_tree = nullptr;
    QPlainTextEdit* m_itemDescription = nullptr;
    QPlainTextEdit* m_description = nullptr;
    TimeEdit* m_start = nullptr;
    TimeEdit* m_end = nullptr;
    QToolButton* m_startAtButton = nullptr;
    QLabel* m_startAtLabel = nullptr;
    QToolButton* m_clock = nullptr;
    QGroupBox* m_trackingFrame = nullptr;
    QLabel* m_trackedTitle1 = nullptr;
    QLabel* m_trackedTitle2 = nullptr;
    QLabel* m_trackedName1 = nullptr;
    QLabel* m_trackedName2 = nullptr;
    QLabel* m_worked = nullptr;
    bool m_displayAll = false;
    bool m_refilling = false;
    bool m_keepingSelection = false;
    bool m_descriptionChanged = false;
    bool m_settingDescription = false;
    QString m_acceptedDescription;
    int m_trackingFace = 0;
    int m_idleFace = 0;
    std::function<Qt::KeyboardModifiers()> m_modifiers;
};

} // namespace vsolo
