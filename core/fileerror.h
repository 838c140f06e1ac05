#pragma once

#include "core/base/fileerrortext.h"
#include "core/base/fileio.h"
#include "core/base/fileresult.h"
#include "core/prompter.h"

#include <functional>
#include <string>

namespace vsolo {

// Tells the user of file failures: one message box per failure and, for the errors that end the
// program, the closing box and then the quit request the program provided.
class FileErrorReporter {
public:
    FileErrorReporter(Prompter& prompter, std::function<void()> requestQuit)
        : m_prompter(&prompter), m_requestQuit(std::move(requestQuit)) {}

    void report(const FileError& error, const std::string& path) const;
    // A file that is there but cannot be read as what it should be.
    void reportDamaged(const std::string& path, const std::string& detail) const;
    // Shows what the result has for the user: the notice of a record cut short, then the failure.
    // Gives whether the operation was done.
    bool present(const FileResult& result) const;
    // As present(), with `failureText` told in place of the failure's own text, for a caller that
    // says what the failure means for the user's work; the closing message still follows an
    // error that ends the program.
    bool present(const FileResult& result, const std::string& failureText) const;
    Prompter& prompter() const { return *m_prompter; }

private:
    Prompter* m_prompter;
    std::function<void()> m_requestQuit;
};

} // namespace vsolo
