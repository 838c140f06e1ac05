#include "platform/singleinstance.h"
#include "widgettests.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>
#include <unistd.h>

namespace vsolo::testing {

namespace {

constexpr int kProbeMs = 20'000;

// One run of the probe program, a separate process that claims the key in the test's folder.
class Probe {
public:
    Probe(const QString& key, const QString& folder, int activations = 1,
          const QString& file = {}) {
        m_process.setProgram(QStringLiteral(VSOLO_SINGLE_INSTANCE_PROBE));
        m_process.setArguments({key, folder, QString::number(activations), file});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }
    ~Probe() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(kProbeMs);
        }
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    // The next line the probe prints, or an empty text when none comes in time.
    QByteArray nextLine() {
        const QDeadlineTimer deadline(kProbeMs);
        while (!m_process.canReadLine() && !deadline.hasExpired() &&
               m_process.state() != QProcess::NotRunning) {
            m_process.waitForReadyRead(100);
        }
        return (m_process.canReadLine() ? m_process.readLine() : m_process.readAll()).trimmed();
    }
    bool finished() { return m_process.waitForFinished(kProbeMs); }
    bool running() const { return m_process.state() == QProcess::Running; }
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    void killHard() {
        // QProcess::kill sends SIGKILL: the probe gets no chance to remove its lock or socket.
        m_process.kill();
        m_process.waitForFinished(kProbeMs);
    }

private:
    QProcess m_process;
};

QByteArray exchange(const QString& socketPath, const QByteArray& request) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(2000)) {
        return "(no connection)";
    }
    socket.write(request);
    socket.flush();
    // The server runs in this thread: let it answer while waiting.
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() && socket.state() == QLocalSocket::ConnectedState &&
           !socket.canReadLine()) {
        QTest::qWait(10);
    }
    return socket.readAll();
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void secondCopyAsksTheFirstAndEnds();
    void secondCopyHandsItsFileToTheFirst();
    void killedFirstCopyDoesNotBlockTheNextStart();
    void endedCopyLeavesNothingBehind();
    void keysAndUsersHaveTheirOwnLock();
    void leftoverSocketFileIsReplaced();
    void onlyTheActivationRequestActivates();
    void bringToFrontRestoresAMinimisedWindow();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void SingleInstanceTest::init() {
    // A folder of its own per test: parallel test runs never share a lock.
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void SingleInstanceTest::secondCopyAsksTheFirstAndEnds() {
    Probe first(QStringLiteral("veltimo-solo"), m_folder->path());
    QCOMPARE(first.nextLine(), QByteArray("first"));

    Probe second(QStringLiteral("veltimo-solo"), m_folder->path());
    QCOMPARE(second.nextLine(), QByteArray("not first"));
    QVERIFY(second.finished());
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    // The first copy was minimised; the request brought it back.
    QCOMPARE(first.nextLine(), QByteArray("activated minimized=0 visible=1"));
    QVERIFY(first.finished());
    QCOMPARE(first.exitCode(), 0);
}

void SingleInstanceTest::secondCopyHandsItsFileToTheFirst() {
    Probe first(QStringLiteral("veltimo-solo"), m_folder->path());
    QCOMPARE(first.nextLine(), QByteArray("first"));

    // Spaces, a percent sign and a letter outside ASCII arrive as they were sent.
    const QString file = m_folder->filePath(QStringLiteral("Zeit 100% \u00e9t\u00e9.tpl"));
    Probe second(QStringLiteral("veltimo-solo"), m_folder->path(), 1, file);
    QCOMPARE(second.nextLine(), QByteArray("not first"));
    QVERIFY(second.finished());
    QCOMPARE(first.nextLine(), "open " + file.toUtf8());
    QCOMPARE(first.nextLine(), QByteArray("activated minimized=0 visible=1"));
    QVERIFY(first.finished());
}

void SingleInstanceTest::killedFirstCopyDoesNotBlockTheNextStart() {
    {
        Probe crashed(QStringLiteral("veltimo-solo"), m_folder->path());
        QCOMPARE(crashed.nextLine(), QByteArray("first"));
        crashed.killHard();
        QCOMPARE(crashed.exitStatus(), QProcess::CrashExit);
    }
    SingleInstance probeNames(QStringLiteral("veltimo-solo"), m_folder->path());
    QVERIFY(QFileInfo::exists(probeNames.lockFilePath()));
    QVERIFY(QFileInfo::exists(probeNames.socketPath()));

    // The lock of a process that is gone is taken over, and the new first copy listens on a new
    // socket where the dead one was: a third start reaches it.
    Probe next(QStringLiteral("veltimo-solo"), m_folder->path(), 2);
    QCOMPARE(next.nextLine(), QByteArray("first"));
    Probe third(QStringLiteral("veltimo-solo"), m_folder->path());
    QCOMPARE(third.nextLine(), QByteArray("not first"));
    QVERIFY(third.finished());
    QCOMPARE(next.nextLine(), QByteArray("activated minimized=0 visible=1"));
    // And the first copy keeps answering later starts.
    Probe fourth(QStringLiteral("veltimo-solo"), m_folder->path());
    QCOMPARE(fourth.nextLine(), QByteArray("not first"));
    QCOMPARE(next.nextLine(), QByteArray("activated minimized=0 visible=1"));
    QVERIFY(next.finished());
}

void SingleInstanceTest::endedCopyLeavesNothingBehind() {
    QString lockPath;
    QString socketPath;
    {
        SingleInstance instance(QStringLiteral("veltimo-solo"), m_folder->path());
        QVERIFY(instance.claim());
        QVERIFY(instance.isFirst());
        QVERIFY(instance.claim());
        lockPath = instance.lockFilePath();
        socketPath = instance.socketPath();
        QVERIFY(QFileInfo::exists(lockPath));
        QVERIFY(QFileInfo::exists(socketPath));
    }
    QVERIFY(!QFileInfo::exists(lockPath));
    QVERIFY(!QFileInfo::exists(socketPath));

    // The next start, another process, is the first copy again.
    Probe next(QStringLiteral("veltimo-solo"), m_folder->path());
    QCOMPARE(next.nextLine(), QByteArray("first"));
}

void SingleInstanceTest::keysAndUsersHaveTheirOwnLock() {
    SingleInstance tracker(QStringLiteral("veltimo-solo"), m_folder->path());
    SingleInstance reporting(QStringLiteral("veltimo-solo-reporting"), m_folder->path());
    QVERIFY(tracker.claim());
    QVERIFY(reporting.claim());
    QVERIFY(tracker.lockFilePath() != reporting.lockFilePath());
    QVERIFY(tracker.socketPath() != reporting.socketPath());

    const QString user = QStringLiteral("-%1.").arg(::getuid());
    QVERIFY2(QFileInfo(tracker.lockFilePath()).fileName().contains(user),
             qPrintable(tracker.lockFilePath()));
    QVERIFY(QFileInfo(tracker.socketPath()).fileName().contains(user));

    // A key that is not a plain file name stays inside the folder.
    SingleInstance odd(QStringLiteral("../x/y z"), m_folder->path());
    QCOMPARE(QFileInfo(odd.lockFilePath()).absolutePath(),
             QFileInfo(m_folder->path()).absoluteFilePath());
    QVERIFY(odd.claim());
}

void SingleInstanceTest::leftoverSocketFileIsReplaced() {
    SingleInstance instance(QStringLiteral("veltimo-solo"), m_folder->path());
    QFile leftover(instance.socketPath());
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.write("not a socket");
    leftover.close();

    QSignalSpy activations(&instance, &SingleInstance::activationRequested);
    QVERIFY(instance.claim());
    QCOMPARE(exchange(instance.socketPath(), "activate\n"), QByteArray("ok\n"));
    QCOMPARE(activations.count(), 1);
}

void SingleInstanceTest::onlyTheActivationRequestActivates() {
    SingleInstance instance(QStringLiteral("veltimo-solo"), m_folder->path());
    QVERIFY(instance.claim());
    QSignalSpy activations(&instance, &SingleInstance::activationRequested);
    QSignalSpy files(&instance, &SingleInstance::fileOpenRequested);

    QCOMPARE(exchange(instance.socketPath(), "hello\n"), QByteArray());
    QCOMPARE(exchange(instance.socketPath(), "activate now\n"), QByteArray());
    QCOMPARE(exchange(instance.socketPath(), "open \n"), QByteArray());
    QCOMPARE(exchange(instance.socketPath(), "open /" + QByteArray(17 * 1024, 'a') + "\n"),
             QByteArray());
    QCOMPARE(exchange(instance.socketPath(), QByteArray(17 * 1024, 'a')), QByteArray());
    QCOMPARE(activations.count(), 0);
    QCOMPARE(files.count(), 0);

    // A line break in a path travels encoded.
    QCOMPARE(exchange(instance.socketPath(), "open /a%0Ab\n"), QByteArray("ok\n"));
    QCOMPARE(files.count(), 1);
    QCOMPARE(files.at(0).at(0).toString(), QStringLiteral("/a\nb"));
    QCOMPARE(activations.count(), 1);
    activations.clear();

    // A request that arrives in pieces still counts.
    QLocalSocket socket;
    socket.connectToServer(instance.socketPath());
    QVERIFY(socket.waitForConnected(2000));
    socket.write("activ");
    socket.flush();
    QTest::qWait(50);
    QCOMPARE(activations.count(), 0);
    socket.write("ate\n");
    socket.flush();
    QTRY_COMPARE(activations.count(), 1);
}

void SingleInstanceTest::bringToFrontRestoresAMinimisedWindow() {
    QWidget window;
    window.showMinimized();
    QVERIFY(window.isMinimized());
    SingleInstance::bringToFront(&window);
    QVERIFY(!window.isMinimized());
    QVERIFY(window.isVisible());

    // A maximised window that was minimised comes back maximised.
    QWidget maximised;
    maximised.showMaximized();
    maximised.setWindowState(maximised.windowState() | Qt::WindowMinimized);
    SingleInstance::bringToFront(&maximised);
    QVERIFY(!maximised.isMinimized());
    QVERIFY(maximised.isMaximized());

    // A child widget stands for its window; a hidden window is shown.
    QWidget hidden;
    auto* child = new QWidget(&hidden);
    SingleInstance::bringToFront(child);
    QVERIFY(hidden.isVisible());
    SingleInstance::bringToFront(nullptr);
}

std::unique_ptr<QObject> makeSingleInstanceTest() {
    return std::make_unique<SingleInstanceTest>();
}

} // namespace vsolo::testing

#include "singleinstance_test.moc"
