#pragma once

// moc (Qt 6.4) cannot read the C++20 <compare> that core/timevalue.h brings in unless a Qt header
// has set up the library's configuration macros first, so the Qt header leads.
#include <QLineEdit>

// The core types after the Qt header; see above.
#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "core/prompter.h"

#include <optional>
#include <string_view>

namespace vsolo {

// A line edit that holds one time value. While it has the focus it shows the value in a form the
// user can retype; otherwise in a form for reading. What the user types is parsed when the focus
// leaves; a text that does not parse stays as typed, and the dialog that owns the control reports
// it through validate() when it gathers its fields.
class ValueEdit : public QLineEdit {
    Q_OBJECT

public:
    TimeValue value() const { return m_value; }
    // The last value that was accepted; validate() goes back to it after a rejected entry.
    TimeValue savedValue() const { return m_saved; }
    // True from creation until a value is set or a typed text is accepted, and again after every
    // edit by the user.
    bool needsValidation() const { return m_needsValidation; }
    // The number of characters the user may type; the text shown for reading may be longer.
    int entryLength() const { return m_entryLength; }

    // Sets both the value and the saved value and shows the text for the current focus state.
    void setValue(TimeValue value);
    // Goes back to the saved value; with `focus`, the control also takes the focus.
    void restoreSaved(bool focus);
    // For dialog data exchange: a text still waiting to be parsed is parsed now. If it does not
    // parse, the control takes the focus, the error message goes to `prompter` and the saved value
    // is restored; the result is then false and the dialog should stay open.
    bool validate(Prompter& prompter);

signals:
    // An accepted entry or validate() produced a value different from the one before.
    void valueChanged(vsolo::TimeValue value);
    // The focus left the control, whether or not the text was accepted.
    void editingLeft();

protected:
    ValueEdit(int entryLength, QWidget* parent);

    virtual std::optional<TimeValue> parseText(const QString& text) const = 0;
    virtual QString textForEditing(TimeValue value) const = 0;
    virtual QString textForDisplay(TimeValue value) const = 0;
    virtual std::string_view errorMessage() const = 0;

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Parses the current text; on success it becomes the value and the saved value. Leaves the text
    // as it is and signals nothing, so that listeners see the new text when they are told.
    bool acceptText();
    void announceChange(TimeValue before);
    void showValue();
    void showText(const QString& text, int maxLength);

    TimeValue m_value;
    TimeValue m_saved;
    bool m_needsValidation = true;
    int m_entryLength;
};

// A date typed as "d", "m/d" or "m/d/y"; shown as "10/19/1999" while edited and as "Tuesday,
// October 19, 1999" otherwise.
class DateEdit final : public ValueEdit {
    Q_OBJECT

public:
    static constexpr int kEntryLength = 10;
    static constexpr std::string_view kErrorMessage =
        "Invalid date entry!  Please make sure the date entered is in proper format (mm/dd/yyyy).";

    explicit DateEdit(QWidget* parent = nullptr);
    // `clock` supplies the current month and year for shorthand entries; it must outlive the
    // control.
    explicit DateEdit(const Clock& clock, QWidget* parent = nullptr);

protected:
    std::optional<TimeValue> parseText(const QString& text) const override;
    QString textForEditing(TimeValue value) const override;
    QString textForDisplay(TimeValue value) const override;
    std::string_view errorMessage() const override { return kErrorMessage; }

private:
    const Clock* m_clock;
};

// A time of day on the 24-hour clock, "7:05", typed in any of the shorthand forms ("7", "730",
// "7:3", "1.5").
class TimeEdit final : public ValueEdit {
    Q_OBJECT

public:
    static constexpr int kEntryLength = 5;
    static constexpr std::string_view kErrorMessage =
        "Invalid time entry!\r\n   - Please make sure the time entered is in proper format "
        "(hh:mm).\r\n   - Uses 24 hour clock. Cannot go beyond 23:59";

    explicit TimeEdit(QWidget* parent = nullptr);

protected:
    std::optional<TimeValue> parseText(const QString& text) const override;
    QString textForEditing(TimeValue value) const override;
    QString textForDisplay(TimeValue value) const override;
    std::string_view errorMessage() const override { return kErrorMessage; }
};

} // namespace vsolo
