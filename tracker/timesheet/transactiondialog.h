#pragma once

// moc (Qt 6.4) cannot read the C++20 <compare> that the core headers bring in unless a Qt header
// has set up the library's configuration macros first, so the Qt header leads.
#include <QDialog>

// The core types after the Qt header; see above.
#include "core/base/clock.h"
#include "core/model/templatefile.h"
#include "core/model/transactions.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "core/tracker.h"
#include "core/transactionentry.h"

#include <QRect>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vsolo {

class DateEdit;
class TimeEdit;
class ValueEdit;

// "Add Transaction" / "Edit Transaction": the dialog through which the time sheet adds a
// transaction or corrects one. The time sheet keeps one dialog for its lifetime; each opening
// starts from a fresh working copy and fresh change flags, and the dialog comes back where it was
// last closed. Every message goes through the prompter; OK runs the entry checks and keeps the
// dialog open, with the offending field corrected, until they pass.
class TransactionDialog : public QDialog {
    Q_OBJECT

public:
    TransactionDialog(TemplateFile& file, Settings& settings, Prompter& prompter,
                      const Tracker& tracker, const Clock& clock, QWidget* parent = nullptr);

    // Opens modally; true on OK. previousEnd and nextStart are the end of the transaction before
    // and the start of the one after on the same day ("%#H:%M"), or empty; rangeFrom and rangeTo
    // the dates the time sheet shows.
    bool run(const Transaction& t, bool addMode, const QString& previousEnd,
             const QString& nextStart, TimeValue rangeFrom, TimeValue rangeTo);
    // The same opening without the modal loop, for callers (and tests) that drive the dialog
    // themselves: the dialog is shown and tryAccept() or reject() ends it.
    void present(const Transaction& t, bool addMode, const QString& previousEnd,
                 const QString& nextStart, TimeValue rangeFrom, TimeValue rangeTo);
    // OK: takes over what is still being typed, checks, and on success fills the working copy and
    // closes the dialog with Accepted. False (the dialog stays open) after a refusal.
    bool tryAccept();

    // After OK: the values to store, the entryflag bits and the total typed in duration mode.
    const Transaction& workingCopy() const { return m_working; }
    int changeFlags() const { return m_flags; }
    TimeValue duration() const;
    bool isAddMode() const { return m_addMode; }
    // After OK: puts the result into the store (see commitEntry); `edited` is the stored
    // transaction that was opened in edit mode.
    EntryCommit commit(TransactionStore& store, const Transaction* edited);

    // The controls, for the time sheet's tests and this dialog's own.
    DateEdit* dateEdit() const { return m_date; }
    TimeEdit* startEdit() const { return m_start; }
    TimeEdit* endEdit() const { return m_end; }
    TimeEdit* totalEdit() const { return m_total; }
    QToolButton* startButton() const { return m_startButton; }
    QToolButton* endButton() const { return m_endButton; }
    QLabel* startLabel() const { return m_startLabel; }
    QLabel* endLabel() const { return m_endLabel; }
    QLabel* levelTitlesLabel() const { return m_levelTitles; }
    QTreeWidget* tree() const { return m_tree; }
    QPlainTextEdit* itemDescription() const { return m_itemDescription; }
    QPlainTextEdit* description() const { return m_description; }
    QPushButton* displayAllButton() const { return m_displayAll; }
    QPushButton* okButton() const { return m_ok; }
    int descriptionLimit() const;

public slots:
    void accept() override;

protected:
    void done(int result) override;

private:
    void buildForm();
    void prepare(const Transaction& t, bool addMode, const QString& previousEnd,
                 const QString& nextStart, TimeValue rangeFrom, TimeValue rangeTo);
    void fillTree(bool all);
    // Selects the working copy's items; false when they are not both in the tree, in which case
    // the first item is selected.
    bool selectTransactionItems();
    void displayAll();
    void onSelectionChanged(QTreeWidgetItem* current);
    void showItemDescription(QTreeWidgetItem* current);
    void limitDescription();
    void setDescriptionText(const QString& text);

    // The reactions to a changed field, whether it lost the focus or OK took it over.
    void startOrEndChanged();
    void totalChanged();
    void dateChanged();
    void setTotalFromTimes();
    void useQuickFill(TimeEdit* edit, const QString& text);
    // A text typed but not yet taken over (the focus never left the field): parsed now, as the
    // focus leaving would. A text that does not parse is left to the field's own validation.
    bool takeOverTyped(ValueEdit* edit);
    void takeOverPending();
    void putBack(const EntryRefusal& refusal);
    ValueEdit* fieldOf(EntryField field) const;
    QWidget* controlOf(EntryField field) const;
    std::int32_t level1Key(const LevelItem* item) const;

    TemplateFile& m_file;
    Settings& m_settings;
    Prompter& m_prompter;
    const Tracker& m_tracker;
    const Clock& m_clock;

    Transaction m_working;
    bool m_addMode = false;
    int m_flags = 0;
    QString m_previousEnd;
    QString m_nextStart;
    TimeValue m_rangeFrom;
    TimeValue m_rangeTo;
    // Set while the tree is refilled or selected by the dialog itself: the selection then fills
    // nothing in.
    bool m_displayAllFlag = false;
    // Set while the dialog writes the description, so that only the user's typing counts as a
    // change of it.
    bool m_settingDescription = false;
    bool m_descriptionEdited = false;
    QRect m_keptGeometry;

    DateEdit* m_date = nullptr;
    TimeEdit* m_start = nullptr;
    TimeEdit* m_end = nullptr;
    TimeEdit* m_total = nullptr;
    QToolButton* m_startButton = nullptr;
    QToolButton* m_endButton = nullptr;
    QLabel* m_startLabel = nullptr;
    QLabel* m_endLabel = nullptr;
    QLabel* m_levelTitles = nullptr;
    QTreeWidget* m_tree = nullptr;
    QPlainTextEdit* m_itemDescription = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QPushButton* m_displayAll = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace vsolo
