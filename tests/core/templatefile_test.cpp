#include "core/base/clock.h"
#include "core/base/fileio.h"
#include "core/document.h"
#include "core/fileerror.h"
#include "core/model/templatefile.h"
#include "core/model/transactionformat.h"
#include "tests/support/bytebuilder.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tests/support/templatefixture.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vsolo {
namespace {

using namespace testing;
using namespace std::string_literals;

const char* const kLocked = "A needed file is locked by another process";
const char* const kWillClose = "Veltimo Solo will close.";
const char* const kConversionText =
    "Veltimo Solo has detected that this template is a version 3 file.  Veltimo Solo will now "
    "convert this template to a version 4 file.";

std::string notFoundText(const std::string& path) {
    return "Cannot find " + path +
           " the file was either renamed, moved to another directory, or deleted.";
}

std::string damagedText(const std::string& path, const std::string& detail) {
    return "The file " + path + " is damaged and cannot be used: " + detail +
           ".\r\n\r\nNothing was changed in the file.";
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// Runs `body` in a child process and gives its exit code, or -1 when it did not exit normally.
// Tests that change limits of the process do it there; the child reports through its exit code
// only, since a failed assertion in it would not reach the parent.
template <typename Body>
int inChild(Body body) {
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        int code = 99; // an exception must not carry the child on into the other tests
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Lets files grow to at most `bytes` bytes; a write beyond fails with EFBIG rather than ending
// the process. The hard limit stays, so the limit can be lifted again.
bool limitFileSize(rlim_t bytes) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
        return false;
    }
    ::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

bool liftFileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limit.rlim_max;
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

const std::string kTooLargeText = "An error has occurred.  Error#" + std::to_string(EFBIG);

// A small version-4 template: two level-1 items and three level-2 items.
std::string smallVersion4(std::string_view typeText = "Veltimo Solo File") {
    return v4Template(typeText, 3, 4,
                      {{1, 0, 0, 0, 1, 1, 60, "Client", "Billable work", " "},
                       {2, 0, 0, 0, 1, 1, 40, "Admin", " ", ""},
                       {1, 0, 1, 1, 1, 2, 0, "Meetings", " ", " "},
                       {1, 1, 2, 2, 0, 2, 0, "Minutes", "", "x"},
                       {2, 0, 3, 1, 1, 2, 0, "Mail", " ", " "}});
}

std::string smallTag512() {
    return legacyTemplate(kTag512Bytes,
                          {{101, "Client work", "Billable", 70}, {102, "Internal", "", 30}},
                          {{201, "Meetings", "Calls"}, {202, "Coding", ""}, {203, "Email", ""}},
                          {{101, 201}, {101, 202}, {102, 203}});
}

std::vector<std::string> assignedNames(const LevelItem* item) {
    std::vector<std::string> out;
    for (const LevelItem* a : item->assigned()) {
        out.push_back(a->name());
    }
    return out;
}

class TemplateFileTest : public TemplateFileFixture {
protected:
    // Files of the folder whose names start with '.', as a temporary file would.
    std::vector<std::string> hiddenFiles() const {
        std::vector<std::string> out;
        for (const std::string& name : dir.entries()) {
            if (!name.empty() && name[0] == '.') {
                out.push_back(name);
            }
        }
        return out;
    }
};

// ---------------------------------------------------------------------------------------------
// Paths

TEST(TemplatePathsTest, DerivesEveryFileFromTheTemplatePath) {
    EXPECT_EQ(TemplatePaths::transactionFile("/home/u/work.tpl"), "/home/u/work.trs");
    EXPECT_EQ(TemplatePaths::sideFile("/home/u/work.tpl"), "/home/u/work.tlx");
    EXPECT_EQ(TemplatePaths::handOffTransactions("/home/u/work.tpl"), "/home/u/trans.dat");
    EXPECT_EQ(TemplatePaths::handOffLog("/home/u/work.tpl"), "/home/u/log.dat");
    EXPECT_EQ(TemplatePaths::baseName("/home/u/work.tpl"), "work");
    // The extension starts at the last dot of the file name, never of a folder.
    EXPECT_EQ(TemplatePaths::transactionFile("/home/u.v2/work"), "/home/u.v2/work.trs");
    EXPECT_EQ(TemplatePaths::transactionFile("/home/u/my.work.tpl"), "/home/u/my.work.trs");
    EXPECT_EQ(TemplatePaths::baseName("/home/u/my.work.tpl"), "my.work");
    EXPECT_EQ(TemplatePaths::handOffLog("work.tpl"), "log.dat");
}

// ---------------------------------------------------------------------------------------------
// Loading and saving templates

TEST_F(TemplateFileTest, Version4LoadsAndSavesByteIdentical) {
    const std::string bytes = smallVersion4();
    ASSERT_TRUE(loadTemplate(bytes));
    EXPECT_EQ(file.format(), TemplateFormat::Version4);
    EXPECT_FALSE(file.isManaged());
    EXPECT_EQ(file.level1().size(), 2u);
    EXPECT_EQ(file.level2().size(), 3u);
    EXPECT_EQ(file.store().nextGroupNumber(), 3);
    EXPECT_EQ(file.store().nextSubId(), 4);

    ASSERT_TRUE(reporter.present(file.save(dir.file("copy.tpl"))));
    EXPECT_EQ(readBytes(dir.file("copy.tpl")), bytes);
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(readBytes(tpl()), bytes);
    EXPECT_FALSE(exists(tlx())) << "only legacy templates have a side file";
    EXPECT_TRUE(prompter.empty());
    EXPECT_TRUE(hiddenFiles().empty());
}

TEST_F(TemplateFileTest, ManagedVersion4KeepsItsTypeText) {
    const std::string bytes = smallVersion4("MSProject File");
    ASSERT_TRUE(loadTemplate(bytes));
    EXPECT_TRUE(file.isManaged());
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(readBytes(tpl()), bytes);
}

TEST_F(TemplateFileTest, Tag512LoadsAndSavesTemplateAndSideFileByteIdentical) {
    const std::string bytes = smallTag512();
    const std::string side = sideFile({{101, 70, 1, {201, 202}}, {102, 30, 0, {203}}});
    writeBytes(tlx(), side);
    ASSERT_TRUE(loadTemplate(bytes));
    EXPECT_EQ(file.format(), TemplateFormat::Tag512);
    EXPECT_FALSE(file.level1().at(1)->isActive());
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(readBytes(tpl()), bytes);
    EXPECT_EQ(readBytes(tlx()), side);
    EXPECT_TRUE(prompter.empty());
}

TEST_F(TemplateFileTest, Tag512FilesAlwaysReadBackAsTag512) {
    // A new, empty document and a template that became managed must not start like a version-3
    // file, or the next open would convert them.
    file.setPath(tpl());
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(readBytes(tpl()).substr(0, 4), std::string("\0\x02\0\0", 4));
    EXPECT_EQ(recognizeTemplateFormat(readBytes(tpl())), TemplateFormat::Tag512);

    ASSERT_TRUE(loadTemplate(smallTag512()));
    file.setManaged(true);
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(readBytes(tpl()).substr(0, 4), "ATra");
    TemplateFile again;
    ASSERT_TRUE(again.load(tpl()));
    EXPECT_EQ(again.format(), TemplateFormat::Tag512);
    EXPECT_TRUE(again.isManaged());
    EXPECT_EQ(again.level1().size(), file.level1().size());
}

TEST_F(TemplateFileTest, BytesAfterTheRecordsAreLeftOutByTheNextSave) {
    const std::string v4 = smallVersion4();
    ASSERT_TRUE(loadTemplate(v4 + "left over"));
    EXPECT_TRUE(prompter.empty());
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(readBytes(tpl()), v4);

    const std::string side = sideFile({{101, 70, 1, {201, 202}}, {102, 30, 0, {203}}});
    writeBytes(tlx(), side + std::string(3, '\0'));
    writeBytes(tpl(), smallTag512());
    TemplateFile legacy;
    ASSERT_TRUE(legacy.load(tpl()));
    ASSERT_TRUE(legacy.save(tpl()));
    EXPECT_EQ(readBytes(tlx()), side);
}

TEST_F(TemplateFileTest, Tag512SaveWritesTheSideFile) {
    ASSERT_TRUE(loadTemplate(smallTag512()));
    ASSERT_FALSE(exists(tlx()));
    file.level1().at(0)->setActive(false);
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    const std::string expected = sideFile({{101, 70, 0, {201, 202}}, {102, 30, 1, {203}}});
    EXPECT_EQ(readBytes(tlx()), expected);
}

TEST_F(TemplateFileTest, TheSideFileCompletesTargetsActiveFlagsAndAssignments) {
    // Entry 555 names no level-1 item: its ids are passed over and change nothing.
    writeBytes(tlx(), sideFile({{101, 15, 0, {203, 999}}, {555, 99, 0, {201}}}));
    ASSERT_TRUE(loadTemplate(smallTag512()));
    const LevelItem* client = file.level1().at(0);
    const LevelItem* internal = file.level1().at(1);
    EXPECT_EQ(client->target(), 15);
    EXPECT_FALSE(client->isActive());
    EXPECT_EQ(assignedNames(client), (std::vector<std::string>{"Email"}));
    // An item without an entry keeps what the template gave it.
    EXPECT_EQ(internal->target(), 30);
    EXPECT_TRUE(internal->isActive());
    EXPECT_EQ(assignedNames(internal), (std::vector<std::string>{"Email"}));
}

TEST_F(TemplateFileTest, ADamagedSideFileRefusesTheTemplate) {
    writeBytes(tlx(), ByteBuilder().i32(3).i32(101).bytes());
    EXPECT_FALSE(loadTemplate(smallTag512()));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{damagedText(
                                    tlx(), "it claims 3 entries, more than the file can hold")});
    EXPECT_TRUE(file.level1().empty());
    EXPECT_EQ(readBytes(tlx()).size(), 8u);
}

TEST_F(TemplateFileTest, AZeroLengthTemplateIsAnEmptyVersion4One) {
    ASSERT_TRUE(loadTemplate(""));
    EXPECT_EQ(file.format(), TemplateFormat::Version4);
    EXPECT_FALSE(file.isManaged());
    EXPECT_TRUE(file.level1().empty());
    EXPECT_EQ(file.typeText(), "");
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    // The type field keeps its 25 bytes, so the layout stays intact.
    EXPECT_EQ(readBytes(tpl()), v4Header("", 1, 1, 0).bytes());
}

TEST_F(TemplateFileTest, ADamagedTemplateIsRefusedWithOneMessageAndLeftAsItWas) {
    ByteBuilder b = v4Header("Veltimo Solo File", 2, 2, 5);
    addItem(b, {1, 0, 0, 0, 1, 1, 0, "Only", " ", " "});
    EXPECT_FALSE(loadTemplate(b));
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"The file " + tpl() +
                                       " is damaged and cannot be used: it claims 5 items, more "
                                       "than the file can hold.\r\n\r\nNothing was changed in "
                                       "the file."});
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(file.level1().empty());
    EXPECT_EQ(readBytes(tpl()), b.bytes());
}

