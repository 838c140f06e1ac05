#pragma once

#include "reporting/data/reportingdocument.h"

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <optional>
#include <string>

class QAction;

namespace vsolo {
class Prompter;
class SettingsStore;
} // namespace vsolo

namespace vsolo::reporting {

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

// The reporting tool's single window: its menus, and the main form as its view.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
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
    };

    // `store` is the tool's own settings store, where the window placement lives.
    CMainFrame(ReportingDocument& doc, Prompter& prompter, SettingsStore& store,
               ReportEditors& editors);
    ~CMainFrame() override;

    // The document's new and open, their messages shown and the form refilled. Neither asks to
    // save changes: the commands do that first.
    void newDocument(const std::optional<std::string>& templateLocation);
    void openTemplate(const QString& path);
    // Writes the reporting file; false when it was not written (the user declined to overwrite a
    // damaged file, or the write failed and has been reported).
    bool save();
    // Asks "Save changes to ...?" when the document is modified; false when the user cancelled
    // or the save failed.
    bool mayDiscardDocument();

    QAction* action(Command command) const;
    CVSReportView* view() const { return m_view; }
    // Places the window from the stored rectangle, pulled onto a screen when it lies outside.
    void restorePlacement();
    void savePlacement();
    void updateCommands();
    void applyTerms();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
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
    CVSReportView* m_view;
    QHash<int, QAction*> m_actions;
};

} // namespace vsolo::reporting
