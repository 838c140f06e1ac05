#pragma once

// Files of the reporting tool and of the tracker built byte by byte, in a folder of the test's own.

#include "reporting/data/reportingdata.h"
#include "tests/support/reportingbytes.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

namespace vsolo::testing {

// A folder with the template Work.tpl: project 1 "Alpha" with activity 1 "Build", project 2
// "Beta"; the data's paths point at it.
class ReportingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ByteBuilder tpl = templateHeader(3);
        templateItem(tpl, 1, 0, 0, 0, 1, "Alpha");
        templateItem(tpl, 1, 0, 1, 1, 2, "Build");
        templateItem(tpl, 2, 0, 0, 0, 1, "Beta");
        writeBytes(dir.file("Work.tpl"), tpl);
        data.setTemplatePath(dir.file("Work.tpl"));
    }

    TempDir dir;
    reporting::ReportingData data;
};

} // namespace vsolo::testing