TEST_F(TemplateFileTest, AMissingTemplateShowsTheError2Text) {
    EXPECT_FALSE(reporter.present(file.load(tpl())));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{notFoundText(tpl())});
    EXPECT_EQ(quits, 0);
}

TEST_F(TemplateFileTest, AMissingFolderShowsTheError3Text) {
    const std::string path = dir.file("gone/work.tpl");
    EXPECT_FALSE(reporter.present(file.load(path)));
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Cannot find " + path +
                                       " the directory was either renamed, moved, or deleted."});
    EXPECT_EQ(quits, 0);
}

TEST_F(TemplateFileTest, ATemplateHeldByAnotherOpenCannotBeLoadedAndEndsTheProgram) {
    writeBytes(tpl(), smallVersion4());
    FileError error;
    LockedFile other = LockedFile::open(tpl(), LockedFile::Mode::Read, error);
    ASSERT_TRUE(other.isOpen());
    EXPECT_FALSE(reporter.present(file.load(tpl())));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kLocked, kWillClose}));
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(file.level1().empty());
}

TEST_F(TemplateFileTest, ATemplateLockedByAnotherProgramCannotBeLoaded) {
    writeBytes(tpl(), smallVersion4());
    const int fd = ::open(tpl().c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_FALSE(reporter.present(file.load(tpl())));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kLocked, kWillClose}));
    EXPECT_EQ(quits, 1);
    ::close(fd);
    prompter.clear();
    EXPECT_TRUE(reporter.present(file.load(tpl()))) << "the lock goes with the other open";
}

TEST_F(TemplateFileTest, ATemplateHeldElsewhereIsNotReplacedBySave) {
    const std::string old = smallVersion4();
    ASSERT_TRUE(loadTemplate(old));
    file.level1().at(0)->setName("Renamed");
    FileError error;
    LockedFile other = LockedFile::open(tpl(), LockedFile::Mode::Read, error);
    ASSERT_TRUE(other.isOpen());
    EXPECT_FALSE(reporter.present(file.save(tpl())));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kLocked, kWillClose}));
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(readBytes(tpl()), old);
    EXPECT_TRUE(hiddenFiles().empty());
}

TEST_F(TemplateFileTest, AReadOnlyTemplateIsStillSaved) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    ASSERT_EQ(::chmod(tpl().c_str(), 0444), 0);
    file.level1().at(0)->setName("Renamed");
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_TRUE(prompter.empty());
    EXPECT_EQ(modeOf(tpl()), 0644u) << "the owner may write again, nothing else changed";
    TemplateFile reread(clock);
    ASSERT_TRUE(reread.load(tpl()));
    EXPECT_EQ(reread.level1().at(0)->name(), "Renamed");
}

TEST_F(TemplateFileTest, ASavedTemplateKeepsItsPermissions) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    ASSERT_EQ(::chmod(tpl().c_str(), 0600), 0);
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(modeOf(tpl()), 0600u);
}

// A write that fails half-way (here: the file size limit of the process) must leave the old
// files exactly as they were and no temporary file behind.
TEST_F(TemplateFileTest, AWriteThatFailsHalfWayLeavesTheOldFilesIntact) {
    const std::string oldTemplate = smallVersion4();
    const std::string oldTransactions =
        records(transactionHeader(), std::vector<V4Record>{{1, 1, "03/07/1999", "08:00", "09:00"},
                                                           {2, 3, "03/08/1999", "10:00", "12:00"}});
    writeBytes(tpl(), oldTemplate);
    writeBytes(trs(), oldTransactions);

    const int code = inChild([this] {
        int failures = 0;
        if (!reporter.present(file.load(tpl())) || !reporter.present(file.loadTransactions())) {
            return 64;
        }
        for (int i = 0; i < 30000; ++i) {
            file.store().add(Transaction(date(2001, 1, 1) + TimeValue(TimeValue::kDay * (i % 300)),
                                         hm(8, 0), hm(9, 0), 1, 1, std::string(40, 'd')));
        }
        for (int i = 0; i < 3000; ++i) {
            LevelItem item;
            item.setGroupNumber(1);
            item.setSubId(100 + i);
            item.setDepth(1);
            item.setName("Item " + std::to_string(i));
            file.level2().add(item);
        }
        if (!limitFileSize(16 * 1024)) {
            return 65;
        }
        failures |= reporter.present(file.saveTransactions()) ? 1 : 0;
        failures |= reporter.present(file.save(tpl())) ? 2 : 0;
        if (prompter.texts() != std::vector<std::string>{kTooLargeText, kTooLargeText}) {
            failures |= 4;
        }
        return failures;
    });
    EXPECT_EQ(code, 0) << "1: transactions saved, 2: template saved, 4: messages";
    EXPECT_EQ(readBytes(trs()), oldTransactions);
    EXPECT_EQ(readBytes(tpl()), oldTemplate);
    EXPECT_TRUE(hiddenFiles().empty());
    std::vector<std::string> names = dir.entries();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"work.tpl", "work.trs"}));
}

// ---------------------------------------------------------------------------------------------
// Converting a version-3 template

class TemplateConversionTest : public TemplateFileTest {
protected:
    std::string legacyTransactions(const std::vector<LegacyRecord>& list) {
        return records("", list);
    }
};

TEST_F(TemplateConversionTest, OneProjectWithTwoAssignedActivitiesBecomesGroupOne) {
    ASSERT_TRUE(loadTemplate(
        legacyTemplate(kTag768Bytes, {{100, "Project", "About it", 50}},
                       {{200, "Design", "Drawing"}, {201, "Build", ""}, {202, "Unused", ""}},
                       {{100, 200}, {100, 201}})));
    writeBytes(trs(), legacyTransactions({
                          {"03/07/1999", "08:00", "S000000000", "09:00", 100, 200, "one"},
                          {"03/07/1999", "10:00", "0000000000", "11:00", 100, 201, "two"},
                          {"03/08/1999", "08:00", "0000000000", "09:00", 100, 202, "three"},
                      }));
    ASSERT_EQ(file.format(), TemplateFormat::Tag768);

    ASSERT_TRUE(convertToVersion4(file, reporter));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kConversionText});
    EXPECT_EQ(prompter.entries()[0].icon, Prompter::Icon::Information);
    EXPECT_EQ(file.format(), TemplateFormat::Version4);
    EXPECT_EQ(file.typeText(), "Veltimo Solo File");
    ASSERT_EQ(file.level1().size(), 1u);
    ASSERT_EQ(file.level2().size(), 2u);
    const LevelItem* project = file.level1().at(0);
    EXPECT_EQ(project->groupNumber(), 1);
    EXPECT_EQ(project->subId(), 0);
    EXPECT_EQ(project->depth(), 0);
    EXPECT_EQ(file.level2().at(0)->name(), "Design");
    EXPECT_EQ(file.level2().at(0)->subId(), 1);
    EXPECT_EQ(file.level2().at(1)->name(), "Build");
    EXPECT_EQ(file.level2().at(1)->subId(), 2);
    EXPECT_EQ(file.store().nextGroupNumber(), 2);
    EXPECT_EQ(file.store().nextSubId(), 3);
    EXPECT_TRUE(file.store().empty());
    EXPECT_FALSE(file.isLoaded());

    // Both files are now in the version-4 layouts; the unassigned item's transaction keeps its
    // keys, which no item has any more.
    EXPECT_EQ(readBytes(tpl()), v4Template("Veltimo Solo File", 2, 3,
                                           {{1, 0, 0, 0, 1, 1, 50, "Project", "About it", " "},
                                            {1, 0, 1, 1, 1, 2, 0, "Design", "Drawing", ""},
                                            {1, 0, 2, 1, 1, 2, 0, "Build", "", ""}}));
    EXPECT_EQ(
        readBytes(trs()),
        records(transactionHeader(),
                std::vector<V4Record>{{1, 1, "03/07/1999", "08:00", "09:00", 1, "one"},
                                      {1, 2, "03/07/1999", "10:00", "11:00", 0, "two"},
                                      {100, 202, "03/08/1999", "08:00", "09:00", 0, "three"}}));
    EXPECT_TRUE(hiddenFiles().empty());
}

