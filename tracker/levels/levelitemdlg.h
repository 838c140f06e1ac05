#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QDialog>

// The core after the Qt headers; see above.
#include "core/levelitemrules.h"
#include "core/model/levels.h"
#include "core/model/templateformat.h"
#include "core/prompter.h"

class QLabel;
class QLineEdit;

namespace vsolo {

// Adds or edits one item of a level list: its name, description and (on level 1) its target, with
// what is left to allocate beside the target. OK checks the fields in order and stays open on the
// first failure, with the focus on that field.
class CLevelItemDlg final : public QDialog {
    Q_OBJECT
public:
    // `edited` is none when a new item is added. The fields take no more than a template of the
    // format holds.
    CLevelItemDlg(Prompter& prompter, const LevelList& list, TemplateFormat format,
                  const LevelItem* edited, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* descriptionEdit() const { return m_description; }
    QLineEdit* targetEdit() const { return m_target; }
    QLabel* targetLabel() const { return m_targetLabel; }
    QLabel* remainingText() const { return m_remaining; }

    // The values accepted on OK: name, description and target.
    const LevelItem& entered() const { return m_entered; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRemaining(int left);
    void targetLeft();

    Prompter& m_prompter;
    const LevelList& m_list;
    const LevelItem* m_edited;
    int m_otherTotal;
    bool m_escapeHeld = false;
    LevelItem m_entered;
    QLineEdit* m_name;
    QLineEdit* m_description;
    QLineEdit* m_target;
    QLabel* m_targetLabel;
    QLabel* m_remaining;
};

} // namespace vsolo
