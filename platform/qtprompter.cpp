#include "platform/qtprompter.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <utility>

namespace vsolo {

namespace {

QMessageBox::StandardButton standardButton(Prompter::Answer answer) {
    switch (answer) {
    case Prompter::Answer::Ok:
        return QMessageBox::Ok;
    case Prompter::Answer::Yes:
        return QMessageBox::Yes;
    case Prompter::Answer::No:
        return QMessageBox::No;
    case Prompter::Answer::Cancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButtons standardButtons(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// What Escape or the close box answers: the most cautious button offered.
QMessageBox::StandardButton escapeButton(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::YesNo:
        return QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton firstButton(Prompter::Buttons buttons) {
    return buttons == Prompter::Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes;
}

Prompter::Answer answerOf(int button, Prompter::Buttons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return Prompter::Answer::Ok;
    case QMessageBox::Yes:
        return Prompter::Answer::Yes;
    case QMessageBox::No:
        return Prompter::Answer::No;
    case QMessageBox::Cancel:
        return Prompter::Answer::Cancel;
    default:
        // A box that went without a button (its window closed under it): answer as Escape would,
        // never with a destructive Yes.
        return answerOf(escapeButton(buttons), buttons);
    }
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
