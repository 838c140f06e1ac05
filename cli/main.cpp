// vsolo-cli: exports, listings, checks and printed reports of the tracker's files from the command
// line. Output goes to standard output unless -o FILE is given; errors go to standard error with
// exit code 2, and `check` exits 1 for a damaged file. Other tools read this output, so its form
// never changes.

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>

// The project headers after the Qt headers; see above.
#include "core/export.h"
#include "core/fileerrortext.h"
#include "core/fileio.h"
#include "core/fileresult.h"
#include "core/settings.h"
#include "core/templatefile.h"
#include "core/timesheet.h"
#include "platform/qsettingsstore.h"
#include "tracker/reports/printedreport.h"
#include "tracker/timesheet/timesheetprint.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vsolo {
namespace {

constexpr int kExitDamaged = 1;
constexpr int kExitError = 2;

constexpr const char* kUsage =
    "usage: vsolo-cli COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  levels TEMPLATE [-o FILE]\n"
    "      the template's header and level items as read, one tab-separated line each\n"
    "  export [--format csv|txt] [--from M/D/YYYY] [--to M/D/YYYY] TEMPLATE [-o FILE]\n"
    "      the transactions of the range in the time sheet's export form (default csv)\n"
    "  upgrade TEMPLATE\n"
    "      converts a version 3 template and its transactions to version 4\n"
    "  check TEMPLATE [-o FILE]\n"
    "      counts the level items and transactions; exit 1 when a file is damaged, or when the\n"
    "      transaction file ends in a record cut short (the complete ones are counted)\n"
    "  pdf timesheet [--from M/D/YYYY] [--to M/D/YYYY] [--paper letter|a4] TEMPLATE -o FILE.pdf\n"
    "      the printed time sheet of the range as a PDF file (default paper letter)\n"
    "\n"
    "In `levels`, a backslash, tab, carriage return or line feed inside a text is written as\n"
    "\\\\, \\t, \\r or \\n so that every item stays on one line.\n"
    "`export` and `pdf` take all days without --from and --to, the days from or up to the one\n"
    "bound given alone, and exchange reversed bounds.\n";

// A message for the user on standard error, its "\r\n" line breaks written as "\n".
void tellUser(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        line += text[i];
    }
    std::cerr << "vsolo-cli: " << line << '\n';
}

// What a file operation has for the user, in the file layer's words. Gives whether the operation
// was done.
bool tellUser(const FileResult& result) {
    for (const FileMessage& message : messagesOf(result)) {
        tellUser(message.text);
    }
    return result.ok();
}

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
};

int usageError(const std::string& message) {
    std::cerr << "vsolo-cli: " << message << "\n\n" << kUsage;
    return kExitError;
}

// Options may stand anywhere after the command; each takes one value.
std::optional<Arguments> parseArguments(int argc, char** argv, std::string& error) {
    static const std::map<std::string, std::vector<std::string>> kOptions = {
        {"levels", {"-o"}},
        {"export", {"--format", "--from", "--to", "-o"}},
        {"upgrade", {}},
        {"check", {"-o"}},
        {"pdf", {"--from", "--to", "--paper", "-o"}}};
    Arguments args;
    args.command = argv[1];
    const auto known = kOptions.find(args.command);
    if (known == kOptions.end()) {
        error = "unknown command '" + args.command + "'";
        return std::nullopt;
    }
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.size() > 1 && word[0] == '-') {
            const auto& allowed = known->second;
            if (std::find(allowed.begin(), allowed.end(), word) == allowed.end()) {
                error = "unknown option '" + word + "' for " + args.command;
                return std::nullopt;
            }
            if (i + 1 >= argc) {
                error = "option " + word + " needs a value";
                return std::nullopt;
            }
            args.options[word] = argv[++i];
        } else {
            args.positional.push_back(word);
        }
    }
    if (args.command == "pdf") {
        // The report comes first, so that later reports find their place beside the time sheet.
        if (args.positional.empty() || args.positional[0] != "timesheet") {
            error = "pdf takes a report: timesheet";
            return std::nullopt;
        }
        args.positional.erase(args.positional.begin());
    }
    if (args.positional.size() != 1) {
        error = args.command + " takes one TEMPLATE";
        return std::nullopt;
    }
    return args;
}

// Why a file operation failed, in the words of the file-error messages; the system's own
// description for the errors those have no text for.
std::string causeOf(const FileError& error, const std::string& path) {
    if (const auto text = fileErrorText(error, path); text && error.code != 0) {
        return *text;
    }
    return std::strerror(error.osError);
}

// Where the output goes: standard output, or a file written safely when -o is given. A failure
// is told once, with its cause.
class Output {
public:
    explicit Output(const Arguments& args) {
        const auto it = args.options.find("-o");
        if (it != args.options.end()) {
            m_path = it->second;
        }
    }

    bool open() {
        if (m_path.empty()) {
            return true;
        }
        FileError error;
        if (!m_writer.begin(m_path, error)) {
            std::cerr << "vsolo-cli: " << kExportCreateFailedText << " " << m_path << ": "
                      << causeOf(error, m_path) << '\n';
            return false;
        }
        return true;
    }

