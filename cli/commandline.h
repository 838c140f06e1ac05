#pragma once

#include "cli/command.h"

#include <optional>
#include <string>
#include <vector>

namespace vsolo {

// The usage text of a command table: a line for each command with its description under it,
// then the notes that hold for several of them.
std::string usageText(const std::vector<Command>& table);

// Tells what was wrong with the command line, then the usage text of every command, on standard
// error; returns kExitError.
int usageError(const std::string& message);

// The words after the program's name read for the command they name. Options may stand anywhere
// after the command; each takes one value. Without a result `error` says what is wrong.
std::optional<Arguments> parseArguments(const std::vector<Command>& table,
                                        const std::vector<std::string>& words, std::string& error);

// Runs the command the words name; the usage text for --help, -h and help.
int runCommandLine(const std::vector<Command>& table, const std::vector<std::string>& words);

} // namespace vsolo
