#include "core/reports/piegraph.h"
#include "core/reports/studygraph.h"
#include "core/reports/timestudy.h"
#include "tests/support/dates.h"
#include "tests/support/transaction.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;

const TimeValue kDay = date(2024, 5, 6);

// A template in memory with its transactions on one day, built item by item. In the tree shape a
// project is known by its group number and an activity by (group, sub-id); in the legacy shape
// both by sub-id.
class ReportFigures : public ::testing::Test {
protected:
    explicit ReportFigures(TemplateFormat format = TemplateFormat::Version4) {
        file.setFormat(format);
    }

    void project(std::int32_t key, const std::string& name, int target = 0) {
        LevelItem item;
        (file.isTreeShape() ? item.setGroupNumber(key) : item.setSubId(key));
        item.setName(name);
        item.setTarget(static_cast<std::uint8_t>(target));
        file.level1().add(item);
    }
    void activity(std::int32_t group, std::int32_t subId, const std::string& name) {
        LevelItem item;
        item.setGroupNumber(file.isTreeShape() ? group : 0);
        item.setSubId(subId);
        item.setDepth(1);
        item.setName(name);
        file.level2().add(item);
    }
    // Time from the last booking's end (8:00 at first) on, so that bookings never overlap.
    void book(std::int32_t key1, std::int32_t key2, int seconds) {
        file.store().add(
            testing::transaction(kDay, m_next, m_next + TimeValue(seconds), key1, key2));
        m_next = m_next + TimeValue(seconds);
    }

    RangeTotals totals() { return RangeTotals::gather(file, kDay, kDay); }
    std::vector<TimeStudyRow> rows() { return buildTimeStudyRows(totals()); }

    TemplateFile file;

private:
    TimeValue m_next = hm(8, 0);
};

class LegacyReportFigures : public ReportFigures {
protected:
    LegacyReportFigures() : ReportFigures(TemplateFormat::Tag768) {}
};

TimeStudyRow row(std::string l1, std::string l2, std::string hours, std::string share,
                 std::string target = {}, TimeStudyRow::Kind kind = TimeStudyRow::Plain) {
    return {kind,
            {std::move(l1), std::move(l2), std::move(hours), std::move(share), std::move(target)}};
}
TimeStudyRow total(std::string hours, std::string share, std::string target) {
    return row("   Total", "", std::move(hours), std::move(share), std::move(target),
               TimeStudyRow::Total);
}
TimeStudyRow grandTotal(std::string hours) {
    return row("   Grand Total", "", std::move(hours), "100.0%", "", TimeStudyRow::GrandTotal);
}
const TimeStudyRow kEmpty{};

TEST_F(ReportFigures, RowsPerProjectWithItsActivitiesTotalAndTarget) {
    project(1, "Build", 40);
    project(2, "Care", 60);
    activity(1, 11, "Code");
    activity(1, 12, "Test");
    activity(2, 21, "Calls");
    book(1, 11, 3600);
    book(1, 12, 1800);
    book(2, 21, 1800);
    EXPECT_EQ(rows(),
              (std::vector<TimeStudyRow>{
                  kEmpty, row("Build", "Code", "1:00", "50.0%"), row("", "Test", "0:30", "25.0%"),
                  total("1:30", "75.0%", "40%"), kEmpty, row("Care", "Calls", "0:30", "25.0%"),
                  total("0:30", "25.0%", "60%"), kEmpty, grandTotal("2:00")}));
}

TEST_F(ReportFigures, TimeOnItemsNoLongerListedIsUnknown) {
    project(1, "Build");
    activity(1, 11, "Code");
    book(1, 11, 1800);
    book(1, 99, 1800); // an activity deleted since
    book(7, 71, 3600); // a project deleted since
    EXPECT_EQ(rows(), (std::vector<TimeStudyRow>{kEmpty, row("Build", "Code", "0:30", "25.0%"),
                                                 row("", "Unknown categories", "0:30", "25.0%"),
                                                 total("1:00", "50.0%", "0%"), kEmpty,
                                                 row("Unknown categories", "", "1:00", "50.0%"),
                                                 total("1:00", "50.0%", "0%"), kEmpty,
                                                 grandTotal("2:00")}));
}

TEST_F(ReportFigures, ActivityUnderAMinuteHasNoRowButCountsInItsProject) {
    project(1, "Build");
    activity(1, 11, "Code");
    activity(1, 12, "Glance");
    book(1, 11, 3600);
    book(1, 12, 59);
    const auto built = rows();
    ASSERT_EQ(built.size(), 5u);
    EXPECT_EQ(built[1], row("Build", "Code", "1:00", "100.0%"));
    EXPECT_EQ(built[2], total("1:00", "100.0%", "0%"));
}

// The total shows the sum of the shares above it, each share counted in whole minutes.
TEST_F(ReportFigures, ProjectTotalSharesAreTheSumOfItsPrintedShares) {
    project(1, "Build");
    project(2, "Care");
    activity(1, 11, "Code");
    activity(1, 12, "Test");
    activity(2, 21, "Calls");
    book(1, 11, 90);
    book(1, 12, 90);
    book(2, 21, 60);
    const auto built = rows();
    ASSERT_EQ(built.size(), 9u);
    EXPECT_EQ(built[1], row("Build", "Code", "0:01", "25.0%"));
    EXPECT_EQ(built[3], total("0:03", "50.0%", "0%"));
}