    bool write(std::string_view bytes) {
        if (m_path.empty()) {
            std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            return static_cast<bool>(std::cout);
        }
        return m_writer.write(bytes, m_error);
    }

    bool finish(bool wrote) {
        if (m_path.empty()) {
            std::cout.flush();
            if (wrote && std::cout) {
                return true;
            }
            std::cerr << "vsolo-cli: writing the output failed\n";
            return false;
        }
        if (wrote && m_writer.commit(m_error)) {
            return true;
        }
        std::cerr << "vsolo-cli: writing " << m_path << " failed";
        if (m_error.code != 0 || m_error.osError != 0) {
            std::cerr << ": " << causeOf(m_error, m_path);
        }
        std::cerr << '\n';
        return false;
    }

private:
    std::string m_path;
    AtomicFileWriter m_writer;
    FileError m_error;
};

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

class Session {
public:
    // Loads the template; false (after the message) when it is missing or damaged.
    bool loadTemplate(const std::string& path) {
        m_file.setPath(path);
        return told(m_file.load(path));
    }
    // Reads the transactions; false (after the message) when they cannot be read.
    bool loadTransactions() { return told(m_file.loadTransactions()); }
    int failureExit() const {
        return m_lastFailure == FileResult::What::Damaged ? kExitDamaged : kExitError;
    }
    TemplateFile& file() { return m_file; }

    // Tells the user what the result has for them and remembers a failure.
    bool told(const FileResult& result) {
        if (result.failed()) {
            m_lastFailure = result.what;
        }
        return tellUser(result);
    }

private:
    TemplateFile m_file;
    FileResult::What m_lastFailure = FileResult::What::Done;
};

int runLevels(const Arguments& args) {
    Session session;
    if (!session.loadTemplate(args.positional[0])) {
        return kExitError;
    }
    const TemplateFile& file = session.file();
    std::string out = "format\t" + std::to_string(static_cast<int>(file.format())) + "\tmanaged\t" +
                      (file.isManaged() ? "1" : "0") + "\tnext-group\t" +
                      std::to_string(file.store().nextGroupNumber()) + "\tnext-sub-id\t" +
                      std::to_string(file.store().nextSubId()) + "\ttype\t" +
                      escaped(file.typeText()) + "\n";
    for (const LevelList* list : {&file.level1(), &file.level2()}) {
        for (const auto& item : list->items()) {
            std::string assigned;
            for (const LevelItem* a : item->assigned()) {
                assigned += (assigned.empty() ? "" : ",") + std::to_string(a->subId());
            }
            out += std::to_string(list->level()) + "\t" + std::to_string(item->groupNumber()) +
                   "\t" + std::to_string(item->parentSubId()) + "\t" +
                   std::to_string(item->subId()) + "\t" + std::to_string(item->depth()) + "\t" +
                   (item->isActive() ? "1" : "0") + "\t" + std::to_string(item->target()) + "\t" +
                   escaped(item->name()) + "\t" + escaped(item->description()) + "\t" +
                   escaped(item->thirdText()) + "\t" + assigned + "\n";
        }
    }
    Output output(args);
    return output.open() && output.finish(output.write(out)) ? 0 : kExitError;
}

// The --from and --to bounds of a range, each optional; false with a message for a bad date.
bool rangeOptions(const Arguments& args, std::optional<TimeValue>& from,
                  std::optional<TimeValue>& to, std::string& error) {
    for (auto [name, bound] : {std::pair{"--from", &from}, std::pair{"--to", &to}}) {
        const auto it = args.options.find(name);
        if (it == args.options.end()) {
            continue;
        }
        TimeValue value;
        if (!value.parseDate(it->second)) {
            error = "invalid date '" + it->second + "' for " + name + " (expected M/D/YYYY)";
            return false;
        }
        *bound = value;
    }
    return true;
}

// The dates a range stands for. Both bounds are taken as given (the store exchanges reversed
// ones); a bound given alone reaches past the first or last day, never across the given one; no
// bound takes all days. Without any day the given bounds, or today, stand for themselves.
struct RangeDates {
    TimeValue from;
    TimeValue to;
};

RangeDates resolveRange(const TransactionStore& store, std::optional<TimeValue> from,
                        std::optional<TimeValue> to, TimeValue today) {
    if (store.empty()) {
        return {from.value_or(to.value_or(today)), to.value_or(from.value_or(today))};
    }
    const TimeValue first = store.day(0)->date();
    const TimeValue last = store.day(store.dayCount() - 1)->date();
    if (from && to) {
        return {*from, *to};
    }
    if (from) {
        return {*from, std::max(*from, last)};
    }
    if (to) {
        return {std::min(*to, first), *to};
    }
    return {first, last};
}

