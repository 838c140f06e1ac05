#pragma once

#include "core/base/placeholders.h"
#include "core/base/usertext.h"
#include "core/fileerror.h"
#include "core/idle.h"
#include "core/model/templatefile.h"
#include "core/settings.h"
#include "core/tracker.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vsolo {

inline constexpr const char* kLevelWithoutChildrenText =
    VSOLO_TR("All %s(s) added must contain at least one %s.");
inline constexpr const char* kDeleteTemplateText = VSOLO_TR(
    "Delete the %1 file?\r\n\r\nIf yes, you will erase this file. Delete?\r\n\r\nNOTE: To delete "
    "%2(s) or %3(s), use Edit Levels/Targets in the Edit menu.");
// Shown when the settings file did not take the folder a local copy came from, or its removal.
inline constexpr const char* kLocalCopyNotRememberedText = VSOLO_TR(
    "The settings file could not be written, so the switch between the local copy and the "
    "template's own folder could not be remembered. Check that the folder of the settings file "
    "exists and that you may write to it.");

// Told when a finished transaction could not be stored. %1 date, %2 start, %3 end, %4 the
// transaction file, %5 why. Unless the error ends the program, kTimeKeptText follows.
inline constexpr const char* kTimeNotStoredText =
    VSOLO_TR("The time tracked on %1 from %2 to %3 could not be stored in %4:\r\n\r\n%5");
inline constexpr const char* kTimeKeptText = VSOLO_TR(
    "\r\n\r\nThe time is kept. Veltimo Solo stores it as soon as the file takes it: it tries "
    "again every minute and when tracking next stops.");
// Asked before quitting while such time is held. %1 the transaction file, %2 why, %3 the held
// transactions, one line each (kHeldTransactionText), %4 the recovery file; the second text where
// the recovery file could not be written either.
inline constexpr const char* kQuitWithTimeKeptText = VSOLO_TR(
    "Tracked time could not be stored in %1 yet:\r\n\r\n%2\r\n\r\n%3\r\n\r\nIf you quit now, "
    "the time stays in the file %4 and is offered the next time this template is opened.\r\n\r\n"
    "Quit anyway?");
inline constexpr const char* kQuitWithTimeLostText = VSOLO_TR(
    "Tracked time could not be stored in %1 yet:\r\n\r\n%2\r\n\r\n%3\r\n\r\nIf you quit now, "
    "the time is lost: the file %4 that would keep it could not be written either.\r\n\r\nQuit "
    "anyway?");
// One held transaction: %1 date, %2 start, %3 end ("03/15/2024 from 9:14 to 9:30").
inline constexpr const char* kHeldTransactionText = VSOLO_TR("%1 from %2 to %3");
// Told after the file's own message when the template was saved but the transaction file could
// not be rewritten to give moved level items their recorded time; the next save tries again.
inline constexpr const char* kMovedTimeNotMovedText = VSOLO_TR(
    "The changes to the levels were saved, but the recorded time of the moved items could not go "
    "along with them yet and shows under \"?\" for now. Save again to move it.");

// Keeps one hook of a document installed while it lives. Its owner holds it as a member, so
// that the hook goes when the owner goes: destroying or resetting the handle silences the hook at
// once, and a receiver installed in its place later is not touched. The handle refers to nothing
// in the document, so it may be destroyed before or after the document. Move-only.
class HookHandle {
public:
    HookHandle() = default;
    HookHandle(HookHandle&&) noexcept = default;
    HookHandle& operator=(HookHandle&&) noexcept = default;
    HookHandle(const HookHandle&) = delete;
    HookHandle& operator=(const HookHandle&) = delete;
    ~HookHandle() = default;

    void reset() { m_token.reset(); }

private:
    template <class Signature>
    friend class DocumentHook;
    explicit HookHandle(std::shared_ptr<const void> token) : m_token(std::move(token)) {}

    std::shared_ptr<const void> m_token;
};

// One notification the document sends to the program around it, with at most one receiver. The
// receiver is heard while the handle that install() returned lives; without one the hook does
// nothing and answers a default value (false), as an undelivered notification would.
template <class Signature>
class DocumentHook;

template <class R, class... Args>
class DocumentHook<R(Args...)> {
public:
    // Replaces any receiver installed before.
    [[nodiscard]] HookHandle install(std::function<R(Args...)> receiver) {
        auto token = std::make_shared<int>(0);
        m_receiver = std::move(receiver);
        m_token = token;
        return HookHandle(std::move(token));
    }

    explicit operator bool() const { return m_receiver && !m_token.expired(); }

    R operator()(Args... args) const {
        if (!*this) {
            return R();
        }
        return m_receiver(args...);
    }

private:
    std::function<R(Args...)> m_receiver;
    std::weak_ptr<const void> m_token;
};

