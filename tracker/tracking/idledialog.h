#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QDialog>

// The core after the Qt headers; see above.
#include "core/idle.h"

class QLabel;
class QPushButton;

namespace vsolo {

// Put to the user who comes back after tracking ran without keyboard or mouse input: keep the
// time, stop where input stopped, or cut the time away and go on. Closing it any other way keeps
// the time, the one answer that changes nothing.
class IdleDialog final : public QDialog {
    Q_OBJECT
public:
    explicit IdleDialog(const IdleQuestion& question, QWidget* parent = nullptr);

    QLabel* text() const { return m_text; }
    QPushButton* keepButton() const { return m_keep; }
    QPushButton* stopAtButton() const { return m_stopAt; }
    QPushButton* discardButton() const { return m_discard; }
    // The answer chosen; Keep until a button says otherwise.
    IdleAnswer answer() const { return m_answer; }

private:
    void choose(IdleAnswer answer);

    QLabel* m_text;
    QPushButton* m_keep;
    QPushButton* m_stopAt;
    QPushButton* m_discard;
    IdleAnswer m_answer = IdleAnswer::Keep;
};

// The question's text: the items, the description and the two moments, with the date of each
// moment that is not today's.
QString idleQuestionText(const IdleQuestion& question);

} // namespace vsolo
