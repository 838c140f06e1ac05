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

} // namespace vsolo
