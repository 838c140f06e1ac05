#pragma once

#include <QObject>
// Below a Qt header: moc reads the standard headers the core's headers bring, and cannot parse
// <compare> unless a Qt header has brought it in before.
#include "core/idle.h"

#include <QDBusConnection>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QDBusMessage;

namespace vsolo {

class X11Idle;

// What the desktop says about the user's presence, read without ever blocking the window.
//
// The idle time comes from the first of these that answers: the session's idle time of
// org.freedesktop.ScreenSaver (GetSessionIdleTime), GNOME's org.gnome.Mutter.IdleMonitor
// (GetIdletime) and, when the program runs on X11, the X server's screen saver extension. The lock
// state comes from org.freedesktop.ScreenSaver (GetActive, and its ActiveChanged signal).
//
// The readings are taken in rounds: refresh() sends every D-Bus question at once, each answered,
// failed or given up after the timeout, and the answers become what idleSeconds() and
// screenLocked() report once the whole round is in. A desktop service that hangs delays the round
// by the timeout at most and never holds the event loop.
class DesktopIdleSource final : public QObject, public IdleSource {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 2000;

    // The session bus, and the X server when the program runs on X11.
    explicit DesktopIdleSource(QObject* parent = nullptr);
    // `bus` is asked instead of the session bus; `useX11` false leaves the X server out even on
    // X11 (true still needs the "xcb" platform).
    DesktopIdleSource(QDBusConnection bus, bool useX11, QObject* parent = nullptr);
    ~DesktopIdleSource() override;

    // How long a round waits for a D-Bus answer; applies to the rounds started after the call.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    // Starts a round unless one is still open, whose answers then serve this request too.
    void refresh();

    // The answers of the last complete round; nothing before the first round ends.
    std::optional<std::int32_t> idleSeconds() const override { return m_idleSeconds; }
    // The lock state of the last complete round, or of an ActiveChanged signal since.
    std::optional<bool> screenLocked() const override { return m_locked; }

signals:
    // A round completed, or the lock state changed.
    void answered();

private slots:
    void takeActiveChanged(bool active);

private:
    // Sends one question of the round; `take` gets a reply that arrived (not an error), of any
    // signature.
    void ask(const QString& service, const QString& path, const QString& method,
             std::function<void(const QDBusMessage&)> take);
    void closeRound();

    QDBusConnection m_bus;
    std::unique_ptr<X11Idle> m_x11;
    int m_timeoutMs = kDefaultTimeoutMs;
    // Questions of the open round still without an answer.
    int m_open = 0;
    // What the open round has gathered so far, in the order the sources are tried.
    std::optional<std::int32_t> m_roundScreenSaver;
    std::optional<std::int32_t> m_roundMutter;
    std::optional<bool> m_roundLocked;
    std::optional<std::int32_t> m_idleSeconds;
    std::optional<bool> m_locked;
};

} // namespace vsolo