TEST_F(TemplateConversionTest, AnActivityAssignedToTwoProjectsBecomesTwoItems) {
    ASSERT_TRUE(loadTemplate(legacyTemplate(kTag768Bytes, {{1, "Alpha", ""}, {2, "Beta", ""}},
                                            {{10, "Shared", "s"}}, {{1, 10}, {2, 10}})));
    writeBytes(trs(), legacyTransactions({
                          {"03/07/1999", "08:00", "0000000000", "09:00", 1, 10, "a"},
                          {"03/07/1999", "09:00", "0000000000", "10:00", 2, 10, "b"},
                      }));
    ASSERT_TRUE(convertToVersion4(file, reporter));
    ASSERT_EQ(file.level2().size(), 2u);
    EXPECT_EQ(file.level2().at(0)->name(), "Shared");
    EXPECT_EQ(file.level2().at(0)->groupNumber(), 1);
    EXPECT_EQ(file.level2().at(0)->subId(), 1);
    EXPECT_EQ(file.level2().at(1)->name(), "Shared");
    EXPECT_EQ(file.level2().at(1)->groupNumber(), 2);
    EXPECT_EQ(file.level2().at(1)->subId(), 2);
    EXPECT_EQ(readBytes(trs()),
              records(transactionHeader(),
                      std::vector<V4Record>{{1, 1, "03/07/1999", "08:00", "09:00", 0, "a"},
                                            {2, 2, "03/07/1999", "09:00", "10:00", 0, "b"}}));
}

TEST_F(TemplateConversionTest, KeysAreChangedInOnePass) {
    // The new key of one activity is the old key of the other; changing them one after another
    // would move the first one's transactions twice.
    ASSERT_TRUE(
        loadTemplate(legacyTemplate(kTag768Bytes, {{1, "Project", ""}},
                                    {{2, "Second", ""}, {1, "First", ""}}, {{1, 2}, {1, 1}})));
    writeBytes(trs(), legacyTransactions({
                          {"03/07/1999", "08:00", "0000000000", "09:00", 1, 2, "for Second"},
                          {"03/07/1999", "09:00", "0000000000", "10:00", 1, 1, "for First"},
                      }));
    ASSERT_TRUE(convertToVersion4(file, reporter));
    EXPECT_EQ(file.level2().at(0)->name(), "Second");
    EXPECT_EQ(file.level2().at(0)->subId(), 1);
    EXPECT_EQ(
        readBytes(trs()),
        records(transactionHeader(),
                std::vector<V4Record>{{1, 1, "03/07/1999", "08:00", "09:00", 0, "for Second"},
                                      {1, 2, "03/07/1999", "09:00", "10:00", 0, "for First"}}));
}

TEST_F(TemplateConversionTest, ATransactionFileAlreadyInTheNewLayoutIsNotRekeyedAgain) {
    // An earlier conversion wrote the transactions but could not write the template.
    ASSERT_TRUE(
        loadTemplate(legacyTemplate(kTag768Bytes, {{1, "Project", ""}},
                                    {{2, "Second", ""}, {1, "First", ""}}, {{1, 2}, {1, 1}})));
    const std::string converted =
        records(transactionHeader(),
                std::vector<V4Record>{{1, 1, "03/07/1999", "08:00", "09:00", 0, "for Second"},
                                      {1, 2, "03/07/1999", "09:00", "10:00", 0, "for First"}});
    writeBytes(trs(), converted);
    ASSERT_TRUE(convertToVersion4(file, reporter));
    EXPECT_EQ(readBytes(trs()), converted);
    EXPECT_EQ(file.format(), TemplateFormat::Version4);
    EXPECT_EQ(readBytes(tpl()).substr(0, 4), std::string("\x04\0\0\0", 4));
}

TEST_F(TemplateConversionTest, ATransactionFileThatCannotBeReadIsNeverOverwritten) {
    const std::string oldTemplate =
        legacyTemplate(kTag768Bytes, {{1, "Project", ""}}, {{2, "Task", ""}}, {{1, 2}});
    ASSERT_TRUE(loadTemplate(oldTemplate));
    const std::string damaged =
        legacyTransactions({{"03/07/1999", "08:00", "0000000000", "09:00", 1, 2, "kept"},
                            {"99/99/9999", "08:00", "0000000000", "09:00", 1, 2, "bad date"}});
    writeBytes(trs(), damaged);
    EXPECT_FALSE(convertToVersion4(file, reporter));
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{
                  kConversionText,
                  damagedText(trs(), "record 2 holds a date or time that cannot be read")}));
    EXPECT_EQ(readBytes(trs()), damaged);
    EXPECT_EQ(readBytes(tpl()), oldTemplate);
}

TEST_F(TemplateConversionTest, ATransactionFileHeldElsewhereIsNeverOverwritten) {
    const std::string oldTemplate =
        legacyTemplate(kTag768Bytes, {{1, "Project", ""}}, {{2, "Task", ""}}, {{1, 2}});
    ASSERT_TRUE(loadTemplate(oldTemplate));
    const std::string old =
        legacyTransactions({{"03/07/1999", "08:00", "0000000000", "09:00", 1, 2, "kept"}});
    writeBytes(trs(), old);
    FileError error;
    LockedFile other = LockedFile::open(trs(), LockedFile::Mode::Read, error);
    ASSERT_TRUE(other.isOpen());
    EXPECT_FALSE(convertToVersion4(file, reporter));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kConversionText, kLocked, kWillClose}));
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(readBytes(trs()), old);
    EXPECT_EQ(readBytes(tpl()), oldTemplate);
}

// When the new transaction file cannot be written, the template must stay the version-3 one
// that matches the legacy records left on disk, or the tracker would append records of the
// new layout to them.
TEST_F(TemplateConversionTest, ATransactionFileThatCannotBeWrittenLeavesTheTemplateAsItWas) {
    const std::string oldTemplate =
        legacyTemplate(kTag768Bytes, {{100, "Project", "", 40}},
                       {{200, "Design", ""}, {201, "Build", ""}}, {{100, 200}, {100, 201}});
    ASSERT_TRUE(loadTemplate(oldTemplate));
    std::vector<LegacyRecord> list;
    for (int day = 1; day <= 30; ++day) {
        list.push_back({(day < 10 ? "03/0" : "03/") + std::to_string(day) + "/1999", "08:00",
                        "0000000000", "09:00", 100, 200, "d"});
    }
    const std::string old = legacyTransactions(list);
    writeBytes(trs(), old);

    // The legacy file is 3090 bytes, its version-4 form 1259: a limit of 1024 bytes lets the old
    // file be read and makes the new one fail half-way.
    const int code = inChild([this] {
        int failures = limitFileSize(1024) ? 0 : 64;
        failures |= convertToVersion4(file, reporter) ? 1 : 0;
        liftFileSizeLimit();
        if (file.format() != TemplateFormat::Tag768 || file.level1().size() != 1 ||
            file.level2().size() != 2 || file.level1().at(0)->subId() != 100 ||
            file.level2().at(0)->subId() != 200 || file.level2().at(1)->subId() != 201 ||
            assignedNames(file.level1().at(0)) != std::vector<std::string>{"Design", "Build"} ||
            file.level1().at(0)->target() != 40 || !file.store().empty()) {
            failures |= 2;
        }
        if (!reporter.present(file.appendTransaction(
                Transaction(date(2024, 5, 6), hm(9, 0), hm(10, 0), 100, 201, "after")))) {
            failures |= 4;
        }
        if (prompter.texts() != std::vector<std::string>{kConversionText, kTooLargeText}) {
            failures |= 8;
        }
        return failures;
    });
    EXPECT_EQ(code, 0) << "1: converted, 2: template changed, 4: append failed, 8: messages";
    EXPECT_EQ(readBytes(trs()), old + legacyTransactions({{"05/06/2024", "09:00", "0000000000",
                                                           "10:00", 100, 201, "after"}}));
    EXPECT_EQ(readBytes(tpl()), oldTemplate);
    EXPECT_TRUE(hiddenFiles().empty());
}

