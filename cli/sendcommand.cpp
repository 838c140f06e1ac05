// send [--from M/D/YYYY] [--to M/D/YYYY] --keep|--delete TEMPLATE: hands the unsent transactions
// of the range of a managed template to the central server, by e-mail through the tracker's mail
// profile when its setting "Remote" is on, else to the hand-off files beside the template; then
// keeps the sent days marked as sent or deletes them. Nothing changes when the hand-over fails.

#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/range.h"
#include "cli/session.h"
#include "core/base/clock.h"
#include "core/remote/remotetexts.h"
#include "core/remote/timesheetsend.h"

#include <iostream>
#include <optional>

namespace vsolo {

int runSend(const Arguments& args) {
    const bool keep = args.options.count("--keep") != 0;
    const bool remove = args.options.count("--delete") != 0;
    if (keep == remove) {
        return usageError("send takes exactly one of --keep and --delete");
    }
    const auto bounds = rangeOptions(args);
    if (!bounds) {
        return kExitError;
    }
    Session& session = Session::untilExit();
    if (!session.loadTemplate(args.positional[0])) {
        return kExitError;
    }
    TemplateFile& file = session.file();
    if (!file.isManaged()) {
        tellUser(remote::text::kNotManaged);
        return kExitError;
    }
    // A template without a transaction file has nothing to send.
    if (const FileResult loaded = file.loadTransactions();
        loaded.what != FileResult::What::Absent && !session.told(loaded)) {
        return kExitError;
    }
    TransactionStore& store = file.store();
    RangeDates dates{};
    if (!store.empty()) {
        dates = resolveRange(store, *bounds, systemClock().today());
    }
    const TransactionStore::DayRange range = store.dayRange(dates.from, dates.to);
    if (!remote::hasSomethingToSend(store, range)) {
        std::cout << remote::text::kNothingToSend << '\n';
        return 0;
    }

    const Settings& settings = trackerSettings();
    const remote::SendSettings how = remote::sendSettingsFrom(settings, /*askUser=*/false);
    if (const std::optional<remote::SendResult> refused = remote::refusedAddress(how)) {
        tellUser(remote::sendResultText(*refused));
        return kExitError;
    }
    for (const remote::AdvisedDay& day :
         remote::advisedDays(store, range, settings.hoursDayMin(), settings.hoursDayMax())) {
        std::cout << remote::advisedDateText(day) << '\t' << remote::advisedHoursText(day) << '\n';
    }

    const auto port = remote::makeBridgePort();
    const remote::SendResult sent = remote::sendTimeSheet(file, dates.from, dates.to, how, *port);
    if (!sent.wentThrough()) {
        if (sent.outcome == remote::SendResult::Outcome::HandOffFailed) {
            session.told(sent.file);
        }
        tellUser(remote::sendResultText(sent));
        return kExitError;
    }
    const FileResult saved = remote::finishSend(
        file, dates.from, dates.to, keep ? remote::AfterSend::Keep : remote::AfterSend::Delete);
    if (!session.told(saved)) {
        tellUser("the time sheet was sent, but the transaction file could not be saved: it does "
                 "not show the sent days as sent");
        return kExitError;
    }
    std::cout << "sent " << sent.sent << " transaction(s)\n";
    return 0;
}

} // namespace vsolo
