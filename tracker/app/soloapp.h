#pragma once

#include <QString>
#include <QStringList>

class QApplication;

namespace vsolo {

class Prompter;
class Settings;

// Writes the values the settings hold until exit and tells the user, before the program ends,
// when the store refused them: they would be lost without a word otherwise. False on that failure.
bool saveSettingsAtExit(Settings& settings, Prompter& prompter);

// The tracker from process start to exit: one running copy, the settings, the document and the
// main frame, the template used last, the clock, and the settings written back at exit.
class CSoloApp {
public:
    struct Options {
        QString templatePath;             // a template named on the command line
        bool quitAfterFirstPaint = false; // for start-up measurements
    };
    static Options parseArguments(const QStringList& arguments);

    // Runs the program; the result is the process exit code.
    int run(QApplication& app, const Options& options);
};

} // namespace vsolo
