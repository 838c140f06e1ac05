// upgrade TEMPLATE: converts a version 3 template and its transactions to version 4.

#include "cli/command.h"
#include "cli/session.h"
#include "core/base/fileerrortext.h"

#include <iostream>

namespace vsolo {

int runUpgrade(const Arguments& args) {
    Session session;
    const std::string& path = args.positional[0];
    if (!session.loadTemplate(path)) {
        return kExitError;
    }
    TemplateFile& file = session.file();
    if (file.format() != TemplateFormat::Tag768) {
        std::cerr << "vsolo-cli: " << path << " is a format " << static_cast<int>(file.format())
                  << " template; nothing to convert\n";
        return 0;
    }
    // As the tracker does on opening it: the lists sorted by name, then the conversion.
    file.level1().sortByName();
    file.level2().sortByName();
    tellUser(kVersion3ConversionText);
    return session.told(file.convertVersion3()) ? 0 : kExitError;
}

} // namespace vsolo
