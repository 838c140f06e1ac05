#include "core/inisettingsstore.h"
#include "tests/support/tempdir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace vsolo {
namespace {

using testing::TempDir;

// One line of a file as QSettings writes it and the text the tracker reads back from it.
struct EscapeCase {
    const char* label;
    std::string line;
    std::string text;
};

class IniValueTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(IniValueTest, ReadsTheTextQSettingsWrote) {
    const std::string file = "[UserConfig]\n" + GetParam().line + "\n";
    const IniValues values = parseQSettingsIni(file);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values.begin()->first.first, "UserConfig");
    EXPECT_EQ(values.begin()->second.text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Escapes, IniValueTest,
    ::testing::Values(
        EscapeCase{"Plain", "Remote=1", "1"},
        EscapeCase{"PercentInName", "Sender%20Address=me@example.org", "me@example.org"},
        EscapeCase{"QuotedComma", "MAPIPassword=\"a,b;c=d\"", "a,b;c=d"},
        EscapeCase{"QuotedBlanks", "Level1Def=\" two words \"", " two words "},
        EscapeCase{"BackslashAndQuote", "Level1Def=back\\\\slash \\\"q\\\"", "back\\slash \"q\""},
        EscapeCase{"ControlEscapes", "Level1Def=a\\tb\\nc\\r", "a\tb\nc\r"},
        EscapeCase{"HexEscape", "Level1Def=x\\x1f", "x\x1f"},
        EscapeCase{"Utf8Kept", "Level1Def=Gr\xc3\xbc\xc3\x9f\x65", "Gr\xc3\xbc\xc3\x9f\x65"},
        EscapeCase{"ByteArray", "OldLocation=@ByteArray(/tmp/\\xff\\x41x)", "/tmp/\xff\x41x"},
        EscapeCase{"DoubleAt", "Level1Def=@@home", "@home"},
        EscapeCase{"UnquotedList", "Level1Def=a, b,c", "a, b, c"},
        EscapeCase{"Empty", "Level1Def=", ""}),
    [](const ::testing::TestParamInfo<EscapeCase>& c) { return c.param.label; });

TEST(IniSettingsStore, ReadsGroupsIntsAndRefusesWrites) {
    TempDir dir;
    {
        std::ofstream out(dir.file("s.ini"), std::ios::binary);
        out << "[General]\nTop=1\n\n[%General]\nInner=2\n\n[UserConfig]\nHoursDayMin=27000\n"
               "List=\"1\", 2\nWord=abc\r\n";
    }
    IniSettingsStore store(dir.file("s.ini"));
    EXPECT_TRUE(store.wasRead());
    EXPECT_EQ(store.readText("", "Top"), "1");
    EXPECT_EQ(store.readInt("General", "Inner"), 2);
    EXPECT_EQ(store.readInt("UserConfig", "HoursDayMin"), 27000);
    EXPECT_EQ(store.readInt("UserConfig", "List"), std::nullopt);
    EXPECT_EQ(store.readInt("UserConfig", "Word"), std::nullopt);
    EXPECT_EQ(store.readText("UserConfig", "Word"), "abc");
    EXPECT_EQ(store.readText("UserConfig", "Missing"), std::nullopt);
    EXPECT_FALSE(store.writeInt("UserConfig", "HoursDayMin", 1));
    EXPECT_FALSE(store.writeText("UserConfig", "Word", "x"));
    store.remove("UserConfig", "Word");
    EXPECT_EQ(store.readText("UserConfig", "Word"), "abc");

    const IniSettingsStore missing(dir.file("none.ini"));
    EXPECT_FALSE(missing.wasRead());
    EXPECT_EQ(missing.readText("UserConfig", "Word"), std::nullopt);
}

TEST(IniSettingsStore, FindsTheTrackersFileUnderTheConfigFolder) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string before = saved != nullptr ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(IniSettingsStore::trackerSettingsPath(), "/cfg/Orvane Systems/Veltimo Solo.ini");
    ::setenv("XDG_CONFIG_HOME", "", 1);
    const char* home = std::getenv("HOME");
    EXPECT_EQ(IniSettingsStore::trackerSettingsPath(),
              std::string(home != nullptr ? home : "") +
                  "/.config/Orvane Systems/Veltimo Solo.ini");
    if (saved != nullptr) {
        ::setenv("XDG_CONFIG_HOME", before.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

} // namespace
} // namespace vsolo