TEST_F(TemplateConversionTest, AMissingTransactionFileIsCreatedWithoutASecondMessage) {
    // Opening the template has reported the missing file already.
    ASSERT_TRUE(loadTemplate(
        legacyTemplate(kTag768Bytes, {{1, "Project", ""}}, {{2, "Task", ""}}, {{1, 2}})));
    ASSERT_TRUE(convertToVersion4(file, reporter));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kConversionText}));
    EXPECT_EQ(readBytes(trs()), transactionHeader());
    EXPECT_EQ(readBytes(tpl()).substr(0, 4), std::string("\x04\0\0\0", 4));
}

// ---------------------------------------------------------------------------------------------
// Loading and saving transactions

const std::vector<V4Record> kDayRecords = {
    {1, 1, "03/07/1999", "08:00", "09:00", 1, "first"},
    {1, 2, "03/07/1999", "10:00", "11:30", 0, "second"},
    {2, 3, "03/09/1999", "07:15", "07:45", 0, "third"},
};

TEST_F(TemplateFileTest, AMissingTransactionFileShowsTheError2TextAndLeavesTheStoreEmpty) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    EXPECT_FALSE(reporter.present(file.loadTransactions()));
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{
                  "Cannot find " + trs() +
                  " the file was either renamed, moved to another directory, or deleted."});
    EXPECT_TRUE(file.store().empty());
    EXPECT_FALSE(file.isLoaded());
    EXPECT_EQ(quits, 0);
    EXPECT_FALSE(exists(trs()));
}

TEST_F(TemplateFileTest, AHeaderOnlyTransactionFileLoadsAsAnEmptyStoreWithoutMessage) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    writeBytes(trs(), transactionHeader());
    EXPECT_TRUE(reporter.present(file.loadTransactions()));
    EXPECT_TRUE(file.store().empty());
    EXPECT_TRUE(file.isLoaded());
    EXPECT_TRUE(prompter.empty());
}

TEST_F(TemplateFileTest, TransactionsLoadAndSaveByteIdentical) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const std::string bytes = records(transactionHeader(), kDayRecords);
    writeBytes(trs(), bytes);
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    EXPECT_EQ(file.store().count(), 3u);
    EXPECT_EQ(file.store().dayCount(), 2u);
    const Day* day = file.store().findDay(date(1999, 3, 7));
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->at(0)->stamp(), date(1999, 3, 7).seconds());
    EXPECT_EQ(day->at(1)->stamp(), date(1999, 3, 7).seconds() + 1);
    EXPECT_TRUE(day->at(0)->isSent());

    std::remove(trs().c_str());
    ASSERT_TRUE(reporter.present(file.saveTransactions()));
    EXPECT_EQ(readBytes(trs()), bytes);
    EXPECT_TRUE(hiddenFiles().empty());
}

TEST_F(TemplateFileTest, LoadingAgainDoesNothingWhileTheStoreHoldsDays) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    writeBytes(trs(), records(transactionHeader(), kDayRecords));
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    std::remove(trs().c_str());
    EXPECT_TRUE(reporter.present(file.loadTransactions()));
    EXPECT_EQ(file.store().count(), 3u);
    EXPECT_TRUE(prompter.empty());
}

TEST_F(TemplateFileTest, ADamagedTransactionFileIsRefusedAndLeftAsItWas) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    std::vector<V4Record> bad = kDayRecords;
    bad[1].start = "25:00";
    const std::string bytes = records(transactionHeader(), bad);
    writeBytes(trs(), bytes);
    EXPECT_FALSE(reporter.present(file.loadTransactions()));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{damagedText(
                                    trs(), "record 2 holds a date or time that cannot be read")});
    EXPECT_TRUE(file.store().empty());
    EXPECT_FALSE(file.isLoaded());
    EXPECT_FALSE(reporter.present(file.saveTransactions()))
        << "nothing loaded, nothing to write over the file";
    EXPECT_EQ(readBytes(trs()), bytes);
}

TEST_F(TemplateFileTest, NothingIsSavedWhenNothingWasLoaded) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    EXPECT_FALSE(reporter.present(file.saveTransactions()));
    EXPECT_FALSE(exists(trs()));
    EXPECT_TRUE(prompter.empty());
}

TEST_F(TemplateFileTest, AnEmptiedStoreIsSavedAsTheHeaderAlone) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    writeBytes(trs(), records(transactionHeader(), kDayRecords));
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    file.store().clear();
    ASSERT_TRUE(reporter.present(file.saveTransactions()));
    EXPECT_EQ(readBytes(trs()), transactionHeader());
}

TEST_F(TemplateFileTest, LegacyTransactionsLoadAndSaveInTheirLayout) {
    ASSERT_TRUE(loadTemplate(smallTag512()));
    const std::string bytes =
        records("", std::vector<LegacyRecord>{
                        {"03/07/1999", "08:00", "ST00000000", "09:00", 101, 201, "a"},
                        {"03/07/1999", "09:00", "0T00000000", "09:00", 101, 202, "b"},
                        {"03/08/1999", "09:00", "0000000000", "10:00", 102, 203, "c"},
                    });
    writeBytes(trs(), bytes);
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    const Day* day = file.store().findDay(date(1999, 3, 7));
    ASSERT_NE(day, nullptr);
    EXPECT_TRUE(day->at(0)->isSent());
    EXPECT_TRUE(day->at(0)->isError());
    EXPECT_EQ(day->at(1)->stamp(), date(1999, 3, 7).seconds() + 1);
    ASSERT_TRUE(reporter.present(file.saveTransactions()));
    EXPECT_EQ(readBytes(trs()), bytes);
}

TEST_F(TemplateFileTest, UnloadingEmptiesTheStoreAndSavesOnlyWhenAsked) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const std::string bytes = records(transactionHeader(), kDayRecords);
    writeBytes(trs(), bytes);
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    file.store().removeDay(file.store().day(0));
    file.unloadTransactions(false);
    EXPECT_TRUE(file.store().empty());
    EXPECT_FALSE(file.isLoaded());
    EXPECT_EQ(readBytes(trs()), bytes);

    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    file.store().removeDay(file.store().day(0));
    reporter.present(file.unloadTransactions(true));
    EXPECT_EQ(readBytes(trs()), records(transactionHeader(), std::vector{kDayRecords[2]}));
}

TEST_F(TemplateFileTest, CreatingAnEmptyTransactionFile) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    writeBytes(trs(), records(transactionHeader(), kDayRecords));
    ASSERT_TRUE(reporter.present(file.createEmptyTransactionFile()));
    EXPECT_EQ(readBytes(trs()), transactionHeader());

    TemplateFile legacy(clock);
    legacy.setPath(dir.file("old.tpl"));
    legacy.setFormat(TemplateFormat::Tag512);
    ASSERT_TRUE(legacy.createEmptyTransactionFile());
    EXPECT_EQ(readBytes(dir.file("old.trs")), "");
}

// ---------------------------------------------------------------------------------------------
// Appending finished transactions

TEST_F(TemplateFileTest, TheFirstAppendOfAVersion4TemplateCreatesTheFileWithItsHeader) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const Transaction t(date(2024, 5, 6), hm(9, 0), hm(11, 15), 1, 2, "Planning");
    ASSERT_TRUE(reporter.present(file.appendTransaction(t)));
    const std::string one =
        records(transactionHeader(),
                std::vector<V4Record>{{1, 2, "05/06/2024", "09:00", "11:15", 0, "Planning"}});
    EXPECT_EQ(readBytes(trs()), one);
    EXPECT_EQ(readBytes(trs()).size(), 29u + 39u + 9u);

    const Transaction u(date(2024, 5, 6), hm(11, 15), hm(12, 0), 2, 3, "", true);
    ASSERT_TRUE(reporter.present(file.appendTransaction(u)));
    EXPECT_EQ(readBytes(trs()),
              one + records("", std::vector<V4Record>{{2, 3, "05/06/2024", "11:15", "12:00", 1}}));
    EXPECT_TRUE(prompter.empty());
    EXPECT_TRUE(file.store().empty()) << "appending does not load the store";
}

TEST_F(TemplateFileTest, AnEmptyVersion4TransactionFileGetsTheHeaderFirst) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    writeBytes(trs(), "");
    ASSERT_TRUE(reporter.present(
        file.appendTransaction(Transaction(date(2024, 5, 6), hm(9, 0), hm(10, 0), 1, 2, ""))));
    EXPECT_EQ(readBytes(trs()),
              records(transactionHeader(),
                      std::vector<V4Record>{{1, 2, "05/06/2024", "09:00", "10:00"}}));
}

TEST_F(TemplateFileTest, AppendingToALegacyFileWritesNoHeader) {
    ASSERT_TRUE(loadTemplate(smallTag512()));
    Transaction t(date(2024, 5, 6), hm(9, 0), hm(10, 0), 101, 201, "Legacy");
    ASSERT_TRUE(reporter.present(file.appendTransaction(t)));
    EXPECT_EQ(readBytes(trs()),
              records("", std::vector<LegacyRecord>{
                              {"05/06/2024", "09:00", "0000000000", "10:00", 101, 201, "Legacy"}}));
    EXPECT_EQ(readBytes(trs()).size(), kLegacyRecordSize);
}

