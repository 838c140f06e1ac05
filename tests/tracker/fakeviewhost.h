#pragma once

// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QPrinter>

// The project headers after the Qt header; see above.
#include "tracker/app/viewhost.h"

#include <memory>

namespace vsolo::testing {

// A host that shows a view alone, without menus, status bar or title: it hands out the document
// and the prompter it was given, and the commands the view runs go nowhere.
class FakeViewHost final : public ViewHost {
public:
    FakeViewHost(CSoloDoc& doc, Prompter& prompter) : m_doc(doc), m_prompter(prompter) {}

    CSoloDoc& document() override { return m_doc; }
    Prompter& prompter() override { return m_prompter; }
    void runCommand(int) override {}
    void updateCommands() override {}
    void refreshTitle() override {}
    void showStatus(const QString&) override {}
    QPrinter& printer() override {
        if (!m_printer) {
            m_printer = std::make_unique<QPrinter>();
        }
        return *m_printer;
    }

private:
    CSoloDoc& m_doc;
    Prompter& m_prompter;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace vsolo::testing
