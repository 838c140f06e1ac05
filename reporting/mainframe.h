#pragma once

#include "reporting/data/reportingdocument.h"
#include "reporting/data/reportsettings.h"
#include "reporting/reportselection.h"

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QAction;
class QPrinter;
class QShortcut;
class QToolBar;

namespace vsolo {
class Clock;
class Prompter;
class SettingsStore;
} // namespace vsolo

namespace vsolo::reporting {

class CReportWnd;
class CVSReportView;

// The tool's three terms, as the settings hold them.
struct Terms {
    QString client = QStringLiteral("Clients");
    QString rate = QStringLiteral("Rates");
    QString expense = QStringLiteral("Expenses");
};

// The dialogs the Edit menu opens. Each runs modally over `parent` and returns when it is closed;
// the managers change the data as the user works.
class ReportEditors {
public:
    virtual ~ReportEditors() = default;
    virtual void rates(QWidget* parent) = 0;
    virtual void expenses(QWidget* parent) = 0;
    virtual void clients(QWidget* parent) = 0;
    // True when the settings were changed, so that the terms are shown anew.
    virtual bool preferences(QWidget* parent) = 0;
    virtual Terms terms() const = 0;
};

// The reporting tool's single window. It shows one view at a time, each with its own toolbar:
// the main form with the menus, the report selection form, or one of the five reports. Closing
// the window steps back (a report to the selection, the selection to the main form); only the
// main form closes the program.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // The views, numbered as the reports' kinds for the five reports.
    enum class ViewType {
        Main = 1,
        Selection = 2,
        Projects = 3,
        Clients = 4,
        Expenses = 5,
        Invoice = 6,
        Rates = 7
    };

    // Readies the printer for a print job, as the print dialog does; false when the user
    // cancelled. `parent` is the window the dialog belongs to.
    using PrinterSetup = std::function<bool(QPrinter& printer, QWidget* parent)>;

    enum class Command {
        New,
        Open,
        Save,
        Exit,
        Rates,
        Expenses,
        Clients,
        Preferences,
        CreateReports,
        HelpContents,
        HelpOnReports,
        ReturnToMain,
        Preview,
        ReturnToPrevious,
        Print,
    };

    // `store` is the tool's own settings store, where the window placement lives; `settings` the
    // record the report selection and the reports read and change; the footers are dated by
    // `clock`.
    CMainFrame(ReportingDocument& doc, Prompter& prompter, SettingsStore& store,
               ReportEditors& editors, ReportSettings& settings, const Clock& clock);
    ~CMainFrame() override;

    // The document's new and open, their messages shown and the form refilled. Neither asks to
    // save changes: the commands do that first.
    // With `transactionsAfterPaint` (the start-up) the transactions are read once the window has
    // been painted; until then a status bar says so and no report can be made.
    void newDocument(const std::optional<std::string>& templateLocation,
                     bool transactionsAfterPaint = false);
    void openTemplate(const QString& path, bool transactionsAfterPaint = false);
    // Reads the transactions a start-up left pending, at once, and tells their messages.
    void takeInPendingTransactions();
    // Writes the reporting file; false when it was not written (no template is open, the user
    // declined to overwrite a damaged file, or the write failed; each is told).
    bool save();
    // Asks "Save changes to ...?" when the document of a template is modified; false when the
    // user cancelled or the save failed.
    bool mayDiscardDocument();

    QAction* action(Command command) const;
    // The view of each type; nullptr while another is shown.
    CVSReportView* view() const { return m_view; }
    CReportView* selectionForm() const { return m_selectionForm; }
    CReportWnd* reportView() const { return m_report; }
    ViewType viewType() const { return m_viewType; }
    // What the reports cover, as the last preview chose it.
    const ReportSelection& selection() const { return m_selection; }

    // Shows the view of the type. The window's rectangle is stored under the name of the view
    // it leaves and, for the main and the selection form, restored from that of the new one; a
    // report maximizes the window while it is shown. A report without pages is not shown: the
    // selection stays, with "No data..." told.
    void switchView(ViewType type);
    // The report of the selection form's row, when it may be shown.
    void preview();
    void print();
    // Replaces the print dialog.
    void setPrinterSetup(PrinterSetup setup) { m_printerSetup = std::move(setup); }

    // The name a view's window rectangle is stored under.
    static std::string_view placementName(ViewType type);
    // Places the window from the stored rectangle, pulled onto a screen when it lies outside.
    void restorePlacement();
    void savePlacement();
    void updateCommands();
    void applyTerms();
    // The program may end while the selection form is shown without the window being closed:
    // writes what the form holds, as leaving it does, and tells of a failed write, since the
    // values are lost with it. Called once the event loop has ended, while the window is there.
    void saveAtExit();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Reads the pending transactions after the first paint.
    void awaitTransactions();
    bool isReport() const { return m_viewType >= ViewType::Projects; }
    void storeRect(std::string_view name);
    void restoreRect(std::string_view name);
    void showView(ViewType type, QWidget* view);
    void createMainForm();
    ReportRequest requestFor(ReportKind kind) const;
    QAction* addCommand(QMenu* menu, Command command, const QString& text,
                        const QKeySequence& key = {});
    void runEditor(Command command);
    void chooseTemplate();
    void showMessages(const std::vector<ReportingResult>& messages);
    void refill();
    void updateTitle();

    ReportingDocument& m_doc;
    Prompter& m_prompter;
    SettingsStore& m_store;
    ReportEditors& m_editors;
    ReportSettings& m_settings;
    const Clock& m_clock;
    ViewType m_viewType = ViewType::Main;
    CVSReportView* m_view = nullptr;
    CReportView* m_selectionForm = nullptr;
    CReportWnd* m_report = nullptr;
    ReportSelection m_selection;
    PrinterSetup m_printerSetup;
    QHash<int, QAction*> m_actions;
    // The keys of the main form's commands, and those of a report (Print, Escape).
    std::vector<QShortcut*> m_mainKeys;
    std::vector<QShortcut*> m_reportKeys;
    QToolBar* m_mainTools = nullptr;
    QToolBar* m_selectionTools = nullptr;
    QToolBar* m_reportTools = nullptr;
    std::unique_ptr<QObject> m_afterFirstPaint;
};

} // namespace vsolo::reporting
