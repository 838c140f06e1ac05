#pragma once

#include "cli/command.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vsolo {

// The usage text of a command table: a line for each command with its description under it,
// then the notes that hold for several of them.
std::string usageText(const std::vector<Command>& table);

// The usage line of one command and its description, for COMMAND --help.
std::string commandUsageText(const Command& command);

// The program's name and version, one line, for --version.
std::string versionText();

// The notes that end the usage text, one paragraph; the manual page shows them too.
std::string_view usageNotes();

// Tells what was wrong with the command line, then the usage text of every command, on standard
// error; returns kExitError.
int usageError(const std::string& message);

// The usage error for an option's word that is not among `words`.
void unknownChoice(const std::string& word, const std::vector<std::string>& words,
                   const std::string& what);

// The value of an option that takes one of `choices`, each a word and what it stands for; the
// first when the option is not given. Nothing, after the usage error "unknown WHAT 'WORD' (A or
// B)", for another word.
template <typename T>
std::optional<T> choiceOption(const Arguments& args, const std::string& option,
                              const std::vector<std::pair<std::string, T>>& choices,
                              const std::string& what) {
    const auto given = args.options.find(option);
    if (given == args.options.end()) {
        return choices.front().second;
    }
    std::vector<std::string> words;
    for (const auto& [word, value] : choices) {
        if (word == given->second) {
            return value;
        }
        words.push_back(word);
    }
    unknownChoice(given->second, words, what);
    return std::nullopt;
}

// A secret such as a password, kept off the command line where other users can see it: the
// option's value, but "-" reads the first line of `input` (nothing when it has none); without
// the option, the value of the environment variable `variable` (null: not set), else "".
std::optional<std::string> secretOption(const Arguments& args, const std::string& option,
                                        std::istream& input, const char* variable);

// The words after the program's name read for the command they name. Options may stand anywhere
// after the command; each takes one value but the flags. --help or -h in place of an option asks
// for the command's usage: the rest of the line is not read. Without a result `error` says what
// is wrong.
std::optional<Arguments> parseArguments(const std::vector<Command>& table,
                                        const std::vector<std::string>& words, std::string& error);

// Runs the command the words name; the usage text for --help, -h and help, the version for
// --version and a command's own usage for COMMAND --help (or -h), each with exit code 0.
int runCommandLine(const std::vector<Command>& table, const std::vector<std::string>& words);

} // namespace vsolo
