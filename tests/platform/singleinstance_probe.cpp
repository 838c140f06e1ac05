// A stand-in for a program that allows one running copy, for the single-instance tests: it claims
// the key, shows a minimised window when it is the first copy, and reports on standard output.
//
//   single_instance_probe KEY FOLDER [ACTIVATIONS [FILE]]
//
// Prints "first" or "not first"; a later copy hands FILE to the first one. The first copy then
// prints one line per activation it receives ("activated minimized=0 visible=1"), after a line
// "open FILE" for a file handed over, and ends after ACTIVATIONS of them (default 1), or after a
// minute, so that a test that failed halfway never leaves it running.
#include "platform/singleinstance.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

void say(const char* line) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        say("usage: single_instance_probe KEY FOLDER [ACTIVATIONS]");
        return 2;
    }
    vsolo::SingleInstance instance(QString::fromLocal8Bit(argv[1]),
                                   QString::fromLocal8Bit(argv[2]));
    const QString file = argc > 4 ? QString::fromUtf8(argv[4]) : QString();
    if (!instance.claim(file)) {
        say("not first");
        return 0;
    }
    const int wanted = argc > 3 ? QByteArray(argv[3]).toInt() : 1;

    QWidget window;
    window.setWindowTitle(QStringLiteral("probe"));
    window.showMinimized();
    say("first");

    QObject::connect(&instance, &vsolo::SingleInstance::fileOpenRequested, &window,
                     [](const QString& path) { say(("open " + path.toUtf8()).constData()); });
    int received = 0;
    QObject::connect(&instance, &vsolo::SingleInstance::activationRequested, &window, [&] {
        vsolo::SingleInstance::bringToFront(&window);
        const QByteArray line =
            "activated minimized=" + QByteArray::number(window.isMinimized() ? 1 : 0) +
            " visible=" + QByteArray::number(window.isVisible() ? 1 : 0);
        say(line.constData());
        if (++received >= wanted) {
            QApplication::quit();
        }
    });
    QTimer::singleShot(60'000, &app, &QApplication::quit);
    return QApplication::exec();
}
