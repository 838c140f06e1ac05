#include "tracker/tracking/idledialog.h"

#include "tracker/app/qtext.h"
#include "tracker/app/texts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vsolo {

namespace {

// A moment on the day input came back shows its time only; an earlier one shows its date too.
std::string moment(TimeValue when, TimeValue back) {
    if (when.datePart() == back.datePart()) {
        return when.clockTimeNoPad();
    }
    return when.datePart().longDate() + " " + when.clockTimeNoPad();
}

} // namespace

QString idleQuestionText(const IdleQuestion& question) {
    std::string item = question.level1Name + " / " + question.level2Name;
    if (!question.description.empty()) {
        item += " \u2013 \u201c" + question.description + "\u201d";
    }
    return fill(text::kIdleQuestion, {moment(question.inputStopped, question.inputBack),
                                      moment(question.inputBack, question.inputBack), item});
}

IdleDialog::IdleDialog(const IdleQuestion& question, QWidget* parent)
    : QDialog(parent), m_text(new QLabel(idleQuestionText(question), this)),
      m_keep(new QPushButton(tt(text::kIdleKeep), this)),
      m_stopAt(
          new QPushButton(fill(text::kIdleStopAt, {question.inputStopped.clockTimeNoPad()}), this)),
      m_discard(new QPushButton(tt(text::kIdleDiscard), this)) {
    setWindowTitle(tt(text::kIdleCaption));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_keep->setToolTip(tt(text::kIdleKeepTip));
    m_stopAt->setToolTip(tt(text::kIdleStopAtTip));
    m_discard->setToolTip(tt(text::kIdleDiscardTip));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_keep, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_stopAt, QDialogButtonBox::ActionRole);
    buttons->addButton(m_discard, QDialogButtonBox::ActionRole);
    // Enter keeps the time: a key pressed by someone coming back to the desk decides nothing.
    m_keep->setDefault(true);
    connect(m_keep, &QPushButton::clicked, this, [this] { choose(IdleAnswer::Keep); });
    connect(m_stopAt, &QPushButton::clicked, this, [this] { choose(IdleAnswer::StopAt); });
    connect(m_discard, &QPushButton::clicked, this, [this] { choose(IdleAnswer::DiscardAndGoOn); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void IdleDialog::choose(IdleAnswer answer) {
    m_answer = answer;
    accept();
}

} // namespace vsolo
