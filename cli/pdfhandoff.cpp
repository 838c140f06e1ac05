// pdf ...: handed over whole to vsolo-cli-pdf beside this program (see cli/pdf/main.cpp), which
// parses the same command line again with the same table and prints.

#include "cli/command.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace vsolo {

int runPdf(const Arguments& args) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string printer =
        (error ? std::filesystem::path() : self.parent_path() / "vsolo-cli-pdf").string();
    // The words of the command line, in an order that parses the same.
    std::vector<std::string> words{printer, "pdf", args.report};
    for (const auto& [option, values] : args.optionValues) {
        const auto& flags = args.command->flags;
        const bool flag = std::find(flags.begin(), flags.end(), option) != flags.end();
        for (const std::string& value : values) {
            words.push_back(option);
            if (!flag) {
                words.push_back(value);
            }
        }
    }
    words.insert(words.end(), args.positional.begin(), args.positional.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::cout.flush();
    if (!error) {
        ::execv(printer.c_str(), argv.data());
    }
    std::cerr << "vsolo-cli: the PDF printer " << printer
              << " cannot be started: " << std::strerror(error ? error.value() : errno) << '\n';
    return kExitError;
}

} // namespace vsolo
