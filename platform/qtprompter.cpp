#include "platform/qtprompter.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <array>
#include <utility>

namespace vsolo {

namespace {

struct AnswerButton {
    Prompter::Answer answer;
    QMessageBox::StandardButton button;
};
constexpr std::array<AnswerButton, 4> kAnswerButtons{{
    {Prompter::Answer::Ok, QMessageBox::Ok},
    {Prompter::Answer::Yes, QMessageBox::Yes},
    {Prompter::Answer::No, QMessageBox::No},
    {Prompter::Answer::Cancel, QMessageBox::Cancel},
}};

// The buttons of each choice, and what Escape or the close box answers: the most cautious button
// offered.
struct ButtonSet {
    Prompter::Buttons buttons;
    QMessageBox::StandardButtons offered;
    QMessageBox::StandardButton escape;
};
const std::array<ButtonSet, 3> kButtonSets{{
    {Prompter::Buttons::Ok, QMessageBox::Ok, QMessageBox::Ok},
    {Prompter::Buttons::YesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
    {Prompter::Buttons::YesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
     QMessageBox::Cancel},
}};

QMessageBox::StandardButton standardButton(Prompter::Answer answer) {
    for (const AnswerButton& pair : kAnswerButtons) {
        if (pair.answer == answer) {
            return pair.button;
        }
    }
    return QMessageBox::NoButton;
}

const ButtonSet& buttonSet(Prompter::Buttons buttons) {
    for (const ButtonSet& set : kButtonSets) {
        if (set.buttons == buttons) {
            return set;
        }
    }
    return kButtonSets.front();
}

QMessageBox::StandardButtons standardButtons(Prompter::Buttons buttons) {
    return buttonSet(buttons).offered;
}

QMessageBox::StandardButton escapeButton(Prompter::Buttons buttons) {
    return buttonSet(buttons).escape;
}

QMessageBox::StandardButton firstButton(Prompter::Buttons buttons) {
    return buttons == Prompter::Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes;
}

Prompter::Answer answerOf(int button, Prompter::Buttons buttons) {
    for (const AnswerButton& pair : kAnswerButtons) {
        if (pair.button == button) {
            return pair.answer;
        }
    }
    // A box that went without a button (its window closed under it): answer as Escape would,
    // never with a destructive Yes.
    return answerOf(escapeButton(buttons), buttons);
}

// The text as the box shows it: UTF-8 decoded and "\r\n" turned into a line break.
QString displayText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

QMessageBox::Icon boxIcon(Prompter::Icon icon) {
    switch (icon) {
    case Prompter::Icon::None:
        return QMessageBox::NoIcon;
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Stop:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtPrompter::QtPrompter(QWidget* parent, QString title)
    : m_parent([window = QPointer<QWidget>(parent)]() -> QWidget* { return window.data(); }),
      m_title(std::move(title)) {}

QtPrompter::QtPrompter(ParentGetter parent, QString title)
    : m_parent(std::move(parent)), m_title(std::move(title)) {}

void QtPrompter::show(std::string_view text, Icon icon) {
    run(text, Buttons::Ok, Answer::Ok, icon);
}

Prompter::Answer QtPrompter::ask(std::string_view text, Buttons buttons, Answer preferred,
                                 Icon icon) {
    return run(text, buttons, preferred, icon);
}

Prompter::Answer QtPrompter::run(std::string_view text, Buttons buttons, Answer preferred,
                                 Icon icon) {
    QWidget* parent = m_parent ? m_parent() : nullptr;
    // On the heap and watched: should the parent go while the box is open, it takes the box
    // with it, and the box must not be deleted a second time here.
    const QPointer<QMessageBox> box = new QMessageBox(boxIcon(icon), m_title, displayText(text),
                                                      standardButtons(buttons), parent);
    // Texts quote file paths and item names, which may hold "<"; they are never markup.
    box->setTextFormat(Qt::PlainText);

    QMessageBox::StandardButton defaultButton = standardButton(preferred);
    if (!(standardButtons(buttons) & defaultButton)) {
        defaultButton = firstButton(buttons);
    }
    box->setDefaultButton(defaultButton);
    box->setEscapeButton(escapeButton(buttons));
    const int result = box->exec();
    delete box.data();
    return answerOf(result, buttons);
}

} // namespace vsolo
