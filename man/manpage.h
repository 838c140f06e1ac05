#pragma once

#include "cli/command.h"

#include <string>
#include <string_view>
#include <vector>

namespace vsolo {

// The manual page of vsolo-cli in man(7) markup, made from the command table and the notes of
// the usage text so that the page always lists the commands and options the program accepts.
// `version` goes into the page's header line; nothing else varies, so the page is reproducible.
std::string manPage(const std::vector<Command>& table, std::string_view notes,
                    std::string_view version);

// A term of a list on a page (an option, a file, a variable) and what it means. Words in
// backquotes are set in bold, words in angle quotes <LIKE THIS> in italics.
struct PageItem {
    std::string_view term;
    std::string_view text;
};

// The manual page of a program with windows: how it is started, the options it takes, the files
// it keeps and the environment it reads.
struct ProgramPage {
    std::string_view name;                     // the command, "vsolo"
    std::string_view title;                    // the product it is, for the header line
    std::string_view summary;                  // the NAME line after the dash
    std::string_view synopsis;                 // after the command name
    std::vector<std::string_view> description; // one paragraph each
    std::vector<PageItem> options;
    std::vector<PageItem> files;
    std::vector<PageItem> environment;
    std::vector<std::string_view> seeAlso; // other pages, "vsolo-cli(1)"
};

std::string manPage(const ProgramPage& page, std::string_view version);

// The pages of the tracker and the reporting tool.
const ProgramPage& trackerPage();
const ProgramPage& reportingPage();

} // namespace vsolo