TEST_F(ReportFigures, OverlappingTimeCountsOnce) {
    project(1, "Build");
    activity(1, 11, "Code");
    // A file keeps no error marks: the first of two overlapping bookings is found in error.
    file.store().add(testing::transaction(kDay, hm(9, 0), hm(11, 0), 1, 11));
    file.store().add(testing::transaction(kDay, hm(10, 0), hm(11, 0), 1, 11));
    EXPECT_EQ(rows().back(), grandTotal("1:00"));
}

TEST_F(ReportFigures, DaysOutsideTheRangeCountNothing) {
    project(1, "Build");
    book(1, 11, 3600);
    file.store().add(
        testing::transaction(kDay + TimeValue(TimeValue::kDay), hm(9, 0), hm(12, 0), 1, 11));
    EXPECT_EQ(totals().grandTotal(), 3600);
    EXPECT_EQ(RangeTotals::gather(file, kDay + TimeValue(TimeValue::kDay), kDay).grandTotal(),
              4 * 3600);
}

TEST_F(ReportFigures, RangeWithoutTimeHasNoRows) {
    project(1, "Build");
    EXPECT_TRUE(rows().empty());
    // Only time in error.
    file.store().add(testing::transaction(kDay, hm(9, 0), hm(9, 0), 1, 11));
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(buildGraphCategories(totals()).empty());
    EXPECT_TRUE(pieSlices(buildPieCategories(totals(), 1)).empty());
}

TEST_F(ReportFigures, TimeUnderAMinuteInAllDividesByNothing) {
    project(1, "Build", 50);
    activity(1, 11, "Code");
    book(1, 11, 30);
    const auto built = rows();
    ASSERT_FALSE(built.empty());
    EXPECT_EQ(built[built.size() - 3], total("0:00", "0.0%", "50%"));
    EXPECT_TRUE(buildGraphCategories(totals()).empty());
    EXPECT_TRUE(pieSlices(buildPieCategories(totals(), 1)).empty());
}

// Only the first of two items with one key gets the key's time, so nothing is counted twice.
TEST_F(ReportFigures, DuplicateKeyCountsForTheFirstItemOnly) {
    project(1, "Build");
    project(1, "Build again");
    activity(1, 11, "Code");
    book(1, 11, 3600);
    const auto built = rows();
    EXPECT_EQ(built.size(), 5u);
    EXPECT_EQ(built[1], row("Build", "Code", "1:00", "100.0%"));
}

TEST_F(LegacyReportFigures, EveryActivityIsReportedUnderEachProject) {
    project(1, "Build");
    project(2, "Care");
    activity(0, 5, "Calls");
    book(1, 5, 1800);
    book(2, 5, 1800);
    EXPECT_EQ(rows(), (std::vector<TimeStudyRow>{kEmpty, row("Build", "Calls", "0:30", "50.0%"),
                                                 total("0:30", "50.0%", "0%"), kEmpty,
                                                 row("Care", "Calls", "0:30", "50.0%"),
                                                 total("0:30", "50.0%", "0%"), kEmpty,
                                                 grandTotal("1:00")}));
    // The level-2 pie adds an activity's time under every project.
    EXPECT_EQ(buildPieCategories(totals(), 2), (std::vector<PieCategory>{{"Calls", 60}}));
}

TEST_F(ReportFigures, GraphCategoriesSortedByActualPlusTarget) {
    project(1, "Small", 50);
    project(2, "Large");
    project(3, "Idle");        // no time, no target: left out
    project(4, "Planned", 10); // a target without time
    activity(2, 21, "Work");
    book(1, 11, 600);
    book(2, 21, 3000);
    book(9, 91, 2400); // a project deleted since
    const std::vector<GraphCategory> expected{{"Small", 0.1f, 0.5f},
                                              {"Large", 0.5f, 0.0f},
                                              {"Unknown categories", 0.4f, 0.0f},
                                              {"Planned", 0.0f, 0.1f}};
    const auto categories = buildGraphCategories(totals());
    ASSERT_EQ(categories.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(categories[i].name, expected[i].name);
        EXPECT_FLOAT_EQ(categories[i].actual, expected[i].actual) << expected[i].name;
        EXPECT_FLOAT_EQ(categories[i].target, expected[i].target) << expected[i].name;
    }
}

// Minutes cut off each item's time are not time on unknown items.
TEST_F(ReportFigures, GraphShowsNoUnknownForMinutesCutOff) {
    project(1, "Build");
    project(2, "Care");
    book(1, 11, 90);
    book(2, 21, 90);
    const auto categories = buildGraphCategories(totals());
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[1].name, "Care");
}

