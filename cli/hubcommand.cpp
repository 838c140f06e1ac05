// hub collect [--profile NAME] [--password TEXT] FILE: the central server's side of the time
// sheets sent by mail, done by the mail bridge: every time sheet in the profile's mailbox is
// appended to FILE as hand-off records, then removed from the mailbox. The bridge tells what went
// wrong on standard error; time sheets that cannot be read stay in the mailbox and make the exit
// code 1.
// hub assign --to ADDRESS [--from ADDRESS] [--resource NAME] [--profile NAME] [--password TEXT]
// TEMPLATE: the central server's assignment update that lists the template's level items, mailed
// to ADDRESS for the resource NAME (the template's base name by default).
// Both take the password from VSOLO_MAIL_PASSWORD when --password is not given, and from the
// first line of standard input for --password -.

#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/session.h"
#include "core/remote/assignments.h"
#include "core/remote/remotetexts.h"
#include "mailbridge/osxmapi.h"

#include <cstdlib>
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
    const int collected = DLLUpdateRemote(file.c_str(), profile.c_str(), password.c_str());
    if (collected == 1) {
        return 0;
    }
    if (collected == 2) {
        // The bridge has named each of them.
        std::cerr
            << "vsolo-cli: time sheets that could not be read stay in the mailbox; the others "
               "were collected into "
            << file << '\n';
        return kExitDamaged;
    }
    std::cerr << "vsolo-cli: the time sheets of the mailbox were not all collected into " << file
              << '\n';
    return kExitError;
}

int assign(const Arguments& args) {
    const std::string to = optionOr(args, "--to");
    if (to.empty()) {
        tellUser("hub assign needs --to ADDRESS");
        return kExitError;
    }
    const std::string given = optionOr(args, "--from");
    const std::string from = given.empty() ? to : given;
    Session& session = Session::untilExit();
    if (!session.loadTemplate(args.positional[0])) {
        return session.failureExit();
    }
    const TemplateFile& file = session.file();
    const auto resource = args.options.find("--resource");
    std::string body;
    std::string reason;
    if (!remote::makeAssignmentUpdateBody(
            file, resource != args.options.end() ? resource->second : file.baseName(), body,
            reason)) {
        tellUser(reason);
        return kExitError;
    }
    const auto port = remote::makeBridgePort();
    if (!port->init()) {
        tellUser(remote::mailUnusableText(*port));
        return kExitError;
    }
    int exit = 0;
    if (port->logon(optionOr(args, "--profile"), optionOr(args, "--password"), false) !=
        remote::kMailSuccess) {
        tellUser(remote::text::kLogonFailed);
        exit = kExitError;
    } else {
        const std::string type = remote::assignmentMessageType(file);
        if (port->send(type, body, type, from, to) != remote::kMailSuccess) {
            tellUser("the assignment update could not be sent to " + to);
            exit = kExitError;
        }
        port->logoff();
    }
    port->deinit();
    return exit;
}

} // namespace

int runHub(const Arguments& given) {
    const std::optional<std::string> password =
        secretOption(given, "--password", std::cin, std::getenv("VSOLO_MAIL_PASSWORD"));
    if (!password) {
        tellUser("--password - found no password on standard input");
        return kExitError;
    }
    // The subcommands read the password as if it had been given on the command line.
    Arguments args = given;
    args.options["--password"] = *password;
    // One entry per subcommand of hub, as the command table lists them.
    if (args.report == "collect") {
        for (const char* option : {"--to", "--from", "--resource"}) {
            if (args.options.contains(option)) {
                tellUser(std::string("hub collect takes no ") + option);
                return kExitError;
            }
        }
        return collect(args);
    }
    if (args.report == "assign") {
        return assign(args);
    }
    return kExitError;
}

} // namespace vsolo
