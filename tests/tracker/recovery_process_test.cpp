// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QProcess>

// The project headers after the Qt header; see above.
#include "core/document.h"
#include "core/model/recovery.h"
#include "core/settingsstore.h"
#include "testregistry.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <QTest>
#include <csignal>

namespace vsolo {
namespace {

// Kills a real tracker process while it tracks and checks that the next open brings the time back.
class RecoveryProcessTest final : public QObject {
    Q_OBJECT

private slots:
    void aKilledTrackerLosesNoTime() {
        using namespace testing;
        TempDir dir;
        const std::string tpl = dir.file("work.tpl");
        const std::string trs = dir.file("work.trs");
        writeBytes(tpl, v4Template("Veltimo Solo File", 2, 2,
                                   {V4Item{1, 0, 0, 0, 1, 1, 0, "Alpha", "", " "},
                                    V4Item{1, 0, 1, 1, 1, 2, 0, "Design", "design work", " "}}));
        writeBytes(trs, transactionHeader());

        QProcess probe;
        probe.start(VSOLO_TRACKING_PROBE, {QString::fromStdString(tpl)}, QIODevice::ReadOnly);
        QVERIFY(probe.waitForStarted(10000));
        QVERIFY(probe.waitForReadyRead(30000));
        QCOMPARE(probe.readLine().trimmed(), QByteArray("tracking"));
        const std::string recovery = TemplatePaths::recoveryFile(tpl);
        QVERIFY(exists(recovery));
        ::kill(static_cast<pid_t>(probe.processId()), SIGKILL);
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitStatus(), QProcess::CrashExit);
        QCOMPARE(readBytes(trs), transactionHeader()); // nothing was stored by the crash

        SettableClock clock(TimeValue(0));
        MemorySettingsStore store;
        Settings settings(store);
        settings.load();
        ScriptedPrompter prompter;
        prompter.queue(Prompter::Answer::Yes);
        CSoloDoc doc(
            settings, prompter, [] {}, clock);
        QVERIFY(doc.open(tpl));
        QCOMPARE(prompter.entries().size(), std::size_t{1});
        const std::string& question = prompter.entries().front().text;
        QVERIFY(question.find("12/08/2026 from 9:14 to 9:20") != std::string::npos);
        QVERIFY(question.find("Design") != std::string::npos);
        ByteBuilder expected;
        expected.raw(transactionHeader());
        add(expected, V4Record(1, 1, "12/08/2026", "09:14", "09:20", 0, "design work"));
        QCOMPARE(readBytes(trs), std::string(expected));
        QVERIFY(!exists(recovery));
    }
};

VSOLO_REGISTER_TEST_CLASS(RecoveryProcessTest);

} // namespace
} // namespace vsolo

#include "recovery_process_test.moc"
