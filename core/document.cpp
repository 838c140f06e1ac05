#include "core/document.h"

#include "core/base/bytes.h"
#include "core/base/fileio.h"
#include "core/model/recovery.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace vsolo {

namespace {

// Two names of one folder (a trailing '/' or another spelling of the same place).
bool sameFolder(const std::string& a, const std::string& b) {
    const std::string left = a.empty() ? "." : a;
    const std::string right = b.empty() ? "." : b;
    std::error_code ec;
    return left == right || std::filesystem::equivalent(left, right, ec);
}

// Whether the file starts with the version-4 transaction file header's format version.
bool startsAsVersion4(const std::string& path) {
    FileError error;
    LockedFile file = LockedFile::open(path, LockedFile::Mode::Read, error);
    char head[4] = {};
    return file.isOpen() && file.read(head, sizeof head, error) == 4 && loadI32(head) == 4;
}

} // namespace

bool convertToVersion4(TemplateFile& file, const FileErrorReporter& reporter) {
    reporter.prompter().show(tx(kVersion3ConversionText), Prompter::Icon::Information);
    return reporter.present(file.convertVersion3());
}

CSoloDoc::CSoloDoc(Settings& settings, Prompter& prompter, std::function<void()> requestQuit,
                   const Clock& clock)
    : m_settings(settings), m_prompter(prompter), m_reporter(prompter,
                                                             [this, quit = std::move(requestQuit)] {
                                                                 m_quitForced = true;
                                                                 if (quit) {
                                                                     quit();
                                                                 }
                                                             }),
      m_template(clock), m_tracker(clock, settings.dayStart()), m_idle(clock) {
    resetTemplate();
    m_tracker.setMainTarget(this);
    m_tracker.onRunning = [this](const Tracker& tracker) {
        if (hasPath()) {
            writeRecovery(&tracker.running());
        }
    };
    m_tracker.onStopped = [this](const Tracker& tracker) {
        if (!tracker.isSplittingDay()) {
            m_idle.trackingEnded();
        }
        trackingStopped();
    };
    m_tracker.onMinute = [this](const Tracker&) { retryAtMinute(); };
}

void CSoloDoc::resetTemplate() {
    m_transactionsPending = false;
    m_template.reset();
    m_template.level1().setTitle(m_settings.level1Title());
    m_template.level2().setTitle(m_settings.level2Title());
}

void CSoloDoc::endTrackingOfTemplate() {
    // The running transaction belongs to the template it was started on. The commands that replace
    // the template are disabled while tracking; for any other caller its time is stored where it
    // was tracked rather than carried, with the old keys, into the next template.
    m_tracker.forceStop();
}

void CSoloDoc::resetTracking() {
    m_tracker.reset();
    m_unstored.clear();
    m_recoveryCurrent = false;
    m_recoveryWritten.clear();
    m_recoveryBlocked = false;
    if (m_hooks.resetRunningTransaction) {
        m_hooks.resetRunningTransaction();
    }
}

void CSoloDoc::empty() {
    endTrackingOfTemplate();
    if (hasPath()) {
        m_settings.setTemplateLocation(path());
    }
    resetTemplate();
    resetTracking();
}

void CSoloDoc::newDocument() {
    empty();
}

void CSoloDoc::takeLastTransactionOfToday() {
    Transaction last;
    const bool found =
        m_reporter.present(m_template.lastTransactionOf(m_template.clock().today(), last));
    m_tracker.takeLastTransaction(found ? &last : nullptr);
    if (found && m_hooks.takeLastTransactionOfToday) {
        m_hooks.takeLastTransactionOfToday(last);
    }
}

bool CSoloDoc::loadTemplate(const std::string& path) {
    endTrackingOfTemplate();
    resetTracking();
    resetTemplate();
    m_template.setPath(path);
    if (!m_reporter.present(m_template.load(path))) {
        // Keeping the path would let the next save write an empty template over the file that
        // could not be read.
        resetTemplate();
        return false;
    }
    // Only the central server's templates receive assignment updates.
    if (m_template.isManaged() && m_settings.remoteAssignments() &&
        m_hooks.checkAssignmentUpdates) {
        m_hooks.checkAssignmentUpdates();
    }
    m_transactionsPending = true;
    return true;
}

