#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QWidget;

namespace vsolo {

// Keeps one running copy of a program per user. The first copy holds a lock file and listens on a
// local socket beside it; a later copy finds the lock taken, asks the first copy through the socket
// to come to the front, and ends. The lock is what decides, not the socket: a copy that was killed
// leaves a lock whose process is gone, which the next start takes over, and a socket file nobody
// listens on, which the new first copy removes before it listens.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names the program ("veltimo-solo" for the tracker); the user id is added to it, so that
    // two users of one machine each run their own copy. The lock and the socket live in `folder`,
    // by default the user's runtime folder ($XDG_RUNTIME_DIR) or else the temporary folder.
    explicit SingleInstance(const QString& key, const QString& folder = {},
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first copy; it then answers later copies until it is
    // destroyed. False when another copy runs: that copy has been asked to come to the front and
    // to open `file` when one is given (or could not be reached), and the caller should end
    // without showing a window.
    bool claim(const QString& file = {});
    bool isFirst() const { return m_first; }

    QString lockFilePath() const { return m_basePath + QStringLiteral(".lock"); }
    QString socketPath() const { return m_basePath + QStringLiteral(".socket"); }

    // Shows a window the way a second start expects: restored if minimised (a maximised window
    // stays maximised), raised and activated; a modal dialog open over it comes up too.
    static void bringToFront(QWidget* window);

signals:
    // A later copy asked this one to come to the front.
    void activationRequested();
    // A later copy was started with a file, which this one should open; always followed by
    // activationRequested().
    void fileOpenRequested(const QString& file);

private:
    void listen();
    void answer(QLocalSocket* socket);
    bool askFirstCopy(const QByteArray& request) const;

    QString m_basePath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    bool m_first = false;
};

} // namespace vsolo
