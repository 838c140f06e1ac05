#include "platform/idle/desktopidle.h"
#include "widgettests.h"

#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace vsolo::testing {

namespace {

// A desktop service, its interface named as the service, that answers each method with its value
// in `replies`, never answers one whose value is invalid, and knows no other.
struct StandIn final : QDBusVirtualObject {
    StandIn(QString service, QString object) : name(std::move(service)), path(std::move(object)) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        ++calls;
        const auto reply = replies.constFind(call.member());
        if (call.interface() != name || reply == replies.cend()) {
            bus.send(call.createErrorReply(QDBusError::UnknownMethod, call.member()));
        } else if (reply->isValid()) {
            bus.send(call.createReply(*reply));
        }
        return true;
    }
    const QString name, path;
    QVariantMap replies;
    int calls = 0;
};

int orMinusOne(auto value) {
    return value ? static_cast<int>(*value) : -1;
}

} // namespace

// The source asks a bus of the test's own. The stand-ins answer on another connection from this
// thread's event loop, so a call that held the thread would get no answer from them. The
// application is offscreen: the X server is asked but never answers.
class DesktopIdleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString config = m_folder.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<busconfig><type>session</type><listen>unix:dir=" + m_folder.path().toUtf8() +
                   "</listen><auth>EXTERNAL</auth><policy context='default'><allow own='*'/>"
                   "<allow send_destination='*'/><allow receive_sender='*'/></policy></busconfig>");
        file.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {"--nofork", "--print-address", "--config-file=" + config});
        QVERIFY(m_daemon.waitForReadyRead(10'000));
        const QString address = QString::fromUtf8(m_daemon.readLine().trimmed());
        m_client = QDBusConnection::connectToBus(address, QStringLiteral("client"));
        m_services = QDBusConnection::connectToBus(address, QStringLiteral("stand-ins"));
        for (StandIn* standIn : {&m_saver, &m_mutter}) {
            QVERIFY(m_services.registerVirtualObject(standIn->path, standIn));
        }
    }

    void cleanupTestCase() {
        QDBusConnection::disconnectFromBus(m_client.name());
        QDBusConnection::disconnectFromBus(m_services.name());
        m_daemon.terminate();
        QVERIFY(m_daemon.waitForFinished());
    }

    void roundsTakeTheFirstAnswer_data() {
        QTest::addColumn<QVariantMap>("saver");
        QTest::addColumn<QVariantMap>("mutter");
        QTest::addColumn<int>("idleSeconds");
        QTest::addColumn<int>("locked");
        const QVariantMap none;
        const QVariantMap mutter{{"GetIdletime", qulonglong{7000}}};
        QTest::newRow("screen saver alone, rounded down")
            << QVariantMap{{"GetSessionIdleTime", 61'999u}} << none << 61 << -1;
        QTest::newRow("screen saver first")
            << QVariantMap{{"GetSessionIdleTime", 2000u}, {"GetActive", true}} << mutter << 2 << 1;
        QTest::newRow("screen saver without idle time")
            << QVariantMap{{"GetActive", false}} << mutter << 7 << 0;
        QTest::newRow("screen saver silent")
            << QVariantMap{{"GetSessionIdleTime", {}}, {"GetActive", {}}} << mutter << 7 << -1;
        QTest::newRow("wrong reply types")
            << QVariantMap{{"GetSessionIdleTime", QStringLiteral("61")}, {"GetActive", 1u}}
            << QVariantMap{{"GetIdletime", 5000u}} << -1 << -1;
        QTest::newRow("no service on the bus") << none << none << -1 << -1;
    }

    void roundsTakeTheFirstAnswer() {
        QFETCH(QVariantMap, saver);
        QFETCH(QVariantMap, mutter);
        QFETCH(int, locked);
        m_saver.replies = saver;
        m_mutter.replies = mutter;
        for (StandIn* standIn : {&m_saver, &m_mutter}) {
            standIn->calls = 0;
            // Without replies the service is not on the bus at all.
            standIn->replies.isEmpty() ? m_services.unregisterService(standIn->name)
                                       : m_services.registerService(standIn->name);
        }
        DesktopIdleSource source(m_client, true);
        source.setTimeout(300);
        QSignalSpy answered(&source, &DesktopIdleSource::answered);
        // Nothing is known before the first round ends, and an open round is not asked again.
        for (int i = 0; i < 3; ++i) {
            source.refresh();
        }
        QVERIFY(answered.isEmpty() && !source.idleSeconds());
        QVERIFY(answered.wait());
        QTEST(orMinusOne(source.idleSeconds()), "idleSeconds");
        QCOMPARE(orMinusOne(source.screenLocked()), locked);
        QCOMPARE(m_saver.calls + m_mutter.calls,
                 (saver.isEmpty() ? 0 : 2) + (mutter.isEmpty() ? 0 : 1));

        // The lock state follows ActiveChanged at once, until the next round tells it again.
        QVERIFY(m_services.send(
            QDBusMessage::createSignal(m_saver.path, m_saver.name, QStringLiteral("ActiveChanged"))
            << (locked != 1)));
        QVERIFY(answered.wait());
        QCOMPARE(orMinusOne(source.screenLocked()), int{locked != 1});
        source.refresh();
        QVERIFY(answered.wait());
        QCOMPARE(orMinusOne(source.screenLocked()), locked);
    }

    void roundEndsWithoutABus() {
        DesktopIdleSource source(QDBusConnection(QStringLiteral("never connected")), true);
        QSignalSpy answered(&source, &DesktopIdleSource::answered);
        source.refresh();
        QVERIFY(answered.wait());
        QVERIFY(!source.idleSeconds() && !source.screenLocked());
    }

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
    StandIn m_saver{QStringLiteral("org.freedesktop.ScreenSaver"),
                    QStringLiteral("/org/freedesktop/ScreenSaver")};
    StandIn m_mutter{QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                     QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core")};
    // Closed before the stand-ins they serve go.
    QDBusConnection m_client{QString()}, m_services{QString()};
};

std::unique_ptr<QObject> makeDesktopIdleTest() {
    return std::make_unique<DesktopIdleTest>();
}

} // namespace vsolo::testing

#include "desktopidle_test.moc"