TEST_F(TemplateFileTest, AnAppendToAFileHeldElsewhereChangesNothing) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const std::string old = records(transactionHeader(), kDayRecords);
    writeBytes(trs(), old);
    FileError error;
    LockedFile other = LockedFile::open(trs(), LockedFile::Mode::Read, error);
    ASSERT_TRUE(other.isOpen());
    EXPECT_FALSE(reporter.present(
        file.appendTransaction(Transaction(date(2024, 5, 6), hm(9, 0), hm(10, 0), 1, 2, ""))));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kLocked, kWillClose}));
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(readBytes(trs()), old);
}

TEST_F(TemplateFileTest, AnAppendThatFailsHalfWayIsCutBack) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const std::string old = records(transactionHeader(), kDayRecords);
    writeBytes(trs(), old);
    // Room for ten more bytes: the record starts to be written and then fails.
    const int code = inChild([this, &old] {
        if (!limitFileSize(old.size() + 10)) {
            return 64;
        }
        int failures = reporter.present(file.appendTransaction(
                           Transaction(date(2024, 5, 6), hm(9, 0), hm(10, 0), 1, 2, "lost?")))
                           ? 1
                           : 0;
        if (prompter.texts() != std::vector<std::string>{kTooLargeText}) {
            failures |= 2;
        }
        return failures;
    });
    EXPECT_EQ(code, 0) << "1: reported as appended, 2: messages";
    EXPECT_EQ(readBytes(trs()), old);
}

// ---------------------------------------------------------------------------------------------
// A transaction file whose last record was cut short (an append that was interrupted)

std::string incompleteText(const std::string& path) {
    return "The transaction file " + path +
           " ends in a record that was cut short, most likely because the program or the "
           "computer stopped while it was being written. Every complete record was read; the "
           "incomplete last record was left out.\r\n\r\nBefore the file is next written, a "
           "copy of it as it is now is kept beside it, under its name followed by "
           "\".incomplete-tail\".";
}

// Run over both record layouts: true for a version-4 template, false for a tag-512 one.
class TornTailTest : public TemplateFileTest, public ::testing::WithParamInterface<bool> {
protected:
    bool version4() const { return GetParam(); }
    std::string templateBytes() const { return version4() ? smallVersion4() : smallTag512(); }
    std::string head() const { return version4() ? transactionHeader() : std::string(); }
    // Record i, built from the layout; day i + 1 of March 1999.
    std::string record(int i, std::string date = "", std::string start = "08:00",
                       std::string end = "09:00", std::string description = "") const {
        if (date.empty()) {
            date = "03/0" + std::to_string(i + 1) + "/1999";
        }
        if (description.empty()) {
            description = "record " + std::to_string(i);
        }
        ByteBuilder b;
        if (version4()) {
            add(b, V4Record{1, 1, date, start, end, 0, description});
        } else {
            add(b, LegacyRecord{date, start, "0000000000", end, 101, 201, description});
        }
        return b;
    }
    std::string recordsUpTo(int n) const {
        std::string out = head();
        for (int i = 0; i < n; ++i) {
            out += record(i);
        }
        return out;
    }
    Transaction appended() const {
        return version4() ? Transaction(date(2024, 5, 6), hm(9, 0), hm(10, 0), 1, 1, "after")
                          : Transaction(date(2024, 5, 6), hm(9, 0), hm(10, 0), 101, 201, "after");
    }
    std::string appendedRecord() const {
        return record(0, "05/06/2024", "09:00", "10:00", "after");
    }
    // The file with three records, the last one cut after `kept` of its bytes.
    std::string torn(std::size_t kept) const { return recordsUpTo(2) + record(2).substr(0, kept); }
    std::string copyOf(int n = 1) const {
        return trs() + ".incomplete-tail" + (n == 1 ? std::string() : "-" + std::to_string(n));
    }
    // The transactions of the file as the program reads them.
    std::vector<std::string> descriptionsOnDisk() {
        TemplateFile again(clock);
        again.setPath(tpl());
        EXPECT_TRUE(again.load(tpl()));
        EXPECT_TRUE(again.loadTransactions());
        std::vector<std::string> out;
        for (const Day& day : again.store().days()) {
            for (const Transaction& t : day.transactions()) {
                out.push_back(t.description());
            }
        }
        return out;
    }
};

INSTANTIATE_TEST_SUITE_P(Layouts, TornTailTest, ::testing::Bool(),
                         [](const auto& layout) { return layout.param ? "Version4" : "Legacy"; });

TEST_P(TornTailTest, EveryCompleteRecordLoadsAndTheUserIsToldOnce) {
    ASSERT_TRUE(loadTemplate(templateBytes()));
    const std::string bytes = torn(20);
    writeBytes(trs(), bytes);
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    EXPECT_EQ(file.store().count(), 2u);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{incompleteText(trs())});
    EXPECT_EQ(prompter.entries()[0].icon, Prompter::Icon::Warning);
    EXPECT_TRUE(file.leftOutIncompleteRecord());

    // Reading the file again says nothing more and changes nothing on disk.
    file.unloadTransactions(false);
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    Transaction last;
    file.unloadTransactions(false);
    EXPECT_TRUE(reporter.present(file.lastTransactionOf(date(1999, 3, 2), last)));
    EXPECT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(readBytes(trs()), bytes);
    EXPECT_FALSE(exists(copyOf()));
}

TEST_P(TornTailTest, TheFirstRewriteKeepsTheFileAsItWasBesideIt) {
    ASSERT_TRUE(loadTemplate(templateBytes()));
    const std::string bytes = torn(20);
    writeBytes(trs(), bytes);
    writeBytes(copyOf(), "an earlier copy");
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    ASSERT_TRUE(reporter.present(file.saveTransactions()));
    EXPECT_EQ(readBytes(copyOf()), "an earlier copy");
    EXPECT_EQ(readBytes(copyOf(2)), bytes);
    EXPECT_EQ(readBytes(trs()), recordsUpTo(2));
    EXPECT_FALSE(file.leftOutIncompleteRecord());
    // The file is whole now: a second save keeps no other copy.
    ASSERT_TRUE(reporter.present(file.saveTransactions()));
    EXPECT_FALSE(exists(copyOf(3)));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{incompleteText(trs())});
}

TEST_P(TornTailTest, AnAppendGoesAfterTheLastCompleteRecord) {
    ASSERT_TRUE(loadTemplate(templateBytes()));
    // Cut inside the first field of the record and at every place after it.
    for (std::size_t kept :
         {std::size_t{version4() ? 4u : 11u}, std::size_t{20}, record(2).size() - 1}) {
        SCOPED_TRACE("kept " + std::to_string(kept));
        std::remove(copyOf().c_str());
        const std::string bytes = torn(kept);
        writeBytes(trs(), bytes);
        ASSERT_TRUE(reporter.present(file.appendTransaction(appended())));
        EXPECT_EQ(readBytes(trs()), recordsUpTo(2) + appendedRecord());
        EXPECT_EQ(readBytes(copyOf()), bytes);
        EXPECT_EQ(descriptionsOnDisk(),
                  (std::vector<std::string>{"record 0", "record 1", "after"}));
    }
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{incompleteText(trs())})
        << "told once for the template";
}

// A file that is in the other layout than the template in memory (a conversion that stopped
// half-way) goes on in its own layout: one file never holds records of both.
TEST_P(TornTailTest, AnAppendTakesTheLayoutOfTheFileNotOfTheTemplate) {
    ASSERT_TRUE(loadTemplate(version4() ? smallTag512() : smallVersion4()));
    writeBytes(trs(), recordsUpTo(2));
    ASSERT_TRUE(reporter.present(file.appendTransaction(appended())));
    EXPECT_EQ(readBytes(trs()), recordsUpTo(2) + appendedRecord());
    EXPECT_TRUE(prompter.empty());
}

TEST_P(TornTailTest, BytesTooFewToBeginARecordAreNoRecordAndAreDroppedSilently) {
    ASSERT_TRUE(loadTemplate(templateBytes()));
    const std::string bytes = recordsUpTo(2) + "\x01\x02"s;
    writeBytes(trs(), bytes);
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    EXPECT_EQ(file.store().count(), 2u);
    EXPECT_FALSE(file.leftOutIncompleteRecord());
    file.unloadTransactions(false);
    ASSERT_TRUE(reporter.present(file.appendTransaction(appended())));
    EXPECT_EQ(readBytes(trs()), recordsUpTo(2) + appendedRecord());
    EXPECT_FALSE(exists(copyOf()));
    EXPECT_TRUE(prompter.empty());
}

TEST_P(TornTailTest, AFileOfAFewStrayBytesTakesTheTemplatesLayout) {
    ASSERT_TRUE(loadTemplate(templateBytes()));
    writeBytes(trs(), "\x01\x02"s);
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    EXPECT_TRUE(file.store().empty());
    file.unloadTransactions(false);
    ASSERT_TRUE(reporter.present(file.appendTransaction(appended())));
    EXPECT_EQ(readBytes(trs()), head() + appendedRecord());
    EXPECT_TRUE(prompter.empty());
}

