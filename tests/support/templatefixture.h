#pragma once

#include "core/base/clock.h"
#include "core/fileerror.h"
#include "core/model/templatefile.h"
#include "tests/support/dates.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>
#include <string>

namespace vsolo::testing {

// A template file named work.tpl in a folder of its own, beside its transaction and side files.
// The clock stands at noon on May 6, 2024; every message the reporter shows is recorded, and each
// request to end the program is counted.
class TemplateFileFixture : public ::testing::Test {
protected:
    // A file held by another process is refused at once.
    TemplateFileFixture() {
        file.setPath(tpl());
        setLockWait(std::chrono::milliseconds(0));
    }

    std::string tpl() const { return dir.file("work.tpl"); }
    std::string trs() const { return dir.file("work.trs"); }
    std::string tlx() const { return dir.file("work.tlx"); }

    // Writes the bytes as the template and loads it; a failure is shown through the reporter.
    bool loadTemplate(const std::string& bytes) {
        writeBytes(tpl(), bytes);
        return reporter.present(file.load(tpl()));
    }

    TempDir dir;
    SettableClock clock{dateTime(2024, 5, 6, 12, 0)};
    ScriptedPrompter prompter;
    int quits = 0;
    FileErrorReporter reporter{prompter, [this] { ++quits; }};
    TemplateFile file{clock};
};

} // namespace vsolo::testing
