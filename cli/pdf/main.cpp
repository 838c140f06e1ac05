// vsolo-cli-pdf: the pdf command of vsolo-cli, which hands its command line over to this program.
// Printing needs Qt and its graphics libraries, which take longer to load than the other commands
// take to run, so vsolo-cli itself loads none of them.

#include "cli/commandline.h"
#include "cli/commands.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace vsolo {
int printPdf(const Arguments& args);
} // namespace vsolo

int main(int argc, char** argv) {
    try {
        std::vector<vsolo::Command> table = vsolo::commands();
        for (vsolo::Command& command : table) {
            if (command.name == "pdf") {
                command.run = vsolo::printPdf;
            }
        }
        const std::vector<std::string> words =
            argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
        return vsolo::runCommandLine(table, words);
    } catch (const std::exception& e) {
        std::cerr << "vsolo-cli: " << e.what() << '\n';
        return 2;
    }
}
