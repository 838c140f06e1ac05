#pragma once

#include "core/base/fileio.h"
#include "core/base/prompter.h"

#include <functional>
#include <optional>
#include <string>

namespace vsolo {

// The text of the file-error message for an error and a path; nothing for the file-exists error,
// which is not shown.
std::optional<std::string> fileErrorText(const FileError& error, const std::string& path);

// True for the errors after which the program closes: no permission, held by another process,
// unreachable network path.
bool fileErrorEndsProgram(const FileError& error);

inline constexpr const char* kProgramWillClose = "Veltimo Solo will close.";

// Reports file failures to the user: one message box per failure and, for the errors that end the
// program, the closing box and then the quit request the program provided.
class FileErrorReporter {
public:
    FileErrorReporter(Prompter& prompter, std::function<void()> requestQuit)
        : m_prompter(&prompter), m_requestQuit(std::move(requestQuit)) {}

    void report(const FileError& error, const std::string& path) const;
    // A file that is there but cannot be read as what it should be.
    void reportDamaged(const std::string& path, const std::string& detail) const;
    Prompter& prompter() const { return *m_prompter; }

private:
    Prompter* m_prompter;
    std::function<void()> m_requestQuit;
};

// The message shown for a damaged file.
std::string damagedFileText(const std::string& path, const std::string& detail);

} // namespace vsolo
