// Writes a manual page to the file named by the last argument: vsolo-cli's, made from its command
// table, or the tracker's or the reporting tool's. The build runs it so that each installed page
// is made from the same tables as the program it describes.

#include "cli/commandline.h"
#include "cli/commands.h"
#include "man/manpage.h"

#include <fstream>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    const std::string_view page = argc == 4 ? argv[1] : "";
    if (page != "vsolo-cli" && page != "vsolo" && page != "vsreport") {
        std::cerr << "usage: vsolo-manpage vsolo-cli|vsolo|vsreport VERSION FILE\n";
        return 2;
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    if (page == "vsolo-cli") {
        out << vsolo::manPage(vsolo::commands(), vsolo::usageNotes(), argv[2]);
    } else {
        out << vsolo::manPage(page == "vsolo" ? vsolo::trackerPage() : vsolo::reportingPage(),
                              argv[2]);
    }
    out.close();
    if (!out) {
        std::cerr << "vsolo-manpage: cannot write " << argv[3] << '\n';
        return 2;
    }
    return 0;
}
