#pragma once

// The template a command works on, with the file layer's messages going to standard error.

#include "core/base/fileerror.h"
#include "core/model/templatefile.h"

#include <string>

namespace vsolo {

// Messages of the file layer go to standard error; questions take their preferred answer.
class StderrPrompter final : public Prompter {
public:
    void show(std::string_view text, Icon) override;
    Answer ask(std::string_view text, Buttons, Answer preferred, Icon) override;
};

class Session {
public:
    Session();

    // Loads the template; false (after the message) when it is missing or damaged.
    bool loadTemplate(const std::string& path);
    // Loads the template and then its transactions; false (after the message) when either fails.
    bool loadWithTransactions(const std::string& path);
    // The exit code for the last failure: kExitDamaged for a damaged file, else kExitError.
    int failureExit() const;
    TemplateFile& file() { return m_file; }

private:
    StderrPrompter m_prompter;
    FileErrorReporter m_reporter;
    TemplateFile m_file;
};

} // namespace vsolo
