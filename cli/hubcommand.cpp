// hub collect [--profile NAME] [--password TEXT] FILE: the central server's side of the time
// sheets sent by mail, done by the mail bridge: every time sheet in the profile's mailbox is
// appended to FILE as hand-off records, then removed from the mailbox. The bridge tells what went
// wrong on standard error.

#include "cli/command.h"
#include "mailbridge/osxmapi.h"

#include <iostream>
#include <string>

namespace vsolo {
namespace {

std::string optionOr(const Arguments& args, const std::string& option) {
    const auto given = args.options.find(option);
    return given != args.options.end() ? given->second : std::string();
}

int collect(const Arguments& args) {
    const std::string& file = args.positional[0];
    const std::string profile = optionOr(args, "--profile");
    const std::string password = optionOr(args, "--password");
    if (DLLUpdateRemote(file.c_str(), profile.c_str(), password.c_str()) == 1) {
        return 0;
    }
    std::cerr << "vsolo-cli: the time sheets of the mailbox were not all collected into " << file
              << '\n';
    return kExitError;
}

} // namespace

int runHub(const Arguments& args) {
    // One entry per subcommand of hub, as the command table lists them.
    if (args.report == "collect") {
        return collect(args);
    }
    return kExitError;
}

} // namespace vsolo
