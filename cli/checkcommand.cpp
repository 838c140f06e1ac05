// check TEMPLATE [-o FILE]: counts the level items and transactions, and tells a damaged file by
// its exit code.

#include "cli/command.h"
#include "cli/output.h"
#include "cli/session.h"

#include <string>

namespace vsolo {

int runCheck(const Arguments& args) {
    Session session;
    if (!session.loadWithTransactions(args.positional[0])) {
        return session.failureExit();
    }
    TemplateFile& file = session.file();
    const std::string out = "items\t" +
                            std::to_string(file.level1().size() + file.level2().size()) +
                            "\ntransactions\t" + std::to_string(file.store().count()) + "\n";
    if (!Output(args).writeAll(out)) {
        return kExitError;
    }
    // Standard error has said which file and that the record was left out.
    return file.leftOutIncompleteRecord() ? kExitDamaged : 0;
}

} // namespace vsolo