void CSoloDoc::sortLevelsByName() {
    m_template.level1().sortByName();
    m_template.level2().sortByName();
}

bool CSoloDoc::open(const std::string& path) {
    if (!loadTemplate(path)) {
        return false;
    }
    takeInTransactions();
    return true;
}

bool CSoloDoc::openTemplate(const std::string& path) {
    if (!loadTemplate(path)) {
        return false;
    }
    // The items are shown in their order before the transactions are in; the sort in
    // takeInTransactions() then leaves them as they are.
    sortLevelsByName();
    if (m_hooks.refreshMainForm) {
        m_hooks.refreshMainForm();
    }
    return true;
}

void CSoloDoc::takeInTransactions() {
    if (!m_transactionsPending) {
        return;
    }
    m_transactionsPending = false;
    takeLastTransactionOfToday();
    // A version-3 template whose transaction file is in the version-4 layout already is one whose
    // conversion stopped between its two writes: it is finished before anything is added to the
    // file, and time tracked since then carries the new keys.
    const bool conversionStopped = m_template.format() == TemplateFormat::Tag768 &&
                                   startsAsVersion4(m_template.transactionPath());
    if (!conversionStopped) {
        // Before the version-3 conversion: recovered records carry the keys of the template as it
        // was when they were tracked, and the conversion re-keys them with the rest.
        offerRecoveredTime();
    }
    sortLevelsByName();
    if (m_template.format() == TemplateFormat::Tag768) {
        convertToVersion4(m_template, m_reporter);
    }
    if (conversionStopped) {
        offerRecoveredTime();
    }
    if (m_hooks.refreshMainForm) {
        m_hooks.refreshMainForm();
    }
}

bool CSoloDoc::everyLevel1ItemHasChildren() const {
    const LevelList& level1 = m_template.level1();
    const LevelList& level2 = m_template.level2();
    for (const auto& project : level1.items()) {
        bool hasChild = false;
        if (m_template.isTreeShape()) {
            for (const auto& item : level2.items()) {
                if (item->groupNumber() == project->groupNumber()) {
                    hasChild = true;
                    break;
                }
            }
        } else {
            hasChild = !project->assigned().empty();
        }
        if (!hasChild) {
            return false;
        }
    }
    return true;
}

