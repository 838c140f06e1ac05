// The command table of vsolo-cli: the usage text, the command names and the options all come from
// it. The programs' output itself is checked by cli_test.cpp.

#include "cli/commandline.h"
#include "cli/commands.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace vsolo {
namespace {

using Words = std::vector<std::string>;

// A table of its own: the exit code tells which command ran, and how it saw its template.
const std::vector<Command>& madeUpTable() {
    static const std::vector<Command> table = {
        {"first", "A", {"does a"}, {}, {}, +[](const Arguments&) { return 11; }},
        {"second",
         "[-x X] B",
         {"does b", "and more"},
         {"-x"},
         {},
         +[](const Arguments& args) { return args.positional == Words{"b.tpl"} ? 12 : 13; }},
        {"third", "r1|r2 C", {"does c"}, {}, {"r1", "r2"}, +[](const Arguments&) { return 14; }},
    };
    return table;
}

TEST(CommandLineTest, UsageTextListsTheTableInOrder) {
    const std::string list = "usage: vsolo-cli COMMAND [OPTIONS]\n"
                             "       vsolo-cli COMMAND --help\n"
                             "       vsolo-cli --version\n\ncommands:\n"
                             "  first A\n      does a\n"
                             "  second [-x X] B\n      does b\n      and more\n"
                             "  third r1|r2 C\n      does c\n\n";
    EXPECT_EQ(usageText(madeUpTable()).substr(0, list.size()), list);
}

TEST(CommandLineTest, RunsTheCommandItNames) {
    EXPECT_EQ(runCommandLine(madeUpTable(), {"second", "-x", "1", "b.tpl"}), 12);
    EXPECT_EQ(runCommandLine(madeUpTable(), {"first", "a.tpl"}), 11);
    EXPECT_EQ(runCommandLine(madeUpTable(), {"third", "r1", "c.tpl"}), 14);
}

TEST(CommandLineTest, AReportComesBeforeTheTemplate) {
    std::string error;
    const auto args = parseArguments(madeUpTable(), {"third", "r2", "c.tpl"}, error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->report, "r2");
    EXPECT_EQ(args->positional, Words{"c.tpl"});

    EXPECT_FALSE(parseArguments(madeUpTable(), {"third", "c.tpl", "r1"}, error));
    EXPECT_EQ(error, "third takes a report: r1, r2");
}

TEST(CommandLineTest, ARepeatedOptionKeepsEveryValueInOrder) {
    std::string error;
    const auto args =
        parseArguments(madeUpTable(), {"second", "-x", "2", "b.tpl", "-x", "1", "-x", "2"}, error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->options.at("-x"), "2");
    EXPECT_EQ(args->optionValues.at("-x"), (Words{"2", "1", "2"}));
}

TEST(CommandLineTest, AChoiceOptionTakesOneOfItsWords) {
    const std::vector<std::pair<std::string, int>> choices{{"one", 1}, {"two", 2}, {"three", 3}};
    Arguments args;
    EXPECT_EQ(choiceOption(args, "-n", choices, "number"), 1) << "the first without the option";
    args.options["-n"] = "three";
    EXPECT_EQ(choiceOption(args, "-n", choices, "number"), 3);

    args.options["-n"] = "four";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(choiceOption(args, "-n", choices, "number"), std::nullopt);
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(told.substr(0, told.find('\n')),
              "vsolo-cli: unknown number 'four' (one, two or three)");
}

TEST(CommandLineTest, ASecretComesFromTheOptionStandardInputOrTheEnvironment) {
    using Case = std::tuple<Arguments, const char*, const char*, std::optional<std::string>>;
    const Arguments given{nullptr, {}, {}, {{"-x", "given"}}, {}};
    const Arguments dash{nullptr, {}, {}, {{"-x", "-"}}, {}};
    for (const auto& [args, input, variable, secret] :
         {Case{given, "typed\n", "env", "given"}, Case{dash, "ty ped\r\nmore\n", "env", "ty ped"},
          Case{dash, "", "env", std::nullopt}, Case{{}, "typed\n", "env", "env"},
          Case{{}, "", nullptr, ""}}) {
        std::istringstream in(input);
        EXPECT_EQ(secretOption(args, "-x", in, variable), secret) << input;
    }
}

TEST(CommandTableTest, NamesAreUnique) {
    std::set<std::string_view> names;
    for (const Command& command : commands()) {
        EXPECT_TRUE(names.insert(command.name).second) << command.name << " is in the table twice";
    }
}

TEST(CommandTableTest, AnUnknownNameIsRefused) {
    std::string error;
    EXPECT_FALSE(parseArguments(commands(), {"frobnicate", "t.tpl"}, error));
    EXPECT_EQ(error, "unknown command 'frobnicate'");
}

// Each entry of the table on a command line of its own: its report if it takes one, a template
// and the given words.
class CommandEntryTest : public ::testing::TestWithParam<Command> {
protected:
    std::optional<Arguments> parse(const Words& options, std::string& error) const {
        const Command& command = GetParam();
        Words words{std::string(command.name)};
        if (!command.reports.empty()) {
            words.emplace_back(command.reports.front());
        }
        words.emplace_back("t.tpl");
        words.insert(words.end(), options.begin(), options.end());
        return parseArguments(commands(), words, error);
    }
};

TEST_P(CommandEntryTest, AcceptsTheOptionsItsUsageShows) {
    const Command& command = GetParam();
    for (const std::string_view option : command.options) {
        EXPECT_NE(command.synopsis.find(std::string(option) + " "), std::string_view::npos)
            << option << " is missing from the usage line";
        std::string error;
        const auto args = parse({std::string(option), "value"}, error);
        ASSERT_TRUE(args) << error;
        EXPECT_EQ(args->command->name, command.name);
        EXPECT_EQ(args->positional, Words{"t.tpl"});
        EXPECT_EQ(args->options,
                  (std::map<std::string, std::string>{{std::string(option), "value"}}));
    }
}

TEST_P(CommandEntryTest, RefusesTheOptionsOfOthers) {
    const Command& command = GetParam();
    std::set<std::string> others{"--bogus"};
    for (const Command& other : commands()) {
        others.insert(other.options.begin(), other.options.end());
    }
    for (const std::string_view own : command.options) {
        others.erase(std::string(own));
    }
    for (const std::string& option : others) {
        std::string error;
        EXPECT_FALSE(parse({option, "value"}, error));
        EXPECT_EQ(error, "unknown option '" + option + "' for " + std::string(command.name));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CommandEntryTest, ::testing::ValuesIn(commands()),
                         [](const ::testing::TestParamInfo<Command>& entry) {
                             return std::string(entry.param.name);
                         });

} // namespace
} // namespace vsolo
