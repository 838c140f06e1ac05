#include "tracker/remote/sendcommand.h"

#include "core/base/fileerrortext.h"
#include "core/daterange.h"
#include "core/document.h"
#include "core/remote/remotetexts.h"
#include "core/remote/timesheetsend.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/app/texts.h"
#include "tracker/remote/advisorydialog.h"
#include "tracker/remote/waitcursor.h"
#include "tracker/timesheet/daterangedialog.h"
#include "tracker/timesheet/timesheetview.h"

#include <optional>

namespace vsolo {

namespace {

// The transactions of one send: loaded for it unless the time sheet already holds them, and let
// go unsaved on every way out that did not save them.
class SendSession {
public:
    explicit SendSession(CMainFrame& frame)
        : m_frame(frame), m_doc(frame.document()),
          m_sheetShown(frame.currentViewNumber() == command::kTimeSheet) {}
    ~SendSession() {
        if (m_loadedHere) {
            m_doc.templateFile().unloadTransactions(false);
        }
    }
    SendSession(const SendSession&) = delete;
    SendSession& operator=(const SendSession&) = delete;

    bool sheetShown() const { return m_sheetShown; }

    // The time sheet's changes go to the file before anything is sent.
    bool writeSheetBack() {
        if (!m_sheetShown || !m_doc.isModified()) {
            return true;
        }
        if (!m_doc.reporter().present(m_doc.templateFile().saveTransactions())) {
            return false;
        }
        m_doc.setModified(false);
        return true;
    }

    bool load() {
        TemplateFile& file = m_doc.templateFile();
        if (file.isLoaded()) {
            return true;
        }
        if (!m_doc.reporter().present(file.loadTransactions())) {
            file.unloadTransactions(false);
            return false;
        }
        m_loadedHere = true;
        return true;
    }

    // Lets the transactions go now, for a view that loads them itself.
    void release() {
        if (m_loadedHere) {
            m_doc.templateFile().unloadTransactions(false);
            m_loadedHere = false;
        }
    }