bool CSoloDoc::save(const std::string& newPath) {
    const bool editorActive = m_hooks.levelEditorActive && m_hooks.levelEditorActive();
    if (editorActive && !everyLevel1ItemHasChildren()) {
        m_prompter.show(fillPlaceholders(tx(kLevelWithoutChildrenText),
                                         {m_settings.level1Title(), m_settings.level2Title()}),
                        Prompter::Icon::Warning);
        return false;
    }
    m_lastSaveWentThrough = true;
    const bool moving = !hasPath() || newPath != path();
    // Transactions a view holds stay with it; the others are only carried across.
    const bool heldByView = m_template.isLoaded() || !m_template.store().empty();
    const std::string oldPath = path();
    // A failed save leaves the document on its old files, and no store that a view does not hold:
    // a store left behind would hide later appends from the next view, which would then save over
    // them.
    const auto fail = [&] {
        m_template.setPath(oldPath);
        if (!heldByView) {
            m_template.unloadTransactions(false);
        }
        return false;
    };
    if (moving && hasPath()) {
        const bool oldFileThere = fileExists(m_template.transactionPath());
        // A missing old transaction file only means nothing was recorded yet; one that is there
        // but cannot be read must not be replaced by an empty copy under the new name.
        if (!m_reporter.present(m_template.loadTransactions()) && oldFileThere) {
            return fail();
        }
    }
    // Moved level items take their recorded time along in this save; without a transaction file
    // nothing was recorded. The file is read before the template is written, so that a file that
    // cannot be read stops the save with nothing written.
    TransactionStore::KeyChanges& keyChanges = m_template.pendingKeyChanges();
    const bool rekeyInPlace =
        !moving && !keyChanges.empty() && (heldByView || fileExists(m_template.transactionPath()));
    if (rekeyInPlace && !heldByView && !m_reporter.present(m_template.loadTransactions())) {
        return fail();
    }
    if (moving) {
        m_template.setPath(newPath);
    }
    if (!m_reporter.present(m_template.save(newPath))) {
        return fail();
    }
    if (moving) {
        if (!m_reporter.present(m_template.createEmptyTransactionFile())) {
            return fail();
        }
        m_template.store().rekeyUnsent(keyChanges);
        if (!m_template.store().empty() || m_template.isLoaded()) {
            if (!m_reporter.present(m_template.saveTransactions())) {
                return fail();
            }
        }
        if (!heldByView) {
            m_template.unloadTransactions(false);
        }
    } else if (rekeyInPlace && !rekeyAfterTemplateSave(heldByView)) {
        return fail();
    }
    // The time being tracked goes along too, or it would be stored under the old keys.
    const Transaction& running = m_tracker.running();
    if (const auto moved = keyChanges.find({running.level1Key(), running.level2Key()});
        m_tracker.isTracking() && moved != keyChanges.end()) {
        m_tracker.setItems(moved->second.first, moved->second.second);
        writeRecovery(&running);
    }
    keyChanges.clear();
    if (editorActive && m_hooks.clearLevelEditorModified) {
        m_hooks.clearLevelEditorModified();
    }
    return true;
}

bool CSoloDoc::rekeyAfterTemplateSave(bool heldByView) {
    m_template.store().rekeyUnsent(m_template.pendingKeyChanges());
    if (heldByView) {
        // The view's save writes them with its own changes.
        m_modified = true;
        if (m_hooks.transactionsChanged) {
            m_hooks.transactionsChanged();
        }
        return true;
    }
    // The rewrite every writer makes: what other programs stored meanwhile is kept, and a record
    // they changed that is re-keyed here is a conflict, with nothing written.
    const FileResult saved = m_template.saveTransactions();
    m_template.unloadTransactions(false);
    if (!m_reporter.present(saved)) {
        m_prompter.show(tx(kMovedTimeNotMovedText), Prompter::Icon::Warning);
        return false;
    }
    return true;
}

void CSoloDoc::discardLevelChanges() {
    if (!hasPath()) {
        // Time finished before the first save waits in the store; only the lists go.
        m_template.level1().clear();
        m_template.level2().clear();
        m_template.pendingKeyChanges().clear();
        prepareForLevelEditing();
        return;
    }
    const std::string file = path();
    m_template.reset();
    m_template.setPath(file);
    m_reporter.present(m_template.load(file));
}

bool CSoloDoc::deleteTemplate() {
    if (!hasPath()) {
        return false;
    }
    const std::string doomed = path();
    const auto answer =
        m_prompter.ask(fillPlaceholders(tx(kDeleteTemplateText), {doomed, m_settings.level1Title(),
                                                                  m_settings.level2Title()}),
                       Prompter::Buttons::YesNo, Prompter::Answer::No, Prompter::Icon::Stop);
    if (answer != Prompter::Answer::Yes) {
        return false;
    }
    newDocument();
    bool removed = true;
    // The recovery file goes with the transactions it belongs to; left behind, it would offer
    // their time to a later template of the same name.
    for (const std::string& file :
         {doomed, TemplatePaths::transactionFile(doomed), TemplatePaths::sideFile(doomed),
          TemplatePaths::recoveryFile(doomed)}) {
        FileError error;
        if (!removeFile(file, error)) {
            m_reporter.report(error, file);
            removed = false;
        }
    }
    m_settings.removeTemplateLocation();
    return removed;
}

