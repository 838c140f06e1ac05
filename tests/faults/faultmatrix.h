#pragma once

// The fault matrix: each writer of a table is run once to count the calls it makes of each point
// of the fault seam, then once per call with that call failing with ENOSPC, EIO or EACCES. Every
// failing run must keep the old files byte for byte, leave no other file behind, and report the
// failure with its number and the text the user is shown. A test program includes this once and
// defines writers().

#include "core/base/faultinjection.h"
#include "core/base/fileio.h"
#include "tests/support/tempdir.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vsolo::testing {

using Files = std::map<std::string, std::string>;

// What a writer came to, as its caller sees it.
struct Outcome {
    bool ok = false;
    std::optional<FileError> error; // where the writer gives one
    std::optional<int> exitCode;    // vsolo-cli
    std::string path;               // the file the failure names
    std::string shown;              // the first text the user is shown
};

struct Writer {
    std::string name;
    Files old;
    std::vector<faults::Point> points;
    // The old files all stay when any call before the last rename fails; false where files are
    // replaced one after the other.
    bool together = true;
    std::function<Outcome(TempDir&)> run;
    // The text shown for the error and the path the failure names; none where the caller tells.
    std::function<std::string(int, const std::string&)> text;
    // Whether the text is one of several lines the user is shown, not all of them.
    bool among = false;
};

const std::vector<Writer>& writers();

inline const std::vector<faults::Point> kReplacing{
    faults::Point::Write, faults::Point::Flush, faults::Point::Rename, faults::Point::FolderFlush};
inline const std::vector<faults::Point> kAppending{faults::Point::Write, faults::Point::Flush};

// The text the tracker and the reporting tool show for the error of a write of `path`.
inline std::string shownText(int err, const std::string& path) {
    if (err == EACCES) {
        return "a)  Cannot save file " + path +
               " the file exists, but cannot be written to.\nb)  The network server may be down.";
    }
    return "An error has occurred.  Error#" + std::to_string(err);
}

struct FaultCase {
    std::size_t writer;
    faults::Point point;
    int error;
};

inline std::vector<FaultCase> faultCases() {
    std::vector<FaultCase> out;
    for (std::size_t w = 0; w < writers().size(); ++w) {
        for (faults::Point p : writers()[w].points) {
            for (int e : {ENOSPC, EIO, EACCES}) {
                out.push_back({w, p, e});
            }
        }
    }
    return out;
}

inline std::string faultCaseName(const ::testing::TestParamInfo<FaultCase>& info) {
    static const char* const kPoints[] = {"Write", "Flush", "Rename", "FolderFlush"};
    const int e = info.param.error;
    return writers()[info.param.writer].name + "_" +
           kPoints[static_cast<std::size_t>(info.param.point)] + "_" +
           (e == ENOSPC ? "ENOSPC"
            : e == EIO  ? "EIO"
                        : "EACCES");
}

inline void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << writers()[c.writer].name << " point " << static_cast<int>(c.point) << " errno "
         << c.error;
}

class FaultMatrix : public ::testing::TestWithParam<FaultCase> {
protected:
    void TearDown() override { faults::reset(); }

    struct Run {
        Outcome outcome;
        Files files;
        unsigned calls = 0; // of the case's point
    };

    // A run in a fresh folder holding the old files; `arm` sets the seam just before it.
    template <typename Arm>
    static Run runOnce(const Writer& w, faults::Point point, Arm arm) {
        TempDir dir;
        for (const auto& [name, bytes] : w.old) {
            std::filesystem::create_directories(
                std::filesystem::path(dir.file(name)).parent_path());
            writeBytes(dir.file(name), bytes);
        }
        arm();
        Run run{w.run(dir), {}, faults::calls(point)};
        faults::reset();
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
            if (!entry.is_directory()) {
                run.files[std::filesystem::relative(entry.path(), dir.path()).string()] =
                    readBytes(entry.path().string());
            }
        }
        return run;
    }
};

TEST_P(FaultMatrix, KeepsTheOldFilesAndReportsTheFailure) {
    const FaultCase c = GetParam();
    const Writer& w = writers()[c.writer];
    const Run counted = runOnce(w, c.point, [] { faults::count(); });
    ASSERT_TRUE(counted.outcome.ok) << counted.outcome.shown;
    ASSERT_GT(counted.calls, 0U) << "the writer makes no such call";
    for (unsigned n = 1; n <= counted.calls; ++n) {
        SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(counted.calls));
        const Run failed = runOnce(w, c.point, [&] { faults::arm(c.point, n, c.error); });
        const Outcome& o = failed.outcome;
        EXPECT_FALSE(o.ok) << "a failed write reported as done";
        if (o.error) {
            EXPECT_EQ(o.error->osError, c.error);
            EXPECT_EQ(o.error->number(), c.error == ENOSPC ? 28 : 5);
        }
        if (o.exitCode) {
            EXPECT_EQ(*o.exitCode, 2);
        }
        if (w.text && w.among) {
            EXPECT_NE(o.shown.find(w.text(c.error, o.path)), std::string::npos) << o.shown;
        } else if (w.text) {
            EXPECT_EQ(o.shown, w.text(c.error, o.path));
        }
        ASSERT_EQ(failed.files.size(), w.old.size()) << "a file left behind or lost";
        for (const auto& [name, bytes] : failed.files) {
            ASSERT_EQ(w.old.count(name), 1U) << name << " left behind";
            if (w.together && c.point != faults::Point::FolderFlush) {
                EXPECT_EQ(bytes, w.old.at(name)) << name;
            } else {
                // The rename itself has happened, or an earlier file was done.
                EXPECT_TRUE(bytes == w.old.at(name) || bytes == counted.files.at(name)) << name;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, FaultMatrix, ::testing::ValuesIn(faultCases()), faultCaseName);

} // namespace vsolo::testing
