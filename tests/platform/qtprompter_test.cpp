#include "platform/qtprompter.h"
#include "widgettests.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace vsolo::testing {

namespace {

// What the box looked like while it was open.
struct SeenBox {
    bool opened = false;
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
    QWidget* parent = nullptr;
};

// How the test ends the box: a button, Enter (the default button) or Escape.
struct Reply {
    enum class Kind { Click, Enter, Escape, DeleteParent } kind;
    QMessageBox::StandardButton button = QMessageBox::NoButton;
};

Reply click(QMessageBox::StandardButton button) {
    return {Reply::Kind::Click, button};
}
constexpr Reply kEnter{Reply::Kind::Enter};
constexpr Reply kEscape{Reply::Kind::Escape};
constexpr Reply kDeleteParent{Reply::Kind::DeleteParent};

// The box opens inside exec(), after the call under test has begun, so a timer looks for it. The
// reply always closes the box, so that a wrong box can fail the test but never hang it.
void replyWhenOpen(SeenBox& seen, Reply reply) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, reply] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        seen.opened = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.format = box->textFormat();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        seen.escapeButton = box->standardButton(box->escapeButton());
        seen.parent = box->parentWidget();
        switch (reply.kind) {
        case Reply::Kind::Click:
            if (QAbstractButton* button = box->button(reply.button)) {
                button->click();
            } else {
                box->done(QMessageBox::NoButton);
            }
            break;
        case Reply::Kind::Enter:
            QTest::keyClick(box, Qt::Key_Return);
            break;
        case Reply::Kind::Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case Reply::Kind::DeleteParent:
            delete box->parentWidget();
            break;
        }
    });
    poll->start();
}

} // namespace

class QtPrompterTest : public QObject {
    Q_OBJECT

private slots:
    void showMapsIconTextAndTitle_data();
    void showMapsIconTextAndTitle();
    void askAnswersTheButtonPressed_data();
    void askAnswersTheButtonPressed();
    void preferredAnswerIsTheDefaultButton_data();
    void preferredAnswerIsTheDefaultButton();
    void escapeTakesTheCautiousAnswer_data();
    void escapeTakesTheCautiousAnswer();
    void boxBelongsToTheWindowShownWhenAsking();
};

void QtPrompterTest::showMapsIconTextAndTitle_data() {
    QTest::addColumn<Prompter::Icon>("icon");
    QTest::addColumn<QMessageBox::Icon>("expected");
    QTest::newRow("none") << Prompter::Icon::None << QMessageBox::NoIcon;
    QTest::newRow("information") << Prompter::Icon::Information << QMessageBox::Information;
    QTest::newRow("warning") << Prompter::Icon::Warning << QMessageBox::Warning;
    QTest::newRow("stop") << Prompter::Icon::Stop << QMessageBox::Critical;
    QTest::newRow("question") << Prompter::Icon::Question << QMessageBox::Question;
}

