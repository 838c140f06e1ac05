// Writes the manual page of vsolo-cli to the file named by the first argument; the build runs it
// so that the installed page is made from the same command table as the program.

#include "cli/commandline.h"
#include "cli/commands.h"
#include "man/manpage.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: vsolo-cli-manpage VERSION FILE\n";
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << vsolo::manPage(vsolo::commands(), vsolo::usageNotes(), argv[1]);
    out.close();
    if (!out) {
        std::cerr << "vsolo-cli-manpage: cannot write " << argv[2] << '\n';
        return 2;
    }
    return 0;
}
