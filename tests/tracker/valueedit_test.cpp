// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of core/timevalue.h otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "testregistry.h"
#include "tests/support/dates.h"
#include "tests/support/scriptedprompter.h"
#include "tracker/timesheet/valueedit.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <vector>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;

// A shown, active window with a date edit, a time edit and a plain line edit to move the focus
// to. Records what the two edits signal.
struct Form {
    // Declared before the window: closing the window takes the focus from an edit, which may
    // still parse and signal.
    SettableClock today{date(2026, 3, 10)};
    std::vector<TimeValue> changes;
    std::vector<QString> textsAtChange; // what the edit showed when it signalled
    int leftCount = 0;
    QWidget window;
    DateEdit* dateEdit = new DateEdit(today);
    TimeEdit* timeEdit = new TimeEdit;
    QLineEdit* other = new QLineEdit;

    Form() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(dateEdit);
        layout->addWidget(timeEdit);
        layout->addWidget(other);
        for (ValueEdit* edit :
             {static_cast<ValueEdit*>(dateEdit), static_cast<ValueEdit*>(timeEdit)}) {
            QObject::connect(edit, &ValueEdit::valueChanged, [this, edit](TimeValue v) {
                changes.push_back(v);
                textsAtChange.push_back(edit->text());
            });
            QObject::connect(edit, &ValueEdit::editingLeft, [this] { ++leftCount; });
        }
        window.show();
        QApplication::setActiveWindow(&window);
        other->setFocus();
    }

    // Activating the window may pass the focus through the first edit; the counts start after.
    bool ready() {
        const bool active = QTest::qWaitForWindowActive(&window) && other->hasFocus();
        changes.clear();
        textsAtChange.clear();
        leftCount = 0;
        return active;
    }
};

void focus(QWidget* widget) {
    widget->setFocus(Qt::TabFocusReason);
    QVERIFY(widget->hasFocus());
}

// Focuses the edit, replaces its text by typing and leaves it.
void typeAndLeave(Form& form, ValueEdit* edit, const QString& text) {
    focus(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    focus(form.other);
}

} // namespace