// What the document asks of the program around it.
struct DocumentHooks {
    // Told after the document reset its tracking engine's running transaction (items, keys,
    // description, last end) for a template that is emptied or opened.
    DocumentHook<void()> resetRunningTransaction;
    // Told the last transaction of today after the document handed it to its tracking engine,
    // whose end "Start from Last" uses.
    DocumentHook<void(const Transaction&)> takeLastTransactionOfToday;
    // Looks in the mailbox for assignment updates: told after a managed template was read, while
    // "RemoteAssignments" is on, and never after an open that failed.
    DocumentHook<void()> checkAssignmentUpdates;
    // Refreshes the main form's item tree after an open.
    DocumentHook<void()> refreshMainForm;
    // Whether the level editor is the active view, and clearing its modified flag after a save.
    DocumentHook<bool()> levelEditorActive;
    DocumentHook<void()> clearLevelEditorModified;
    // Refreshes every view after the template was replaced under them.
    DocumentHook<void()> refreshAllViews;
    // A transaction was added to the transactions a view holds (tracking stopped meanwhile).
    DocumentHook<void()> transactionsChanged;
};

// The tracker's single document: one template with its transactions and the tracking engine that
// records time against it. It lives for the whole run and is emptied and refilled by the file
// commands. Messages go through the prompter; a file error that ends the program calls the quit
// request the program provided.
//
// The document is the engine's main target: it stores every finished transaction. While tracking
// runs it keeps the running transaction in the template's recovery file, so that a crash, a power
// cut or a killed process loses none of it; the next open of the template offers to store what the
// file holds.
class CSoloDoc : public TrackerListener {
public:
    CSoloDoc(Settings& settings, Prompter& prompter, std::function<void()> requestQuit,
             const Clock& clock = systemClock());
    CSoloDoc(const CSoloDoc&) = delete;
    CSoloDoc& operator=(const CSoloDoc&) = delete;

    // A receiver is installed with hooks().name.install(...); it is heard while the returned
    // handle lives.
    DocumentHooks& hooks() { return m_hooks; }
    TemplateFile& templateFile() { return m_template; }
    const TemplateFile& templateFile() const { return m_template; }
    Settings& settings() { return m_settings; }
    Prompter& prompter() { return m_prompter; }
    const FileErrorReporter& reporter() const { return m_reporter; }
    Tracker& tracker() { return m_tracker; }
    const Tracker& tracker() const { return m_tracker; }
    const std::string& path() const { return m_template.path(); }
    bool hasPath() const { return !m_template.path().empty(); }

    // The transactions held for a view differ from the file (the time sheet sets it).
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // Set by every save that passes its checks; the level editor clears it once it has used it.
    bool lastSaveWentThrough() const { return m_lastSaveWentThrough; }
    void clearLastSaveWentThrough() { m_lastSaveWentThrough = false; }

    // Remembers the current template as the one to reopen, then resets the template and the
    // running transaction. The program runs it before a new or opened document is filled. Time
    // still being tracked is stopped and stored first, so that it never moves to another template.
    void empty();
    // empty(), then an empty template with the current level titles.
    void newDocument();
    // On failure the document is left empty and unnamed. When the template's recovery file holds
    // time that was not stored, asks for each piece whether to store it.
    bool open(const std::string& path);
    // open() in two steps, so that a window can show the items before the transaction file is
    // read: openTemplate() reads the template alone (the assignment check and the main form's
    // refresh included) and leaves the transactions pending; takeInTransactions() then does the
    // rest of open() (the last transaction of today, recovered time, a version-3 conversion) and
    // refreshes the main form again. Nothing that needs the transactions may run between the two.
    bool openTemplate(const std::string& path);
    void takeInTransactions();
    bool transactionsPending() const { return m_transactionsPending; }
    // Saves the template under the path; under a new path the transactions are copied with it and
    // the old files stay. The key changes pending for moved level items are given to the unsent
    // transactions after the template is written, so that the transaction file never holds
    // numbers that no written template gave out. When that rewrite fails, the template stays
    // written, the user is told, the save gives false (the level editor keeps its changes) and
    // the key changes stay pending for the next save. A running transaction of a moved item takes
    // its new keys with a save that went through.
    bool save(const std::string& path);
    // Reads the template again, dropping the level editor's changes with the key changes pending
    // for them; a document without a file keeps the time it holds and loses its lists.
    void discardLevelChanges();
    // "&Delete": asks first; on Yes leaves an empty, unnamed document and removes the template, its
    // transaction file and its side file, and the remembered location.
    bool deleteTemplate();
    // Appends to the transaction file. A store that a view holds receives it too, so that the
    // view's save keeps it; a document without a file keeps it in the store until its first save.
    bool appendFinishedTransaction(const Transaction& t);
    // The switch to a local copy and back ("Use file on Local Drive"). The local folder is the
    // per-user data folder, given by the program.
    bool usingLocalCopy() const { return !m_settings.oldLocation().empty(); }
    // A switch to the local copy that the settings cannot remember is told and undone, because
    // nothing would bring the local records home; a switch back is told and stays done.
    bool switchToLocalCopy(const std::string& localFolder);
    bool switchBackFromLocalCopy();
    // The level editor takes a document without a file as an empty version-4 template.
    void prepareForLevelEditing();

