#include "tracker/app/soloapp.h"

#include "core/document.h"
#include "platform/firstpaint.h"
#include "platform/helpwindow.h"
#include "platform/idle/desktopidle.h"
#include "platform/qtprompter.h"
#include "platform/settings/qsettingsstore.h"
#include "platform/singleinstance.h"
#include "tracker/app/mainframe.h"
#include "tracker/app/siblings.h"
#include "tracker/app/startup.h"
#include "tracker/app/texts.h"
#include "tracker/app/tipdialog.h"
#include "tracker/help/helpbook.h"
#include "tracker/remote/mailboxes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace vsolo {

namespace {

// How often the desktop is asked for the idle time while tracking runs.
constexpr int kIdlePollMs = 5000;

} // namespace

CSoloApp::Options CSoloApp::parseArguments(const QStringList& arguments) {
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--quit-after-first-paint") {
            options.quitAfterFirstPaint = true;
        } else if (!argument.startsWith("--") && options.templatePath.isEmpty()) {
            options.templatePath = QFileInfo(argument).absoluteFilePath();
        }
    }
    return options;
}

bool saveSettingsAtExit(Settings& settings, Prompter& prompter) {
    if (settings.saveAtExit()) {
        return true;
    }
    prompter.show(tx(text::kExitPreferencesNotStored), Prompter::Icon::Warning);
    return false;
}

int CSoloApp::run(QApplication& app, const Options& options) {
    CMainFrame* mainFrame = nullptr;
    QtPrompter prompter([&mainFrame]() -> QWidget* {
        QWidget* active = QApplication::activeWindow();
        return active ? active : mainFrame;
    });
    const MailBoxesThroughPrompter mailBoxes(prompter);
    if (!runtimeLibraryAccepted(qVersion(), QT_VERSION_STR)) {
        prompter.show(tx(text::kOldSystemFile), Prompter::Icon::Warning);
        startSiblingProgram(QCoreApplication::applicationDirPath(), "401comupd.exe");
        return 1;
    }
    HelpWindow::setBook(TrackerHelp::book());

    SingleInstance instance(QStringLiteral("veltimo-solo"));
    if (!instance.claim(options.templatePath)) {
        return 0; // the running copy was asked to come to the front and open the file named
    }

    QSettingsStore store;
    Settings settings(store);
    settings.load();
    // Before the document, which reads it until its end.
    DesktopIdleSource idle;
    CSoloDoc doc(settings, prompter, [&app, &mainFrame] {
        // A file error the program cannot go on from: the normal shutdown runs (it offers to
        // store a running transaction; one that is not stored stays in the recovery file).
        QTimer::singleShot(0, &app, [&mainFrame] {
            if (mainFrame) {
                mainFrame->exitProgram();
            }
            QCoreApplication::quit();
        });
    });
    CMainFrame frame(doc, prompter);
    mainFrame = &frame;
    frame.setLocalFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QObject::connect(&instance, &SingleInstance::activationRequested, &frame,
                     [&frame] { SingleInstance::bringToFront(&frame); });
    QObject::connect(&instance, &SingleInstance::fileOpenRequested, &frame,
                     [&frame](const QString& path) { frame.openHandedFile(path); });

    doc.idleWatch().setSource(&idle);
    QObject::connect(&idle, &DesktopIdleSource::answered, &frame, &CMainFrame::checkIdle);
    // The desktop is asked only while the answer matters; the first round tells the preferences
    // whether it can answer at all.
    QTimer idlePoll;
    QObject::connect(&idlePoll, &QTimer::timeout, &idle, [&idle, &settings, &doc] {
        if (settings.idleAsk() && doc.tracker().isTracking()) {
            idle.refresh();
        }
    });
    idlePoll.start(kIdlePollMs);
    idle.refresh();

    const StartupDocument start =
        decideStartupDocument(options.templatePath.toStdString(), settings.templateLocation());
    // A template that cannot be read leaves an empty document: the program starts all the same.
    if (!start.path.empty()) {
        frame.openTemplateFileAtStartUp(QString::fromStdString(start.path));
    } else {
        frame.refreshViews();
    }

    FirstPaintWatcher watcher;
    if (options.quitAfterFirstPaint) {
        frame.installEventFilter(&watcher);
    }
    frame.start();
    if (start.noTemplate && !options.quitAfterFirstPaint) {
        HelpWindow::showHelp(TrackerHelp::FirstSteps, true);
    }
    if (start.warnMissing) {
        prompter.show(fillPlaceholders(tx(text::kTemplateMissing), {settings.templateLocation()}),
                      Prompter::Icon::Warning);
    }
    if (!start.noTemplate && !options.quitAfterFirstPaint && settings.tipStartUp() == 0) {
        // Once the event loop runs, so that the main window is shown beneath it.
        QTimer::singleShot(0, &frame, [&settings, &frame] { CTipDlg::showTips(settings, &frame); });
    }
    const int result = app.exec();
    saveSettingsAtExit(settings, prompter);
    return result;
}

} // namespace vsolo
