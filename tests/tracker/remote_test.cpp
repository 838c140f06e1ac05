// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

// The project headers after the Qt header; see above.
#include "../mailbridge/maildirfolder.h"
#include "core/daterange.h"
#include "core/document.h"
#include "core/remote/remotetexts.h"
#include "shownframe.h"
#include "testregistry.h"
#include "tests/support/filelayouts.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/app/qtext.h"
#include "tracker/app/texts.h"
#include "tracker/remote/advisorydialog.h"
#include "tracker/remote/mailboxes.h"
#include "tracker/timesheet/daterangedialog.h"
#include "tracker/timesheet/timesheetview.h"
#include "tracker/tracking/soloview.h"
#include "whenshown.h"

#include <QTest>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace vsolo {
namespace {

using testing::date;
using testing::records;
using testing::V4Item;
using testing::V4Record;
using Answer = Prompter::Answer;

// Sets an environment variable while it lives.
class EnvSetting {
public:
    EnvSetting(const char* name, const std::string& value) : m_name(name) {
        if (qEnvironmentVariableIsSet(name)) {
            m_old = qgetenv(name);
        }
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~EnvSetting() {
        if (m_old) {
            qputenv(m_name, *m_old);
        } else {
            qunsetenv(m_name);
        }
    }
    EnvSetting(const EnvSetting&) = delete;
    EnvSetting& operator=(const EnvSetting&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

// A mail port on which mail cannot be used; it notes whether the wait cursor was shown while it
// was asked.
class UnusableMail final : public remote::MailPort {
public:
    explicit UnusableMail(bool& waitCursorShown) : m_waitCursorShown(waitCursorShown) {}
    bool init() override {
        const QCursor* cursor = QApplication::overrideCursor();
        m_waitCursorShown = cursor && cursor->shape() == Qt::WaitCursor;
        return false;
    }
    void deinit() override {}
    unsigned long logon(const std::string&, const std::string&, bool) override { return 1; }
    void logoff() override {}
    unsigned long send(const std::string&, const std::string&, const std::string&,
                       const std::string&, const std::string&) override {
        return 1;
    }
    unsigned long findNext(const std::string&, const std::string&, std::string&) override {
        return remote::kMailNoMessages;
    }
    unsigned long read(const std::string&, std::string&, std::string&) override { return 1; }
    unsigned long envelope(const std::string&, std::string&, std::string&, std::string&) override {
        return 1;
    }
    unsigned long remove(const std::string&) override { return 1; }
    remote::BodyTable parse(const std::string&, int) override { return {}; }

private:
    bool& m_waitCursorShown;
};

// A Maildir with the mail profile "Desk" over it, the only one, in a configuration folder of its
// own that the mail bridge reads while this lives.
struct Mailbox {
    testing::MaildirFolder folder;
    std::string config = (folder.root() / "config").string();
    EnvSetting home{"HOME", folder.root().string()};
    EnvSetting xdg{"XDG_CONFIG_HOME", config};

    Mailbox() {
        std::filesystem::create_directories(config + "/Orvane Systems");
        testing::writeBytes(config + "/Orvane Systems/Mail Profiles.ini",
                            "[General]\r\nDefault=Desk\r\n\r\n[Desk]\r\nStore=maildir:" +
                                folder.maildir().string() +
                                "\r\nTransport=sendmail:/bin/false\r\n");
        ::chmod((config + "/Orvane Systems/Mail Profiles.ini").c_str(), 0600); // no warning
    }
    std::size_t messages() const { return folder.names("new").size() + folder.names("cur").size(); }
};

// Notes the override cursor shown with each box the mail bridge shows.
class CursorNotingPrompter final : public Prompter {
public:
    explicit CursorNotingPrompter(Prompter& shown) : m_shown(shown) {}
    void show(std::string_view text, Icon icon) override {
        note();
        m_shown.show(text, icon);
    }
    Answer ask(std::string_view text, Buttons buttons, Answer preferred, Icon icon) override {
        note();
        return m_shown.ask(text, buttons, preferred, icon);
    }
    std::vector<int> shapes;

private:
    void note() {
        const QCursor* cursor = QApplication::overrideCursor();
        shapes.push_back(cursor ? cursor->shape() : -1);
    }
    Prompter& m_shown;
};

const std::vector<V4Record> kDays = {
    V4Record(1, 7, "03/02/2026", "08:00", "15:00", 0, "short day"), // 7:00, advised
    V4Record(1, 7, "03/03/2026", "08:00", "16:00", 0, "full day"),  // 8:00
    V4Record(1, 7, "03/04/2026", "08:00", "17:00", 0, "long day"),  // 9:00, advised
};

// A managed template work.tpl with Alpha/Design and three unsent days in March 2026 of 7, 8 and
// 9 hours; the send range is March 1 to 10, the limits are the default 7:30 and 8:30.
struct Exchange : testing::ShownFrame {
    std::string tpl = dir.file("work.tpl");
    std::string trs = dir.file("work.trs");
    std::string trsBytes = records<V4Record>(testing::transactionHeader(), kDays);

    Exchange() {
        testing::writeBytes(tpl, v4Template("MSProject File"));
        testing::writeBytes(trs, trsBytes);
        storeDateRange(store, daterangekey::kSend, {date(2026, 3, 1), date(2026, 3, 10), true},
                       clock);
        openAndShow(tpl, daterangekey::kTimeSheet, {date(2026, 3, 1), date(2026, 3, 10), true});
    }

    static std::string v4Template(std::string_view type) {
        return testing::v4Template(type, 2, 9,
                                   {V4Item{1, 0, 0, 0, 1, 1, 0, "Alpha", "", " "},
                                    V4Item{1, 0, 7, 1, 1, 2, 0, "Design", "", " "}});
    }
    std::string file(const std::string& name) const { return dir.file(name); }
    static bool exists(const std::string& path) { return std::filesystem::exists(path); }

    // Runs the command: the range dialog is confirmed and the advisory dialog, when it comes,
    // handed to `advise`.
    void send(std::function<void(CAdvisoryDlg&)> advise) {
        testing::whenShown<DateRangeDialog>([advise](DateRangeDialog& dialog) {
            if (advise) {
                testing::whenShown<CAdvisoryDlg>(advise);
            }
            QVERIFY(dialog.tryAccept());
        });
        frame->runCommand(command::kSendTimeSheet);
    }
    static void answerNo(CAdvisoryDlg& dialog) { dialog.noButton()->click(); }
};

// A hand-off record of a version-4 template, from the documented layout.
std::string handOff(const std::vector<V4Record>& list) {
    testing::ByteBuilder b;
    b.raw(testing::transactionHeader());
    for (const V4Record& r : list) {
        b.counted("work").i32(r.level1).i32(r.level2).fixed(r.date, 11).fixed(r.start, 6);
        b.fixed(r.end, 6).counted(r.description);
    }
    return b;
}

std::vector<V4Record> sentCopy(std::vector<V4Record> list) {
    for (V4Record& r : list) {
        r.sent = 1;
    }
    return list;
}

class RemoteTest final : public QObject {
    Q_OBJECT

private slots:
    void theCommandNeedsAManagedTemplateSentByMailOrNotALocalCopy_data() {
        QTest::addColumn<bool>("managed");
        QTest::addColumn<bool>("byMail");
        QTest::addColumn<bool>("localCopy");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("files beside the template") << true << false << false << true;
        QTest::newRow("mail from a local copy") << true << true << true << true;
        QTest::newRow("files of a local copy") << true << false << true << false;
        QTest::newRow("not managed") << false << true << false << false;
    }
    void theCommandNeedsAManagedTemplateSentByMailOrNotALocalCopy() {
        QFETCH(bool, managed);
        QFETCH(bool, byMail);
        QFETCH(bool, localCopy);
        QFETCH(bool, enabled);
        Exchange x;
        x.doc->templateFile().setManaged(managed);
        x.settings.setRemote(byMail);
        x.settings.setOldLocation(localCopy ? x.dir.file("home") : "");
        QCOMPARE(x.frame->commandEnabled(command::kSendTimeSheet), enabled);
    }

    void aRangeWithoutDaysHasNothingToSend() {
        Exchange x;
        storeDateRange(x.store, daterangekey::kSend, {date(2026, 4, 1), date(2026, 4, 10), true},
                       x.clock);
        x.send({});
        QCOMPARE(x.prompter.texts(), std::vector<std::string>{"Nothing to send."});
        QCOMPARE(testing::readBytes(x.trs), x.trsBytes);
        QVERIFY(!x.exists(x.file("trans.dat")));
        QVERIFY(!x.doc->templateFile().isLoaded());
    }

    void theAdvisoryDialogListsTheDaysOutsideTheLimitsAndCancelChangesNothing() {
        Exchange x;
        x.send([](CAdvisoryDlg& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("Veltimo Solo"));
            QCOMPARE(dialog.heading()->text(),
                     QString("The following days have less than 7:30 or more than 8:30 hours:"));
            QTreeWidget* list = dialog.list();
            QCOMPARE(list->headerItem()->text(0), QString("Date"));
            QCOMPARE(list->headerItem()->text(1), QString("Hours"));
            QCOMPARE(list->columnWidth(0), 200);
            QCOMPARE(list->columnWidth(1), 75);
            QCOMPARE(list->topLevelItemCount(), 2);
            QCOMPARE(list->topLevelItem(0)->text(0), QString("Monday, March 2, 2026"));
            QCOMPARE(list->topLevelItem(0)->text(1), QString("7:00"));
            QCOMPARE(list->topLevelItem(1)->text(0), QString("Wednesday, March 4, 2026"));
            QCOMPARE(list->topLevelItem(1)->text(1), QString("9:00"));
            QCOMPARE(dialog.yesButton()->text(), QString("&Yes"));
            QCOMPARE(dialog.noButton()->text(), QString("&No"));
            dialog.cancelButton()->click();
        });
        QVERIFY(x.prompter.empty());
        QCOMPARE(testing::readBytes(x.trs), x.trsBytes);
        QVERIFY(!x.exists(x.file("trans.dat")));
        QCOMPARE(x.frame->currentViewNumber(), command::kMainWindow);
    }

    void yesOpensTheTimeSheetOnTheAdvisedDays() {
        Exchange x;
        x.send([](CAdvisoryDlg& dialog) { dialog.yesButton()->click(); });
        QCOMPARE(x.frame->currentViewNumber(), command::kTimeSheet);
        auto* sheet = qobject_cast<CTimeSheetView*>(x.frame->currentView());
        QVERIFY(sheet);
        QCOMPARE(sheet->rangeText(),
                 QString("From: Monday, March 2, 2026   To: Wednesday, March 4, 2026"));
        QVERIFY(x.doc->templateFile().isLoaded());
        QVERIFY(!x.exists(x.file("trans.dat")));
        QCOMPARE(testing::readBytes(x.trs), x.trsBytes);
    }

    void theTimeSheetsChangesAreWrittenBackBeforeTheRangeIsAsked() {
        Exchange x;
        x.frame->runCommand(command::kTimeSheet);
        x.prompter.queue(Answer::Yes);
        x.frame->runCommand(command::kDeleteTransaction); // the current row, the 9:00 day
        QVERIFY(x.doc->isModified());
        testing::whenShown<DateRangeDialog>([](DateRangeDialog& dialog) { dialog.reject(); });
        x.frame->runCommand(command::kSendTimeSheet);
        QVERIFY(!x.doc->isModified());
        QCOMPARE(testing::readBytes(x.trs),
                 records<V4Record>(testing::transactionHeader(), {kDays[0], kDays[1]}));
    }

    void noSendsToTheHandOffFilesThenKeepsOrDeletesTheCopy_data() {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<bool>("fromSheet");
        QTest::newRow("keep") << true << false;
        QTest::newRow("delete") << false << false;
        QTest::newRow("keep, from the time sheet") << true << true;
        QTest::newRow("delete, from the time sheet") << false << true;
    }
    void noSendsToTheHandOffFilesThenKeepsOrDeletesTheCopy() {
        QFETCH(bool, keep);
        QFETCH(bool, fromSheet);
        Exchange x;
        if (fromSheet) {
            x.frame->runCommand(command::kTimeSheet);
        }
        x.prompter.queue(keep ? Answer::Yes : Answer::No);
        x.send(&Exchange::answerNo);
        QCOMPARE(x.prompter.texts(),
                 std::vector<std::string>{std::string(remote::text::kKeepCopyQuestion)});
        QCOMPARE(x.prompter.entries()[0].icon, Prompter::Icon::Question);
        QCOMPARE(x.prompter.entries()[0].buttons, Prompter::Buttons::YesNo);
        QCOMPARE(testing::readBytes(x.file("trans.dat")), handOff(kDays));
        QCOMPARE(testing::readBytes(x.file("log.dat")), handOff(kDays));
        const std::vector<V4Record> kept = keep ? sentCopy(kDays) : std::vector<V4Record>{};
        QCOMPARE(testing::readBytes(x.trs), records<V4Record>(testing::transactionHeader(), kept));
        // The time sheet keeps the transactions it holds and shows what became of them.
        QCOMPARE(x.doc->templateFile().isLoaded(), fromSheet);
        QCOMPARE(x.frame->currentViewNumber() == command::kTimeSheet, fromSheet);
        if (auto* sheet = qobject_cast<CTimeSheetView*>(x.frame->currentView())) {
            QCOMPARE(sheet->rows().transactionRows(), keep ? kDays.size() : 0);
            QVERIFY(!keep || sheet->rows().row(0).transaction->isSent());
        }
    }

    void aFailedSendLeavesTheTimeSheetAsItWasAndSaysSo() {
        Exchange x;
        std::filesystem::create_directory(x.file("trans.dat"));
        x.send(&Exchange::answerNo);
        const std::vector<std::string> texts = x.prompter.texts();
        QVERIFY(!texts.empty());
        QCOMPARE(texts.back(), std::string(remote::text::kHandOffFailed));
        for (const auto& entry : x.prompter.entries()) {
            QVERIFY(!entry.question); // no keep-a-copy question
        }
        QCOMPARE(testing::readBytes(x.trs), x.trsBytes);
        QVERIFY(!x.doc->templateFile().isLoaded());
    }

    void theWaitCursorShowsWhileMailIsAskedAndGoesAfter() {
        Exchange x;
        bool shown = false;
        x.frame->setMailPortMaker([&shown] { return std::make_unique<UnusableMail>(shown); });
        x.settings.setRemote(true);
        x.settings.setSenderAddress("ann@example.org");
        x.settings.setReceiverAddress("hub@example.org");
        x.send(&Exchange::answerNo);
        QVERIFY(shown);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(x.prompter.texts().back(), std::string(remote::text::kMailUnusable));
        QCOMPARE(testing::readBytes(x.trs), x.trsBytes);
    }

    void openingAManagedTemplateAppliesTheUpdateInTheMailbox_data() {
        QTest::addColumn<bool>("checked");
        QTest::newRow("updates on") << true;
        QTest::newRow("updates off") << false;
    }
    void openingAManagedTemplateAppliesTheUpdateInTheMailbox() {
        QFETCH(bool, checked);
        Exchange x;
        Mailbox mail;
        const MailBoxesThroughPrompter boxes(x.prompter);
        // Beta with its activity Review in group 2 take the place of Alpha and Design.
        std::string body = "work\x01\x01"
                           "2\x01\x01"
                           "2||0||0||0||T||1||0||Beta||new project||-\x01\x01"
                           "2||0||3||1||T||2||0||Review||-||-\x01\x01";
        std::replace(body.begin(), body.end(), ' ', '\x02');
        mail.folder.put("new", "1773136800.1.testhost",
                        testing::plainMessage("Assignment Update 4.0", "Assignments", body));
        x.settings.setMapiLogon("Desk");
        x.settings.setRemoteAssignments(checked);

        QVERIFY(x.frame->openTemplateFile(qs(x.tpl)));

        const std::vector<std::string> texts = x.prompter.texts();
        QVERIFY2(texts.empty(), texts.empty() ? "" : texts.front().c_str());
        auto* view = qobject_cast<CSoloView*>(x.frame->currentView());
        QVERIFY(view);
        QCOMPARE(view->tree()->topLevelItemCount(), 1);
        const QString shown = view->tree()->topLevelItem(0)->text(0);
        if (checked) {
            QCOMPARE(shown, QString("Beta"));
            QCOMPARE(x.doc->templateFile().level2().size(), std::size_t{1});
            QCOMPARE(mail.messages(), std::size_t{0});
            QVERIFY(testing::readBytes(x.tpl) != Exchange::v4Template("MSProject File"));
        } else {
            QCOMPARE(shown, QString("Alpha"));
            QCOMPARE(mail.messages(), std::size_t{1});
            QCOMPARE(testing::readBytes(x.tpl), Exchange::v4Template("MSProject File"));
        }
    }

    void anUnreadableUpdateIsToldOfAndARefusedOneDeletedOnlyOnYes_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void anUnreadableUpdateIsToldOfAndARefusedOneDeletedOnlyOnYes() {
        QFETCH(bool, yes);
        Exchange x;
        Mailbox mail;
        const MailBoxesThroughPrompter boxes(x.prompter);
        std::string nested;
        for (int i = 0; i < 300; ++i) {
            nested += "multipart\n";
        }
        mail.folder.put("new", "1773136900.2.testhost",
                        testing::plainMessage("Assignment Update 4.0", "Broken", nested));
        const char* orphan = "work\001\0011\001\0015||0||3||1||T||2||0||Orphan||-||-\001\001";
        mail.folder.put("new", "1773136800.1.testhost",
                        testing::plainMessage("Assignment Update 4.0", "Assignments", orphan));
        x.settings.setMapiLogon("Desk");
        x.settings.setRemoteAssignments(true);
        x.prompter.queue(yes ? Answer::Yes : Answer::No);

        QVERIFY(x.frame->openTemplateFile(qs(x.tpl)));

        const auto& shown = x.prompter.entries();
        QCOMPARE(shown.size(), std::size_t{2});
        QVERIFY(shown[0].text.find("\r\nFrom Ann Bee <ann@example.org>, received ") !=
                std::string::npos);
        QVERIFY(shown[0].text.ends_with(", subject \"Broken\""));
        QCOMPARE(shown[1].text, std::string(remote::text::kUpdateNoLevel1) + "\r\n\r\n" +
                                    text::kDeleteRefusedUpdate);
        QCOMPARE(shown[1].preferred, Answer::No);
        QCOMPARE(mail.messages(), std::size_t{yes ? 1u : 2u});
        QCOMPARE(testing::readBytes(x.tpl), Exchange::v4Template("MSProject File"));
    }

    void namesTooLongForALegacyTemplateAreShortenedAndToldOfInOneMessage() {
        Exchange x;
        Mailbox mail;
        testing::writeBytes(x.file("desk.tpl"), testing::legacyTemplate("ATra", {}, {}, {}));
        testing::writeBytes(x.file("desk.trs"), "");
        const char* body =
            "desk\001\0011\001\0015||Customer\002Support\002Team\002A||-||6||B||-\001\001";
        mail.folder.put("new", "1773136800.1.testhost",
                        testing::plainMessage("Assignment Update 2.0", "Assignments", body));
        x.settings.setMapiLogon("Desk");
        x.settings.setRemoteAssignments(true);
        QVERIFY(x.frame->openTemplateFile(qs(x.file("desk.tpl"))));
        QCOMPARE(x.prompter.texts(),
                 std::vector<std::string>{std::string(remote::text::kUpdateTextsFitted) +
                                          "\r\nProject \"Customer Support Team A\" is now "
                                          "\"Customer Support Tea\""});
    }

    void theMailBridgesBoxesComeThroughThePrompterWithTheNormalCursor() {
        Exchange x;
        Mailbox mail; // its transport fails every message
        CursorNotingPrompter noting(x.prompter);
        const MailBoxesThroughPrompter boxes(noting);
        x.settings.setRemote(true);
        x.settings.setMapiLogon("Desk");
        x.settings.setSenderAddress("ann@example.org");
        x.settings.setReceiverAddress("hub@example.org");

        x.send(&Exchange::answerNo);

        // The library's own box of the failed send, then the program's; nothing was changed.
        const std::vector<std::string> texts = x.prompter.texts();
        QCOMPARE(texts.size(), std::size_t{2});
        QCOMPARE(texts.back(), std::string(remote::text::kMailSendFailed));
        QCOMPARE(noting.shapes, std::vector<int>{Qt::ArrowCursor});
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(testing::readBytes(x.trs), x.trsBytes);
    }
};

VSOLO_REGISTER_TEST_CLASS(RemoteTest);

} // namespace
} // namespace vsolo

#include "remote_test.moc"