    // The engine's main target: code 6 stores the running transaction.
    int trackerNotify(Tracker& tracker, int code, int value) override;
    // Finished transactions the transaction file would not take. They stay in the recovery file,
    // are appended again at the next store, and are offered when the template is next opened.
    // Each is told once when its store fails, and is stored, without a word, at the first
    // whole-minute tick or stop after which the file takes it.
    const std::vector<Transaction>& unstoredTransactions() const { return m_unstored; }
    // Whether the program may quit: true at once when no time is held unstored (after one more
    // try) or when a file error ends the program; else the user is asked.
    bool mayQuit();
    std::string recoveryPath() const { return TemplatePaths::recoveryFile(path()); }

    // The watch for time tracked while the user is away; the program gives it its source.
    IdleWatch& idleWatch() { return m_idle; }
    const IdleWatch& idleWatch() const { return m_idle; }
    // Polls the watch with the user's settings; true when the question, with the items' names,
    // is to be put now.
    bool pollIdle();
    // Applies the user's answer to the open question; nothing happens without one. Stop at and
    // Discard and go on end the tracked time where input stopped: parts the midnight split stored
    // meanwhile are shortened or removed through the transaction file's rewrite, then the running
    // transaction ends (stored, or dropped when it began after input stopped). When the rewrite
    // fails, it is told and everything stays as with Keep. False then, or without a question.
    bool answerIdle(IdleAnswer answer);

private:
    // Ends the split parts at `stopped` (date and time): the one it falls in is shortened, the
    // later ones go. Parts still held unstored change where they are held.
    bool cutSplitParts(const std::vector<Transaction>& parts, TimeValue stopped);
    void resetTemplate();
    // Gives the pending key changes to the unsent transactions (the file's, read for the save,
    // unless a view holds them) and writes them; the changes stay pending when that fails.
    bool rekeyAfterTemplateSave(bool heldByView);
    // The part of open() that reads the template alone.
    bool loadTemplate(const std::string& path);
    // Stable, so that a second sort changes nothing.
    void sortLevelsByName();
    bool everyLevel1ItemHasChildren() const;
    // The template's copy: a target refused because it exists is kept; any other failure is
    // reported and stops the switch.
    bool copyForLocalSwitch(const std::string& from, const std::string& to, bool overwrite);
    // The copy of the transaction or the side file: a missing source is nothing to copy, any other
    // failure is reported and stops the switch.
    bool copyRecordsForLocalSwitch(const std::string& from, const std::string& to);

    // The engine's state for a template that is being replaced.
    void endTrackingOfTemplate();
    void resetTracking();
    void takeLastTransactionOfToday();
    // Appends as appendFinishedTransaction() does, and gives the result untold.
    FileResult appendUntold(const Transaction& t);
    void storeFinished(const Transaction& t);
    // Stores what is held, in order, until a store fails; nothing is told.
    void retryUnstored();
    void retryAtMinute();
    // The recovery file: the unstored transactions and, when given, the running one.
    void writeRecovery(const Transaction* running);
    void trackingStopped();
    void removeRecovery();
    void reportRecoveryFailure(const std::string& file, const FileError& error);
    void offerRecoveredTime();
    void reportUnusableRecovery(const std::string& file, const std::string& detail);

    Settings& m_settings;
    Prompter& m_prompter;
    FileErrorReporter m_reporter;
    TemplateFile m_template;
    DocumentHooks m_hooks;
    bool m_lastSaveWentThrough = false;
    bool m_modified = false;
    // Between openTemplate() and takeInTransactions().
    bool m_transactionsPending = false;
    Tracker m_tracker;
    IdleWatch m_idle;
    std::vector<Transaction> m_unstored;
    // Why the last store failed, for the question before quitting.
    std::string m_unstoredCause;
    // The last write of the recovery file went through, so it holds what is unstored.
    bool m_recoveryCurrent = false;
    // A file error ended the program: quitting is not up to the user.
    bool m_quitForced = false;
    // The recovery file this document last wrote; only that one is ever removed.
    std::string m_recoveryWritten;
    // Set while a recovery file that could not be read sits where a new one would go.
    bool m_recoveryBlocked = false;
    bool m_recoveryFailureReported = false;
};

// The version-3 conversion as the user sees it: told first that the template is converted, then
// of anything that went wrong.
bool convertToVersion4(TemplateFile& file, const FileErrorReporter& reporter);

} // namespace vsolo