// The notice of the record cut short is not lost when the append then fails, and comes first.
TEST_P(TornTailTest, AnAppendWhoseCopyCannotBeKeptTellsOfTheCutRecordAndThenOfTheFailure) {
    ASSERT_TRUE(loadTemplate(templateBytes()));
    const std::string bytes = torn(20);
    writeBytes(trs(), bytes);
    const int code = inChild([this, &bytes] {
        if (!limitFileSize(bytes.size() - 1)) {
            return 64;
        }
        const FileResult result = file.appendTransaction(appended());
        liftFileSizeLimit();
        int failures = result.incompleteRecordFile == trs() ? 0 : 1;
        if (result.what != FileResult::What::FileError || result.path != copyOf() ||
            result.error.osError != EFBIG) {
            failures |= 2;
        }
        failures |= prompter.empty() ? 0 : 4;
        reporter.present(result);
        if (prompter.texts() != std::vector<std::string>{incompleteText(trs()), kTooLargeText}) {
            failures |= 8;
        }
        return failures;
    });
    EXPECT_EQ(code, 0) << "1: no notice, 2: not the copy's error, 4: shown by the file, 8: order";
    EXPECT_EQ(readBytes(trs()), bytes) << "nothing is appended without the copy";
}

TEST_F(TemplateFileTest, AHeaderCutShortIsKeptAndWrittenAgainBeforeTheAppend) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const std::string bytes = transactionHeader().substr(0, 10);
    writeBytes(trs(), bytes);
    ASSERT_TRUE(reporter.present(
        file.appendTransaction(Transaction(date(2024, 5, 6), hm(9, 0), hm(10, 0), 1, 2, ""))));
    EXPECT_EQ(readBytes(trs()),
              records(transactionHeader(),
                      std::vector<V4Record>{{1, 2, "05/06/2024", "09:00", "10:00"}}));
    EXPECT_EQ(readBytes(trs() + ".incomplete-tail"), bytes);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{incompleteText(trs())});
}

// A held file's message does not name it: the result does, with the system's error, and the file
// object itself shows nothing.
TEST_F(TemplateFileTest, AFailureNamesTheFileThatFailedWithTheSystemError) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    writeBytes(dir.file("log.dat"), "");
    FileError error;
    LockedFile held = LockedFile::open(dir.file("log.dat"), LockedFile::Mode::Read, error);
    ASSERT_TRUE(held.isOpen());
    const Transaction a(date(2024, 5, 6), hm(8, 0), hm(9, 0), 1, 1, "a");
    const FileResult handOff = file.appendHandOff({&a});
    EXPECT_EQ(handOff.what, FileResult::What::FileError);
    EXPECT_EQ(handOff.path, dir.file("log.dat"));
    EXPECT_EQ(handOff.error.code, FileError::kSharingViolation);
    EXPECT_TRUE(handOff.failed());

    TemplateFile missing(clock);
    const FileResult load = missing.load(dir.file("none.tpl"));
    EXPECT_EQ(load.what, FileResult::What::FileError);
    EXPECT_EQ(load.path, dir.file("none.tpl"));
    EXPECT_EQ(load.error.code, FileError::kNotFound);
    EXPECT_EQ(load.error.osError, ENOENT);
    EXPECT_TRUE(prompter.empty());
}

// ---------------------------------------------------------------------------------------------
// The last transaction of a date

TEST_F(TemplateFileTest, LastTransactionOfADateIsTheLastInStoreOrder) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    writeBytes(trs(), records(transactionHeader(),
                              std::vector<V4Record>{
                                  {1, 1, "03/07/1999", "10:00", "11:00", 0, "equal, earlier"},
                                  {1, 1, "03/07/1999", "08:00", "09:00", 0, "early"},
                                  {1, 1, "03/08/1999", "13:00", "14:00", 0, "next day"},
                                  {1, 1, "03/07/1999", "10:00", "11:00", 0, "equal, later"},
                                  {1, 1, "03/07/1999", "09:00", "12:00", 0, "starts sooner"},
                                  {1, 1, "03/07/1999", "10:00", "10:30", 0, "ends sooner"},
                              }));
    Transaction last;
    ASSERT_TRUE(reporter.present(file.lastTransactionOf(date(1999, 3, 7), last)));
    EXPECT_EQ(last.description(), "equal, later");
    EXPECT_EQ(last.start(), hm(10, 0));
    EXPECT_EQ(last.end(), hm(11, 0));
    EXPECT_TRUE(file.store().empty());
    EXPECT_FALSE(file.isLoaded());

    // The same answer as the store gives once it is loaded.
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    const Day* day = file.store().findDay(date(1999, 3, 7));
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->lastTransaction()->description(), "equal, later");

    Transaction none;
    file.unloadTransactions(false);
    EXPECT_FALSE(reporter.present(file.lastTransactionOf(date(1999, 3, 6), none)));
    EXPECT_TRUE(prompter.empty());
}

TEST_F(TemplateFileTest, LastTransactionFindsADateWrittenInAnotherForm) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    writeBytes(trs(),
               records(transactionHeader(),
                       std::vector<V4Record>{{1, 1, "03/07/1999", "08:00", "09:00", 0, "a"},
                                             {1, 1, "3/7/1999", "16:00", "17:00", 0, "b"},
                                             {1, 1, "03/08/1999", "18:00", "19:00", 0, "c"}}));
    Transaction last;
    ASSERT_TRUE(reporter.present(file.lastTransactionOf(date(1999, 3, 7), last)));
    EXPECT_EQ(last.description(), "b");
}

TEST_F(TemplateFileTest, LastTransactionUsesTheStoreWhileItIsLoaded) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    writeBytes(trs(), records(transactionHeader(), kDayRecords));
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    file.store().add(Transaction(date(1999, 3, 7), hm(20, 0), hm(21, 0), 1, 1, "unsaved"));
    Transaction last;
    ASSERT_TRUE(reporter.present(file.lastTransactionOf(date(1999, 3, 7), last)));
    EXPECT_EQ(last.description(), "unsaved");
    EXPECT_EQ(file.store().count(), 4u);
}

TEST_F(TemplateFileTest, LastTransactionOfALegacyFile) {
    ASSERT_TRUE(loadTemplate(smallTag512()));
    writeBytes(trs(),
               records("", std::vector<LegacyRecord>{
                               {"03/07/1999", "14:00", "S000000000", "15:00", 101, 201, "late"},
                               {"03/07/1999", "08:00", "0000000000", "09:00", 101, 201, "early"},
                           }));
    Transaction last;
    ASSERT_TRUE(reporter.present(file.lastTransactionOf(date(1999, 3, 7), last)));
    EXPECT_EQ(last.description(), "late");
    EXPECT_TRUE(last.isSent());
}

TEST_F(TemplateFileTest, LastTransactionOfAMissingFileShowsTheError2Text) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    Transaction last;
    EXPECT_FALSE(reporter.present(file.lastTransactionOf(date(1999, 3, 7), last)));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{notFoundText(trs())});
}

// ---------------------------------------------------------------------------------------------
// Hand-off files

std::string handOffV4(const std::string& base, const Transaction& t) {
    return ByteBuilder()
        .counted(base)
        .i32(t.level1Key())
        .i32(t.level2Key())
        .fixed(t.date().shortDate(), 11)
        .fixed(t.start().clockTime(), 6)
        .fixed(t.end().clockTime(), 6)
        .counted(t.description());
}

std::string handOffLegacy(const std::string& base, const Transaction& t) {
    return ByteBuilder()
        .fixed(base, 9)
        .i32(t.level1Key())
        .i32(t.level2Key())
        .fixed(t.date().shortDate(), 11)
        .fixed(t.start().clockTime(), 6)
        .fixed(t.date().shortDate(), 11)
        .fixed(t.end().clockTime(), 6)
        .fixed(t.description(), 61);
}

TEST_F(TemplateFileTest, HandOffFilesGetTheHeaderWhenEmptyAndIdenticalRecords) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const Transaction a(date(2024, 5, 6), hm(8, 0), hm(9, 0), 1, 1, "a");
    const Transaction b(date(2024, 5, 6), hm(9, 0), hm(10, 30), 2, 3, "b");
    ASSERT_TRUE(reporter.present(file.appendHandOff({&a, &b})));
    const std::string first = transactionHeader() + handOffV4("work", a) + handOffV4("work", b);
    EXPECT_EQ(readBytes(dir.file("trans.dat")), first);
    EXPECT_EQ(readBytes(dir.file("log.dat")), first);

    ASSERT_TRUE(reporter.present(file.appendHandOff({&b})));
    EXPECT_EQ(readBytes(dir.file("trans.dat")), first + handOffV4("work", b));
    EXPECT_EQ(readBytes(dir.file("log.dat")), first + handOffV4("work", b));
    EXPECT_TRUE(prompter.empty());
}

TEST_F(TemplateFileTest, OnlyAnEmptyHandOffFileGetsTheHeader) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const std::string earlier = transactionHeader() + "earlier records";
    writeBytes(dir.file("trans.dat"), earlier);
    writeBytes(dir.file("log.dat"), "");
    const Transaction a(date(2024, 5, 6), hm(8, 0), hm(9, 0), 1, 1, "a");
    ASSERT_TRUE(reporter.present(file.appendHandOff({&a})));
    EXPECT_EQ(readBytes(dir.file("trans.dat")), earlier + handOffV4("work", a));
    EXPECT_EQ(readBytes(dir.file("log.dat")), transactionHeader() + handOffV4("work", a));
}