void QtPrompterTest::showMapsIconTextAndTitle() {
    QFETCH(Prompter::Icon, icon);
    QFETCH(QMessageBox::Icon, expected);
    QtPrompter prompter;
    SeenBox seen;
    replyWhenOpen(seen, click(QMessageBox::Ok));
    // A path with "<" and a non-ASCII name: both must come out as typed, not as markup or bytes.
    prompter.show(
        "Cannot find file: /home/ana/<old> Caf\xc3\xa9.tpl\r\n\r\na)  moved\n     renamed", icon);

    QVERIFY(seen.opened);
    QCOMPARE(seen.icon, expected);
    QCOMPARE(seen.title, QStringLiteral("Veltimo Solo"));
    QCOMPARE(seen.text,
             QString::fromUtf8("Cannot find file: /home/ana/<old> Caf\xc3\xa9.tpl\n\na)  moved\n"
                               "     renamed"));
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void QtPrompterTest::askAnswersTheButtonPressed_data() {
    QTest::addColumn<Prompter::Buttons>("buttons");
    QTest::addColumn<QMessageBox::StandardButton>("pressed");
    QTest::addColumn<Prompter::Answer>("expected");
    QTest::newRow("yes of yes/no")
        << Prompter::Buttons::YesNo << QMessageBox::Yes << Prompter::Answer::Yes;
    QTest::newRow("no of yes/no") << Prompter::Buttons::YesNo << QMessageBox::No
                                  << Prompter::Answer::No;
    QTest::newRow("yes of three") << Prompter::Buttons::YesNoCancel << QMessageBox::Yes
                                  << Prompter::Answer::Yes;
    QTest::newRow("no of three") << Prompter::Buttons::YesNoCancel << QMessageBox::No
                                 << Prompter::Answer::No;
    QTest::newRow("cancel of three")
        << Prompter::Buttons::YesNoCancel << QMessageBox::Cancel << Prompter::Answer::Cancel;
    QTest::newRow("ok") << Prompter::Buttons::Ok << QMessageBox::Ok << Prompter::Answer::Ok;
}

void QtPrompterTest::askAnswersTheButtonPressed() {
    QFETCH(Prompter::Buttons, buttons);
    QFETCH(QMessageBox::StandardButton, pressed);
    QFETCH(Prompter::Answer, expected);
    QtPrompter prompter;
    SeenBox seen;
    replyWhenOpen(seen, click(pressed));
    QCOMPARE(
        prompter.ask("End tracking at 17:05.", buttons, Prompter::Answer::No, Prompter::Icon::Stop),
        expected);
    const QMessageBox::StandardButtons offered =
        buttons == Prompter::Buttons::Ok ? QMessageBox::Ok
        : buttons == Prompter::Buttons::YesNo
            ? QMessageBox::Yes | QMessageBox::No
            : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QCOMPARE(seen.buttons, offered);
    QCOMPARE(seen.icon, QMessageBox::Critical);
}

void QtPrompterTest::preferredAnswerIsTheDefaultButton_data() {
    QTest::addColumn<Prompter::Buttons>("buttons");
    QTest::addColumn<Prompter::Answer>("preferred");
    QTest::addColumn<Prompter::Answer>("expected");
    QTest::newRow("no preferred") << Prompter::Buttons::YesNo << Prompter::Answer::No
                                  << Prompter::Answer::No;
    QTest::newRow("yes preferred")
        << Prompter::Buttons::YesNo << Prompter::Answer::Yes << Prompter::Answer::Yes;
    QTest::newRow("cancel preferred")
        << Prompter::Buttons::YesNoCancel << Prompter::Answer::Cancel << Prompter::Answer::Cancel;
    QTest::newRow("no preferred of three")
        << Prompter::Buttons::YesNoCancel << Prompter::Answer::No << Prompter::Answer::No;
    // A preferred answer the box does not offer falls back to its first button.
    QTest::newRow("cancel not offered")
        << Prompter::Buttons::YesNo << Prompter::Answer::Cancel << Prompter::Answer::Yes;
}

void QtPrompterTest::preferredAnswerIsTheDefaultButton() {
    QFETCH(Prompter::Buttons, buttons);
    QFETCH(Prompter::Answer, preferred);
    QFETCH(Prompter::Answer, expected);
    QtPrompter prompter;
    SeenBox seen;
    replyWhenOpen(seen, kEnter);
    QCOMPARE(prompter.ask("Delete the file?", buttons, preferred), expected);
    QCOMPARE(seen.icon, QMessageBox::Question);
}

void QtPrompterTest::escapeTakesTheCautiousAnswer_data() {
    QTest::addColumn<Prompter::Buttons>("buttons");
    QTest::addColumn<Prompter::Answer>("expected");
    QTest::newRow("yes/no") << Prompter::Buttons::YesNo << Prompter::Answer::No;
    QTest::newRow("yes/no/cancel") << Prompter::Buttons::YesNoCancel << Prompter::Answer::Cancel;
    QTest::newRow("ok") << Prompter::Buttons::Ok << Prompter::Answer::Ok;
}

void QtPrompterTest::escapeTakesTheCautiousAnswer() {
    QFETCH(Prompter::Buttons, buttons);
    QFETCH(Prompter::Answer, expected);
    QtPrompter prompter;
    SeenBox seen;
    replyWhenOpen(seen, kEscape);
    // Yes is preferred, so an Escape that fell through to the default button would show.
    QCOMPARE(prompter.ask("Save changes?", buttons, Prompter::Answer::Yes), expected);
    QVERIFY(seen.opened);
}

void QtPrompterTest::boxBelongsToTheWindowShownWhenAsking() {
    QWidget first;
    QWidget second;
    first.show();
    second.show();

    {
        QtPrompter prompter(&first, QStringLiteral("Veltimo Solo Reporting"));
        SeenBox seen;
        replyWhenOpen(seen, click(QMessageBox::Ok));
        prompter.show("Saved.", Prompter::Icon::Information);
        QCOMPARE(seen.parent, &first);
        QCOMPARE(seen.title, QStringLiteral("Veltimo Solo Reporting"));
    }

    // The getter is asked at each question, so the box follows the window the program shows.
    QWidget* current = &first;
    QtPrompter prompter([&current] { return current; });
    SeenBox seen;
    replyWhenOpen(seen, click(QMessageBox::Ok));
    prompter.show("One.");
    QCOMPARE(seen.parent, &first);
    current = &second;
    replyWhenOpen(seen, click(QMessageBox::Ok));
    prompter.show("Two.");
    QCOMPARE(seen.parent, &second);

    // A parent that has gone leaves the box without one instead of pointing at freed memory.
    auto* gone = new QWidget;
    QtPrompter orphaned(gone);
    delete gone;
    replyWhenOpen(seen, click(QMessageBox::Ok));
    orphaned.show("Three.");
    QCOMPARE(seen.parent, nullptr);

    // A window that goes while its question is open takes the box along; the question then has
    // the cautious answer.
    auto* closing = new QWidget;
    closing->show();
    QtPrompter asking(closing);
    replyWhenOpen(seen, kDeleteParent);
    QCOMPARE(asking.ask("Delete the file?", Prompter::Buttons::YesNo, Prompter::Answer::Yes),
             Prompter::Answer::No);
    QCOMPARE(seen.parent, closing);
}

std::unique_ptr<QObject> makeQtPrompterTest() {
    return std::make_unique<QtPrompterTest>();
}

} // namespace vsolo::testing

#include "qtprompter_test.moc"
