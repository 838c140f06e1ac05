#pragma once

#include "core/fileerror.h"
#include "core/settings.h"
#include "core/templatefile.h"

#include <functional>
#include <string>

namespace vsolo {

inline constexpr const char* kLevelWithoutChildrenText =
    "All %s(s) added must contain at least one %s.";
inline constexpr const char* kDeleteTemplateText =
    "Delete the %1 file?\r\n\r\nIf yes, you will erase this file. Delete?\r\n\r\nNOTE: To delete "
    "%2(s) or %3(s), use Edit Levels/Targets in the Edit menu.";

// What the document asks of the program around it. A hook that is not set does nothing and
// answers false, as an undelivered notification would.
struct DocumentHooks {
    // Clears the running transaction of the tracking engine: items, keys, description, last end.
    std::function<void()> resetRunningTransaction;
    // Hands the last transaction of today to the tracking engine, whose end "Start from Last" uses.
    std::function<void(const Transaction&)> takeLastTransactionOfToday;
    // Looks in the mailbox for assignment updates of a managed template.
    std::function<void()> checkAssignmentUpdates;
    // Refreshes the main form's item tree after an open.
    std::function<void()> refreshMainForm;
    // Whether the level editor is the active view, and clearing its modified flag after a save.
    std::function<bool()> levelEditorActive;
    std::function<void()> clearLevelEditorModified;
    // Refreshes every view after the template was replaced under them.
    std::function<void()> refreshAllViews;
};

// The tracker's single document: one template with its transactions. It lives for the whole run
// and is emptied and refilled by the file commands. Messages go through the prompter; a file error
// that ends the program calls the quit request the program provided.
class CSoloDoc {
public:
    CSoloDoc(Settings& settings, Prompter& prompter, std::function<void()> requestQuit,
             const Clock& clock = systemClock());
    CSoloDoc(const CSoloDoc&) = delete;
    CSoloDoc& operator=(const CSoloDoc&) = delete;

    DocumentHooks& hooks() { return m_hooks; }
    TemplateFile& templateFile() { return m_template; }
    const TemplateFile& templateFile() const { return m_template; }
    Settings& settings() { return m_settings; }
    Prompter& prompter() { return m_prompter; }
    const FileErrorReporter& reporter() const { return m_reporter; }
    const std::string& path() const { return m_template.path(); }
    bool hasPath() const { return !m_template.path().empty(); }

    // Set by every save that passes its checks; the level editor clears it once it has used it.
    bool lastSaveWentThrough() const { return m_lastSaveWentThrough; }
    void clearLastSaveWentThrough() { m_lastSaveWentThrough = false; }

    // Remembers the current template as the one to reopen, then resets the template and the
    // running transaction. The program runs it before a new or opened document is filled.
    void empty();
    // empty(), then an empty template with the current level titles.
    void newDocument();
    // On failure the document is left empty and unnamed.
    bool open(const std::string& path);
    // Saves the template under the path; under a new path the transactions are copied with it and
    // the old files stay.
    bool save(const std::string& path);
    // "&Delete": asks first; on Yes leaves an empty, unnamed document and removes the template, its
    // transaction file and its side file, and the remembered location.
    bool deleteTemplate();
    // Appends to the transaction file. A store that a view holds receives it too, so that the
    // view's save keeps it; a document without a file keeps it in the store until its first save.
    bool appendFinishedTransaction(const Transaction& t);
    // The switch to a local copy and back ("Use file on Local Drive"). The local folder is the
    // per-user data folder, given by the program.
    bool usingLocalCopy() const { return !m_settings.oldLocation().empty(); }
    bool switchToLocalCopy(const std::string& localFolder);
    bool switchBackFromLocalCopy();
    // The level editor takes a document without a file as an empty version-4 template.
    void prepareForLevelEditing();

private:
    void resetTemplate();
    bool everyLevel1ItemHasChildren() const;
    // A copy that went wrong: false when the program must stop the switch (an error that ends it).
    bool copyForLocalSwitch(const std::string& from, const std::string& to, bool overwrite,
                            bool reportOthers);
    // The transaction file's copy: a missing source is nothing to copy, any other failure is
    // reported and stops the switch.
    bool copyTransactionsForLocalSwitch(const std::string& from, const std::string& to);

    Settings& m_settings;
    Prompter& m_prompter;
    FileErrorReporter m_reporter;
    TemplateFile m_template;
    DocumentHooks m_hooks;
    bool m_lastSaveWentThrough = false;
};

// "%s", "%1", "%2"... filled in order or by number.
std::string fillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> values);

} // namespace vsolo
