#include "reporting/reportinghelp.h"

#include "platform/translations.h"
#include "reporting/texts.h"

namespace vsolo {

HelpBook ReportingHelp::book() {
    // HelpWindow finds an anchor by its context's position in the list, so the numbers between
    // the small contexts and the report topic name the contents.
    QStringList anchors(Reports + 1, QStringLiteral("contents"));
    anchors[MainForm] = QStringLiteral("main-form");
    anchors[Managers] = QStringLiteral("managers");
    anchors[Preferences] = QStringLiteral("preferences");
    anchors[Reports] = QStringLiteral("reports");
    return HelpBook{
        QUrl(QStringLiteral("qrc:/reportinghelp/index.html")),
        anchors,
        tt(reporting::text::kHelpTitle),
        tt(reporting::text::kHelpTitle),
    };
}

} // namespace vsolo