    // After a hand-over whose keep or delete could not be saved: what is held is the file again.
    // The views are refilled before any box can repaint them over the changed days.
    FileResult reloadFromFile() {
        TemplateFile& file = m_doc.templateFile();
        file.unloadTransactions(false);
        FileResult loaded = file.loadTransactions();
        if (!loaded.ok()) {
            file.unloadTransactions(false);
        }
        m_frame.refreshViews();
        return loaded;
    }

private:
    CMainFrame& m_frame;
    CSoloDoc& m_doc;
    bool m_sheetShown;
    bool m_loadedHere = false;
};

// Why a hand-off file refused the records. Unlike a failure of the template's own files it never
// closes the program: nothing of the user's time sheet was touched.
void showHandOffError(Prompter& prompter, const FileResult& failure) {
    std::optional<std::string> why;
    if (failure.what == FileResult::What::FileError) {
        why = fileErrorText(failure.error, failure.path);
    } else if (failure.what == FileResult::What::Damaged) {
        why = damagedFileText(failure.path, failure.detail);
    } else if (failure.what == FileResult::What::Unstorable) {
        why = unstorableWriteText(failure.path, failure.detail);
    }
    if (why) {
        prompter.show(*why, Prompter::Icon::Warning);
    }
}

// Yes of the advisory dialog: the time sheet shows the advised days for editing.
void editAdvisedDays(CMainFrame& frame, SendSession& session,
                     const std::vector<remote::AdvisedDay>& days) {
    if (!session.sheetShown()) {
        session.release();
        if (!frame.switchTo(command::kTimeSheet)) {
            return;
        }
    }
    if (auto* sheet = qobject_cast<CTimeSheetView*>(frame.currentView())) {
        sheet->setRange(days.front().date, days.back().date);
    }
}

// Shows the advisory dialog when some days are outside the limits; true when the send goes on.
bool adviseBeforeSending(CMainFrame& frame, SendSession& session, const DateRange& range) {
    CSoloDoc& doc = frame.document();
    const TransactionStore& store = doc.templateFile().store();
    const TimeValue minimum = doc.settings().hoursDayMin();
    const TimeValue maximum = doc.settings().hoursDayMax();
    const std::vector<remote::AdvisedDay> days =
        remote::advisedDays(store, store.dayRange(range.from, range.to), minimum, maximum);
    if (days.empty()) {
        return true;
    }
    std::vector<AdvisedDayRow> rows;
    for (const remote::AdvisedDay& day : days) {
        rows.push_back({day.date, TimeValue(static_cast<std::int32_t>(day.total))});
    }
    CAdvisoryDlg dialog(minimum, maximum, std::move(rows), &frame);
    switch (dialog.exec()) {
    case CAdvisoryDlg::SendNow:
        return true;
    case CAdvisoryDlg::EditFirst:
        editAdvisedDays(frame, session, days);
        return false;
    default:
        return false;
    }
}

// The question after a hand-over that went through, then the marks or the deletion, saved.
void keepOrDelete(CMainFrame& frame, SendSession& session, const DateRange& range) {
    CSoloDoc& doc = frame.document();
    const bool keep = frame.prompter().ask(tx(remote::text::kKeepCopyQuestion),
                                           Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                                           Prompter::Icon::Question) == Prompter::Answer::Yes;
    const FileResult saved =
        remote::finishSend(doc.templateFile(), range.from, range.to,
                           keep ? remote::AfterSend::Keep : remote::AfterSend::Delete);
    if (!saved.ok()) {
        const FileResult reloaded = session.reloadFromFile();
        doc.reporter().present(saved);
        frame.prompter().show(tx(text::kSentButNotKept), Prompter::Icon::Warning);
        doc.reporter().present(reloaded);
        return;
    }
    doc.setModified(false);
}

void runSend(CMainFrame& frame, SendSession& session, const MailPortMaker& makePort) {
    CSoloDoc& doc = frame.document();
    Prompter& prompter = frame.prompter();
    if (!session.writeSheetBack()) {
        return;
    }
    const std::optional<DateRange> range =
        DateRangeDialog::ask(&frame, doc, prompter, daterangekey::kSend);
    if (!range || !session.load()) {
        return;
    }
    const TransactionStore& store = doc.templateFile().store();
    const TransactionStore::DayRange days = store.dayRange(range->from, range->to);
    if (days.empty() || !remote::hasSomethingToSend(store, days)) {
        prompter.show(tx(remote::text::kNothingToSend), Prompter::Icon::Information);
        return;
    }
    const remote::SendSettings how = remote::sendSettingsFrom(doc.settings(), true);
    if (const std::optional<remote::SendResult> refused = remote::refusedAddress(how)) {
        prompter.show(remote::sendResultText(*refused), Prompter::Icon::Warning);
        return;
    }
    if (!adviseBeforeSending(frame, session, *range)) {
        return;
    }
    remote::SendResult result;
    {
        const std::unique_ptr<remote::MailPort> port = makePort();
        WaitCursor wait;
        result = remote::sendTimeSheet(doc.templateFile(), range->from, range->to, how, *port);
    }
    if (!result.wentThrough()) {
        if (result.outcome == remote::SendResult::Outcome::HandOffFailed) {
            showHandOffError(prompter, result.file);
        }
        prompter.show(remote::sendResultText(result), Prompter::Icon::Warning);
        return;
    }
    keepOrDelete(frame, session, *range);
}

} // namespace

bool sendTimeSheetEnabled(CSoloDoc& doc) {
    return doc.templateFile().isManaged() && (doc.settings().remote() || !doc.usingLocalCopy());
}

void sendTimeSheet(CMainFrame& frame, const MailPortMaker& makePort) {
    {
        SendSession session(frame);
        runSend(frame, session, makePort);
    }
    frame.refreshViews();
}

} // namespace vsolo
