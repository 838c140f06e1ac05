#include "platform/idle/desktopidle.h"

#include "platform/idle/x11idle.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QLatin1String>
#include <QVariant>
#include <algorithm>
#include <limits>
#include <utility>

namespace vsolo {

namespace {

const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kMutterService = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString kMutterPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");

std::int32_t wholeSeconds(std::uint64_t milliseconds) {
    return static_cast<std::int32_t>(
        std::min<std::uint64_t>(milliseconds / 1000, std::numeric_limits<std::int32_t>::max()));
}

// The value of a reply whose D-Bus signature is exactly this one type; nothing for any other reply.
std::optional<QVariant> single(const QDBusMessage& reply, QLatin1String type) {
    if (reply.signature() != type) {
        return std::nullopt;
    }
    return reply.arguments().constFirst();
}

} // namespace

DesktopIdleSource::DesktopIdleSource(QObject* parent)
    : DesktopIdleSource(QDBusConnection::sessionBus(), true, parent) {}

DesktopIdleSource::DesktopIdleSource(QDBusConnection bus, bool useX11, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)) {
    if (useX11) {
        m_x11 = X11Idle::open();
    }
    // From any sender: naming the service would make Qt wait for the bus to tell its owner.
    m_bus.connect(QString(), kScreenSaverPath, kScreenSaverService, QStringLiteral("ActiveChanged"),
                  this, SLOT(takeActiveChanged(bool)));
}

DesktopIdleSource::~DesktopIdleSource() = default;

void DesktopIdleSource::refresh() {
    if (m_open > 0) {
        return;
    }
    m_roundScreenSaver.reset();
    m_roundMutter.reset();
    m_roundLocked.reset();
    ask(kScreenSaverService, kScreenSaverPath, QStringLiteral("GetSessionIdleTime"),
        [this](const QDBusMessage& reply) {
            if (const auto value = single(reply, QLatin1String("u"))) {
                m_roundScreenSaver = wholeSeconds(value->toUInt());
            }
        });
    ask(kMutterService, kMutterPath, QStringLiteral("GetIdletime"),
        [this](const QDBusMessage& reply) {
            if (const auto value = single(reply, QLatin1String("t"))) {
                m_roundMutter = wholeSeconds(value->toULongLong());
            }
        });
    ask(kScreenSaverService, kScreenSaverPath, QStringLiteral("GetActive"),
        [this](const QDBusMessage& reply) {
            if (const auto value = single(reply, QLatin1String("b"))) {
                m_roundLocked = value->toBool();
            }
        });
}

void DesktopIdleSource::ask(const QString& service, const QString& path, const QString& method,
                            std::function<void(const QDBusMessage&)> take) {
    // Both services name their interface as themselves.
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, service, method);
    // Asking the idle time is no reason to start a desktop service that is not running.
    call.setAutoStartService(false);
    QDBusPendingCall pending = m_bus.asyncCall(call, m_timeoutMs);
    // A connection that is gone gives a call that never finishes, not even with an error.
    if (!m_bus.isConnected()) {
        pending = QDBusPendingCall::fromError(QDBusError(QDBusError::Disconnected, QString()));
    }
    // Even a call that failed at once reports through the watcher only after this returns, so no
    // answer closes the round before its last question is out.
    auto* watcher = new QDBusPendingCallWatcher(pending, this);
    ++m_open;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, take = std::move(take)] {
                const QDBusMessage reply = watcher->reply();
                if (reply.type() == QDBusMessage::ReplyMessage) {
                    take(reply);
                }
                watcher->deleteLater();
                if (--m_open == 0) {
                    closeRound();
                }
            });
}

void DesktopIdleSource::closeRound() {
    m_idleSeconds = m_roundScreenSaver ? m_roundScreenSaver : m_roundMutter;
    // Asked here and not on the bus: the X server is the window's own, which answers as it paints.
    if (!m_idleSeconds && m_x11) {
        if (const std::optional<std::uint64_t> milliseconds = m_x11->idleMilliseconds()) {
            m_idleSeconds = wholeSeconds(*milliseconds);
        }
    }
    // A round without the lock state forgets the old one: a screen saver that went away must not
    // leave the screen locked for ever.
    m_locked = m_roundLocked;
    emit answered();
}

void DesktopIdleSource::takeActiveChanged(bool active) {
    m_locked = active;
    // The round's GetActive answer, if one came, is older than this signal.
    if (m_open > 0) {
        m_roundLocked = active;
    }
    emit answered();
}

} // namespace vsolo
