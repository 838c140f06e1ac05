#include "platform/singleinstance.h"

#include <QApplication>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <unistd.h>

namespace vsolo {

namespace {

// A request is one line: "activate", or "open " and the file's path in UTF-8, percent-encoded so
// that any byte of a path, a line break too, fits on the line.
constexpr char kActivate[] = "activate\n";
constexpr char kOpen[] = "open ";
constexpr char kAcknowledge[] = "ok\n";
// Room for the longest path Linux takes (4096 bytes), each byte percent-encoded; anything longer is
// not from a copy of ours.
constexpr qint64 kMaxRequest = 16 * 1024;
// How long a connection may stay silent before the first copy drops it.
constexpr int kSilentConnectionMs = 5000;
// How long a later copy keeps trying when the lock is taken but nobody answers yet: the first
// copy may be between taking the lock and listening.
constexpr int kReachFirstCopyMs = 3000;

// Keeps the file names portable whatever a caller passes as key.
QString fileNameOf(const QString& key) {
    QString name;
    for (const QChar c : key) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'_';
        name += plain ? c : QChar(u'_');
    }
    return name + QLatin1Char('-') + QString::number(::getuid());
}

// The runtime folder is private to the user and emptied at log-out, the best place for a lock and
// a socket; the temporary folder stands in where there is none.
QString defaultFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo info(runtime);
    if (!runtime.isEmpty() && info.isDir() && info.isWritable()) {
        return runtime;
    }
    return QDir::tempPath();
}

QByteArray requestFor(const QString& file) {
    if (file.isEmpty()) {
        return kActivate;
    }
    return kOpen + file.toUtf8().toPercentEncoding() + '\n';
}

// The path an open request carries, decoded.
QString fileOf(const QByteArray& request) {
    const QByteArray path = request.mid(qsizetype(sizeof kOpen) - 1).chopped(1);
    return QString::fromUtf8(QByteArray::fromPercentEncoding(path));
}

bool isOpenRequest(const QByteArray& request) {
    return request.startsWith(kOpen) && request.endsWith('\n') &&
           request.size() > qsizetype(sizeof kOpen);
}

} // namespace

SingleInstance::SingleInstance(const QString& key, const QString& folder, QObject* parent)
    : QObject(parent),
      m_basePath(QDir(folder.isEmpty() ? defaultFolder() : folder).filePath(fileNameOf(key))) {}

SingleInstance::~SingleInstance() {
    // The socket goes before the lock, so that a copy starting now never removes a socket that
    // is still being listened on.
    if (m_server != nullptr) {
        m_server->close();
    }
    m_lock.reset();
}

bool SingleInstance::claim(const QString& file) {
    const QByteArray request = requestFor(file);
    if (m_first) {
        return true;
    }
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // A lock is stale only when its process is gone, never because of its age: the first copy
    // runs for days.
    m_lock->setStaleLockTime(0);

    const QDeadlineTimer deadline(kReachFirstCopyMs);
    for (;;) {
        if (m_lock->tryLock(0)) {
            m_first = true;
            listen();
            return true;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            // No lock can be made in the folder. Asking over the socket is then the only way to
            // find a first copy; with none answering, this copy runs rather than none at all.
            qWarning("Cannot create the lock file %s", qPrintable(lockFilePath()));
            if (askFirstCopy(request)) {
                return false;
            }
            m_first = true;
            listen();
            return true;
        }
        if (askFirstCopy(request) || deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(50);
    }
}

void SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, this copy owns the socket's name: a socket file left there is from a copy
    // that did not end cleanly.
    QLocalServer::removeServer(socketPath());
    if (!m_server->listen(socketPath())) {
        qWarning("Cannot listen on %s: %s", qPrintable(socketPath()),
                 qPrintable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QTimer::singleShot(kSilentConnectionMs, socket, &QLocalSocket::abort);
            answer(socket);
        }
    });
}

void SingleInstance::answer(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequest) {
            socket->abort();
        }
        return;
    }
    const QByteArray request = socket->readLine(kMaxRequest + 1);
    const bool open = isOpenRequest(request);
    const bool activate = open || request == kActivate;
    if (activate) {
        socket->write(kAcknowledge);
        socket->flush();
    }
    socket->disconnectFromServer();
    if (open) {
        emit fileOpenRequested(fileOf(request));
    }
    if (activate) {
        emit activationRequested();
    }
}

bool SingleInstance::askFirstCopy(const QByteArray& request) const {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(1000)) {
        return false;
    }
    socket.write(request);
    if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(1000)) {
        return false;
    }
    // Waiting for the answer lets the first copy act before this one ends. A first copy that is
    // too busy to answer has still been reached: the request waits in its socket.
    socket.waitForReadyRead(2000);
    return true;
}

void SingleInstance::bringToFront(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    QWidget* top = window->window();
    top->setWindowState((top->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    top->show();
    top->raise();
    top->activateWindow();
    // A question the first copy is asking belongs in front of its window, or it would hide behind.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != top) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace vsolo
