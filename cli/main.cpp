// vsolo-cli: exports, listings, checks and printed reports of the tracker's files from the command
// line. Output goes to standard output unless -o FILE is given; errors go to standard error with
// exit code 2, and `check` exits 1 for a damaged file. Other tools read this output, so its form
// never changes. The commands are in the table of commands.cpp, one file each.

#include "cli/commandline.h"
#include "cli/commands.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> words =
            argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
        return vsolo::runCommandLine(vsolo::commands(), words);
    } catch (const std::exception& e) {
        std::cerr << "vsolo-cli: " << e.what() << '\n';
        return 2;
    }
}
