#include "tracker/help/helpbook.h"

namespace vsolo {

HelpBook TrackerHelp::book() {
    return HelpBook{
        QUrl(QStringLiteral("qrc:/help/index.html")),
        {QStringLiteral("contents"), QStringLiteral("main-window"), QStringLiteral("time-sheet"),
         QStringLiteral("reports-and-graphs"), QStringLiteral("first-steps"),
         QStringLiteral("level-editor")},
        QStringLiteral("Veltimo Solo Help"),
        QStringLiteral("Veltimo Solo Training Card"),
    };
}

} // namespace vsolo