TEST_F(TemplateFileTest, LegacyHandOffFilesHaveNoHeader) {
    ASSERT_TRUE(loadTemplate(smallTag512()));
    const Transaction a(date(2024, 5, 6), hm(8, 0), hm(9, 0), 101, 201, "legacy");
    ASSERT_TRUE(reporter.present(file.appendHandOff({&a})));
    EXPECT_EQ(readBytes(dir.file("trans.dat")), handOffLegacy("work", a));
    EXPECT_EQ(readBytes(dir.file("log.dat")), handOffLegacy("work", a));
}

TEST_F(TemplateFileTest, HandOffFilesGrowTogetherOrNotAtAll) {
    // The server reads each record from both files; one file held by it must not leave the
    // other with records it would never see twice.
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const std::string earlier = transactionHeader() + "earlier";
    writeBytes(dir.file("trans.dat"), earlier);
    writeBytes(dir.file("log.dat"), earlier);
    FileError error;
    LockedFile held = LockedFile::open(dir.file("log.dat"), LockedFile::Mode::Read, error);
    ASSERT_TRUE(held.isOpen());
    const Transaction a(date(2024, 5, 6), hm(8, 0), hm(9, 0), 1, 1, "a");
    EXPECT_FALSE(reporter.present(file.appendHandOff({&a})));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kLocked, kWillClose}));
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(readBytes(dir.file("trans.dat")), earlier);
    EXPECT_EQ(readBytes(dir.file("log.dat")), earlier);
}

TEST_F(TemplateFileTest, WhenTheSecondHandOffFileFailsHalfWayTheFirstIsCutBack) {
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    const std::string small = transactionHeader();
    const std::string large = transactionHeader() + std::string(2000, 'r');
    writeBytes(dir.file("trans.dat"), small);
    writeBytes(dir.file("log.dat"), large);
    const int code = inChild([this, &large] {
        // trans.dat takes the records; log.dat has room for only part of them.
        if (!limitFileSize(large.size() + 20)) {
            return 64;
        }
        const Transaction a(date(2024, 5, 6), hm(8, 0), hm(9, 0), 1, 1, "a");
        const Transaction b(date(2024, 5, 6), hm(9, 0), hm(10, 0), 1, 1, "b");
        int failures = reporter.present(file.appendHandOff({&a, &b})) ? 1 : 0;
        if (prompter.texts() != std::vector<std::string>{kTooLargeText}) {
            failures |= 2;
        }
        return failures;
    });
    EXPECT_EQ(code, 0) << "1: reported as handed off, 2: messages";
    EXPECT_EQ(readBytes(dir.file("trans.dat")), small);
    EXPECT_EQ(readBytes(dir.file("log.dat")), large);
}

TEST_F(TemplateFileTest, AFailedHandOffRemovesTheFileItCreated) {
    // Neither hand-off file is there yet, and log.dat cannot be opened: trans.dat, created on the
    // way, must not stay behind as an empty file.
    ASSERT_TRUE(loadTemplate(smallVersion4()));
    ASSERT_EQ(::mkdir(dir.file("log.dat").c_str(), 0755), 0);
    const Transaction a(date(2024, 5, 6), hm(8, 0), hm(9, 0), 1, 1, "a");
    EXPECT_FALSE(reporter.present(file.appendHandOff({&a})));
    EXPECT_FALSE(fileExists(dir.file("trans.dat")));
    EXPECT_TRUE(isDirectory(dir.file("log.dat")));
}

// ---------------------------------------------------------------------------------------------
// File-error messages

TEST(FileErrorTextTest, EveryNumberHasItsText) {
    const std::string path = "/home/u/work.trs";
    auto text = [&path](int code, int osError = 0) {
        FileError e;
        e.code = code;
        e.osError = osError;
        return fileErrorText(e, path);
    };
    EXPECT_EQ(text(2), "Cannot find /home/u/work.trs the file was either renamed, moved to "
                       "another directory, or deleted.");
    EXPECT_EQ(text(3),
              "Cannot find /home/u/work.trs the directory was either renamed, moved, or deleted.");
    EXPECT_EQ(text(5), "a)  Cannot save file /home/u/work.trs the file exists, but cannot be "
                       "written to.\nb)  The network server may be down.");
    EXPECT_EQ(text(32), "A needed file is locked by another process");
    EXPECT_EQ(text(53), "Cannot open, retrieve, or save /home/u/work.trs the directory specified "
                        "on the network is not valid.");
    EXPECT_FALSE(text(80).has_value());
    EXPECT_EQ(text(0, ENOSPC), "An error has occurred.  Error#" + std::to_string(ENOSPC));
    EXPECT_EQ(text(0, 12345), "An error has occurred.  Error#12345");
}

TEST(FileErrorTextTest, ThreeErrorsEndTheProgram) {
    for (int code : {2, 3, 5, 32, 53, 80, 0}) {
        FileError e;
        e.code = code;
        e.osError = code == 0 ? ENOSPC : 0;
        EXPECT_EQ(fileErrorEndsProgram(e), code == 5 || code == 32 || code == 53) << code;
    }
}

TEST(FileErrorReporterTest, ShowsTheTextAndForTheClosingErrorsTheClosingBoxAndQuits) {
    const std::string path = "/p/x.tpl";
    struct Case {
        int code;
        int osError;
        std::vector<std::string> texts;
        int quits;
    };
    const Case cases[] = {
        {2,
         ENOENT,
         {"Cannot find /p/x.tpl the file was either renamed, moved to another "
          "directory, or deleted."},
         0},
        {5, EACCES, {*fileErrorText(FileError{5, EACCES}, path), kWillClose}, 1},
        {32, EWOULDBLOCK, {kLocked, kWillClose}, 1},
        {53, ESTALE, {*fileErrorText(FileError{53, ESTALE}, path), kWillClose}, 1},
        {80, EEXIST, {}, 0},
        {0, EIO, {"An error has occurred.  Error#" + std::to_string(EIO)}, 0},
    };
    for (const Case& c : cases) {
        ScriptedPrompter prompter;
        int quits = 0;
        FileErrorReporter reporter(prompter, [&quits] { ++quits; });
        reporter.report(FileError{c.code, c.osError}, path);
        EXPECT_EQ(prompter.texts(), c.texts) << c.code;
        EXPECT_EQ(quits, c.quits) << c.code;
        for (const auto& entry : prompter.entries()) {
            EXPECT_FALSE(entry.question);
        }
    }
}

TEST(FileErrorReporterTest, ADamagedFileIsOneMessageAndNeverEndsTheProgram) {
    ScriptedPrompter prompter;
    int quits = 0;
    FileErrorReporter reporter(prompter, [&quits] { ++quits; });
    reporter.reportDamaged("/p/x.trs", "record 3 is cut short by the end of the file");
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"The file /p/x.trs is damaged and cannot be used: record 3 "
                                       "is cut short by the end of the file.\r\n\r\nNothing was "
                                       "changed in the file."});
    EXPECT_EQ(quits, 0);
}

TEST(FileErrorMappingTest, ErrnoValuesMapToTheNumbersOfTheMessages) {
    TempDir dir;
    auto code = [](int err, const std::string& path) {
        return FileError::fromErrno(err, path).code;
    };
    EXPECT_EQ(code(ENOENT, dir.file("missing.tpl")), 2);
    EXPECT_EQ(code(ENOENT, dir.file("gone/missing.tpl")), 3);
    EXPECT_EQ(code(ENOENT, "relative-missing.tpl"), 2); // the current folder exists
    EXPECT_EQ(code(ENOTDIR, dir.file("a/b")), 3);
    EXPECT_EQ(code(EACCES, "/x"), 5);
    EXPECT_EQ(code(EPERM, "/x"), 5);
    EXPECT_EQ(code(EROFS, "/x"), 5);
    EXPECT_EQ(code(EWOULDBLOCK, "/x"), 32);
    EXPECT_EQ(code(EAGAIN, "/x"), 32);
    EXPECT_EQ(code(EEXIST, "/x"), 80);
    for (int err : {ESTALE, ENETUNREACH, ENETDOWN, EHOSTUNREACH, EHOSTDOWN, ETIMEDOUT, ECONNREFUSED,
                    ECONNRESET, ENOTCONN, EREMOTEIO}) {
        EXPECT_EQ(code(err, "/x"), 53) << err;
    }
    const FileError other = FileError::fromErrno(ENOSPC, "/x");
    EXPECT_EQ(other.code, 0);
    EXPECT_EQ(other.osError, ENOSPC);
    EXPECT_EQ(other.number(), ENOSPC);
    EXPECT_EQ(FileError::fromErrno(EACCES, "/x").number(), 5);
}

// ---------------------------------------------------------------------------------------------
// The file primitives

