// The manual pages: vsolo-cli's made from the command table, the tracker's and the reporting
// tool's from their pages, all valid man(7) markup and installed as the build made them.

#include "cli/commandline.h"
#include "cli/commands.h"
#include "man/manpage.h"
#include "tests/support/pdftext.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::commandOutput;

// The page as a terminal shows it, on lines long enough that no word is hyphenated, without the
// bold and underline overstrikes, and with groff's warnings (lines "troff: ...") mixed in.
std::string rendered(const std::string& page) {
    testing::TempDir dir;
    testing::writeBytes(dir.file("page.1"), page);
    return commandOutput("groff -man -Tascii -rLL=2000n -P-cbou -ww '" + dir.file("page.1") +
                         "' 2>&1");
}

// What the page shows is the text with the lines of each paragraph filled; compare words only.
std::string words(const std::string& text) {
    std::istringstream in(text);
    std::string out;
    std::string word;
    while (in >> word) {
        out += (out.empty() ? "" : " ") + word;
    }
    return out;
}

// The usage lines as the page shows them: filled, with the backquotes of command names gone (the
// page sets those names in bold).
std::string joined(const std::vector<std::string_view>& lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text += (text.empty() ? "" : " ") + std::string(line);
    }
    std::erase(text, '`');
    return text;
}

class ManPageCommandTest : public ::testing::TestWithParam<std::string_view> {
protected:
    static void SetUpTestSuite() {
        s_shown = new std::string(words(rendered(manPage(commands(), usageNotes(), "9.9"))));
    }
    static void TearDownTestSuite() {
        delete s_shown;
        s_shown = nullptr;
    }
    static std::string* s_shown;
};
std::string* ManPageCommandTest::s_shown = nullptr;

const Command& named(std::string_view name) {
    for (const Command& command : commands()) {
        if (command.name == name) {
            return command;
        }
    }
    throw std::out_of_range(std::string(name));
}

// Each command's usage line and description as the reader sees them, with the options as typed.
TEST_P(ManPageCommandTest, ShowsUsageAndDescription) {
    const Command& command = named(GetParam());
    EXPECT_NE(s_shown->find(words(std::string(command.name) + " " + std::string(command.synopsis) +
                                  " " + joined(command.description))),
              std::string::npos)
        << *s_shown;
}

std::vector<std::string_view> commandNames() {
    std::vector<std::string_view> names;
    for (const Command& command : commands()) {
        names.push_back(command.name);
    }
    return names;
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, ManPageCommandTest, ::testing::ValuesIn(commandNames()),
                         [](const auto& param) { return std::string(param.param); });

TEST(ManPageTest, ShowsTheNotesAndExitCodes) {
    const std::string shown = words(rendered(manPage(commands(), usageNotes(), "9.9")));
    EXPECT_NE(shown.find(words(joined({usageNotes()}))), std::string::npos) << shown;
    EXPECT_NE(shown.find("EXIT STATUS 0 "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" 1 check or vsr found a damaged file."), std::string::npos) << shown;
    EXPECT_NE(shown.find("Veltimo Solo 9.9"), std::string::npos) << shown;
}

// Text that roff would take for markup is shown as written: a leading dot or quote, a backslash,
// and a minus that must not become a hyphen.
TEST(ManPageTest, EscapesMarkupInTheTable) {
    const std::vector<Command> table = {
        {"odd", "--x \\y", {".starts with a dot", "'and a quote \\n"}, {"--x"}, {}, nullptr},
    };
    const std::string page = manPage(table, "`odd` note.\n.TH\n", "1");
    EXPECT_NE(page.find("\\fBodd\\fR \\-\\-x \\ey\n"), std::string::npos) << page;
    const std::string shown = words(rendered(page));
    EXPECT_NE(shown.find("odd --x \\y .starts with a dot 'and a quote \\n"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("odd note. .TH"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("troff"), std::string::npos) << shown;
}

// groff has nothing to warn about in the page of the real table.
TEST(ManPageTest, IsCleanMarkup) {
    const std::string shown = rendered(manPage(commands(), usageNotes(), "9.9"));
    EXPECT_EQ(shown.find("troff"), std::string::npos) << shown;
}

// The tracker's and the reporting tool's pages: clean markup, every section the reader looks for,
// each option, file and variable shown as written, placeholders in italics.
class ProgramManPageTest : public ::testing::TestWithParam<const ProgramPage*> {};

TEST_P(ProgramManPageTest, ShowsEveryItemInCleanMarkup) {
    const ProgramPage& page = *GetParam();
    const std::string markup = manPage(page, "9.9");
    const std::string shown = rendered(markup);
    EXPECT_EQ(shown.find("troff"), std::string::npos) << shown;
    const std::string flat = words(shown);
    EXPECT_NE(flat.find("Veltimo Solo 9.9"), std::string::npos) << flat;
    EXPECT_NE(flat.find("SYNOPSIS " + std::string(page.name) + " [TEMPLATE]"), std::string::npos)
        << flat;
    EXPECT_NE(markup.find("\\fITEMPLATE\\fR"), std::string::npos) << markup;
    for (const char* heading :
         {"NAME", "DESCRIPTION", "OPTIONS", "FILES", "ENVIRONMENT", "SEE ALSO"}) {
        EXPECT_NE(shown.find(std::string("\n") + heading + "\n"), std::string::npos) << heading;
    }
    for (const auto* list : {&page.options, &page.files, &page.environment}) {
        for (const PageItem& item : *list) {
            std::string term(item.term);
            std::erase_if(term, [](char c) { return c == '<' || c == '>'; });
            EXPECT_NE(flat.find(words(term)), std::string::npos) << term;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramManPageTest,
                         ::testing::Values(&trackerPage(), &reportingPage()),
                         [](const auto& param) { return std::string(param.param->name); });

// Each page the build installs is the one its table makes now.
TEST(ManPageTest, BuiltPagesMatchTheirTables) {
    const auto built = [](const std::string& name) {
        return commandOutput("gzip -dc '" VSOLO_MAN_DIR "/" + name + ".1.gz'");
    };
    EXPECT_EQ(built("vsolo-cli"), manPage(commands(), usageNotes(), VSOLO_VERSION));
    EXPECT_EQ(built("vsolo"), manPage(trackerPage(), VSOLO_VERSION));
    EXPECT_EQ(built("vsreport"), manPage(reportingPage(), VSOLO_VERSION));
}

} // namespace
} // namespace vsolo
