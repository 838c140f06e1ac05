#pragma once

// vsolo-cli on the reporting tool's files, made byte by byte in a folder of the test's own, with
// the tool's and the tracker's settings files there too, so that no real settings are read.
//
// The template Work.tpl: Alpha (Build, Design), beta (Test), Gamma (Idle). The reporting file
// gives Alpha the client Acme, Build the rate STD (40.00), Test the rate HI (55.50) and Design
// none, and books one expense to Alpha. The tool's settings hold a tax of 10 % and the period of
// March 4, 2026 alone; the tracker's level titles are Job and Task. Times are UTC.

#include "tests/support/reportingbytes.h"
#include "tests/support/runprogram.h"
#include "tests/support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo::testing {

// Midnight UTC of March 3 and March 4, 2026.
inline constexpr std::int32_t kMarch3 = 1772496000;
inline constexpr std::int32_t kMarch4 = 1772582400;

class ReportingCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.file("home"));
        std::filesystem::create_directories(dir.file("config/Orvane Systems"));
        writeBytes(ownSettings(), "[UserConfig]\nTax=10\nFromTime=" + std::to_string(kMarch4) +
                                      "\nToTime=" + std::to_string(kMarch4 + 3600) + "\n");
        writeBytes(trackerSettings(), "[UserConfig]\nLevel1Def=Job\nLevel2Def=Task\n");

        ByteBuilder tpl = templateHeader(7);
        templateItem(tpl, 1, 0, 0, 0, 1, "Alpha");
        templateItem(tpl, 1, 0, 1, 1, 2, "Build");
        templateItem(tpl, 1, 0, 2, 1, 2, "Design");
        templateItem(tpl, 2, 0, 0, 0, 1, "beta");
        templateItem(tpl, 2, 0, 1, 1, 2, "Test");
        templateItem(tpl, 3, 0, 0, 0, 1, "Gamma");
        templateItem(tpl, 3, 0, 1, 1, 2, "Idle");
        writeBytes(dir.file("Work.tpl"), tpl);

        ByteBuilder trs = transactionHeader();
        // Alpha's own hour is never billed.
        transactionRecord(trs, 1, 0, "03/02/2026", "08:00", "09:00");
        transactionRecord(trs, 1, 1, "03/02/2026", "09:00", "10:30");
        transactionRecord(trs, 1, 2, "03/03/2026", "10:00", "10:45");
        transactionRecord(trs, 2, 1, "03/04/2026", "13:00", "15:00");
        transactionRecord(trs, 3, 1, "03/05/2026", "08:00", "09:00");
        transactionRecord(trs, 1, 1, "04/01/2026", "08:00", "18:00");
        writeBytes(dir.file("Work.trs"), trs);

        ByteBuilder vsr = vsrHeader();
        vsr.i32(1).i32(1).i32(1).i32(0).i32(kMarch3);
        real(vsr, 12.5).counted("Taxi");
        vsr.i32(2).counted("STD");
        real(vsr, 40.0).counted("Standard");
        vsr.counted("HI");
        real(vsr, 55.5).counted("High");
        vsr.i32(1).i32(1).counted("Acme");
        vsr.i32(3);
        vsr.i32(1).i32(0).counted("").i32(1);
        vsr.i32(1).i32(1).counted("STD").i32(0);
        vsr.i32(2).i32(1).counted("HI").i32(0);
        writeBytes(dir.file("Work.vsr"), vsr);
    }

    std::string ownSettings() const {
        return dir.file("config/Orvane Systems/Veltimo Solo Reporting.ini");
    }
    std::string trackerSettings() const {
        return dir.file("config/Orvane Systems/Veltimo Solo.ini");
    }
    std::string tpl() const { return dir.file("Work.tpl"); }

    // vsolo-cli with the words, then the template: without a display, in UTC, with this test's
    // settings only.
    ProgramRun run(std::vector<std::string> args) const {
        args.push_back(tpl());
        RunOptions options;
        options.environment = {{"TZ", "UTC0"},
                               {"HOME", dir.file("home")},
                               {"XDG_CONFIG_HOME", dir.file("config")},
                               {"DISPLAY", std::nullopt},
                               {"WAYLAND_DISPLAY", std::nullopt},
                               {"QT_QPA_PLATFORM", std::nullopt}};
        return runProgram(VSOLO_CLI_PATH, args, dir.path(), options);
    }

    TempDir dir;
};

} // namespace vsolo::testing
