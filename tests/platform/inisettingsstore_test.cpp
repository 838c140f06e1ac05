// What the tracker writes with QSettings is what the command-line tool reads without Qt.

#include "core/inisettingsstore.h"
#include "platform/settings/qsettingsstore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace vsolo {
namespace {

struct AwkwardText {
    const char* label;
    const char* name;
    std::string value;
};

class IniReadsQSettings : public ::testing::TestWithParam<AwkwardText> {};

TEST_P(IniReadsQSettings, TextComesBackAsWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Veltimo Solo.ini"));
    {
        QSettingsStore writer(QStringLiteral("Veltimo Solo"), QSettingsStore::Access::ReadWrite,
                              path);
        ASSERT_TRUE(writer.writeText("UserConfig", GetParam().name, GetParam().value));
        ASSERT_TRUE(writer.writeInt("UserConfig", "HoursDayMax", -30600));
    }
    const IniSettingsStore reader(path.toStdString());
    EXPECT_EQ(reader.readText("UserConfig", GetParam().name), GetParam().value);
    EXPECT_EQ(reader.readInt("UserConfig", "HoursDayMax"), -30600);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniReadsQSettings,
    ::testing::Values(AwkwardText{"Spaces", "Sender Address", "  a  b  "},
                      AwkwardText{"Quotes", "MAPIPassword", "\"quoted\" 'x'"},
                      AwkwardText{"Backslashes", "MAPILogon", "C:\\mail\\\\x"},
                      AwkwardText{"Commas", "Receiver Address", "a,b, c;d"},
                      AwkwardText{"Equals", "Level1Def", "a=b=="},
                      AwkwardText{"NonAscii", "Level2Def",
                                  "T\xc3\xa4tigkeit \xe2\x82\xac \xf0\x9f\x98\x80"},
                      AwkwardText{"HexAfterControl", "Level1Def",
                                  "\x01"
                                  "abc\x7f"
                                  "9"},
                      AwkwardText{"NonUtf8Path", "OldLocation",
                                  "/tmp/\xff\xfe"
                                  "ab/\xe9t\xe9"},
                      AwkwardText{"LeadingAt", "Level1Def", "@ByteArray(x)"},
                      AwkwardText{"IntText", "Remote", "1"}),
    [](const ::testing::TestParamInfo<AwkwardText>& c) { return c.param.label; });

} // namespace
} // namespace vsolo
