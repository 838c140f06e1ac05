// vsolo-cli vsr on reporting files made byte by byte here.

#include "tests/support/reportingbytes.h"
#include "tests/support/runprogram.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>
#include <string>

namespace vsolo::testing {
namespace {

class VsrCommandTest : public ::testing::Test {
protected:
    ProgramRun run(const std::vector<std::string>& args) const {
        RunOptions options;
        options.environment = {{"TZ", "UTC0"}};
        return runProgram(VSOLO_CLI_PATH, args, dir.path(), options);
    }
    TempDir dir;
};

TEST_F(VsrCommandTest, ListsEveryEntryInFileOrder) {
    ByteBuilder b;
    b.i32(1).fixed("Veltimo Solo Reports", 25);
    b.i32(2);
    b.i32(1).i32(2).i32(0).i32(915148800);
    real(b, 12.345).counted("Taxi\\cab\r\n");
    b.i32(3).i32(1).i32(0).i32(915235200);
    real(b, 0.5).counted("Tip");
    b.i32(1).counted("STD");
    real(b, 80.0).counted("Standard\trate");
    b.i32(1).i32(4).counted("Caf\xE9");
    // The second assignment names an item the template no longer has; it is listed all the same.
    b.i32(2).i32(1).i32(0).counted("STD").i32(4).i32(9).i32(9).counted("").i32(0);
    writeBytes(dir.file("Work.vsr"), std::string_view(b.bytes()));

    const ProgramRun r = run({"vsr", dir.file("Work.tpl")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "expense\t1\t2\t01/01/1999\t12.35\tTaxi\\\\cab\\r\\n\n"
                     "expense\t3\t1\t01/02/1999\t.50\tTip\n"
                     "rate\tSTD\t80.00\tStandard\\trate\n"
                     "client\t4\tCaf\xC3\xA9\n"
                     "assign\t1\t0\tSTD\t4\n"
                     "assign\t9\t9\t\t0\n");
}

TEST_F(VsrCommandTest, ExitsWithOneForADamagedFileAndTwoForAMissingOne) {
    ByteBuilder b;
    b.i32(1).fixed("Veltimo Solo Reports", 25).i32(3);
    writeBytes(dir.file("Work.vsr"), std::string_view(b.bytes()));
    const ProgramRun damaged = run({"vsr", dir.file("Work.tpl")});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_NE(damaged.err.find(dir.file("Work.vsr")), std::string::npos) << damaged.err;
    EXPECT_EQ(damaged.out, "");
    const ProgramRun missing = run({"vsr", dir.file("Other.tpl")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find(dir.file("Other.vsr")), std::string::npos) << missing.err;
}

} // namespace
} // namespace vsolo::testing
