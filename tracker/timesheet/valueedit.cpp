#include "tracker/timesheet/valueedit.h"

#include "core/entrytext.h"

#include <QFocusEvent>

namespace vsolo {

namespace {

// QLineEdit's own default: no practical limit. The text for reading ("Tuesday, October 19, 1999")
// is longer than what the user may type, and setText() would cut it at the typing limit.
constexpr int kNoLimit = 32767;

} // namespace

ValueEdit::ValueEdit(int entryLength, QWidget* parent)
    : QLineEdit(parent), m_entryLength(entryLength) {
    setMaxLength(entryLength);
    // A drop would change the text without the focus ever arriving, past the typing limit and into
    // the text for reading.
    setAcceptDrops(false);
    // Every change by the user (typing, Delete, Backspace, paste, undo) leaves a text that has not
    // been checked yet.
    connect(this, &QLineEdit::textEdited, this, [this] { m_needsValidation = true; });
}

void ValueEdit::setValue(TimeValue value) {
    m_value = value;
    m_saved = value;
    m_needsValidation = false;
    showValue();
}

void ValueEdit::restoreSaved(bool focus) {
    m_value = m_saved;
    m_needsValidation = false;
    showValue();
    if (focus) {
        setFocus(Qt::OtherFocusReason);
    }
}

bool ValueEdit::validate(Prompter& prompter) {
    if (!m_needsValidation) {
        return true;
    }
    const TimeValue before = m_value;
    if (acceptText()) {
        showValue();
        announceChange(before);
        return true;
    }
    setFocus(Qt::OtherFocusReason);
    prompter.show(errorMessage(), Prompter::Icon::Warning);
    restoreSaved(true);
    return false;
}

void ValueEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A context menu takes the focus for a moment; the edit the user is making goes on.
    if (event->reason() == Qt::PopupFocusReason) {
        return;
    }
    if (!m_needsValidation) {
        showText(textForEditing(m_value), m_entryLength);
        selectAll();
    }
}

void ValueEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason) {
        return;
    }
    const TimeValue before = m_value;
    if (isModified()) {
        acceptText();
    }
    if (!m_needsValidation) {
        m_saved = m_value;
        // Not showValue(): a window that loses the activation keeps its focus widget, so hasFocus()
        // may still answer true here.
        showText(textForDisplay(m_value), kNoLimit);
        announceChange(before);
    }
    emit editingLeft();
}

bool ValueEdit::acceptText() {
    const std::optional<TimeValue> parsed = parseText(text());
    if (!parsed) {
        m_needsValidation = true;
        return false;
    }
    m_value = *parsed;
    m_saved = *parsed;
    m_needsValidation = false;
    return true;
}

void ValueEdit::announceChange(TimeValue before) {
    if (m_value != before) {
        emit valueChanged(m_value);
    }
}

void ValueEdit::showValue() {
    if (hasFocus()) {
        showText(textForEditing(m_value), m_entryLength);
        selectAll();
    } else {
        showText(textForDisplay(m_value), kNoLimit);
    }
}

void ValueEdit::showText(const QString& text, int maxLength) {
    setMaxLength(kNoLimit);
    setText(text);
    setMaxLength(maxLength);
}

DateEdit::DateEdit(QWidget* parent) : DateEdit(systemClock(), parent) {}

DateEdit::DateEdit(const Clock& clock, QWidget* parent)
    : ValueEdit(kEntryLength, parent), m_clock(&clock) {}

std::optional<TimeValue> DateEdit::parseText(const QString& text) const {
    return parseDateEntry(text.toStdString(), m_clock->today());
}

QString DateEdit::textForEditing(TimeValue value) const {
    return QString::fromStdString(value.shortDate());
}

QString DateEdit::textForDisplay(TimeValue value) const {
    return QString::fromStdString(value.longDate());
}

TimeEdit::TimeEdit(QWidget* parent) : ValueEdit(kEntryLength, parent) {}

std::optional<TimeValue> TimeEdit::parseText(const QString& text) const {
    return parseTimeEntry(text.toStdString());
}

QString TimeEdit::textForEditing(TimeValue value) const {
    return QString::fromStdString(value.clockTimeNoPad());
}

QString TimeEdit::textForDisplay(TimeValue value) const {
    return QString::fromStdString(value.clockTimeNoPad());
}

} // namespace vsolo
