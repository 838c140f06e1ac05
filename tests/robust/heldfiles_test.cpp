// Every file the programs write, under the failures a user's system can bring: a second process
// holding it, its folder gone or read-only, a folder in its place, a read-only file of another
// user. The user is told the system's error, the write reports failure, and no file changes.

#include "core/base/fileerrortext.h"
#include "core/fileerror.h"
#include "core/model/recovery.h"
#include "core/model/templatefile.h"
#include "reporting/data/reportingfile.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vsolo::testing {
namespace {

namespace fs = std::filesystem;

const std::string kLocked = "A needed file is locked by another process";

std::string deniedText(const std::string& path) {
    return "a)  Cannot save file " + path +
           " the file exists, but cannot be written to.\nb)  The network server may be down.";
}

std::string folderGoneText(const std::string& path) {
    return "Cannot find " + path + " the directory was either renamed, moved, or deleted.";
}

// Another process holding the file with the lock the programs take, until it is destroyed.
class Holder {
public:
    explicit Holder(const std::string& path) {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const int fd = ::open(path.c_str(), O_RDONLY);
            const char held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 1 : 0;
            char ignored;
            if (::write(ready[1], &held, 1) == 1) {
                while (::read(release[0], &ignored, 1) < 0 && errno == EINTR) {
                }
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char held = 0;
        m_held = ::read(ready[0], &held, 1) == 1 && held == 1;
        ::close(ready[0]);
    }
    ~Holder() {
        ::close(m_release);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    bool held() const { return m_held; }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_held = false;
};

// What a write or a read came to, as the user sees it.
struct Outcome {
    bool ok = false;
    std::vector<std::string> texts;
};

// The files of one template in a folder of their own, and the objects that write them.
struct Scene {
    TempDir root;
    std::string folder = root.file("data");
    SettableClock clock{dateTime(2024, 5, 6, 12, 0)};
    TemplateFile file{clock};
    ScriptedPrompter prompter;
    FileErrorReporter reporter{prompter, [] {}};

    std::string path(const std::string& name) const { return folder + "/" + name; }
    std::string tpl() const { return path("work.tpl"); }
    Outcome told(const FileResult& result) {
        prompter.clear();
        Outcome outcome;
        outcome.ok = reporter.present(result);
        outcome.texts = prompter.texts();
        return outcome;
    }
    static Outcome told(const reporting::ReportingResult& result) {
        return {result.ok(), result.ok() ? std::vector<std::string>{}
                                         : std::vector<std::string>{result.message}};
    }
};

struct WriterKind {
    std::string name;
    std::map<std::string, std::string> files; // what is in the folder before
    std::string target;                       // the file the failure is made on
    // The file a write tries first, when it is not the target.
    std::string firstWritten;
    std::vector<std::string> appendsTo; // the files a write adds to in place
    bool endsProgram = true;            // a refusal ends the program after its message
    std::function<void(Scene&)> prepare;
    std::function<Outcome(Scene&)> write;
    std::function<Outcome(Scene&)> read; // none for files only the programs write
};

void PrintTo(const WriterKind& kind, std::ostream* out) {
    *out << kind.name;
}

std::string version4Template() {
    return v4Template(
        "Veltimo Solo File", 3, 3,
        {{1, 0, 0, 0, 1, 1, 0, "Client", " ", " "}, {1, 0, 2, 1, 1, 2, 0, "Coding", " ", " "}});
}

std::string tag512Template() {
    return legacyTemplate(kTag512Bytes, {{101, "Client work", "", 70}}, {{201, "Coding", ""}},
                          {{101, 201}});
}

Transaction appended() {
    return Transaction(date(2024, 5, 6), hm(9, 0), hm(10, 0), 1, 2, "Appended");
}

void loadTemplate(Scene& s) {
    s.file.setPath(s.tpl());
    ASSERT_TRUE(s.file.load(s.tpl()));
}

Outcome readTemplate(Scene& s) {
    TemplateFile other;
    return s.told(other.load(s.tpl()));
}

std::vector<WriterKind> writerKinds() {
    const std::string transactions = records(
        transactionHeader(), std::vector<V4Record>{{1, 2, "05/06/2024", "08:00", "08:30", 0, "A"}});
    const std::string recovery = "Veltimo Solo recovery file, version 1\nrecord=1\n"
                                 "date=05/06/2024\nstart=08:00\nend=08:30\nlevel1=1\nlevel2=2\n"
                                 "description=Kept\nrecords=1\n";
    const auto renameFirst = [](Scene& s) {
        loadTemplate(s);
        s.file.level1().at(0)->setName("Renamed");
    };
    std::vector<WriterKind> kinds;
    kinds.push_back({"TemplateVersion4",
                     {{"work.tpl", version4Template()}},
                     "work.tpl",
                     "",
                     {},
                     true,
                     renameFirst,
                     [](Scene& s) { return s.told(s.file.save(s.tpl())); },
                     readTemplate});
    kinds.push_back(
        {"Tag512Template",
         {{"work.tpl", tag512Template()}, {"work.tlx", sideFile({{101, 70, 1, {201}}})}},
         "work.tpl",
         "",
         {},
         true,
         renameFirst,
         [](Scene& s) { return s.told(s.file.save(s.tpl())); },
         readTemplate});
    kinds.push_back(
        {"SideFile",
         {{"work.tpl", tag512Template()}, {"work.tlx", sideFile({{101, 70, 1, {201}}})}},
         "work.tlx",
         "",
         {},
         true,
         [](Scene& s) {
             loadTemplate(s);
             s.file.level1().at(0)->setTarget(55);
         },
         [](Scene& s) { return s.told(s.file.writeSideFile(s.path("work.tlx"))); },
         [](Scene& s) {
             TemplateFile other;
             return s.told(other.readSideFile(s.path("work.tlx")));
         }});
    kinds.push_back({"TransactionFile",
                     {{"work.tpl", version4Template()}, {"work.trs", transactions}},
                     "work.trs",
                     "",
                     {},
                     true,
                     [](Scene& s) {
                         loadTemplate(s);
                         ASSERT_TRUE(s.file.loadTransactions());
                         ASSERT_EQ(s.file.store().rekey(1, 2, 1, 3), 1u);
                     },
                     [](Scene& s) { return s.told(s.file.saveTransactions()); },
                     [](Scene& s) {
                         TemplateFile other;
                         other.setPath(s.tpl());
                         return s.told(other.loadTransactions());
                     }});
    kinds.push_back({"TransactionAppend",
                     {{"work.tpl", version4Template()}, {"work.trs", transactions}},
                     "work.trs",
                     "",
                     {"work.trs"},
                     true,
                     loadTemplate,
                     [](Scene& s) { return s.told(s.file.appendTransaction(appended())); },
                     {}});
    kinds.push_back({"RecoveryFile",
                     {{"work.rcv", recovery}},
                     "work.rcv",
                     "",
                     {},
                     true,
                     [](Scene&) {},
                     [](Scene& s) {
                         FileError error;
                         const std::string path = s.path("work.rcv");
                         if (writeRecoveryFile(path, {appended()}, error)) {
                             return s.told(FileResult::done());
                         }
                         return s.told(FileResult::fileError(error, path));
                     },
                     [](Scene& s) {
                         std::vector<Transaction> records;
                         return s.told(readRecoveryFile(s.path("work.rcv"), records));
                     }});
    kinds.push_back(
        {"ReportingFile",
         {{"work.vsr",
           ByteBuilder().i32(1).fixed("Veltimo Solo Reports", 25).i32(0).i32(0).i32(0).i32(0)}},
         "work.vsr",
         "",
         {},
         false,
         [](Scene&) {},
         [](Scene& s) {
             reporting::ReportingFileContent content;
             content.clients.push_back({7, "Acme"});
             return Scene::told(reporting::writeReportingFileAt(s.path("work.vsr"), content));
         },
         [](Scene& s) {
             reporting::ReportingFileContent content;
             return Scene::told(reporting::readReportingFileAt(s.path("work.vsr"), content));
         }});
    const std::map<std::string, std::string> handOffFiles{{"work.tpl", version4Template()},
                                                          {"trans.dat", transactionHeader()},
                                                          {"log.dat", transactionHeader()}};
    const auto appendHandOff = [](Scene& s) {
        const Transaction t = appended();
        return s.told(s.file.appendHandOff({&t}));
    };
    kinds.push_back({"HandOffTransactions",
                     handOffFiles,
                     "trans.dat",
                     "",
                     {"trans.dat", "log.dat"},
                     true,
                     loadTemplate,
                     appendHandOff,
                     {}});
    kinds.push_back({"HandOffLog",
                     handOffFiles,
                     "log.dat",
                     "trans.dat",
                     {"trans.dat", "log.dat"},
                     true,
                     loadTemplate,
                     appendHandOff,
                     {}});
    return kinds;
}

using Snapshot = std::map<std::string, std::string>;

class WriterFaultTest : public ::testing::TestWithParam<WriterKind> {
protected:
    void SetUp() override {
        setLockWait(std::chrono::milliseconds(0)); // a held file is refused at once
        ::mkdir(s.folder.c_str(), 0755);
        for (const auto& [name, bytes] : kind().files) {
            writeBytes(s.path(name), bytes);
        }
        ASSERT_NO_FATAL_FAILURE(kind().prepare(s));
        before = snapshot();
    }

    const WriterKind& kind() const { return GetParam(); }
    std::string target() const { return s.path(kind().target); }
    std::string firstWritten() const {
        return s.path(kind().firstWritten.empty() ? kind().target : kind().firstWritten);
    }
    std::vector<std::string> refusal(const std::string& text) const {
        return kind().endsProgram ? std::vector<std::string>{text, kProgramWillClose}
                                  : std::vector<std::string>{text};
    }

    // Every regular file of the folder, hidden ones too, with its bytes.
    Snapshot snapshot() const {
        Snapshot files;
        for (const auto& entry : fs::directory_iterator(s.folder)) {
            if (entry.is_regular_file()) {
                files[entry.path().filename().string()] = readBytes(entry.path().string());
            }
        }
        return files;
    }

    // As root, who ignores permission bits, the folder is given to an ordinary user, in whose
    // name the write then runs in a child process; nullopt when the identity cannot be taken.
    std::optional<Outcome> writeWherePermissionsCount() {
        if (::geteuid() != 0) {
            return kind().write(s);
        }
        int fds[2];
        if (::pipe(fds) != 0) {
            return std::nullopt;
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            if (::setgroups(0, nullptr) != 0 || ::setgid(kOrdinaryUser) != 0 ||
                ::setuid(kOrdinaryUser) != 0) {
                ::_exit(kCannotTakeIdentity);
            }
            const Outcome outcome = kind().write(s);
            std::string message(1, outcome.ok ? '1' : '0');
            for (const std::string& text : outcome.texts) {
                message += text;
                message.push_back('\0');
            }
            const bool sent = ::write(fds[1], message.data(), message.size()) ==
                              static_cast<ssize_t>(message.size());
            ::_exit(sent ? 0 : 1);
        }
        ::close(fds[1]);
        std::string message;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
            if (n > 0) {
                message.append(buffer, static_cast<std::size_t>(n));
            } else if (errno != EINTR) {
                break;
            }
        }
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || message.empty()) {
            return std::nullopt;
        }
        Outcome outcome;
        outcome.ok = message[0] == '1';
        for (std::size_t at = 1; at < message.size();) {
            const std::size_t end = message.find('\0', at);
            outcome.texts.push_back(message.substr(at, end - at));
            at = end + 1;
        }
        return outcome;
    }

