#include "desktop/programicon.h"
#include "platform/settings/qsettingsstore.h"
#include "platform/translations.h"
#include "reporting/reportingapp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The help pages live in the tool's library; a resource in a static library must be pulled in.
    Q_INIT_RESOURCE(reportinghelp);
    QCoreApplication::setOrganizationName(QString::fromLatin1(vsolo::kOrganisationName));
    QCoreApplication::setApplicationName(QString::fromLatin1(vsolo::kReportingApplicationName));
    // The desktop matches the windows to the menu entry, and so to its icon, by this name.
    QGuiApplication::setDesktopFileName(
        QString::fromLatin1(vsolo::programIconName(vsolo::ProgramIcon::Reporting)));
    QApplication::setWindowIcon(vsolo::programIcon(vsolo::ProgramIcon::Reporting));
    app.setQuitOnLastWindowClosed(true);
    vsolo::Translations::install(app);
    vsolo::reporting::CVSReportApp tool;
    return tool.run(app,
                    vsolo::reporting::CVSReportApp::parseArguments(QCoreApplication::arguments()));
}
