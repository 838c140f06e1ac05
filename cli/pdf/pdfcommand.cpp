// pdf REPORT [--from M/D/YYYY] [--to M/D/YYYY] [--project NAME]... [--paper letter|a4] TEMPLATE
// -o FILE.pdf: a printed report of the range as a PDF file, drawn by the tracker's own printing
// code; the reporting tool's reports are laid out and drawn by the tool's own page code.

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>

// The project headers after the Qt headers; see above.
#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/output.h"
#include "cli/range.h"
#include "cli/reportingsession.h"
#include "cli/session.h"
#include "core/base/clock.h"
#include "core/reports/piegraph.h"
#include "core/reports/rangetotals.h"
#include "core/reports/studygraph.h"
#include "core/reports/timestudy.h"
#include "core/settings.h"
#include "core/timesheet.h"
#include "platform/settings/qsettingsstore.h"
#include "print/graphs/pieprint.h"
#include "print/graphs/studygraphprint.h"
#include "print/printedreport.h"
#include "print/timesheet/timesheetprint.h"
#include "print/timestudy/timestudyprint.h"
#include "reporting/layout/reportpages.h"
#include "reporting/render/reportrender.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <utility>

namespace vsolo {
namespace {

// The level titles the user gave the tracker, read without ever writing the tracker's settings.
std::pair<std::string, std::string> trackerLevelTitles() {
    QSettingsStore store(QString::fromLatin1(kTrackerApplicationName),
                         QSettingsStore::Access::ReadOnly);
    Settings settings(store);
    settings.load();
    return {settings.level1Title(), settings.level2Title()};
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// Fonts and PDF output need a Qt GUI application but no display: it runs on the offscreen
// platform unless the environment asks for another one.
class PdfApplication {
public:
    PdfApplication() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // Qt's notes about the session it runs in (no runtime folder, no display) are no news
        // to the user of a command-line tool; its errors still reach standard error.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                std::cerr << "vsolo-cli: " << text.toStdString() << '\n';
            }
        });
        m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
    }

private:
    char m_name[10] = "vsolo-cli";
    char* m_argv[2] = {m_name, nullptr};
    int m_argc = 1;
    std::unique_ptr<QGuiApplication> m_app;
};

// What a printed report is made from.
struct PdfSource {
    TemplateFile& file;
    RangeDates dates;
    const Clock& clock;
    std::string level1Title;
    std::string level2Title;
    std::string path;
};

// A printed report, with what it keeps alive while it prints.
struct PdfReport {
    QString title;
    std::shared_ptr<void> keep;
    std::unique_ptr<PrintedReport> print;
};

PdfReport timeSheet(const PdfSource& source) {
    // Marks the errors of the range's days again, as the time sheet does when it is filled.
    auto rows = std::make_shared<TimeSheetRows>();
    rows->rebuild(source.file.store(), source.dates.from, source.dates.to);
    auto print = std::make_unique<TimeSheetPrint>(*rows, source.file, source.level1Title,
                                                  source.level2Title, source.clock, source.path);
    return {QStringLiteral("Time sheet"), rows, std::move(print)};
}

PdfReport timeStudyReport(const PdfSource& source) {
    auto print = std::make_unique<TimeStudyPrint>(
        buildTimeStudyRows(RangeTotals::gather(source.file, source.dates.from, source.dates.to)),
        source.level1Title, source.level2Title, source.dates.from, source.dates.to, source.clock,
        source.path);
    return {QStringLiteral("Time study report"), nullptr, std::move(print)};
}

// The graphs work out the error marks of the range's days again while they gather its figures.
PdfReport studyGraph(const PdfSource& source) {
    const RangeTotals totals = RangeTotals::gather(source.file, source.dates.from, source.dates.to);
    return {QStringLiteral("Time study graph"), nullptr,
            std::make_unique<StudyGraphPrint>(buildGraphCategories(totals), source.level1Title,
                                              totals.from(), totals.to(), source.clock,
                                              source.path)};
}

template <int Level>
PdfReport pieGraph(const PdfSource& source) {
    const RangeTotals totals = RangeTotals::gather(source.file, source.dates.from, source.dates.to);
    return {QStringLiteral("Pie graph"), nullptr,
            std::make_unique<PiePrint>(buildPieCategories(totals, Level),
                                       Level == 1 ? source.level1Title : source.level2Title,
                                       totals.from(), totals.to(), source.clock, source.path)};
}

struct PdfKind {
    std::string_view report;
    PdfReport (*make)(const PdfSource& source);
};

