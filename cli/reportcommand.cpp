// report [--from M/D/YYYY] [--to M/D/YYYY] TEMPLATE [-o FILE]: the rows of the time study report
// of the range as the tracker lists them, one line per row, the five cells separated by tabs.

#include "cli/command.h"
#include "cli/output.h"
#include "cli/range.h"
#include "cli/session.h"
#include "core/base/clock.h"
#include "core/reports/timestudy.h"

#include <string>

namespace vsolo {

int runReport(const Arguments& args) {
    const auto bounds = rangeOptions(args);
    if (!bounds) {
        return kExitError;
    }
    Session& session = Session::untilExit();
    if (!session.loadWithTransactions(args.positional[0])) {
        return kExitError;
    }
    session.listItemsByName();
    TemplateFile& file = session.file();
    const RangeDates dates = resolveRange(file.store(), *bounds, systemClock().today());
    const RangeTotals totals = RangeTotals::gather(file, dates.from, dates.to);
    std::string text;
    for (const TimeStudyRow& row : buildTimeStudyRows(totals)) {
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            if (c > 0) {
                text += '\t';
            }
            text += escaped(row.cells[c]);
        }
        text += '\n';
    }
    return Output(args).writeAll(text) ? 0 : kExitError;
}

} // namespace vsolo
