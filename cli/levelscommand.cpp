// levels TEMPLATE [-o FILE]: the template's header and level items as read, one line each.

#include "cli/command.h"
#include "cli/output.h"
#include "cli/session.h"

#include <string>

namespace vsolo {

int runLevels(const Arguments& args) {
    Session session;
    if (!session.loadTemplate(args.positional[0])) {
        return kExitError;
    }
    const TemplateFile& file = session.file();
    std::string out = "format\t" + std::to_string(static_cast<int>(file.format())) + "\tmanaged\t" +
                      (file.isManaged() ? "1" : "0") + "\tnext-group\t" +
                      std::to_string(file.store().nextGroupNumber()) + "\tnext-sub-id\t" +
                      std::to_string(file.store().nextSubId()) + "\ttype\t" +
                      escaped(file.typeText()) + "\n";
    for (const LevelList* list : {&file.level1(), &file.level2()}) {
        for (const auto& item : list->items()) {
            std::string assigned;
            for (const LevelItem* a : item->assigned()) {
                if (!assigned.empty()) {
                    assigned += ',';
                }
                assigned += std::to_string(a->subId());
            }
            out += std::to_string(list->level()) + "\t" + std::to_string(item->groupNumber()) +
                   "\t" + std::to_string(item->parentSubId()) + "\t" +
                   std::to_string(item->subId()) + "\t" + std::to_string(item->depth()) + "\t" +
                   (item->isActive() ? "1" : "0") + "\t" + std::to_string(item->target()) + "\t" +
                   escaped(item->name()) + "\t" + escaped(item->description()) + "\t" +
                   escaped(item->thirdText()) + "\t" + assigned + "\n";
        }
    }
    return Output(args).writeAll(out) ? 0 : kExitError;
}

} // namespace vsolo