bool CSoloDoc::appendFinishedTransaction(const Transaction& t) {
    // Without a file the transaction waits in the store, which the first save writes with the
    // template.
    if (!hasPath()) {
        m_template.store().add(t);
        return true;
    }
    return m_reporter.present(appendUntold(t));
}

FileResult CSoloDoc::appendUntold(const Transaction& t) {
    const bool held = m_template.isLoaded() || !m_template.store().empty();
    // A view holding the transactions finds the new one in its store (the template file object
    // puts it there).
    FileResult appended = m_template.appendTransaction(t);
    if (held && m_hooks.transactionsChanged) {
        m_hooks.transactionsChanged();
    }
    return appended;
}

bool CSoloDoc::copyForLocalSwitch(const std::string& from, const std::string& to, bool overwrite) {
    FileError error;
    if (copyFile(from, to, overwrite, error)) {
        return true;
    }
    // A managed template is the server's: the one already there is kept and the switch goes on.
    if (error.code == FileError::kFileExists) {
        return true;
    }
    // Going on would load the template left where the copy failed, without what the other one
    // holds.
    m_reporter.report(error, to);
    return false;
}

bool CSoloDoc::copyRecordsForLocalSwitch(const std::string& from, const std::string& to) {
    if (!fileExists(from)) {
        return true; // nothing recorded yet
    }
    FileError error;
    if (copyFile(from, to, true, error)) {
        return true;
    }
    // Going on would leave the records behind: the next switch deletes the local files, and a
    // local file started afresh would later be copied over the original.
    m_reporter.report(error, to);
    return false;
}

bool CSoloDoc::switchToLocalCopy(const std::string& localFolder) {
    if (!hasPath() || usingLocalCopy()) {
        return false;
    }
    std::string folder = localFolder;
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    const std::string original = path();
    // In its own folder the local transaction and side files are the originals; deleting them
    // first would destroy them.
    if (sameFolder(folderOf(original), folder)) {
        return false;
    }
    const std::string localTemplate =
        folder + fileNameOf(TemplatePaths::withExtension(original, "lcl"));
    const std::string localTransactions = folder + fileNameOf(m_template.transactionPath());
    const std::string localSide = folder + fileNameOf(m_template.sidePath());
    for (const std::string& file : {localTemplate, localTransactions, localSide}) {
        FileError ignored;
        removeFile(file, ignored);
    }
    if (!copyForLocalSwitch(original, localTemplate, true) || !fileExists(localTemplate) ||
        !copyRecordsForLocalSwitch(m_template.transactionPath(), localTransactions) ||
        !copyRecordsForLocalSwitch(m_template.sidePath(), localSide)) {
        return false; // stay with the original
    }
    if (!m_settings.setOldLocation(folderOf(original))) {
        m_prompter.show(tx(kLocalCopyNotRememberedText), Prompter::Icon::Warning);
        return false;
    }
    m_template.setPath(localTemplate);
    return true;
}

bool CSoloDoc::switchBackFromLocalCopy() {
    const std::string oldFolder = m_settings.oldLocation();
    if (oldFolder.empty() || !hasPath()) {
        return false;
    }
    const std::string local = path();
    const std::string target = oldFolder + fileNameOf(TemplatePaths::withExtension(local, "tpl"));
    if (!copyForLocalSwitch(local, target, !m_template.isManaged()) ||
        !copyRecordsForLocalSwitch(m_template.transactionPath(),
                                   TemplatePaths::transactionFile(target)) ||
        !copyRecordsForLocalSwitch(m_template.sidePath(), TemplatePaths::sideFile(target))) {
        return false;
    }
    resetTemplate();
    m_template.setPath(target);
    const bool loaded = m_reporter.present(m_template.load(target));
    if (!m_settings.setOldLocation("")) {
        m_prompter.show(tx(kLocalCopyNotRememberedText), Prompter::Icon::Warning);
    }
    if (m_hooks.refreshAllViews) {
        m_hooks.refreshAllViews();
    }
    return loaded;
}