TEST(FileIoTest, AnAbandonedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("data.bin");
    writeBytes(path, "old contents");
    {
        AtomicFileWriter writer;
        FileError error;
        ASSERT_TRUE(writer.begin(path, error));
        ASSERT_TRUE(writer.write("new", error));
        EXPECT_EQ(readBytes(path), "old contents");
        EXPECT_EQ(dir.entries().size(), 2u) << "the temporary file stands beside the target";
    }
    EXPECT_EQ(readBytes(path), "old contents");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"data.bin"});
}

TEST(FileIoTest, ACommittedWriteReplacesTheFileWhole) {
    TempDir dir;
    const std::string path = dir.file("data.bin");
    writeBytes(path, "a much longer old content");
    FileError error;
    ASSERT_TRUE(writeFileAtomically(path, "new", error));
    EXPECT_EQ(readBytes(path), "new");
    ASSERT_TRUE(writeFileAtomically(dir.file("fresh.bin"), std::string("\0x\0", 3), error));
    EXPECT_EQ(readBytes(dir.file("fresh.bin")), std::string("\0x\0", 3));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(modeOf(dir.file("fresh.bin")), 0666u & ~mask);
}

TEST(FileIoTest, ARewriteKeepsTheOwnerAndGroup) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to another user";
    }
    TempDir dir;
    const std::string path = dir.file("owned.trs");
    writeBytes(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 4242, 4343), 0);
    FileError error;
    ASSERT_TRUE(writeFileAtomically(path, "new", error));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4242u);
    EXPECT_EQ(st.st_gid, 4343u);
    EXPECT_EQ(readBytes(path), "new");
}

TEST(FileIoTest, ASuccessfulWriteRemovesTheTemporaryFilesKilledWritesLeft) {
    TempDir dir;
    const std::string path = dir.file("a.trs");
    writeBytes(path, "old");
    const std::vector<std::string> stale = {".a.trs.AbC123", ".a.trs.zzzzzz"};
    // Files of other targets, of other shapes, and a folder of the right shape stay.
    const std::vector<std::string> others = {".b.trs.AbC123", ".a.trs.AbC1234", ".a.trs.AbC12",
                                             "a.trs.AbC123", ".a.trs.AbC_12"};
    for (const std::string& name : stale) {
        writeBytes(dir.file(name), std::string(1000, 'x'));
    }
    for (const std::string& name : others) {
        writeBytes(dir.file(name), "keep");
    }
    ASSERT_EQ(::mkdir(dir.file(".a.trs.Folder").c_str(), 0700), 0);

    // A write that does not succeed removes nothing.
    FileError error;
    {
        AtomicFileWriter abandoned;
        ASSERT_TRUE(abandoned.begin(path, error));
    }
    for (const std::string& name : stale) {
        EXPECT_TRUE(exists(dir.file(name))) << name;
    }

    ASSERT_TRUE(writeFileAtomically(path, "new", error));
    EXPECT_EQ(readBytes(path), "new");
    for (const std::string& name : stale) {
        EXPECT_FALSE(exists(dir.file(name))) << name;
    }
    for (const std::string& name : others) {
        EXPECT_EQ(readBytes(dir.file(name)), "keep") << name;
    }
    EXPECT_TRUE(isDirectory(dir.file(".a.trs.Folder")));
}

TEST(FileIoTest, WritingThroughASymbolicLinkKeepsTheLink) {
    TempDir dir;
    writeBytes(dir.file("real.tpl"), "old");
    ASSERT_EQ(::symlink(dir.file("real.tpl").c_str(), dir.file("link.tpl").c_str()), 0);
    FileError error;
    ASSERT_TRUE(writeFileAtomically(dir.file("link.tpl"), "new", error));
    struct stat st {};
    ASSERT_EQ(::lstat(dir.file("link.tpl").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readBytes(dir.file("real.tpl")), "new");
}

// The kind of file at `path` (S_IFIFO, S_IFCHR, ...), following links; 0 when there is none.
mode_t fileTypeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

TEST(FileIoTest, AFifoIsWrittenToAndStaysAFifo) {
    TempDir dir;
    const std::string path = dir.file("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    // A reader that is already there, so the writer's open does not wait for one.
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    FileError error;
    const bool written = writeFileAtomically(path, "through the pipe", error);
    char buffer[64] = {};
    const ssize_t n = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    EXPECT_TRUE(written) << error.osError;
    EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0), "through the pipe");
    EXPECT_EQ(fileTypeOf(path), static_cast<mode_t>(S_IFIFO));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"pipe"}) << "no temporary file is made";
}

TEST(FileIoTest, ACharacterDeviceIsWrittenToAndStaysADevice) {
    ASSERT_EQ(fileTypeOf("/dev/null"), static_cast<mode_t>(S_IFCHR));
    FileError error;
    EXPECT_TRUE(writeFileAtomically("/dev/null", "discarded", error)) << error.osError;
    EXPECT_EQ(fileTypeOf("/dev/null"), static_cast<mode_t>(S_IFCHR));
}

TEST(FileIoTest, ASpecialFileThatCannotBeOpenedIsReportedWithItsCause) {
    TempDir dir;
    const std::string path = dir.file("socket");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    FileError error;
    EXPECT_FALSE(writeFileAtomically(path, "x", error));
    ::close(listener);
    EXPECT_EQ(error.osError, ENXIO);
    EXPECT_EQ(fileTypeOf(path), static_cast<mode_t>(S_IFSOCK));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"socket"});
}

TEST(FileIoTest, AFolderCannotBeWrittenAsAFile) {
    TempDir dir;
    FileError error;
    EXPECT_FALSE(writeFileAtomically(dir.path(), "x", error));
    EXPECT_EQ(error.code, FileError::kAccessDenied);
    LockedFile opened = LockedFile::open(dir.path(), LockedFile::Mode::Read, error);
    EXPECT_FALSE(opened.isOpen());
    EXPECT_EQ(error.code, FileError::kAccessDenied);
}

TEST(FileIoTest, AppendAddsAtTheEndAndTruncateCutsBack) {
    TempDir dir;
    const std::string path = dir.file("log.dat");
    FileError error;
    LockedFile f = LockedFile::open(path, LockedFile::Mode::ReadWriteCreate, error);
    ASSERT_TRUE(f.isOpen());
    ASSERT_TRUE(f.appendDurably("abc", error));
    ASSERT_TRUE(f.appendDurably("def", error));
    EXPECT_EQ(f.size(), 6);
    EXPECT_EQ(readBytes(path), "abcdef");
    ASSERT_TRUE(f.truncate(2, error));
    EXPECT_EQ(readBytes(path), "ab");
    f.close();
    EXPECT_FALSE(f.isOpen());
}

TEST(FileIoTest, ReadWriteWithoutCreateNeedsTheFile) {
    TempDir dir;
    FileError error;
    LockedFile f = LockedFile::open(dir.file("none"), LockedFile::Mode::ReadWrite, error);
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(error.code, FileError::kNotFound);
    EXPECT_FALSE(exists(dir.file("none")));
}

TEST(FileIoTest, ReadingAFileHeldElsewhereIsASharingViolation) {
    TempDir dir;
    const std::string path = dir.file("x");
    writeBytes(path, "content");
    FileError error;
    LockedFile held = LockedFile::open(path, LockedFile::Mode::Read, error);
    ASSERT_TRUE(held.isOpen());
    std::string out;
    EXPECT_FALSE(readWholeFile(path, out, error));
    EXPECT_EQ(error.code, FileError::kSharingViolation);
    LockedFile moved = std::move(held);
    EXPECT_FALSE(held.isOpen());
    EXPECT_FALSE(readWholeFile(path, out, error)) << "the lock moves with the file";
    moved.close();
    ASSERT_TRUE(readWholeFile(path, out, error));
    EXPECT_EQ(out, "content");
}

TEST(FileIoTest, RemovingAndCopying) {
    TempDir dir;
    FileError error;
    EXPECT_TRUE(removeFile(dir.file("never-there"), error));
    writeBytes(dir.file("a"), "A");
    writeBytes(dir.file("b"), "B");
    EXPECT_FALSE(copyFile(dir.file("a"), dir.file("b"), false, error));
    EXPECT_EQ(error.code, FileError::kFileExists);
    EXPECT_EQ(readBytes(dir.file("b")), "B");
    ASSERT_TRUE(copyFile(dir.file("a"), dir.file("b"), true, error));
    EXPECT_EQ(readBytes(dir.file("b")), "A");
    EXPECT_FALSE(copyFile(dir.file("missing"), dir.file("c"), true, error));
    EXPECT_EQ(error.code, FileError::kNotFound);
    EXPECT_FALSE(exists(dir.file("c")));
    ASSERT_TRUE(removeFile(dir.file("a"), error));
    EXPECT_FALSE(exists(dir.file("a")));
}

TEST(FileIoTest, FolderAndFileNameOfAPath) {
    EXPECT_EQ(folderOf("/home/u/work.tpl"), "/home/u/");
    EXPECT_EQ(fileNameOf("/home/u/work.tpl"), "work.tpl");
    EXPECT_EQ(folderOf("work.tpl"), "");
    EXPECT_EQ(fileNameOf("work.tpl"), "work.tpl");
    EXPECT_EQ(folderOf("/work.tpl"), "/");
}

} // namespace
} // namespace vsolo
