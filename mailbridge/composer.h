#pragma once

// Starting the desktop's mail composer, which stands in for a mail program's own send dialog.

#include <optional>
#include <string>
#include <vector>

namespace vsolo::mail {

// The executable file of that name in a folder of $PATH, the first found.
std::optional<std::string> findOnPath(const std::string& name);

// Starts the program with the arguments, without a shell, detached: it is not this process's
// child, so it never waits for a parent nor lingers after it. True once the program runs; false
// when it could not be started.
bool startDetached(const std::string& program, const std::vector<std::string>& arguments);

} // namespace vsolo::mail