void CSoloDoc::prepareForLevelEditing() {
    if (hasPath()) {
        return;
    }
    m_template.setFormat(TemplateFormat::Version4);
    m_template.store().setNextGroupNumber(1);
    m_template.store().setNextSubId(1);
    m_template.setTypeText(std::string(kTrackerTypeText));
}

int CSoloDoc::trackerNotify(Tracker& tracker, int code, int) {
    if (code != trackercode::kStore) {
        return 0;
    }
    storeFinished(tracker.running());
    if (tracker.isSplittingDay()) {
        m_idle.noteSplitPart(tracker.running());
    }
    return 1;
}

void CSoloDoc::storeFinished(const Transaction& t) {
    if (!hasPath()) {
        appendFinishedTransaction(t);
        return;
    }
    // The recovery file first holds exactly what is about to be appended: a program that ends
    // between the append and the file's removal leaves a record the next open recognises as
    // stored, instead of one that would be stored twice.
    writeRecovery(&t);
    const FileResult stored = appendUntold(t);
    if (stored) {
        retryUnstored();
        return;
    }
    m_unstored.push_back(t);
    if (stored.what != FileResult::What::FileError) {
        const std::vector<FileMessage> messages = messagesOf(stored);
        m_unstoredCause = messages.empty() ? std::string() : messages.back().text;
        m_reporter.present(stored);
        return;
    }
    m_unstoredCause = fileErrorCause(stored.error, stored.path);
    std::string told = fillPlaceholders(tx(kTimeNotStoredText),
                                        {t.date().shortDate(), t.start().clockTimeNoPad(),
                                         t.end().clockTimeNoPad(), stored.path, m_unstoredCause});
    // After an error that ends the program the recovery file keeps the time for the next open;
    // no try comes before that.
    if (!fileErrorEndsProgram(stored.error)) {
        told += tx(kTimeKeptText);
    }
    m_reporter.present(stored, told);
}

bool CSoloDoc::pollIdle() {
    if (!m_idle.poll(m_tracker, m_settings.idleAsk(), m_settings.idleMinutes())) {
        return false;
    }
    const Transaction& running = m_tracker.running();
    const bool tree = m_template.isTreeShape();
    m_idle.nameItems(std::string(level1Name(running, m_template.level1(), tree)),
                     std::string(level2Name(running, m_template.level2(), tree)));
    return true;
}

bool CSoloDoc::answerIdle(IdleAnswer answer) {
    if (!m_idle.question()) {
        return false;
    }
    const TimeValue stopped = m_idle.question()->inputStopped;
    if (answer == IdleAnswer::Keep || !m_tracker.isTracking()) {
        m_idle.close();
        return true;
    }
    const Transaction& running = m_tracker.running();
    TimeValue end = stopped.timeOfDay();
    if (stopped < running.date() + running.start()) {
        // Input stopped on an earlier day: that day's part is cut first, so that a failure leaves
        // every part as it was. Today's part then has no length and is not stored.
        if (!cutSplitParts(m_idle.splitParts(), stopped)) {
            m_idle.close();
            return false;
        }
        end = running.start();
    }
    m_idle.close();
    m_tracker.endAt(end, answer == IdleAnswer::DiscardAndGoOn);
    return true;
}

