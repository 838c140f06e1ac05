// The conversion of a version-3 template with each write, flush, rename and folder flush failing
// in turn. Whatever fails, the files on disk and the template held agree: both files as they were
// with the template held in the old layout, or the transaction file converted (with the template
// on disk still version 3, converted again without re-keying when next opened) and the template
// held in the new layout; never a converted template beside unconverted transactions, never a
// transaction or a record cut short lost.

#include "core/base/clock.h"
#include "core/base/faultinjection.h"
#include "core/model/templatefile.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/tempdir.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace vsolo::testing {
namespace {

struct ConversionInput {
    const char* name;
    std::string templateBytes;
    std::string transactionBytes;
};

const std::string kTail = std::string(kIncompleteTailSuffix);

const std::vector<ConversionInput>& inputs() {
    static const std::vector<ConversionInput> list{
        // Two projects without activities and a transaction file of one record cut short, so
        // that the conversion writes a copy of it, then the transaction file, then the template.
        {"RecordCutShort",
         legacyTemplate(kTag768Bytes, {{1, "Alpha", "first"}, {2, "Beta", "second"}},
                        {{1, "Design", ""}}, {{7, 7}}),
         records("", std::vector<LegacyRecord>{{"02/07/1999", "08:00", "0000000000", "09:00"}})
             .substr(0, 89)},
        {"RecordsOfTwoProjects",
         legacyTemplate(kTag768Bytes, {{100, "Alpha", ""}, {101, "Beta", ""}},
                        {{200, "Design", ""}, {201, "Build", ""}}, {{100, 200}, {101, 201}}),
         records("",
                 std::vector<LegacyRecord>{
                     {"03/07/1999", "08:00", "0000000000", "09:00", 100, 200, "one"},
                     {"03/08/1999", "13:00", "0000000000", "17:45", 101, 201, "two"}})},
    };
    return list;
}

using Files = std::map<std::string, std::string>;

struct Conversion {
    FileResult result;
    TemplateFormat heldFormat = TemplateFormat::Tag768;
    Files files;
};

Files filesOf(const TempDir& dir) {
    Files files;
    for (const std::string& name : dir.entries()) {
        files[name] = readBytes(dir.file(name));
    }
    return files;
}

// Opens the template in the folder and converts it as the tracker does when it is version 3.
Conversion convert(const TempDir& dir) {
    SettableClock clock{dateTime(2024, 5, 6, 12, 0)};
    TemplateFile file{clock};
    Conversion c;
    c.result = file.load(dir.file("work.tpl"));
    if (c.result && file.format() == TemplateFormat::Tag768) {
        file.setPath(dir.file("work.tpl"));
        c.result = file.convertVersion3();
    }
    c.heldFormat = file.format();
    c.files = filesOf(dir);
    return c;
}

class ConversionFaultTest
    : public ::testing::TestWithParam<std::tuple<std::size_t, faults::Point>> {
protected:
    void TearDown() override { faults::reset(); }

    const ConversionInput& input() const { return inputs()[std::get<0>(GetParam())]; }
    faults::Point point() const { return std::get<1>(GetParam()); }

    void putOldFiles(const TempDir& dir) const {
        writeBytes(dir.file("work.tpl"), input().templateBytes);
        writeBytes(dir.file("work.trs"), input().transactionBytes);
    }
};

TEST_P(ConversionFaultTest, FilesAndHeldTemplateAgreeAfterEveryFailure) {
    TempDir cleanDir;
    putOldFiles(cleanDir);
    faults::count();
    const Conversion clean = convert(cleanDir);
    const unsigned calls = faults::calls(point());
    faults::reset();
    ASSERT_TRUE(clean.result.ok());
    ASSERT_GT(calls, 0U);
    const std::string& newTemplate = clean.files.at("work.tpl");
    const std::string& newTransactions = clean.files.at("work.trs");

    for (unsigned n = 1; n <= calls; ++n) {
        SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(calls));
        TempDir dir;
        putOldFiles(dir);
        faults::arm(point(), n, EIO);
        const Conversion failed = convert(dir);
        faults::reset();
        EXPECT_FALSE(failed.result.ok()) << "a failed write reported as done";
        const std::string& tpl = failed.files.at("work.tpl");
        const std::string& trs = failed.files.at("work.trs");
        const bool tplConverted = tpl == newTemplate;
        const bool trsConverted = trs == newTransactions;
        ASSERT_TRUE(tplConverted || tpl == input().templateBytes);
        ASSERT_TRUE(trsConverted || trs == input().transactionBytes);
        EXPECT_FALSE(tplConverted && !trsConverted) << "converted template, old transactions";
        // The tracker goes on appending with the keys of the template it holds.
        EXPECT_EQ(failed.heldFormat == TemplateFormat::Version4, trsConverted)
            << "the template held does not give the keys of the transaction file";
        if (trsConverted) {
            EXPECT_EQ(failed.files.count("work.trs" + kTail), clean.files.count("work.trs" + kTail))
                << "the record cut short was not kept";
        }
        for (const auto& [name, bytes] : failed.files) {
            if (name.find(kTail) != std::string::npos) {
                EXPECT_EQ(bytes, input().transactionBytes) << name;
            } else {
                EXPECT_TRUE(name == "work.tpl" || name == "work.trs") << name << " left behind";
            }
        }

        // Opened again, the template converts to what a conversion without failure gives.
        const Conversion again = convert(dir);
        ASSERT_TRUE(again.result.ok());
        EXPECT_EQ(again.files.at("work.tpl"), newTemplate);
        EXPECT_EQ(again.files.at("work.trs"), newTransactions);
    }
}

std::string caseName(const ::testing::TestParamInfo<ConversionFaultTest::ParamType>& info) {
    static const char* const kPoints[] = {"Write", "Flush", "Rename", "FolderFlush"};
    return std::string(inputs()[std::get<0>(info.param)].name) + "_" +
           kPoints[static_cast<std::size_t>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(
    Points, ConversionFaultTest,
    ::testing::Combine(::testing::Range<std::size_t>(0, 2),
                       ::testing::Values(faults::Point::Write, faults::Point::Flush,
                                         faults::Point::Rename, faults::Point::FolderFlush)),
    caseName);

} // namespace
} // namespace vsolo::testing
