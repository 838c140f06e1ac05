#include "tracker/remote/assignmentcheck.h"

#include "core/document.h"
#include "core/remote/assignments.h"
#include "core/remote/remotetexts.h"
#include "tracker/app/texts.h"
#include "tracker/remote/waitcursor.h"

namespace vsolo {

namespace {

// Offers to delete a refused update, which would otherwise be refused at every opening.
void offerToDiscard(CSoloDoc& doc, Prompter& prompter, remote::MailPort& port,
                    const remote::AssignmentResult& result) {
    const std::string question = result.reason + "\r\n\r\n" + tx(text::kDeleteRefusedUpdate);
    if (prompter.ask(question, Prompter::Buttons::YesNo, Prompter::Answer::No,
                     Prompter::Icon::Warning) != Prompter::Answer::Yes) {
        return;
    }
    remote::DiscardOutcome outcome;
    {
        WaitCursor wait;
        outcome = remote::discardAssignmentUpdate(port, result.updateId, doc.settings().mapiLogon(),
                                                  doc.settings().mapiPassword());
    }
    if (outcome != remote::DiscardOutcome::Deleted) {
        prompter.show(remote::discardOutcomeText(outcome), Prompter::Icon::Warning);
    }
}

// What the user is to know of an applied update, in one box: the texts that had to be fitted to
// the template's files and the targets that were reduced.
void showAppliedNotes(Prompter& prompter, const remote::AssignmentResult& result) {
    std::string notes = remote::fittedTextsText(result.fittedTexts);
    if (const std::string reduced = remote::reducedTargetsText(result.reducedTargets);
        !reduced.empty()) {
        notes += (notes.empty() ? "" : "\r\n\r\n") + reduced;
    }
    if (!notes.empty()) {
        prompter.show(notes, Prompter::Icon::Information);
    }
}

} // namespace

bool checkAssignmentUpdates(CSoloDoc& doc, Prompter& prompter, remote::MailPort& port) {
    remote::AssignmentResult result;
    {
        // Only while the mailbox is read: a box below must not show a busy cursor.
        WaitCursor wait;
        result =
            remote::checkAssignments(port, doc.templateFile(), &doc.tracker(),
                                     doc.settings().mapiLogon(), doc.settings().mapiPassword());
    }
    if (!result.unreadable.empty()) {
        prompter.show(remote::unreadableUpdatesText(result.unreadable), Prompter::Icon::Warning);
    }
    using Outcome = remote::AssignmentResult::Outcome;
    switch (result.outcome) {
    case Outcome::Applied:
        showAppliedNotes(prompter, result);
        return true;
    case Outcome::NoUpdate:
        return false;
    case Outcome::MailUnusable:
        prompter.show(result.reason, Prompter::Icon::Warning);
        return false;
    case Outcome::LogonFailed:
        prompter.show(tx(remote::text::kLogonFailed), Prompter::Icon::Warning);
        return false;
    case Outcome::Refused:
        offerToDiscard(doc, prompter, port, result);
        return false;
    case Outcome::WaitForTracking:
        prompter.show(tx(text::kUpdateWaitsForTracking), Prompter::Icon::Information);
        return false;
    case Outcome::NotSaved:
        doc.reporter().present(result.saveResult);
        prompter.show(tx(text::kUpdateNotSaved), Prompter::Icon::Warning);
        // The lists in memory are the update's, though the file still holds the old ones.
        return true;
    }
    return false;
}

} // namespace vsolo
