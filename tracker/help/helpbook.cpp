#include "tracker/help/helpbook.h"

#include <QCoreApplication>

namespace vsolo {

HelpBook TrackerHelp::book() {
    return HelpBook{
        QUrl(QStringLiteral("qrc:/help/index.html")),
        {QStringLiteral("contents"), QStringLiteral("main-window"), QStringLiteral("time-sheet"),
         QStringLiteral("reports-and-graphs"), QStringLiteral("first-steps"),
         QStringLiteral("level-editor")},
        QCoreApplication::translate("vsolo::TrackerHelp", "Veltimo Solo Help"),
        QCoreApplication::translate("vsolo::TrackerHelp", "Veltimo Solo Training Card"),
    };
}

} // namespace vsolo