int runExport(const Arguments& args) {
    ExportFormat format = ExportFormat::CommaSeparated;
    if (const auto it = args.options.find("--format"); it != args.options.end()) {
        if (it->second == "txt") {
            format = ExportFormat::TabDelimited;
        } else if (it->second != "csv") {
            return usageError("unknown export format '" + it->second + "' (csv or txt)");
        }
    }
    std::optional<TimeValue> from, to;
    if (std::string error; !rangeOptions(args, from, to, error)) {
        return usageError(error);
    }
    Session session;
    if (!session.loadTemplate(args.positional[0]) || !session.loadTransactions()) {
        return kExitError;
    }
    TransactionStore& store = session.file().store();
    TransactionStore::DayRange range = store.allDays();
    if ((from || to) && !range.empty()) {
        const RangeDates dates = resolveRange(store, from, to, systemClock().today());
        range = store.dayRange(dates.from, dates.to);
    }
    // The error marks are not stored; they are worked out again as the time sheet does.
    store.markErrors(range);
    Output output(args);
    if (!output.open()) {
        return kExitError;
    }
    const bool wrote =
        writeExport(session.file(), range, format,
                    [&output](std::string_view bytes) { return output.write(bytes); });
    return output.finish(wrote) ? 0 : kExitError;
}

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

int runPdf(const Arguments& args) {
    const auto output = args.options.find("-o");
    if (output == args.options.end() || output->second.empty()) {
        return usageError("pdf needs -o FILE.pdf");
    }
    QPageSize::PageSizeId paper = QPageSize::Letter;
    if (const auto it = args.options.find("--paper"); it != args.options.end()) {
        if (it->second == "a4") {
            paper = QPageSize::A4;
        } else if (it->second != "letter") {
            return usageError("unknown paper '" + it->second + "' (letter or a4)");
        }
    }
    std::optional<TimeValue> from, to;
    if (std::string error; !rangeOptions(args, from, to, error)) {
        return usageError(error);
    }
    Session session;
    const std::string& templatePath = args.positional[0];
    if (!session.loadTemplate(templatePath) || !session.loadTransactions()) {
        return kExitError;
    }
    const Clock& clock = systemClock();
    const RangeDates dates = resolveRange(session.file().store(), from, to, clock.today());
    // Marks the errors of the range's days again, as the time sheet does when it is filled.
    TimeSheetRows rows;
    rows.rebuild(session.file().store(), dates.from, dates.to);

    PdfApplication application;
    const auto [level1Title, level2Title] = trackerLevelTitles();
    TimeSheetPrint print(rows, session.file(), level1Title, level2Title, clock,
                         absolutePath(templatePath));
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(QStringLiteral("Time sheet"));
        writer.setCreator(QStringLiteral("vsolo-cli"));
        if (!printReport(print, writer)) {
            std::cerr << "vsolo-cli: the time sheet could not be drawn\n";
            return kExitError;
        }
    }
    Output out(args);
    const QByteArray& bytes = pdf.data();
    return out.open() && out.finish(out.write(std::string_view(
                             bytes.constData(), static_cast<std::size_t>(bytes.size()))))
               ? 0
               : kExitError;
}

int runUpgrade(const Arguments& args) {
    Session session;
    const std::string& path = args.positional[0];
    if (!session.loadTemplate(path)) {
        return kExitError;
    }
    TemplateFile& file = session.file();
    if (file.format() != TemplateFormat::Tag768) {
        std::cerr << "vsolo-cli: " << path << " is a format " << static_cast<int>(file.format())
                  << " template; nothing to convert\n";
        return 0;
    }
    // As the tracker does on opening it: the lists sorted by name, then the conversion.
    file.level1().sortByName();
    file.level2().sortByName();
    tellUser(kVersion3ConversionText);
    return session.told(file.convertVersion3()) ? 0 : kExitError;
}

int runCheck(const Arguments& args) {
    Session session;
    if (!session.loadTemplate(args.positional[0])) {
        return session.failureExit();
    }
    if (!session.loadTransactions()) {
        return session.failureExit();
    }
    TemplateFile& file = session.file();
    const std::string out = "items\t" +
                            std::to_string(file.level1().size() + file.level2().size()) +
                            "\ntransactions\t" + std::to_string(file.store().count()) + "\n";
    Output output(args);
    if (!output.open() || !output.finish(output.write(out))) {
        return kExitError;
    }
    // Standard error has said which file and that the record was left out.
    return file.leftOutIncompleteRecord() ? kExitDamaged : 0;
}

int run(int argc, char** argv) {
    if (argc < 2) {
        return usageError("no command given");
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        std::cout << kUsage;
        return 0;
    }
    std::string error;
    const auto args = parseArguments(argc, argv, error);
    if (!args) {
        return usageError(error);
    }
    if (args->command == "levels") {
        return runLevels(*args);
    }
    if (args->command == "export") {
        return runExport(*args);
    }
    if (args->command == "upgrade") {
        return runUpgrade(*args);
    }
    if (args->command == "pdf") {
        return runPdf(*args);
    }
    return runCheck(*args);
}

} // namespace
} // namespace vsolo

int main(int argc, char** argv) {
    try {
        return vsolo::run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "vsolo-cli: " << e.what() << '\n';
        return 2;
    }
}
