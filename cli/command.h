#pragma once

// What every command of vsolo-cli shares: the words it was given and its entry in the command
// table (see commands.h).

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo {

// A command's exit codes besides 0: `check` uses the first for a damaged file, everything that
// goes wrong otherwise ends with the second.
constexpr int kExitDamaged = 1;
constexpr int kExitError = 2;

struct Command;

// A command line as parsed for one command: its one TEMPLATE (after the report, for the commands
// that take one) and the value of each option given, the last one for an option given twice;
// `optionValues` keeps every value of each option, in the order given, for the options that may
// be repeated.
struct Arguments {
    const Command* command = nullptr;
    // The report named first, for the commands that take one.
    std::string report;
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::map<std::string, std::vector<std::string>> optionValues;
    // --help or -h was given after the command: its usage is asked for, nothing else is read.
    bool help = false;
};

// One command: its name and usage as the usage text shows them, the options it accepts (each
// takes one value, but for its flags), the reports it takes as its first word (none for most), and
// what it does.
struct Command {
    std::string_view name;
    // The rest of the usage line after the name.
    std::string_view synopsis;
    // What the command does, one usage line each.
    std::vector<std::string_view> description;
    std::vector<std::string_view> options;
    std::vector<std::string_view> reports;
    int (*run)(const Arguments&) = nullptr;
    // The options that take no value; a given one has the value "".
    std::vector<std::string_view> flags = {};
};

} // namespace vsolo
