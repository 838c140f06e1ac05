#include "cli/commandline.h"

#include "cli/commands.h"

#include <algorithm>
#include <iostream>
#include <istream>

namespace vsolo {

// What holds for more than one command, after the list of commands.
constexpr std::string_view kNotes =
    "In `levels` and `report`, a backslash, tab, carriage return or line feed inside a text is\n"
    "written as \\\\, \\t, \\r or \\n so that every item stays on one line.\n"
    "`export`, `report`, `pdf` and `send` take all days without --from and --to, the days from or\n"
    "up to the one bound given alone, and exchange reversed bounds. `invoice` and the reporting\n"
    "tool's reports of `pdf` take the tool's own period for a bound not given, and exchange\n"
    "reversed bounds too.\n";

namespace {

int usageErrorOf(const std::vector<Command>& table, const std::string& message) {
    std::cerr << "vsolo-cli: " << message << "\n\n" << usageText(table);
    return kExitError;
}

std::string joined(const std::vector<std::string_view>& words) {
    std::string text;
    for (const std::string_view word : words) {
        text += (text.empty() ? "" : ", ") + std::string(word);
    }
    return text;
}

} // namespace

std::string_view usageNotes() {
    return kNotes;
}

namespace {

// A command's usage line after `lead` and its description under it, indented by `indent`.
std::string entryOf(const Command& command, std::string_view lead, std::string_view indent) {
    std::string text =
        std::string(lead) + std::string(command.name) + " " + std::string(command.synopsis) + "\n";
    for (const std::string_view line : command.description) {
        text += std::string(indent) + std::string(line) + "\n";
    }
    return text;
}

bool asksForHelp(std::string_view word) {
    return word == "--help" || word == "-h";
}

} // namespace

std::string usageText(const std::vector<Command>& table) {
    std::string text = "usage: vsolo-cli COMMAND [OPTIONS]\n"
                       "       vsolo-cli COMMAND --help\n"
                       "       vsolo-cli --version\n\ncommands:\n";
    for (const Command& command : table) {
        text += entryOf(command, "  ", "      ");
    }
    return text + "\n" + std::string(kNotes);
}

std::string commandUsageText(const Command& command) {
    return entryOf(command, "usage: vsolo-cli ", "    ");
}

std::string versionText() {
    return "vsolo-cli " + std::string(VSOLO_VERSION) + "\n";
}

int usageError(const std::string& message) {
    return usageErrorOf(commands(), message);
}

void unknownChoice(const std::string& word, const std::vector<std::string>& words,
                   const std::string& what) {
    std::string listed;
    for (std::size_t i = 0; i < words.size(); ++i) {
        listed += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    }
    usageError("unknown " + what + " '" + word + "' (" + listed + ")");
}

std::optional<std::string> secretOption(const Arguments& args, const std::string& option,
                                        std::istream& input, const char* variable) {
    const auto given = args.options.find(option);
    if (given == args.options.end()) {
        return std::string(variable != nullptr ? variable : "");
    }
    if (given->second != "-") {
        return given->second;
    }
    std::string line;
    if (!std::getline(input, line)) {
        return std::nullopt;
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

std::optional<Arguments> parseArguments(const std::vector<Command>& table,
                                        const std::vector<std::string>& words, std::string& error) {
    const std::string& name = words.at(0);
    const auto command = std::find_if(table.begin(), table.end(),
                                      [&name](const Command& c) { return c.name == name; });
    if (command == table.end()) {
        error = "unknown command '" + name + "'";
        return std::nullopt;
    }
    Arguments args;
    args.command = &*command;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (asksForHelp(word)) {
            // Nothing else of the line counts: the command's usage is all that is asked for.
            args.help = true;
            return args;
        }
        if (word.size() > 1 && word[0] == '-') {
            const auto& flags = command->flags;
            if (std::find(flags.begin(), flags.end(), word) != flags.end()) {
                args.options[word] = "";
                args.optionValues[word].emplace_back();
                continue;
            }
            const auto& allowed = command->options;
            if (std::find(allowed.begin(), allowed.end(), word) == allowed.end()) {
                error = "unknown option '" + word + "' for " + name;
                return std::nullopt;
            }
            if (i + 1 >= words.size()) {
                error = "option " + word + " needs a value";
                return std::nullopt;
            }
            args.options[word] = words[++i];
            args.optionValues[word].push_back(words[i]);
        } else {
            args.positional.push_back(word);
        }
    }
    if (const auto& reports = command->reports; !reports.empty()) {
        if (args.positional.empty() ||
            std::find(reports.begin(), reports.end(), args.positional[0]) == reports.end()) {
            error = name + " takes a report: " + joined(reports);
            return std::nullopt;
        }
        args.report = args.positional[0];
        args.positional.erase(args.positional.begin());
    }
    if (args.positional.size() != 1) {
        error = name + " takes one TEMPLATE";
        return std::nullopt;
    }
    return args;
}

int runCommandLine(const std::vector<Command>& table, const std::vector<std::string>& words) {
    if (words.empty()) {
        return usageErrorOf(table, "no command given");
    }
    if (asksForHelp(words[0]) || words[0] == "help") {
        std::cout << usageText(table);
        return 0;
    }
    if (words[0] == "--version") {
        std::cout << versionText();
        return 0;
    }
    std::string error;
    const auto args = parseArguments(table, words, error);
    if (!args) {
        return usageErrorOf(table, error);
    }
    if (args->help) {
        std::cout << commandUsageText(*args->command);
        return 0;
    }
    return args->command->run(*args);
}

} // namespace vsolo
