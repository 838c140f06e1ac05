#pragma once

#include "cli/command.h"

#include <vector>

namespace vsolo {

// Every command of vsolo-cli, in the order the usage text lists them.
const std::vector<Command>& commands();

} // namespace vsolo
