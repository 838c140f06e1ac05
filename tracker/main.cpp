#include "desktop/programicon.h"
#include "platform/translations.h"
#include "tracker/app/soloapp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The help pages live in the tracker library; a resource in a static library must be pulled in.
    Q_INIT_RESOURCE(help);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane Systems"));
    QCoreApplication::setApplicationName(QStringLiteral("Veltimo Solo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VSOLO_VERSION));
    // The desktop matches the windows to the menu entry, and so to its icon, by this name.
    QGuiApplication::setDesktopFileName(
        QString::fromLatin1(vsolo::programIconName(vsolo::ProgramIcon::Tracker)));
    QApplication::setWindowIcon(vsolo::programIcon(vsolo::ProgramIcon::Tracker));
    app.setQuitOnLastWindowClosed(true);
    vsolo::Translations::install(app);
    vsolo::CSoloApp solo;
    return solo.run(app, vsolo::CSoloApp::parseArguments(QCoreApplication::arguments()));
}