bool CSoloDoc::cutSplitParts(const std::vector<Transaction>& parts, TimeValue stopped) {
    // Where each part goes: shortened to end at `stopped`, or away (nullopt).
    auto cut = [stopped](const Transaction& t) -> std::optional<Transaction> {
        if (!(stopped < t.date() + t.start())) {
            Transaction shorter = t;
            shorter.setEnd(stopped.timeOfDay());
            return shorter;
        }
        return std::nullopt;
    };
    auto same = [](const Transaction& a, const Transaction& b) {
        return a.sameTime(b) && a.level1Key() == b.level1Key() && a.level2Key() == b.level2Key() &&
               a.description() == b.description();
    };
    std::vector<Transaction> inFile;
    for (const Transaction& part : parts) {
        if (!(stopped < part.date() + part.end())) {
            continue;
        }
        const auto held = std::find_if(m_unstored.begin(), m_unstored.end(),
                                       [&](const Transaction& t) { return same(t, part); });
        if (held == m_unstored.end()) {
            inFile.push_back(part);
        } else if (auto shorter = cut(part)) {
            *held = *shorter;
        } else {
            m_unstored.erase(held);
        }
    }
    if (inFile.empty()) {
        return true;
    }
    // The rewrite the time sheet's save makes: what other programs stored meanwhile is kept. A
    // view that holds the transactions writes the change with its own save.
    const bool heldByView = m_template.isLoaded() || !hasPath();
    if (hasPath() && !m_template.isLoaded() && !m_reporter.present(m_template.loadTransactions())) {
        m_template.unloadTransactions(false);
        return false;
    }
    TransactionStore& store = m_template.store();
    for (const Transaction& part : inFile) {
        const Day* day = store.findDay(part.date());
        const Transaction* stored = nullptr;
        for (std::size_t i = 0; day && i < day->size() && !stored; ++i) {
            stored = same(*day->at(i), part) ? day->at(i) : nullptr;
        }
        // Changed or removed in the time sheet meanwhile: the user's own change stands.
        if (!stored) {
            continue;
        }
        if (auto shorter = cut(*stored)) {
            store.update(stored, *shorter);
        } else {
            store.remove(stored);
        }
    }
    if (heldByView) {
        m_modified = m_modified || hasPath();
        if (m_hooks.transactionsChanged) {
            m_hooks.transactionsChanged();
        }
        return true;
    }
    const FileResult saved = m_template.saveTransactions();
    m_template.unloadTransactions(false);
    return m_reporter.present(saved);
}

void CSoloDoc::retryAtMinute() {
    if (m_unstored.empty()) {
        return;
    }
    retryUnstored();
    // While tracking runs the recovery file is written next, with the running transaction.
    if (!m_tracker.isTracking()) {
        trackingStopped();
    }
}

bool CSoloDoc::mayQuit() {
    if (!m_unstored.empty()) {
        retryUnstored();
        if (!m_tracker.isTracking()) {
            trackingStopped();
        }
    }
    if (m_unstored.empty() || m_quitForced) {
        return true;
    }
    std::string held;
    for (const Transaction& t : m_unstored) {
        held += (held.empty() ? "" : "\r\n") +
                fillPlaceholders(
                    tx(kHeldTransactionText),
                    {t.date().shortDate(), t.start().clockTimeNoPad(), t.end().clockTimeNoPad()});
    }
    const char* text = m_recoveryCurrent ? kQuitWithTimeKeptText : kQuitWithTimeLostText;
    return m_prompter.ask(fillPlaceholders(tx(text), {m_template.transactionPath(), m_unstoredCause,
                                                      held, recoveryPath()}),
                          Prompter::Buttons::YesNo, Prompter::Answer::No,
                          Prompter::Icon::Warning) == Prompter::Answer::Yes;
}

void CSoloDoc::retryUnstored() {
    // While a view holds the transactions, its save rewrites the whole file, and its store may
    // already hold a failed one (it took it in when the append failed): appending now could store
    // it twice. The retry waits until no view holds them.
    if (!hasPath() || m_template.isLoaded() || !m_template.store().empty()) {
        return;
    }
    while (!m_unstored.empty()) {
        const Transaction& t = m_unstored.front();
        if (!transactionFileHolds(m_template.transactionPath(), m_template.transactionLayout(),
                                  t) &&
            !m_template.appendTransaction(t)) {
            return;
        }
        m_unstored.erase(m_unstored.begin());
    }
}

