// The settings file when it cannot be written: the file or its folder read-only. The writes are
// refused and reported to the caller that tells the user, the old file stays byte for byte and
// the values read back are the old ones. The owner's permissions do not hold back the
// administrator, so run as the administrator each case runs in a child process as "nobody".

#include "core/document.h"
#include "core/preferences.h"
#include "core/settings.h"
#include "platform/settings/qsettingsstore.h"
#include "reporting/data/reportsettings.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vsolo::testing {
namespace {

constexpr uid_t kNobody = 65534;

enum class Blocked { File, Folder };

const std::string kOldSettings = "[UserConfig]\nDayStart=30000\n";

class SettingsFaultTest : public ::testing::TestWithParam<Blocked> {
protected:
    std::string folder() const { return dir.file("config"); }
    std::string settingsFile() const { return folder() + "/settings.ini"; }

    // Lays down the old settings file, takes the write permission away, and runs the check; in
    // a child process of another user when this one is the administrator.
    void run(const std::function<void(QSettingsStore&)>& check) {
        if (::geteuid() != 0) {
            prepareAndCheck(check);
            return;
        }
        ASSERT_EQ(::chown(dir.path().c_str(), kNobody, kNobody), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool dropped = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
            if (dropped) {
                prepareAndCheck(check);
            }
            ::_exit(dropped && !::testing::Test::HasFailure() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the check failed as nobody";
    }

private:
    void prepareAndCheck(const std::function<void(QSettingsStore&)>& check) {
        ASSERT_EQ(::mkdir(folder().c_str(), 0700), 0);
        writeBytes(settingsFile(), kOldSettings);
        ASSERT_EQ(::chmod(settingsFile().c_str(), GetParam() == Blocked::File ? 0400 : 0600), 0);
        ASSERT_EQ(::chmod(folder().c_str(), GetParam() == Blocked::Folder ? 0500 : 0700), 0);
        {
            QSettingsStore store(QString::fromLatin1(kTrackerApplicationName),
                                 QSettingsStore::Access::ReadWrite,
                                 QString::fromStdString(settingsFile()));
            check(store);
            EXPECT_EQ(store.readInt("UserConfig", "DayStart"), 30000) << "the old value";
        }
        EXPECT_EQ(readBytes(settingsFile()), kOldSettings);
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder())) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{"settings.ini"}) << "a file left behind";
        ::chmod(folder().c_str(), 0700);
    }

protected:
    TempDir dir;
};

TEST_P(SettingsFaultTest, TheTrackersPreferencesAreRefused) {
    run([](QSettingsStore& store) {
        Settings settings(store);
        ScriptedPrompter prompter;
        SettableClock clock{dateTime(2024, 5, 6, 12, 0)};
        CSoloDoc doc{settings, prompter, [] {}, clock};
        Preferences p = Preferences::read(settings);
        p.dayStart = hm(9, 0);
        EXPECT_FALSE(applyPreferences(p, doc)) << "the dialog tells the user on false";
    });
}

TEST_P(SettingsFaultTest, AReportingSelectionIsRefused) {
    run([](QSettingsStore& store) {
        EXPECT_FALSE(reporting::writeReportSettings(reporting::ReportSettings{}, store));
    });
}

TEST_P(SettingsFaultTest, ALocalCopyThatCannotBeRememberedIsToldAndNotUsed) {
    run([this](QSettingsStore& store) {
        Settings settings(store);
        ScriptedPrompter prompter;
        SettableClock clock{dateTime(2024, 5, 6, 12, 0)};
        CSoloDoc doc{settings, prompter, [] {}, clock};
        const std::string work = dir.file("work.tpl");
        writeBytes(work, v4Template("Veltimo Solo File", 2, 2,
                                    {{1, 0, 0, 0, 1, 1, 0, "Client", " ", " "},
                                     {1, 0, 1, 1, 1, 2, 0, "Calls", " ", " "}}));
        writeBytes(dir.file("work.trs"), transactionHeader());
        ASSERT_TRUE(doc.open(work));
        ASSERT_EQ(::mkdir(dir.file("local").c_str(), 0700), 0);

        EXPECT_FALSE(doc.switchToLocalCopy(dir.file("local")));

        EXPECT_EQ(prompter.texts(), std::vector<std::string>{kLocalCopyNotRememberedText});
        EXPECT_EQ(doc.path(), work);
        EXPECT_FALSE(doc.usingLocalCopy());
    });
}

INSTANTIATE_TEST_SUITE_P(Blocked, SettingsFaultTest,
                         ::testing::Values(Blocked::File, Blocked::Folder), [](const auto& param) {
                             return param.param == Blocked::File ? "ReadOnlyFile"
                                                                 : "ReadOnlyFolder";
                         });

} // namespace
} // namespace vsolo::testing
