// export [--format csv|txt] [--from M/D/YYYY] [--to M/D/YYYY] TEMPLATE [-o FILE]: the
// transactions of the range in the time sheet's export form.

#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/output.h"
#include "cli/range.h"
#include "cli/session.h"
#include "core/base/clock.h"
#include "core/model/export.h"

#include <string>

namespace vsolo {

int runExport(const Arguments& args) {
    const auto format = choiceOption<ExportFormat>(
        args, "--format",
        {{"csv", ExportFormat::CommaSeparated}, {"txt", ExportFormat::TabDelimited}},
        "export format");
    if (!format) {
        return kExitError;
    }
    const auto bounds = rangeOptions(args);
    if (!bounds) {
        return kExitError;
    }
    Session& session = Session::untilExit();
    if (!session.loadWithTransactions(args.positional[0])) {
        return kExitError;
    }
    TransactionStore& store = session.file().store();
    TransactionStore::DayRange range = store.allDays();
    if ((bounds->from || bounds->to) && !range.empty()) {
        const RangeDates dates = resolveRange(store, *bounds, systemClock().today());
        range = store.dayRange(dates.from, dates.to);
    }
    // The error marks are not stored; they are worked out again as the time sheet does.
    store.markErrors(range);
    Output output(args);
    if (!output.open()) {
        return kExitError;
    }
    const bool wrote =
        writeExport(session.file(), range, *format,
                    [&output](std::string_view bytes) { return output.write(bytes); });
    return output.finish(wrote) ? 0 : kExitError;
}

} // namespace vsolo