void CSoloDoc::writeRecovery(const Transaction* running) {
    if (m_recoveryBlocked) {
        return;
    }
    std::vector<Transaction> records = m_unstored;
    if (running) {
        records.push_back(*running);
    }
    const std::string file = recoveryPath();
    FileError error;
    FileError overwriteError;
    // A full disk takes no new file, but still the same bytes written over the old one's, so
    // that the file says what is to be stored rather than what it said when space ran out.
    if (!writeRecoveryFile(file, records, error) &&
        !(isOutOfSpace(error) && overwriteRecoveryFile(file, records, overwriteError))) {
        m_recoveryCurrent = false;
        reportRecoveryFailure(file, error);
        return;
    }
    m_recoveryCurrent = true;
    // The template moved (a switch to or from the local copy): the file at the old place holds
    // older times of the same transaction.
    if (!m_recoveryWritten.empty() && m_recoveryWritten != file) {
        FileError ignored;
        removeFile(m_recoveryWritten, ignored);
    }
    m_recoveryWritten = file;
}

void CSoloDoc::trackingStopped() {
    if (m_unstored.empty()) {
        removeRecovery();
    } else if (hasPath()) {
        writeRecovery(nullptr);
    }
}

void CSoloDoc::removeRecovery() {
    if (m_recoveryWritten.empty()) {
        return;
    }
    // A file that cannot be removed loses nothing: its time is in the transaction file, and the
    // next open recognises it there. The next write replaces it.
    FileError ignored;
    if (removeFile(m_recoveryWritten, ignored)) {
        m_recoveryWritten.clear();
    }
}

void CSoloDoc::reportRecoveryFailure(const std::string& file, const FileError& error) {
    // Once a minute would bury the user in boxes; tracking itself goes on either way.
    if (m_recoveryFailureReported) {
        return;
    }
    m_recoveryFailureReported = true;
    m_prompter.show(
        fillPlaceholders(tx(kRecoveryWriteFailedText), {file, std::to_string(error.number())}),
        Prompter::Icon::Warning);
}

void CSoloDoc::reportUnusableRecovery(const std::string& file, const std::string& detail) {
    std::string keptAs;
    FileError error;
    if (setRecoveryFileAside(file, keptAs, error)) {
        m_prompter.show(fillPlaceholders(tx(kRecoveryKeptAsideText), {file, detail, keptAs}),
                        Prompter::Icon::Warning);
        return;
    }
    m_recoveryBlocked = true;
    const std::string shown =
        error.number() == 0 ? fillPlaceholders(tx(kRecoveryLeftInPlaceText), {file, detail})
                            : fillPlaceholders(tx(kRecoveryNotRenamedText),
                                               {file, detail, std::to_string(error.number())});
    m_prompter.show(shown, Prompter::Icon::Warning);
}

void CSoloDoc::offerRecoveredTime() {
    const std::string file = recoveryPath();
    std::vector<Transaction> records;
    const FileResult read = readRecoveryFile(file, records);
    if (read.what == FileResult::What::Absent) {
        return;
    }
    if (!read) {
        reportUnusableRecovery(file, read.detail);
        return;
    }
    const bool tree = m_template.isTreeShape();
    const TimeValue today = m_template.clock().today();
    bool storedToday = false;
    for (const Transaction& t : records) {
        // Nothing to store, or stored just before the program ended.
        if (!(t.start() < t.end()) ||
            transactionFileHolds(m_template.transactionPath(), m_template.transactionLayout(), t)) {
            continue;
        }
        const std::string question =
            recoveryQuestion(t, m_settings.level1Title(), level1Name(t, m_template.level1(), tree),
                             m_settings.level2Title(), level2Name(t, m_template.level2(), tree));
        if (m_prompter.ask(question, Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                           Prompter::Icon::Question) != Prompter::Answer::Yes) {
            continue;
        }
        if (appendFinishedTransaction(t)) {
            storedToday = storedToday || t.date() == today;
        } else {
            m_unstored.push_back(t);
        }
    }
    if (m_unstored.empty()) {
        m_recoveryWritten = file;
        removeRecovery();
    } else {
        writeRecovery(nullptr);
    }
    if (storedToday) {
        takeLastTransactionOfToday();
    }
}

} // namespace vsolo