class ValueEditTest : public QObject {
    Q_OBJECT

private slots:
    void timeShorthandIsAcceptedWhenTheFocusLeaves_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("hour") << "7" << 7 * 60 << "7:00";
        QTest::newRow("three digits") << "730" << 7 * 60 + 30 << "7:30";
        QTest::newRow("short minutes") << "7:3" << 7 * 60 + 3 << "7:03";
        QTest::newRow("four digits") << "0930" << 9 * 60 + 30 << "9:30";
        QTest::newRow("decimal") << "1.5" << 90 << "1:30";
        QTest::newRow("latest") << "23:59" << 23 * 60 + 59 << "23:59";
    }

    void timeShorthandIsAcceptedWhenTheFocusLeaves() {
        QFETCH(QString, typed);
        QFETCH(int, minutes);
        QFETCH(QString, shown);
        Form form;
        QVERIFY(form.ready());
        form.timeEdit->setValue(hm(12, 0));

        typeAndLeave(form, form.timeEdit, typed);

        QCOMPARE(form.timeEdit->text(), shown);
        QCOMPARE(form.timeEdit->value().seconds(), minutes * 60);
        QCOMPARE(form.timeEdit->savedValue().seconds(), minutes * 60);
        QVERIFY(!form.timeEdit->needsValidation());
        QCOMPARE(form.leftCount, 1);
    }

    void refusedTimeKeepsTheTypedTextAndTheFlag() {
        Form form;
        QVERIFY(form.ready());
        form.timeEdit->setValue(hm(8, 0));

        typeAndLeave(form, form.timeEdit, "24:00");

        QCOMPARE(form.timeEdit->text(), QString("24:00"));
        QVERIFY(form.timeEdit->needsValidation());
        QCOMPARE(form.timeEdit->value(), hm(8, 0));
        QCOMPARE(form.timeEdit->savedValue(), hm(8, 0));
        QVERIFY(form.changes.empty());
        QCOMPARE(form.leftCount, 1);

        // Coming back does not replace the typed text with the old value.
        focus(form.timeEdit);
        QCOMPARE(form.timeEdit->text(), QString("24:00"));
        focus(form.other);
        QCOMPARE(form.timeEdit->text(), QString("24:00"));
        QCOMPARE(form.leftCount, 2);
    }

    void dateShowsEditingTextOnlyWhileFocused() {
        Form form;
        QVERIFY(form.ready());
        form.dateEdit->setValue(date(1999, 10, 19));
        QCOMPARE(form.dateEdit->text(), QString("Tuesday, October 19, 1999"));

        focus(form.dateEdit);
        QCOMPARE(form.dateEdit->text(), QString("10/19/1999"));
        QCOMPARE(form.dateEdit->selectedText(), QString("10/19/1999"));

        focus(form.other);
        QCOMPARE(form.dateEdit->text(), QString("Tuesday, October 19, 1999"));
        QVERIFY(form.changes.empty());
        QVERIFY(!form.dateEdit->needsValidation());

        // A value set while the control has the focus is shown for editing, all selected.
        focus(form.dateEdit);
        form.dateEdit->setValue(date(2026, 3, 7));
        QCOMPARE(form.dateEdit->text(), QString("03/07/2026"));
        QCOMPARE(form.dateEdit->selectedText(), QString("03/07/2026"));
    }

    void dateShorthandUsesTheClock() {
        Form form;
        QVERIFY(form.ready());
        form.dateEdit->setValue(date(1999, 10, 19));

        typeAndLeave(form, form.dateEdit, "15");
        QCOMPARE(form.dateEdit->text(), QString("Sunday, March 15, 2026"));
        QCOMPARE(form.dateEdit->value(), date(2026, 3, 15));
        // Listeners are told after the text for reading is in place.
        QCOMPARE(form.textsAtChange, std::vector<QString>{"Sunday, March 15, 2026"});

        form.today.set(date(2024, 7, 1));
        typeAndLeave(form, form.dateEdit, "2/29");
        QCOMPARE(form.dateEdit->value(), date(2024, 2, 29));
        QCOMPARE(form.dateEdit->text(), QString("Thursday, February 29, 2024"));

        form.today.set(date(2026, 3, 10));
        typeAndLeave(form, form.dateEdit, "2/29");
        QCOMPARE(form.dateEdit->text(), QString("2/29"));
        QVERIFY(form.dateEdit->needsValidation());
        QCOMPARE(form.dateEdit->value(), date(2024, 2, 29));
    }

    void validateReportsTheTimeMessageAndRestores() {
        Form form;
        QVERIFY(form.ready());
        form.timeEdit->setValue(hm(8, 0));
        typeAndLeave(form, form.timeEdit, "24:00");
        testing::ScriptedPrompter prompter;

        QVERIFY(!form.timeEdit->validate(prompter));

        QCOMPARE(prompter.entries().size(), std::size_t{1});
        const auto& entry = prompter.entries().front();
        QCOMPARE(QString::fromStdString(entry.text),
                 QString("Invalid time entry!\r\n   - Please make sure the time entered is in "
                         "proper format (hh:mm).\r\n   - Uses 24 hour clock. Cannot go beyond "
                         "23:59"));
        QCOMPARE(entry.icon, Prompter::Icon::Warning);
        QVERIFY(!entry.question);
        QVERIFY(form.timeEdit->hasFocus());
        QCOMPARE(form.timeEdit->value(), hm(8, 0));
        QCOMPARE(form.timeEdit->text(), QString("8:00"));
        QCOMPARE(form.timeEdit->selectedText(), QString("8:00"));
        QVERIFY(!form.timeEdit->needsValidation());

        // Once restored there is nothing left to report.
        QVERIFY(form.timeEdit->validate(prompter));
        QCOMPARE(prompter.entries().size(), std::size_t{1});
    }

    void validateReportsTheDateMessageAndRestores() {
        Form form;
        QVERIFY(form.ready());
        form.dateEdit->setValue(date(1999, 10, 19));
        typeAndLeave(form, form.dateEdit, "4/31");
        testing::ScriptedPrompter prompter;

        QVERIFY(!form.dateEdit->validate(prompter));

        QCOMPARE(prompter.texts(),
                 std::vector<std::string>{"Invalid date entry!  Please make sure the date entered "
                                          "is in proper format (mm/dd/yyyy)."});
        QCOMPARE(prompter.entries().front().icon, Prompter::Icon::Warning);
        QVERIFY(form.dateEdit->hasFocus());
        QCOMPARE(form.dateEdit->value(), date(1999, 10, 19));
        QCOMPARE(form.dateEdit->text(), QString("10/19/1999"));
        QVERIFY(!form.dateEdit->needsValidation());
        focus(form.other);
        QCOMPARE(form.dateEdit->text(), QString("Tuesday, October 19, 1999"));
        QVERIFY(form.changes.empty());
    }

    void validateAcceptsAPendingTextWithoutAMessage() {
        Form form;
        QVERIFY(form.ready());
        form.timeEdit->setValue(hm(8, 0));
        focus(form.timeEdit);
        QTest::keyClicks(form.timeEdit, "730");
        QVERIFY(form.timeEdit->needsValidation());
        testing::ScriptedPrompter prompter;

        // The dialog gathers its fields while the focus is still in the control.
        QVERIFY(form.timeEdit->validate(prompter));

        QVERIFY(prompter.empty());
        QCOMPARE(form.timeEdit->value(), hm(7, 30));
        QCOMPARE(form.timeEdit->savedValue(), hm(7, 30));
        QCOMPARE(form.timeEdit->text(), QString("7:30"));
        QVERIFY(!form.timeEdit->needsValidation());
        QCOMPARE(form.changes, std::vector<TimeValue>{hm(7, 30)});
        QCOMPARE(form.textsAtChange, std::vector<QString>{"7:30"});
    }

    void aControlWithoutValueNeedsValidation() {
        TimeEdit edit;
        DateEdit dateEdit;
        QVERIFY(edit.needsValidation());
        QVERIFY(dateEdit.needsValidation());
        testing::ScriptedPrompter prompter;
        QVERIFY(!edit.validate(prompter));
        QVERIFY(!dateEdit.validate(prompter));
        QCOMPARE(prompter.texts(),
                 (std::vector<std::string>{std::string(TimeEdit::kErrorMessage),
                                           std::string(DateEdit::kErrorMessage)}));

        edit.setValue(hm(0, 0));
        QVERIFY(!edit.needsValidation());
        QCOMPARE(edit.text(), QString("0:00"));
    }

    void deleteAndBackspaceSetTheFlag() {
        Form form;
        QVERIFY(form.ready());
        form.timeEdit->setValue(hm(9, 5));
        focus(form.timeEdit);
        QVERIFY(!form.timeEdit->needsValidation());
        QTest::keyClick(form.timeEdit, Qt::Key_Delete);
        QCOMPARE(form.timeEdit->text(), QString());
        QVERIFY(form.timeEdit->needsValidation());

        // An empty text is refused and kept.
        focus(form.other);
        QCOMPARE(form.timeEdit->text(), QString());
        QVERIFY(form.timeEdit->needsValidation());
        QCOMPARE(form.timeEdit->value(), hm(9, 5));

        form.timeEdit->restoreSaved(false);
        QCOMPARE(form.timeEdit->text(), QString("9:05"));
        focus(form.timeEdit);
        QTest::keyClick(form.timeEdit, Qt::Key_End);
        QTest::keyClick(form.timeEdit, Qt::Key_Backspace);
        QCOMPARE(form.timeEdit->text(), QString("9:0"));
        QVERIFY(form.timeEdit->needsValidation());
        focus(form.other);
        QCOMPARE(form.timeEdit->text(), QString("9:00"));
        QCOMPARE(form.changes, std::vector<TimeValue>{hm(9, 0)});
    }

    void restoreSavedCanTakeTheFocus() {
        Form form;
        QVERIFY(form.ready());
        form.timeEdit->setValue(hm(6, 45));
        typeAndLeave(form, form.timeEdit, "99");
        QVERIFY(form.timeEdit->needsValidation());

        form.timeEdit->restoreSaved(true);

        QVERIFY(form.timeEdit->hasFocus());
        QCOMPARE(form.timeEdit->text(), QString("6:45"));
        QCOMPARE(form.timeEdit->selectedText(), QString("6:45"));
        QVERIFY(!form.timeEdit->needsValidation());
        QVERIFY(form.changes.empty());
    }

    void typingIsLimitedButTheLongDateIsShownWhole() {
        Form form;
        QVERIFY(form.ready());
        QCOMPARE(form.timeEdit->entryLength(), 5);
        QCOMPARE(form.dateEdit->entryLength(), 10);
        form.timeEdit->setValue(hm(1, 0));
        form.dateEdit->setValue(date(2026, 9, 30));

        // Set while unfocused, the reading form is longer than what may be typed and stays whole.
        QCOMPARE(form.dateEdit->text(), QString("Wednesday, September 30, 2026"));

        focus(form.timeEdit);
        QCOMPARE(form.timeEdit->maxLength(), 5);
        QTest::keyClicks(form.timeEdit, "123456789");
        QCOMPARE(form.timeEdit->text(), QString("12345"));

        focus(form.dateEdit);
        QCOMPARE(form.dateEdit->maxLength(), 10);
        QTest::keyClicks(form.dateEdit, "10/19/19999999");
        QCOMPARE(form.dateEdit->text(), QString("10/19/1999"));
        focus(form.other);
        QCOMPARE(form.dateEdit->text(), QString("Tuesday, October 19, 1999"));
    }

    void valueChangedOnlyOnARealChange() {
        Form form;
        QVERIFY(form.ready());
        form.timeEdit->setValue(hm(7, 30));
        form.timeEdit->setValue(hm(7, 45));
        QVERIFY(form.changes.empty());

        // Visiting without typing, and retyping the same time differently, change nothing.
        focus(form.timeEdit);
        focus(form.other);
        typeAndLeave(form, form.timeEdit, "745");
        typeAndLeave(form, form.timeEdit, "7.75");
        QVERIFY(form.changes.empty());

        typeAndLeave(form, form.timeEdit, "7:46");
        typeAndLeave(form, form.timeEdit, "07:46");
        typeAndLeave(form, form.timeEdit, "8");
        QCOMPARE(form.changes, (std::vector<TimeValue>{hm(7, 46), hm(8, 0)}));
        QCOMPARE(form.textsAtChange, (std::vector<QString>{"7:46", "8:00"}));
        QCOMPARE(form.leftCount, 6);
    }

    void aContextMenuDoesNotEndTheEdit() {
        Form form;
        QVERIFY(form.ready());
        form.timeEdit->setValue(hm(7, 0));
        focus(form.timeEdit);
        QTest::keyClicks(form.timeEdit, "8");

        QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(form.timeEdit, &out);
        QFocusEvent in(QEvent::FocusIn, Qt::PopupFocusReason);
        QApplication::sendEvent(form.timeEdit, &in);

        QCOMPARE(form.timeEdit->text(), QString("8"));
        QVERIFY(form.timeEdit->needsValidation());
        QCOMPARE(form.leftCount, 0);
        focus(form.other);
        QCOMPARE(form.timeEdit->value(), hm(8, 0));
        QCOMPARE(form.leftCount, 1);
    }
};

VSOLO_REGISTER_TEST_CLASS(ValueEditTest);

} // namespace vsolo

#include "valueedit_test.moc"
