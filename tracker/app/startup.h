#pragma once

#include <cstdint>
#include <string>

namespace vsolo {

// What the program opens at start: the file named on the command line, else the remembered
// template when it is still there. A remembered template that is missing or a folder is warned
// about; with none remembered, the training card opens instead of the tip of the day.
struct StartupDocument {
    std::string path;         // empty: start with an empty document
    bool warnMissing = false; // the remembered template is gone: tell the user its path
    bool noTemplate = false;  // nothing was remembered
};
StartupDocument decideStartupDocument(const std::string& commandLinePath,
                                      const std::string& templateLocation);

// The version rule for a needed system library: the major and minor part (high and low 16 bits of
// the first word) at least 4.72, or the build and revision part (of the second word) at least
// 2106.4; each word is compared as one unsigned number and either one suffices.
bool systemLibraryVersionAccepted(std::uint32_t majorMinor, std::uint32_t buildRevision);

// The run-time Qt library must be at least the version the program was built with, in major and
// minor; versions are "major.minor.patch" texts.
bool runtimeLibraryAccepted(const char* runtimeVersion, const char* builtVersion);

} // namespace vsolo
