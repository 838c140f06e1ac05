#include "cli/session.h"

#include "cli/command.h"

#include <iostream>

namespace vsolo {
namespace {

// One line for each message; the line breaks of a message box are left out.
void print(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        line += text[i];
    }
    std::cerr << "vsolo-cli: " << line << '\n';
}

} // namespace

void StderrPrompter::show(std::string_view text, Icon) {
    print(text);
}

Prompter::Answer StderrPrompter::ask(std::string_view text, Buttons, Answer preferred, Icon) {
    print(text);
    return preferred;
}

Session::Session() : m_reporter(m_prompter, [] {}) {
    m_file.setReporter(&m_reporter);
}

bool Session::loadTemplate(const std::string& path) {
    m_file.setPath(path);
    return m_file.load(path);
}

bool Session::loadWithTransactions(const std::string& path) {
    return loadTemplate(path) && m_file.loadTransactions();
}

int Session::failureExit() const {
    return m_file.lastFailure() == TemplateFile::Failure::Damaged ? kExitDamaged : kExitError;
}

} // namespace vsolo
