#include "reporting/reportingapp.h"

#include "core/base/clock.h"
#include "platform/firstpaint.h"
#include "platform/helpwindow.h"
#include "platform/qtprompter.h"
#include "platform/singleinstance.h"
#include "platform/translations.h"
#include "reporting/data/reportingdata.h"
#include "reporting/data/reportingdocument.h"
#include "reporting/data/reportsettings.h"
#include "reporting/editors.h"
#include "reporting/mainframe.h"
#include "reporting/preferences.h"
#include "reporting/reportinghelp.h"
#include "reporting/reportingstores.h"
#include "reporting/texts.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>

namespace vsolo::reporting {

namespace {

constexpr char kTemplateLocation[] = "TemplateLocation";

} // namespace

CVSReportApp::Options CVSReportApp::parseArguments(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--quit-after-first-paint")) {
            options.quitAfterFirstPaint = true;
        } else if (!argument.startsWith(QStringLiteral("--")) && options.templatePath.isEmpty()) {
            options.templatePath = QFileInfo(argument).absoluteFilePath();
        }
    }
    return options;
}

void CVSReportApp::openFirstDocument(CMainFrame& frame, const Options& options,
                                     const SettingsStore& tracker) {
    if (!options.templatePath.isEmpty()) {
        frame.openTemplate(options.templatePath, true);
    } else {
        frame.newDocument(tracker.readText(kReportSection, kTemplateLocation), true);
    }
}

int CVSReportApp::run(QApplication& app, const Options& options) {
    CMainFrame* mainFrame = nullptr;
    QtPrompter prompter(
        [&mainFrame]() -> QWidget* {
            QWidget* active = QApplication::activeWindow();
            return active ? active : mainFrame;
        },
        tt(text::kApplicationTitle));
    HelpWindow::setBook(ReportingHelp::book());

    SingleInstance instance(QStringLiteral("VSReport"));
    if (!instance.claim()) {
        return 0; // the running copy was asked to come to the front
    }

    ReportingStores stores;
    QSettingsStore& own = stores.own;
    const QSettingsStore& tracker = stores.tracker;
    ReportSettings settings = readReportSettings(own, tracker, systemClock());
    ReportingData data;
    ReportingDocument doc(data);
    DialogEditors editors(data, settings, own, prompter, systemClock());
    CMainFrame frame(doc, prompter, own, editors, settings, systemClock());
    mainFrame = &frame;
    QObject::connect(&instance, &SingleInstance::activationRequested, &frame,
                     [&frame] { SingleInstance::bringToFront(&frame); });

    openFirstDocument(frame, options, tracker);
    FirstPaintWatcher watcher;
    if (options.quitAfterFirstPaint) {
        frame.installEventFilter(&watcher);
    }
    frame.show();
    // Told once the window is there behind the message.
    QTimer::singleShot(0, &frame,
                       [&settings, &prompter] { warnOfUnreadableTax(settings, prompter); });
    const int result = app.exec();
    frame.saveAtExit();
    return result;
}

} // namespace vsolo::reporting