    // Makes the ordinary user the owner of everything the test made, when the test runs as root.
    void giveToOrdinaryUser() const {
        if (::geteuid() != 0) {
            return;
        }
        ASSERT_EQ(::chown(s.root.path().c_str(), kOrdinaryUser, kOrdinaryUser), 0);
        for (const auto& entry : fs::recursive_directory_iterator(s.root.path())) {
            ASSERT_EQ(::lchown(entry.path().c_str(), kOrdinaryUser, kOrdinaryUser), 0);
        }
    }

    static constexpr uid_t kOrdinaryUser = 65534;
    static constexpr int kCannotTakeIdentity = 99;
    static constexpr const char* kNoOrdinaryUser =
        "running as root without the right to take another user's identity, so permission bits "
        "cannot refuse a write";

    Scene s;
    Snapshot before;
};

TEST_P(WriterFaultTest, AFileHeldByAnotherProcessIsRefusedWithError32AndStaysAsItWas) {
    Holder holder(target());
    ASSERT_TRUE(holder.held());
    const Outcome written = kind().write(s);
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.texts, refusal(kLocked));
    if (kind().read) {
        const Outcome read = kind().read(s);
        EXPECT_FALSE(read.ok);
        ASSERT_FALSE(read.texts.empty());
        EXPECT_EQ(read.texts.front(), kLocked);
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_P(WriterFaultTest, AFolderRemovedBeforeTheWriteIsErrorThreeAndTheDataStaysToWriteAgain) {
    fs::remove_all(s.folder);
    const Outcome written = kind().write(s);
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.texts, std::vector<std::string>{folderGoneText(firstWritten())});
    EXPECT_FALSE(exists(s.folder)) << "nothing is made where the folder was";
    ASSERT_EQ(::mkdir(s.folder.c_str(), 0755), 0);
    EXPECT_TRUE(kind().write(s).ok) << "what was to be written is still there to write";
}

TEST_P(WriterFaultTest, AFolderInPlaceOfTheFileIsRefusedAndKeepsWhatItHolds) {
    fs::remove(target());
    before.erase(kind().target);
    ASSERT_EQ(::mkdir(target().c_str(), 0755), 0);
    writeBytes(target() + "/inside", "kept");
    const Outcome written = kind().write(s);
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.texts, refusal(deniedText(target())));
    if (kind().read) {
        EXPECT_FALSE(kind().read(s).ok);
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(readBytes(target() + "/inside"), "kept");
}

TEST_P(WriterFaultTest, AReadOnlyFolderRefusesANewFileWithErrorFiveButTakesAnAppend) {
    ASSERT_NO_FATAL_FAILURE(giveToOrdinaryUser());
    ASSERT_EQ(::chmod(s.folder.c_str(), 0555), 0);
    const std::optional<Outcome> written = writeWherePermissionsCount();
    if (!written) {
        GTEST_SKIP() << kNoOrdinaryUser;
    }
    Snapshot after = snapshot();
    if (!kind().appendsTo.empty()) {
        EXPECT_TRUE(written->ok) << "an append makes no file in the folder";
        for (const std::string& name : kind().appendsTo) {
            const std::string old = before[name];
            EXPECT_GT(after[name].size(), old.size()) << name;
            EXPECT_EQ(after[name].substr(0, old.size()), old) << name;
            after[name] = old;
        }
    } else {
        EXPECT_FALSE(written->ok);
        EXPECT_EQ(written->texts, refusal(deniedText(target())));
    }
    EXPECT_EQ(after, before);
}

TEST_P(WriterFaultTest, AnotherUsersReadOnlyFileIsRefusedWithErrorFiveAndStaysAsItWas) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make a file that belongs to another user";
    }
    ASSERT_NO_FATAL_FAILURE(giveToOrdinaryUser());
    ASSERT_EQ(::chown(target().c_str(), 0, 0), 0);
    ASSERT_EQ(::chmod(target().c_str(), 0444), 0);
    const std::optional<Outcome> written = writeWherePermissionsCount();
    if (!written) {
        GTEST_SKIP() << kNoOrdinaryUser;
    }
    EXPECT_FALSE(written->ok);
    EXPECT_EQ(written->texts, refusal(deniedText(target())));
    EXPECT_EQ(snapshot(), before);
    struct stat st {};
    ASSERT_EQ(::stat(target().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(st.st_uid, 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriterFaultTest, ::testing::ValuesIn(writerKinds()),
                         [](const auto& named) { return named.param.name; });

} // namespace
} // namespace vsolo::testing
