// receive TEMPLATE: takes in the newest assignment update for a managed template from the mailbox
// of the tracker's mail profile, as the tracker does when it opens the template, whatever its
// "RemoteAssignments" setting says. The template is written only when an update was applied.
// An update that is refused stays in the mailbox unless --delete-refused is given; a message that
// cannot be read is passed over and named on standard error.

#include "cli/command.h"
#include "cli/session.h"
#include "core/remote/assignments.h"
#include "core/remote/remotetexts.h"

#include <iostream>

namespace vsolo {

int runReceive(const Arguments& args) {
    Session& session = Session::untilExit();
    if (!session.loadTemplate(args.positional[0])) {
        return session.failureExit();
    }
    TemplateFile& file = session.file();
    if (!file.isManaged()) {
        tellUser("the template " + file.path() +
                 " is not managed by the central server; it takes no assignment updates");
        return kExitError;
    }
    const Settings& settings = trackerSettings();
    // Texts the update could not store as written are told by the level titles the user knows.
    file.level1().setTitle(settings.level1Title());
    file.level2().setTitle(settings.level2Title());
    const auto port = remote::makeBridgePort();
    const remote::AssignmentResult result = remote::checkAssignments(
        *port, file, nullptr, settings.mapiLogon(), settings.mapiPassword());
    if (!result.unreadable.empty()) {
        tellUser(remote::unreadableUpdatesText(result.unreadable));
    }
    using Outcome = remote::AssignmentResult::Outcome;
    switch (result.outcome) {
    case Outcome::Applied:
        std::cout << "applied the assignment update received " << result.received << "; deleted "
                  << result.deleted << " message(s)\n";
        if (!result.fittedTexts.empty()) {
            tellUser(remote::fittedTextsText(result.fittedTexts));
        }
        if (!result.reducedTargets.empty()) {
            tellUser(remote::reducedTargetsText(result.reducedTargets));
        }
        return 0;
    case Outcome::NoUpdate:
        std::cout << "no assignment update for " << file.baseName() << '\n';
        return 0;
    case Outcome::MailUnusable:
        tellUser(result.reason);
        return kExitError;
    case Outcome::LogonFailed:
        tellUser(remote::text::kLogonFailed);
        return kExitError;
    case Outcome::NotSaved:
        session.told(result.saveResult);
        return kExitError;
    case Outcome::Refused:
    case Outcome::WaitForTracking:
        break;
    }
    tellUser("the assignment update received " + result.received +
             " was not applied: " + result.reason);
    if (result.outcome != Outcome::Refused) {
        return kExitError;
    }
    if (!args.options.contains("--delete-refused")) {
        tellUser("it stays in the mailbox; --delete-refused deletes it");
        return kExitError;
    }
    const remote::DiscardOutcome discarded = remote::discardAssignmentUpdate(
        *port, result.updateId, settings.mapiLogon(), settings.mapiPassword());
    if (discarded == remote::DiscardOutcome::Deleted) {
        tellUser("deleted it from the mailbox");
    } else {
        tellUser(remote::discardOutcomeText(discarded));
    }
    return kExitError;
}

} // namespace vsolo