// The reports of the command table's pdf entry, each by its word.
const PdfKind kPdfKinds[] = {
    {"timesheet", timeSheet}, {"report", timeStudyReport}, {"graph", studyGraph},
    {"pie1", pieGraph<1>},    {"pie2", pieGraph<2>},
};

// The reporting tool's reports by their word; the expense report and the invoice are of the
// selected level-1 items only, and refuse to run without one.
struct ReportingKind {
    std::string_view report;
    reporting::ReportKind kind;
    bool projectsRequired;
};

const ReportingKind kReportingKinds[] = {
    {"invoice", reporting::ReportKind::Invoice, true},
    {"clients", reporting::ReportKind::Clients, false},
    {"projects", reporting::ReportKind::Projects, false},
    {"rates", reporting::ReportKind::Rates, false},
    {"expenses", reporting::ReportKind::Expenses, true},
};

bool writePdf(const Arguments& args, const QBuffer& pdf) {
    const QByteArray& bytes = pdf.data();
    return Output(args).writeAll(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

int printReportingPdf(const Arguments& args, const ReportingKind& kind,
                      QPageSize::PageSizeId paper) {
    const Clock& clock = systemClock();
    ReportingInput input;
    if (const int failed = readReportingInput(args, kind.projectsRequired, clock, input);
        failed != 0) {
        return failed;
    }
    if (kind.kind == reporting::ReportKind::Invoice) {
        if (const int failed = requireTaxRate(input.settings); failed != 0) {
            return failed;
        }
        if (!invoiceOf(input)) {
            return kExitError;
        }
    }
    PdfApplication application;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(QString::fromLatin1(reporting::kPrintJobName));
        writer.setCreator(QStringLiteral("vsolo-cli"));
        reporting::ReportRequest request;
        request.kind = kind.kind;
        request.period = input.period;
        request.projects = input.projects;
        request.settings = input.settings;
        request.today = reporting::localMoment(clock.now());
        const std::vector<reporting::ReportPage> pages =
            reporting::layoutReport(input.data, request, reporting::printableGeometry(writer));
        if (pages.empty()) {
            tellUser(kNoReportDataText);
            return kExitError;
        }
        if (reporting::printReportPages(pages, writer) == reporting::PrintResult::Failed) {
            tellUser(kPrintFailedText);
            return kExitError;
        }
    }
    return writePdf(args, pdf) ? 0 : kExitError;
}

} // namespace

int printPdf(const Arguments& args) {
    const auto output = args.options.find("-o");
    if (output == args.options.end() || output->second.empty()) {
        return usageError("pdf needs -o FILE.pdf");
    }
    const auto paper = choiceOption<QPageSize::PageSizeId>(
        args, "--paper", {{"letter", QPageSize::Letter}, {"a4", QPageSize::A4}}, "paper");
    if (!paper) {
        return kExitError;
    }
    const auto reportingKind =
        std::find_if(std::begin(kReportingKinds), std::end(kReportingKinds),
                     [&args](const ReportingKind& k) { return k.report == args.report; });
    if (reportingKind != std::end(kReportingKinds)) {
        return printReportingPdf(args, *reportingKind, *paper);
    }
    if (args.optionValues.count("--project") != 0) {
        return usageError("pdf " + args.report + " takes no --project");
    }
    const auto bounds = rangeOptions(args);
    if (!bounds) {
        return kExitError;
    }
    Session session;
    const std::string& templatePath = args.positional[0];
    if (!session.loadWithTransactions(templatePath)) {
        return kExitError;
    }
    session.listItemsByName();
    const Clock& clock = systemClock();
    const RangeDates dates = resolveRange(session.file().store(), *bounds, clock.today());
    const auto kind = std::find_if(std::begin(kPdfKinds), std::end(kPdfKinds),
                                   [&args](const PdfKind& k) { return k.report == args.report; });
    if (kind == std::end(kPdfKinds)) {
        return usageError("pdf takes a report");
    }

    PdfApplication application;
    auto [level1Title, level2Title] = trackerLevelTitles();
    const PdfReport report = kind->make({session.file(), dates, clock, std::move(level1Title),
                                         std::move(level2Title), absolutePath(templatePath)});
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(QPageLayout(QPageSize(*paper), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(report.title);
        writer.setCreator(QStringLiteral("vsolo-cli"));
        if (!printReport(*report.print, writer)) {
            std::cerr << "vsolo-cli: the " << report.title.toLower().toStdString()
                      << " could not be drawn\n";
            return kExitError;
        }
    }
    return writePdf(args, pdf) ? 0 : kExitError;
}

} // namespace vsolo
