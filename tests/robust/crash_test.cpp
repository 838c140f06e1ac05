// A rewrite of a large transaction file killed at random moments: the file is always the old or
// the new one, and what a killed rewrite leaves behind goes with the next one that succeeds.

#include "tests/support/filelayouts.h"
#include "tests/support/tempdir.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vsolo::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Enough bytes that the rewrite takes several writes of the writer's chunk (1 MiB), with few
// enough records that each load stays short.
constexpr int kRecords = 10000;
constexpr std::size_t kDescriptionSize = 80;
constexpr int kKills = 200;
// Every so many kills a rewrite runs to its end and must leave no temporary file.
constexpr int kCleanEvery = 25;

std::string twoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

std::string description(int record) {
    std::string text = "Record " + std::to_string(record) + " ";
    while (text.size() < kDescriptionSize) {
        text.push_back(static_cast<char>('a' + (record + static_cast<int>(text.size())) % 26));
    }
    return text;
}

// The transaction file with every record on the key pair (level1, level2): ten records a day,
// one an hour from 08:00, on consecutive days from January 1, 2000, each with a description of
// its own of kDescriptionSize characters.
std::string transactionFile(std::int32_t level1, std::int32_t level2) {
    static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    ByteBuilder b;
    b.raw(transactionHeader());
    int year = 2000;
    int month = 1;
    int day = 1;
    for (int i = 0; i < kRecords; ++i) {
        const int hour = 8 + i % 10;
        const std::string date =
            twoDigits(month) + "/" + twoDigits(day) + "/" + std::to_string(year);
        add(b, V4Record(level1, level2, date, twoDigits(hour) + ":00", twoDigits(hour) + ":45", 0,
                        description(i)));
        if (i % 10 == 9) {
            const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
            if (++day > kMonthDays[month - 1] + (month == 2 && leap ? 1 : 0)) {
                day = 1;
                if (++month > 12) {
                    month = 1;
                    ++year;
                }
            }
        }
    }
    return b;
}

class CrashTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        oldBytes = new std::string(transactionFile(1, 2));
        newBytes = new std::string(transactionFile(3, 4));
    }
    static void TearDownTestSuite() {
        delete oldBytes;
        delete newBytes;
    }

    void SetUp() override {
        writeBytes(tpl(), v4Template("Veltimo Solo File", 5, 5,
                                     {{1, 0, 0, 0, 1, 1, 0, "Client", " ", " "},
                                      {3, 0, 0, 0, 1, 1, 0, "Admin", " ", " "},
                                      {1, 0, 2, 1, 1, 2, 0, "Coding", " ", " "},
                                      {3, 0, 4, 1, 1, 2, 0, "Mail", " ", " "}}));
        writeBytes(trs(), *oldBytes);
    }

    std::string tpl() const { return dir.file("work.tpl"); }
    std::string trs() const { return dir.file("work.trs"); }

    std::vector<std::string> temporaries() const {
        std::vector<std::string> found;
        for (const std::string& name : dir.entries()) {
            if (name.rfind(".work.trs.", 0) == 0) {
                found.push_back(name);
            }
        }
        return found;
    }

    // Starts the driver and waits for its byte that says the rewrite begins; -1 when it ended
    // before.
    pid_t startRewrite() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            return -1;
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(fds[1], 1);
            const int devNull = ::open("/dev/null", O_WRONLY);
            ::dup2(devNull, 2);
            const std::string path = tpl();
            ::execl(VSOLO_REWRITE_DRIVER, VSOLO_REWRITE_DRIVER, path.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        char byte = 0;
        ssize_t n;
        do {
            n = ::read(fds[0], &byte, 1);
        } while (n < 0 && errno == EINTR);
        ::close(fds[0]);
        if (n != 1) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            return -1;
        }
        return pid;
    }

    // Waits for the child up to the deadline, polling; kills it with SIGKILL when it is still
    // running then. Gives the wait status.
    static int endAt(pid_t pid, Clock::time_point deadline) {
        int status = 0;
        for (;;) {
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                return status;
            }
            const auto left = deadline - Clock::now();
            if (left <= Clock::duration::zero()) {
                break;
            }
            std::this_thread::sleep_for(
                std::min<Clock::duration>(left, std::chrono::milliseconds(1)));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return status;
    }

    // A rewrite to its end: it must succeed, toggle the file and leave no temporary file.
    void rewriteToEnd(bool& isOld) {
        const pid_t pid = startRewrite();
        ASSERT_GT(pid, 0);
        const auto start = Clock::now();
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        lastRewrite = Clock::now() - start;
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        isOld = !isOld;
        ASSERT_TRUE(readBytes(trs()) == (isOld ? *oldBytes : *newBytes));
        ASSERT_EQ(temporaries(), std::vector<std::string>{});
    }

    static std::string* oldBytes;
    static std::string* newBytes;
    TempDir dir;
    Clock::duration lastRewrite{};
};

std::string* CrashTest::oldBytes = nullptr;
std::string* CrashTest::newBytes = nullptr;

TEST_F(CrashTest, AKilledRewriteLeavesTheOldOrTheNewFileAndTheNextOneCleansUp) {
    std::random_device device;
    const char* given = std::getenv("VSOLO_CRASH_SEED");
    const unsigned seed =
        given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : device();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (VSOLO_CRASH_SEED repeats it)");
    std::mt19937 random(seed);

    // The typical rewrite: the fastest of three from the driver's signal to its end, since the
    // first ones run with cold caches.
    bool isOld = true;
    Clock::duration typical = Clock::duration::max();
    for (int i = 0; i < 3; ++i) {
        ASSERT_NO_FATAL_FAILURE(rewriteToEnd(isOld));
        typical = std::min(typical, lastRewrite);
    }
    std::uniform_int_distribution<long long> delay(
        0, std::chrono::duration_cast<std::chrono::microseconds>(typical).count());

    int kills = 0;
    int finished = 0;
    int leftovers = 0;
    const auto began = Clock::now();
    for (int round = 0; kills < kKills && round < 4 * kKills; ++round) {
        const pid_t pid = startRewrite();
        ASSERT_GT(pid, 0) << "round " << round;
        const int status = endAt(pid, Clock::now() + std::chrono::microseconds(delay(random)));
        const std::string bytes = readBytes(trs());
        const bool nowOld = bytes == *oldBytes;
        ASSERT_TRUE(nowOld || bytes == *newBytes)
            << "round " << round << ": " << bytes.size() << " bytes, neither file";
        if (WIFSIGNALED(status)) {
            ++kills;
            leftovers += temporaries().empty() ? 0 : 1;
        } else {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
            ASSERT_NE(nowOld, isOld) << "a rewrite that succeeded changed nothing";
            ASSERT_EQ(temporaries(), std::vector<std::string>{});
            ++finished;
        }
        isOld = nowOld;
        if (kills % kCleanEvery == 0 && WIFSIGNALED(status)) {
            ASSERT_NO_FATAL_FAILURE(rewriteToEnd(isOld)) << "round " << round;
        }
    }
    ASSERT_NO_FATAL_FAILURE(rewriteToEnd(isOld));
    const auto seconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began).count() /
        1000.0;
    std::printf(
        "%zu bytes; %d kills, %d rewrites ended first, %d kills left a temporary file; typical "
        "rewrite %lld ms, %.1f s\n",
        oldBytes->size(), kills, finished, leftovers,
        static_cast<long long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(typical).count()),
        seconds);
    EXPECT_GE(kills, kKills);
    EXPECT_GT(leftovers, 0) << "no kill came during a write, so the clean-up went untried";
}

} // namespace
} // namespace vsolo::testing
