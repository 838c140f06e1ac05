#pragma once

#include <QString>
#include <QStringList>

class QApplication;

namespace vsolo {
class SettingsStore;
}

namespace vsolo::reporting {

class CMainFrame;

// The reporting tool from process start to exit: one running copy ("VSReport"), the settings,
// the data and its document, the main frame with the template of the command line or the one
// the tracker has open.
class CVSReportApp {
public:
    struct Options {
        QString templatePath;             // a template named on the command line
        bool quitAfterFirstPaint = false; // ends once the window is painted, for start-up tests
    };
    static Options parseArguments(const QStringList& arguments);

    // The first document: the template of the command line, opened as File Open does, else a new
    // document from the tracker's "TemplateLocation".
    static void openFirstDocument(CMainFrame& frame, const Options& options,
                                  const SettingsStore& tracker);

    // Runs the program; the result is the process exit code.
    int run(QApplication& app, const Options& options);
};

} // namespace vsolo::reporting