TEST(GraphBars, SmallCategoriesWithoutTargetMergeUnlessLast) {
    const std::vector<GraphCategory> categories{{"Big", 0.998f, 0.0f},
                                                {"None", 0.0f, 0.0f},
                                                {"Tiny", 0.0008f, 0.0f},
                                                {"Tinier", 0.0004f, 0.0f},
                                                {"Nil", 0.0f, 0.0f}};
    const auto bars = graphBars(categories);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].name, "Big");
    EXPECT_EQ(bars[1].name, "Categories < 0.1%");
    EXPECT_FLOAT_EQ(bars[1].actual, 0.0012f);
    // The last category alone keeps its name.
    const auto alone = graphBars({{"Big", 0.9995f, 0.0f}, {"Tiny", 0.0005f, 0.0f}});
    ASSERT_EQ(alone.size(), 2u);
    EXPECT_EQ(alone[1].name, "Tiny");
}

struct LabelCase {
    float share;
    const char* label;
};
class GraphLabel : public ::testing::TestWithParam<LabelCase> {};

TEST_P(GraphLabel, FormatByShare) {
    EXPECT_EQ(graphShareLabel(GetParam().share), GetParam().label);
}
INSTANTIATE_TEST_SUITE_P(Boundaries, GraphLabel,
                         ::testing::Values(LabelCase{0.0f, " 0%"}, LabelCase{0.0005f, " 0.05%"},
                                           LabelCase{0.001f, " 0.1%"}, LabelCase{0.05f, " 5.0%"},
                                           LabelCase{0.1f, " 10%"}, LabelCase{10 * 0.01f, " 10%"},
                                           LabelCase{0.25f, " 25%"}, LabelCase{1.0f, " 100%"}));

TEST_F(ReportFigures, PieOfProjectsLargestFirstWithUnknown) {
    project(1, "Build");
    project(2, "Care");
    project(3, "Brief");
    book(1, 11, 600);
    book(2, 21, 1800);
    book(3, 31, 59); // under a minute: left out
    book(9, 91, 1200);
    EXPECT_EQ(buildPieCategories(totals(), 1),
              (std::vector<PieCategory>{{"Care", 30}, {"Unknown categories", 20}, {"Build", 10}}));
}

TEST_F(ReportFigures, PieOfActivitiesNamesThemByTheirProject) {
    project(1, "Développement web");
    project(2, "Care");
    activity(1, 11, "Code");
    activity(2, 11, "Calls"); // the same sub-id under another project
    book(1, 11, 1200);
    book(2, 11, 600);
    EXPECT_EQ(buildPieCategories(totals(), 2),
              (std::vector<PieCategory>{{"Développem - Code", 20}, {"Care - Calls", 10}}));
}

TEST(PieBrush, SolidThenHatchedInTurn) {
    EXPECT_EQ(pieBrush(0), (PieBrush{0xFF0000, PieHatch::Solid}));
    EXPECT_EQ(pieBrush(5), (PieBrush{0x00FFFF, PieHatch::Solid}));
    EXPECT_EQ(pieBrush(6), (PieBrush{0xFF0000, PieHatch::BackwardDiagonal}));
    EXPECT_EQ(pieBrush(11), (PieBrush{0xFF0000, PieHatch::Vertical}));
    EXPECT_EQ(pieBrush(12), (PieBrush{0x00FF00, PieHatch::BackwardDiagonal}));
    EXPECT_EQ(pieBrush(41), (PieBrush{0x00FFFF, PieHatch::Vertical}));
    EXPECT_EQ(pieBrush(42), (PieBrush{0xFF0000, PieHatch::BackwardDiagonal}));
}

TEST(PieSlices, SmallLastSliceKeepsItsNameAndTwoDecimals) {
    const auto slices = pieSlices({{"Most", 1999}, {"Least", 1}});
    ASSERT_EQ(slices.size(), 2u);
    EXPECT_EQ(slices[0].percent, "100.0%");
    EXPECT_EQ(slices[1].name, "Least");
    EXPECT_EQ(slices[1].percent, "0.05%");
    EXPECT_DOUBLE_EQ(slices[0].share + slices[1].share, 1.0);
}

TEST(PieSlices, SmallSlicesBeforeTheLastMerge) {
    const auto slices = pieSlices({{"Most", 9980}, {"Some", 8}, {"Few", 7}, {"Least", 5}});
    ASSERT_EQ(slices.size(), 2u);
    EXPECT_EQ(slices[0].percent, "99.8%");
    EXPECT_EQ(slices[1].name, "Categories < 0.1%");
    EXPECT_EQ(slices[1].percent, "0.20%");
    EXPECT_EQ(slices[1].brush, pieBrush(1));
}

TEST(ReportTitles, FilledWithTheTitles) {
    EXPECT_EQ(timeStudyTitle("PROJECT", "ACTIVITY"), "PROJECT AND ACTIVITY REPORT");
    EXPECT_EQ(graphTitle("PROJECT"), "% OF TOTAL HOURS WORKED BY PROJECT (INCLUDING TARGET)");
    EXPECT_EQ(pieTitle("ACTIVITY"), "% OF TOTAL HOURS WORKED BY ACTIVITY");
}

} // namespace
} // namespace vsolo
