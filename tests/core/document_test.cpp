#include "core/base/clock.h"
#include "core/base/faultinjection.h"
#include "core/base/fileio.h"
#include "core/base/timevalue.h"
#include "core/document.h"
#include "core/leveledit.h"
#include "core/model/templatefile.h"
#include "core/model/transactions.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "core/tracker.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/joined.h"
#include "tests/support/scriptedprompter.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;
using vsolo::testing::ScriptedPrompter;

// ---------------------------------------------------------------------------------------------
// Files built byte by byte, independently of the writers under test.

using Item4 = testing::V4Item;
using Rec = testing::V4Record;
using testing::LegacyItem;
using testing::legacyTemplate;

Item4 project(std::int32_t group, std::string name, std::uint16_t target = 0) {
    return {group, 0, 0, 0, true, 1, target, std::move(name), "about " + std::to_string(group), ""};
}

Item4 activity(std::int32_t group, std::int32_t subId, std::string name) {
    return {group, 0, subId, 1, true, 2, 0, std::move(name), "work", "note"};
}

std::string version4Template(std::string_view type, std::int32_t nextGroup, std::int32_t nextSub,
                             const std::vector<Item4>& items) {
    return testing::v4Template(type, nextGroup, nextSub, items);
}

// Two projects, each with one activity; already in name order, so a rewrite gives the same bytes.
std::string simpleTemplate(std::string_view type = "Veltimo Solo File") {
    return version4Template(type, 3, 3,
                            {project(1, "Alpha", 30), project(2, "Beta", 70),
                             activity(1, 1, "Coding"), activity(2, 2, "Testing")});
}

std::string trsHeader() {
    return testing::transactionHeader();
}

std::string v4Record(const Rec& r) {
    return testing::records("", std::vector{r});
}

std::string v4Transactions(const std::vector<Rec>& records) {
    return testing::records(trsHeader(), records);
}

// The same record in the legacy layout, its sent mark the only mark.
std::string legacyRecord(const Rec& r) {
    return testing::records(
        "", std::vector{testing::LegacyRecord(r.date, r.start, r.sent ? "S000000000" : "0000000000",
                                              r.end, r.level1, r.level2, r.description)});
}

// ---------------------------------------------------------------------------------------------

std::vector<std::string> names(const LevelList& list) {
    std::vector<std::string> out;
    for (const auto& item : list.items()) {
        out.push_back(item->name());
    }
    return out;
}

std::string notFoundText(const std::string& path) {
    return "Cannot find " + path +
           " the file was either renamed, moved to another directory, or deleted.";
}

constexpr std::string_view kOldLocationName = "OldLocation";
constexpr std::string_view kTemplateLocationName = "TemplateLocation";

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vsolo-doc-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        m_dir = m_root + "/";
        m_clock.set(date(2024, 3, 15) + hm(17, 0));
        DocumentHooks& h = m_doc.hooks();
        m_hookHandles.push_back(h.resetRunningTransaction.install([this] {
            m_calls.push_back("reset");
            m_level1AtReset = m_doc.templateFile().level1().size();
        }));
        m_hookHandles.push_back(h.takeLastTransactionOfToday.install([this](const Transaction& t) {
            m_calls.push_back("last " + t.description() + " " + t.end().clockTime());
            m_namesAtLast = names(m_doc.templateFile().level1());
        }));
        m_hookHandles.push_back(h.checkAssignmentUpdates.install([this] {
            m_calls.push_back("assign " + std::to_string(m_doc.templateFile().level1().size()));
        }));
        m_hookHandles.push_back(h.refreshMainForm.install([this] {
            m_calls.push_back("refresh " + std::to_string(m_prompter.entries().size()));
            m_namesAtRefresh = names(m_doc.templateFile().level1());
        }));
        m_hookHandles.push_back(h.levelEditorActive.install([this] { return m_editorActive; }));
        m_hookHandles.push_back(
            h.clearLevelEditorModified.install([this] { m_calls.push_back("clear modified"); }));
        m_hookHandles.push_back(
            h.refreshAllViews.install([this] { m_calls.push_back("refresh all"); }));
    }

    void TearDown() override { std::filesystem::remove_all(m_root); }

    std::string path(std::string_view name) const { return m_dir + std::string(name); }

    static void write(const std::string& file, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << file;
    }

    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        EXPECT_TRUE(in.good()) << file << " is missing";
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static bool exists(const std::string& file) { return std::filesystem::exists(file); }

    // Work.tpl with two days of transactions, in store order in the file.
    std::vector<Rec> workRecords() const {
        return {{1, 1, "03/14/2024", "09:00", "12:00", true, "Sent already"},
                {2, 2, "03/15/2024", "08:00", "09:30", false, ""},
                {1, 1, "03/15/2024", "10:00", "11:15", false, "Review"}};
    }
    std::string writeWork(const std::string& folder, std::string_view type = "Veltimo Solo File") {
        write(folder + "Work.tpl", simpleTemplate(type));
        write(folder + "Work.trs", v4Transactions(workRecords()));
        return folder + "Work.tpl";
    }

    Transaction finished(int hour, std::string description) const {
        return Transaction(date(2024, 3, 15), hm(hour, 0), hm(hour, 45), 2, 2,
                           std::move(description));
    }
    static Rec finishedRec(int hour, std::string description) {
        const std::string h = testing::joined({hour < 10 ? "0" : "", std::to_string(hour)});
        return {2, 2, "03/15/2024", h + ":00", h + ":45", false, std::move(description)};
    }

    std::string m_root;
    std::string m_dir;
    MemorySettingsStore m_store;
    Settings m_settings{m_store};
    ScriptedPrompter m_prompter;
    SettableClock m_clock;
    int m_quits = 0;
    CSoloDoc m_doc{m_settings, m_prompter, [this] { ++m_quits; }, m_clock};
    std::vector<std::string> m_calls;
    std::vector<HookHandle> m_hookHandles;
    std::vector<std::string> m_namesAtLast;
    std::vector<std::string> m_namesAtRefresh;
    std::size_t m_level1AtReset = 99;
    bool m_editorActive = false;
};

// ---------------------------------------------------------------------------------------------
// Creating and emptying

TEST(DocumentCreate, StartsAsEmptyLegacyTemplateTitledFromSettings) {
    MemorySettingsStore store;
    store.writeText("UserConfig", "Level1Def", "Client");
    Settings settings(store);
    settings.load();
    ScriptedPrompter prompter;
    SettableClock clock;
    CSoloDoc doc(settings, prompter, {}, clock);
    const TemplateFile& t = doc.templateFile();
    EXPECT_EQ(t.format(), TemplateFormat::Tag512);
    EXPECT_EQ(t.store().nextGroupNumber(), 1);
    EXPECT_EQ(t.store().nextSubId(), 1);
    EXPECT_TRUE(t.level1().empty());
    EXPECT_TRUE(t.level2().empty());
    EXPECT_EQ(t.level1().title(), "Client");
    EXPECT_EQ(t.level2().title(), "Activity");
    EXPECT_FALSE(doc.hasPath());
    EXPECT_TRUE(prompter.empty());
}

TEST_F(DocumentTest, EmptyRemembersTheTemplateAndResetsEverything) {
    const std::string work = writeWork(m_dir, "MSProject File");
    ASSERT_TRUE(m_doc.open(work));
    ASSERT_TRUE(m_doc.reporter().present(m_doc.templateFile().loadTransactions()));
    ASSERT_TRUE(m_doc.templateFile().isManaged());
    m_settings.setLevel1Title("Client");
    m_settings.setLevel2Title("Task");
    m_calls.clear();

    m_doc.empty();

    EXPECT_EQ(m_settings.templateLocation(), work);
    const TemplateFile& t = m_doc.templateFile();
    EXPECT_EQ(t.format(), TemplateFormat::Tag512);
    EXPECT_FALSE(t.isManaged());
    EXPECT_FALSE(t.isLoaded());
    EXPECT_EQ(t.typeText(), "");
    EXPECT_EQ(t.path(), "");
    EXPECT_TRUE(t.level1().empty());
    EXPECT_TRUE(t.level2().empty());
    EXPECT_TRUE(t.store().empty());
    EXPECT_EQ(t.store().nextGroupNumber(), 1);
    EXPECT_EQ(t.store().nextSubId(), 1);
    EXPECT_EQ(t.level1().title(), "Client");
    EXPECT_EQ(t.level2().title(), "Task");
    EXPECT_EQ(m_calls, std::vector<std::string>{"reset"});
    EXPECT_EQ(read(work), simpleTemplate("MSProject File")) << "emptying writes no file";
}

TEST_F(DocumentTest, EmptyWithoutPathLeavesTheRememberedTemplateAlone) {
    m_doc.empty();
    EXPECT_FALSE(m_store.contains("UserConfig", kTemplateLocationName));

    m_store.writeText("UserConfig", kTemplateLocationName, "/data/Old.tpl");
    m_doc.empty();
    EXPECT_EQ(m_settings.templateLocation(), "/data/Old.tpl");
    EXPECT_EQ(m_calls, (std::vector<std::string>{"reset", "reset"}));
}

// ---------------------------------------------------------------------------------------------
// Opening

TEST_F(DocumentTest, OpenRunsItsStepsInOrder) {
    m_store.writeText("UserConfig", "RemoteAssignments", "1");
    const std::string file = path("Plan.tpl");
    write(file, version4Template("MSProject File", 4, 5,
                                 {project(1, "zulu"), project(2, "Alpha"), project(3, "mike"),
                                  activity(1, 1, "task b"), activity(1, 2, "Task A"),
                                  activity(2, 3, "code"), activity(3, 4, "deploy")}));
    // The last of today in file order is "middle"; in store order it is the second of the two
    // equal stretches, which the store puts after the first.
    write(path("Plan.trs"), v4Transactions({
                                {1, 1, "03/15/2024", "08:00", "09:00", false, "early"},
                                {2, 3, "03/14/2024", "13:00", "17:00", false, "yesterday"},
                                {1, 2, "03/15/2024", "13:00", "14:30", false, "first equal"},
                                {3, 4, "03/15/2024", "13:00", "14:30", false, "second equal"},
                                {2, 3, "03/15/2024", "10:00", "11:00", false, "middle"},
                                {2, 3, "03/16/2024", "10:00", "11:00", false, "tomorrow"},
                            }));

    ASSERT_TRUE(m_doc.open(file));

    EXPECT_EQ(m_level1AtReset, 0u) << "the running transaction is reset before the load";
    EXPECT_EQ(m_calls, (std::vector<std::string>{"reset", "assign 3", "last second equal 14:30",
                                                 "refresh 0"}));
    EXPECT_EQ(m_namesAtLast, (std::vector<std::string>{"zulu", "Alpha", "mike"}))
        << "the last transaction is handed over before the lists are sorted";
    EXPECT_EQ(m_namesAtRefresh, (std::vector<std::string>{"Alpha", "mike", "zulu"}));
    EXPECT_EQ(names(m_doc.templateFile().level2()),
              (std::vector<std::string>{"code", "deploy", "Task A", "task b"}));
    EXPECT_EQ(m_doc.path(), file);
    EXPECT_EQ(m_doc.templateFile().format(), TemplateFormat::Version4);
    EXPECT_TRUE(m_doc.templateFile().store().empty()) << "opening leaves no transactions loaded";
    EXPECT_FALSE(m_doc.templateFile().isLoaded());
    EXPECT_TRUE(m_prompter.empty());
}

TEST_F(DocumentTest, OpenTemplateLeavesTheTransactionStepsForTakeInTransactions) {
    m_store.writeText("UserConfig", "RemoteAssignments", "1");
    const std::string file = path("Plan.tpl");
    write(file, version4Template("MSProject File", 3, 3,
                                 {project(1, "zulu"), project(2, "Alpha"), activity(1, 1, "b"),
                                  activity(2, 2, "a")}));
    write(path("Plan.trs"), v4Transactions({{2, 2, "03/15/2024", "10:00", "11:00", false, "x"}}));
    ASSERT_TRUE(m_doc.openTemplate(file));
    EXPECT_TRUE(m_doc.transactionsPending());
    EXPECT_EQ(m_calls, (std::vector<std::string>{"reset", "assign 2", "refresh 0"}));
    EXPECT_EQ(m_namesAtRefresh, (std::vector<std::string>{"Alpha", "zulu"}));
    m_doc.takeInTransactions();
    EXPECT_FALSE(m_doc.transactionsPending());
    EXPECT_EQ(m_calls, (std::vector<std::string>{"reset", "assign 2", "refresh 0", "last x 11:00",
                                                 "refresh 0"}));
    m_doc.takeInTransactions(); // nothing is pending any more
    EXPECT_EQ(m_calls.size(), 5u);
    m_doc.empty();
    EXPECT_FALSE(m_doc.transactionsPending());
}

TEST_F(DocumentTest, OpenChecksAssignmentUpdatesOfAManagedTemplateWhenTheSettingIsOne) {
    m_clock.set(date(2024, 3, 20) + hm(9, 0)); // no transaction today
    for (const char* type : {"Veltimo Solo File", "MSProject File"}) {
        const std::string work = writeWork(m_dir, type);
        for (const char* value : {"", "0", "yes", "11", "1"}) {
            if (*value) {
                m_store.writeText("UserConfig", "RemoteAssignments", value);
            } else {
                m_store.remove("UserConfig", "RemoteAssignments");
            }
            m_calls.clear();
            ASSERT_TRUE(m_doc.open(work));
            const bool checked = std::string_view(value) == "1" && m_doc.templateFile().isManaged();
            const std::vector<std::string> withCheck{"reset", "assign 2", "refresh 0"};
            const std::vector<std::string> withoutCheck{"reset", "refresh 0"};
            EXPECT_EQ(m_calls, checked ? withCheck : withoutCheck)
                << type << ", RemoteAssignments = \"" << value << "\"";
        }
    }
}

TEST_F(DocumentTest, AFailedOpenChecksNoAssignmentUpdates) {
    m_store.writeText("UserConfig", "RemoteAssignments", "1");
    const std::string file = path("Broken.tpl");
    std::string bytes = simpleTemplate("MSProject File");
    write(file, bytes.substr(0, bytes.size() - 3));
    EXPECT_FALSE(m_doc.open(file));
    EXPECT_EQ(m_calls, std::vector<std::string>{"reset"});
}

TEST_F(DocumentTest, OpenHandsOverNothingWhenTodayHasNoTransaction) {
    const std::string work = writeWork(m_dir);
    m_clock.set(date(2024, 3, 16) + hm(0, 0));
    ASSERT_TRUE(m_doc.open(work));
    EXPECT_EQ(m_calls, (std::vector<std::string>{"reset", "refresh 0"}));

    m_calls.clear();
    m_clock.set(date(2024, 3, 14) + hm(23, 59));
    ASSERT_TRUE(m_doc.open(work));
    EXPECT_EQ(m_calls, (std::vector<std::string>{"reset", "last Sent already 12:00", "refresh 0"}));
    EXPECT_TRUE(m_prompter.empty());
}

TEST_F(DocumentTest, OpenConvertsAVersion3TemplateAndRewritesBothFiles) {
    const std::string file = path("Old.tpl");
    // Test is assigned before Code, so it receives the first new sub-id; Orphan is assigned to
    // nothing and is dropped.
    write(file, legacyTemplate(testing::kTag768Bytes, {{7, "Build", "Build work", 40}},
                               {{3, "Code", "Coding", 0},
                                {4, "Test", "Testing", 0},
                                {5, "Orphan", "never assigned", 0}},
                               {{7, 4}, {7, 3}}));
    write(path("Old.trs"),
          legacyRecord({7, 3, "03/14/2024", "09:00", "10:00", true, "Wrote parser"}) +
              legacyRecord({7, 4, "03/15/2024", "08:00", "08:45", false, "Ran suite"}));

    ASSERT_TRUE(m_doc.open(file));

    EXPECT_EQ(m_prompter.texts(),
              std::vector<std::string>{
                  "Veltimo Solo has detected that this template is a version 3 file.  Veltimo "
                  "Solo will now convert this template to a version 4 file."});
    EXPECT_EQ(m_calls, (std::vector<std::string>{"reset", "last Ran suite 08:45", "refresh 1"}))
        << "the conversion runs before the main form is refreshed";
    EXPECT_EQ(read(file), version4Template("Veltimo Solo File", 2, 3,
                                           {{1, 0, 0, 0, true, 1, 40, "Build", "Build work", " "},
                                            {1, 0, 1, 1, true, 2, 0, "Test", "Testing", ""},
                                            {1, 0, 2, 1, true, 2, 0, "Code", "Coding", ""}}));
    EXPECT_EQ(read(path("Old.trs")),
              v4Transactions({{1, 2, "03/14/2024", "09:00", "10:00", true, "Wrote parser"},
                              {1, 1, "03/15/2024", "08:00", "08:45", false, "Ran suite"}}));
    EXPECT_EQ(m_doc.templateFile().format(), TemplateFormat::Version4);
    EXPECT_EQ(m_doc.templateFile().typeText(), "Veltimo Solo File");
    EXPECT_TRUE(m_doc.templateFile().store().empty());
}

TEST_F(DocumentTest, AnOpenTemplateWhoseLastRecordWasCutShortTellsOnceAndKeepsTracking) {
    const std::string work = path("Work.tpl");
    write(work, simpleTemplate());
    const std::string torn =
        v4Transactions(workRecords()) + v4Record(finishedRec(12, "cut")).substr(0, 30);
    write(path("Work.trs"), torn);
    m_clock.set(date(2024, 3, 15) + hm(13, 0));
    ASSERT_TRUE(m_doc.open(work));
    ASSERT_EQ(m_prompter.texts().size(), 1u);
    EXPECT_EQ(m_prompter.texts()[0].rfind("The transaction file " + path("Work.trs") +
                                              " ends in a record that was cut short",
                                          0),
              0u)
        << m_prompter.texts()[0];

    ASSERT_TRUE(m_doc.appendFinishedTransaction(finished(14, "after")));
    std::vector<Rec> expected = workRecords();
    expected.push_back(finishedRec(14, "after"));
    EXPECT_EQ(read(path("Work.trs")), v4Transactions(expected));
    EXPECT_EQ(read(path("Work.trs.incomplete-tail")), torn);
    EXPECT_EQ(m_prompter.texts().size(), 1u);
}

TEST_F(DocumentTest, OpenOfAMissingTemplateFailsWithTheFileNotFoundText) {
    const std::string file = path("Nowhere.tpl");
    EXPECT_FALSE(m_doc.open(file));
    EXPECT_EQ(m_prompter.texts(), std::vector<std::string>{notFoundText(file)});
    EXPECT_EQ(m_calls, std::vector<std::string>{"reset"});
    EXPECT_FALSE(m_doc.hasPath());
    EXPECT_EQ(m_quits, 0);
}

TEST_F(DocumentTest, DamagedTemplateIsRefusedAndLeftAsItWas) {
    const std::string file = path("Broken.tpl");
    // Claims three items but holds one.
    std::string bytes = version4Template("Veltimo Solo File", 2, 1, {project(1, "Alpha")});
    bytes[100] = 3;
    write(file, bytes);
    write(path("Broken.trs"), trsHeader());

    EXPECT_FALSE(m_doc.open(file));

    ASSERT_EQ(m_prompter.entries().size(), 1u);
    EXPECT_EQ(m_prompter.entries()[0].text.rfind("The file " + file + " is damaged", 0), 0u)
        << m_prompter.entries()[0].text;
    EXPECT_EQ(m_calls, std::vector<std::string>{"reset"});
    EXPECT_EQ(read(file), bytes);
    EXPECT_EQ(read(path("Broken.trs")), trsHeader());
    // The document must not stay on the file it could not read: a save would replace it by an
    // empty template, and emptying would remember it as the template in use.
    EXPECT_FALSE(m_doc.hasPath());
    EXPECT_TRUE(m_doc.templateFile().level1().empty());
    m_doc.empty();
    EXPECT_FALSE(m_store.contains("UserConfig", kTemplateLocationName));
    EXPECT_EQ(read(file), bytes);
}

TEST_F(DocumentTest, OpenWithoutTransactionFileShowsTheTrsPath) {
    const std::string file = path("Fresh.tpl");
    write(file, simpleTemplate());
    EXPECT_TRUE(m_doc.open(file));
    EXPECT_EQ(m_prompter.texts(), std::vector<std::string>{notFoundText(path("Fresh.trs"))});
    EXPECT_EQ(m_calls, (std::vector<std::string>{"reset", "refresh 1"}));
    EXPECT_TRUE(m_doc.templateFile().store().empty());
    EXPECT_FALSE(exists(path("Fresh.trs"))) << "opening creates no transaction file";
}

// ---------------------------------------------------------------------------------------------
// Saving

TEST_F(DocumentTest, SavingANewVersion4DocumentCreatesTemplateAndHeaderOnlyTransactionFile) {
    m_doc.prepareForLevelEditing();
    TemplateFile& t = m_doc.templateFile();
    LevelItem alpha;
    alpha.setGroupNumber(t.store().takeGroupNumber());
    alpha.setName("Alpha");
    alpha.setDescription("about 1");
    alpha.setThirdText("");
    alpha.setTarget(30);
    t.level1().add(alpha);
    LevelItem coding;
    coding.setGroupNumber(alpha.groupNumber());
    coding.setSubId(t.store().takeSubId());
    coding.setDepth(1);
    coding.setName("Coding");
    coding.setDescription("work");
    coding.setThirdText("note");
    t.level2().add(coding);

    const std::string file = path("New.tpl");
    ASSERT_TRUE(m_doc.save(file));

    EXPECT_EQ(m_doc.path(), file);
    EXPECT_TRUE(m_doc.lastSaveWentThrough());
    EXPECT_EQ(read(file), version4Template("Veltimo Solo File", 2, 2,
                                           {project(1, "Alpha", 30), activity(1, 1, "Coding")}));
    const std::string trs = read(path("New.trs"));
    EXPECT_EQ(trs.size(), 29u);
    EXPECT_EQ(trs, trsHeader());
    EXPECT_FALSE(exists(path("New.tlx")));
    EXPECT_TRUE(m_prompter.empty());
    EXPECT_EQ(m_calls, std::vector<std::string>{}) << "the editor is not active";
}

TEST_F(DocumentTest, SaveAsCopiesEveryTransactionAndLeavesTheOldFiles) {
    const std::string work = writeWork(m_dir);
    ASSERT_TRUE(m_doc.open(work));
    const std::string oldTrs = read(path("Work.trs"));

    const std::string copy = path("Copy.tpl");
    ASSERT_TRUE(m_doc.save(copy));

    EXPECT_EQ(m_doc.path(), copy);
    EXPECT_EQ(read(copy), simpleTemplate());
    EXPECT_EQ(read(path("Copy.trs")), v4Transactions(workRecords()));
    EXPECT_EQ(read(work), simpleTemplate()) << "the old files stay";
    EXPECT_EQ(read(path("Work.trs")), oldTrs);
    EXPECT_TRUE(m_doc.templateFile().store().empty()) << "carried across only, not kept";
    EXPECT_FALSE(m_doc.templateFile().isLoaded());
    EXPECT_TRUE(m_prompter.empty());

    // Saving under the same name again touches only the template.
    write(path("Copy.trs"), v4Transactions({workRecords()[0]}));
    ASSERT_TRUE(m_doc.save(copy));
    EXPECT_EQ(read(path("Copy.trs")), v4Transactions({workRecords()[0]}));
}

TEST_F(DocumentTest, SaveAsKeepsTransactionsAViewHoldsAndWritesItsChanges) {
    const std::string work = writeWork(m_dir);
    ASSERT_TRUE(m_doc.open(work));
    TemplateFile& t = m_doc.templateFile();
    ASSERT_TRUE(m_doc.reporter().present(t.loadTransactions()));
    const Day* firstDay = t.store().day(0);
    t.store().add(Transaction(date(2024, 3, 16), hm(7, 0), hm(7, 30), 1, 1, "unsaved"));

    const std::string copy = path("Copy.tpl");
    ASSERT_TRUE(m_doc.save(copy));

    std::vector<Rec> expected = workRecords();
    expected.push_back({1, 1, "03/16/2024", "07:00", "07:30", false, "unsaved"});
    EXPECT_EQ(read(path("Copy.trs")), v4Transactions(expected));
    EXPECT_EQ(read(path("Work.trs")), v4Transactions(workRecords()));
    EXPECT_TRUE(t.isLoaded());
    ASSERT_EQ(t.store().dayCount(), 3u);
    EXPECT_EQ(t.store().day(0), firstDay) << "the view's pointers stay valid";
}

TEST_F(DocumentTest, SaveAsWithTheOldTransactionFileMissingStillCreatesTheNewFiles) {
    const std::string file = path("Lone.tpl");
    write(file, simpleTemplate());
    ASSERT_TRUE(m_doc.open(file));
    m_prompter.clear();

    const std::string copy = path("Copy.tpl");
    ASSERT_TRUE(m_doc.save(copy));

    EXPECT_EQ(m_prompter.texts(), std::vector<std::string>{notFoundText(path("Lone.trs"))});
    EXPECT_EQ(read(copy), simpleTemplate());
    EXPECT_EQ(read(path("Copy.trs")), trsHeader());
    EXPECT_EQ(m_doc.path(), copy);
    EXPECT_FALSE(exists(path("Lone.trs")));
}

TEST_F(DocumentTest, SaveAsRefusesToReplaceAnUnreadableTransactionFileByAnEmptyOne) {
    const std::string work = path("Work.tpl");
    write(work, simpleTemplate());
    // The second record holds a date that no calendar has.
    Rec bad = workRecords()[0];
    bad.date = "99/99/9999";
    const std::string damaged = v4Transactions({workRecords()[0], bad});
    write(path("Work.trs"), damaged);
    ASSERT_TRUE(m_doc.open(work));
    m_prompter.clear();

    EXPECT_FALSE(m_doc.save(path("Copy.tpl")));

    ASSERT_EQ(m_prompter.entries().size(), 1u);
    EXPECT_EQ(m_prompter.entries()[0].text.rfind("The file " + path("Work.trs") + " is damaged", 0),
              0u)
        << m_prompter.entries()[0].text;
    EXPECT_EQ(m_doc.path(), work);
    EXPECT_FALSE(exists(path("Copy.tpl")));
    EXPECT_FALSE(exists(path("Copy.trs")));
    EXPECT_EQ(read(path("Work.trs")), damaged);
}

TEST_F(DocumentTest, FailedSaveAsPutsTheOldPathBackAndKeepsNoStaleStore) {
    const std::string work = writeWork(m_dir);
    ASSERT_TRUE(m_doc.open(work));
    const std::string unreachable = path("missing/Copy.tpl");

    EXPECT_FALSE(m_doc.save(unreachable));

    EXPECT_EQ(m_prompter.texts(),
              std::vector<std::string>{"Cannot find " + unreachable +
                                       " the directory was either renamed, moved, or deleted."});
    EXPECT_EQ(m_doc.path(), work);
    TemplateFile& t = m_doc.templateFile();
    EXPECT_TRUE(t.store().empty()) << "the transactions carried for the copy are dropped";
    EXPECT_FALSE(t.isLoaded());

    // Tracking goes on; the next view must see what was appended meanwhile.
    ASSERT_TRUE(m_doc.appendFinishedTransaction(finished(15, "after the failed save")));
    ASSERT_TRUE(m_doc.reporter().present(t.loadTransactions()));
    EXPECT_EQ(t.store().count(), 4u);
}

TEST_F(DocumentTest, LevelEditorCheckFailsTheSaveAndTouchesNoFile) {
    m_settings.setLevel1Title("Client");
    m_settings.setLevel2Title("Task");
    const std::string file = path("Plan.tpl");
    const std::string bytes = version4Template(
        "Veltimo Solo File", 3, 2, {project(1, "Alpha"), project(2, "Bare"), activity(1, 1, "x")});
    write(file, bytes);
    write(path("Plan.trs"), v4Transactions({workRecords()[0]}));
    ASSERT_TRUE(m_doc.open(file));
    m_editorActive = true;
    m_calls.clear();

    EXPECT_FALSE(m_doc.save(file));
    EXPECT_FALSE(m_doc.save(path("Copy.tpl")));

    const std::string text = "All Client(s) added must contain at least one Task.";
    EXPECT_EQ(m_prompter.texts(), (std::vector<std::string>{text, text}));
    EXPECT_FALSE(m_doc.lastSaveWentThrough());
    EXPECT_EQ(read(file), bytes);
    EXPECT_EQ(read(path("Plan.trs")), v4Transactions({workRecords()[0]}));
    EXPECT_FALSE(exists(path("Copy.tpl")));
    EXPECT_FALSE(exists(path("Copy.trs")));
    EXPECT_EQ(m_doc.path(), file);
    EXPECT_TRUE(m_calls.empty());

    // The check belongs to the level editor only.
    m_editorActive = false;
    EXPECT_TRUE(m_doc.save(file));
    EXPECT_TRUE(m_doc.lastSaveWentThrough());
}

TEST_F(DocumentTest, LevelEditorCheckOnALegacyTemplateLooksAtAssignments) {
    const std::string file = path("Legacy.tpl");
    const std::string bytes =
        legacyTemplate(testing::kTag512Bytes, {{1, "Alpha", "", 0}, {2, "Bare", "", 0}},
                       {{10, "Code", "", 0}}, {{1, 10}});
    write(file, bytes);
    write(path("Legacy.trs"), "");
    ASSERT_TRUE(m_doc.open(file));
    ASSERT_EQ(m_doc.templateFile().format(), TemplateFormat::Tag512);
    m_editorActive = true;

    EXPECT_FALSE(m_doc.save(file));
    EXPECT_EQ(m_prompter.texts(),
              std::vector<std::string>{"All Project(s) added must contain at least one Activity."});
    EXPECT_EQ(read(file), bytes);
    EXPECT_FALSE(exists(path("Legacy.tlx")));

    m_doc.templateFile().level1().findByName("Bare")->assign(
        m_doc.templateFile().level2().findByName("Code"));
    EXPECT_TRUE(m_doc.save(file));
    EXPECT_TRUE(exists(path("Legacy.tlx")));
}

TEST_F(DocumentTest, SaveClearsTheEditorsModifiedFlagOnlyWhileTheEditorIsActive) {
    const std::string work = writeWork(m_dir);
    ASSERT_TRUE(m_doc.open(work));
    m_calls.clear();

    ASSERT_TRUE(m_doc.save(work));
    EXPECT_TRUE(m_doc.lastSaveWentThrough());
    EXPECT_TRUE(m_calls.empty());

    m_doc.clearLastSaveWentThrough();
    EXPECT_FALSE(m_doc.lastSaveWentThrough());
    m_editorActive = true;
    ASSERT_TRUE(m_doc.save(work));
    EXPECT_TRUE(m_doc.lastSaveWentThrough());
    EXPECT_EQ(m_calls, std::vector<std::string>{"clear modified"});
    EXPECT_EQ(read(work), simpleTemplate());
    EXPECT_EQ(read(path("Work.trs")), v4Transactions(workRecords()));
}

// Between the move of Coding under Testing and the save, another program appends to the file (and
// marks a moved record sent) while the save has it read, or the editor's changes are dropped.
enum class Meanwhile { Appended, MarkedSent, Dropped };
class MovedTimeTest : public DocumentTest, public ::testing::WithParamInterface<Meanwhile> {};

TEST_P(MovedTimeTest, TheTemplatesSaveGivesTheUnsentTimeOfAMovedItemItsNewKeys) {
    const Meanwhile meanwhile = GetParam();
    const std::string work = writeWork(m_dir); // Coding's first record was sent
    ASSERT_TRUE(m_doc.open(work));
    struct : TrackerListener {
        int trackerNotify(Tracker&, int, int) override { return 1; }
    } allow;
    m_doc.tracker().setViewTarget(&allow);
    m_doc.tracker().setItems(1, 1);
    ASSERT_TRUE(m_doc.tracker().start(false));
    TemplateFile& t = m_doc.templateFile();
    LevelEditor(t).drop(*t.level2().findByName("Coding"), *t.level2().findByName("Testing"), false,
                        RecordedTime::Goes);
    std::vector<Rec> other = workRecords();
    other.push_back({1, 1, "03/16/2024", "08:00", "09:00", false, "elsewhere"});
    other[2].sent = meanwhile == Meanwhile::MarkedSent;
    faults::setPauseHook([&, fired = false](faults::Step step, const std::string&) mutable {
        if (step == faults::Step::TransactionsLoaded && !std::exchange(fired, true)) {
            write(path("Work.trs"), v4Transactions(other));
        }
    });
    if (meanwhile == Meanwhile::Dropped) {
        m_doc.discardLevelChanges();
    }
    EXPECT_EQ(read(path("Work.trs")), v4Transactions(workRecords())) << "nothing before the save";
    if (meanwhile == Meanwhile::MarkedSent) {
        EXPECT_FALSE(m_doc.save(work));
        EXPECT_EQ(m_prompter.texts().back(), kMovedTimeNotMovedText);
    }
    EXPECT_TRUE(m_doc.save(work));
    faults::setPauseHook({});
    // The unsent record of Coding that the save read goes to Coding's new keys.
    std::vector<Rec> expected = meanwhile == Meanwhile::Dropped ? workRecords() : other;
    if (meanwhile != Meanwhile::Dropped) {
        Rec& moved = expected[meanwhile == Meanwhile::Appended ? 2 : 3];
        moved.level1 = 2;
        moved.level2 = 3;
    }
    EXPECT_EQ(read(path("Work.trs")), v4Transactions(expected));
    EXPECT_EQ(read(work) == simpleTemplate(), meanwhile == Meanwhile::Dropped);
    EXPECT_EQ(m_doc.tracker().running().level1Key(), meanwhile == Meanwhile::Dropped ? 1 : 2);
    EXPECT_EQ(m_doc.tracker().running().level2Key(), meanwhile == Meanwhile::Dropped ? 1 : 3);
    m_doc.tracker().setViewTarget(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Meanwhile, MovedTimeTest,
                         ::testing::Values(Meanwhile::Appended, Meanwhile::MarkedSent,
                                           Meanwhile::Dropped));

// ---------------------------------------------------------------------------------------------
// Deleting

TEST_F(DocumentTest, DeleteAsksFirstAndNoChangesNothing) {
    m_settings.setLevel1Title("Client");
    m_settings.setLevel2Title("Task");
    const std::string work = writeWork(m_dir);
    write(path("Work.tlx"), "side");
    ASSERT_TRUE(m_doc.open(work));
    m_settings.setTemplateLocation(work);
    m_calls.clear();

    EXPECT_FALSE(m_doc.deleteTemplate()); // nothing queued: the preferred No

    ASSERT_EQ(m_prompter.entries().size(), 1u);
    const auto& q = m_prompter.entries()[0];
    EXPECT_EQ(q.text, "Delete the " + work +
                          " file?\r\n\r\nIf yes, you will erase this file. Delete?\r\n\r\nNOTE: To "
                          "delete Client(s) or Task(s), use Edit Levels/Targets in the Edit menu.");
    EXPECT_TRUE(q.question);
    EXPECT_EQ(q.buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(q.preferred, Prompter::Answer::No);
    EXPECT_EQ(q.icon, Prompter::Icon::Stop);
    EXPECT_TRUE(exists(work));
    EXPECT_TRUE(exists(path("Work.trs")));
    EXPECT_TRUE(exists(path("Work.tlx")));
    EXPECT_EQ(m_doc.path(), work);
    EXPECT_EQ(m_doc.templateFile().level1().size(), 2u);
    EXPECT_EQ(m_settings.templateLocation(), work);
    EXPECT_TRUE(m_calls.empty());
}

TEST_F(DocumentTest, DeleteOnYesLeavesAnEmptyUnnamedDocumentAndRemovesTheFiles) {
    const std::string work = writeWork(m_dir);
    write(path("Work.tlx"), "side");
    write(path("Other.tpl"), simpleTemplate());
    ASSERT_TRUE(m_doc.open(work));
    m_settings.setTemplateLocation(work);
    m_calls.clear();
    m_prompter.queue(Prompter::Answer::Yes);

    EXPECT_TRUE(m_doc.deleteTemplate());

    EXPECT_FALSE(exists(work));
    EXPECT_FALSE(exists(path("Work.trs")));
    EXPECT_FALSE(exists(path("Work.tlx")));
    EXPECT_EQ(read(path("Other.tpl")), simpleTemplate());
    EXPECT_FALSE(m_doc.hasPath());
    EXPECT_TRUE(m_doc.templateFile().level1().empty());
    EXPECT_TRUE(m_doc.templateFile().level2().empty());
    EXPECT_EQ(m_doc.templateFile().format(), TemplateFormat::Tag512);
    EXPECT_FALSE(m_store.contains("UserConfig", kTemplateLocationName));
    EXPECT_EQ(m_calls, std::vector<std::string>{"reset"});
    EXPECT_EQ(m_prompter.entries().size(), 1u);

    EXPECT_FALSE(m_doc.deleteTemplate()) << "an unnamed document has nothing to delete";
    EXPECT_EQ(m_prompter.entries().size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// The tracking engine inside the document

TEST(DocumentTracker, TakesTheDayStartSettingAndTheDocumentsClock) {
    MemorySettingsStore store;
    store.writeInt("UserConfig", "DayStart", 7 * 3600 + 45 * 60);
    Settings settings(store);
    ScriptedPrompter prompter;
    SettableClock clock(date(2024, 3, 15) + hm(6, 10));
    CSoloDoc doc(settings, prompter, {}, clock);
    EXPECT_EQ(doc.tracker().dayStart(), hm(7, 45));
    EXPECT_EQ(doc.tracker().currentDay(), date(2024, 3, 15));
    EXPECT_EQ(doc.tracker().now(), hm(6, 10));
    EXPECT_FALSE(doc.tracker().isTracking());
}

TEST_F(DocumentTest, OpenHandsTodaysLastEndToTheTrackerAndEmptyForgetsIt) {
    const std::string work = writeWork(m_dir);
    Tracker& tracker = m_doc.tracker();
    tracker.setItems(2, 2);
    tracker.setDescription("left over");
    ASSERT_TRUE(m_doc.open(work));
    EXPECT_EQ(tracker.running().level1Key(), 0);
    EXPECT_EQ(tracker.running().level2Key(), 0);
    EXPECT_EQ(tracker.running().description(), "");
    EXPECT_TRUE(tracker.lastEndKnown());
    EXPECT_EQ(tracker.lastEnd(), hm(11, 15));

    tracker.setItems(1, 1);
    m_doc.empty();
    EXPECT_FALSE(tracker.lastEndKnown());
    EXPECT_EQ(tracker.running().level1Key(), 0);

    // A day without transactions leaves no last end behind from an earlier open.
    ASSERT_TRUE(m_doc.open(work));
    ASSERT_TRUE(tracker.lastEndKnown());
    m_clock.set(date(2024, 3, 16) + hm(9, 0));
    ASSERT_TRUE(m_doc.open(work));
    EXPECT_FALSE(tracker.lastEndKnown());
}

TEST_F(DocumentTest, TheDocumentStoresWhatTheTrackerHandsItAndNothingElse) {
    const std::string work = writeWork(m_dir);
    ASSERT_TRUE(m_doc.open(work));
    Tracker& tracker = m_doc.tracker();
    tracker.tick(kMinuteClock); // brings the tracker to the fixture's day
    tracker.setItems(2, 2);
    tracker.setDescription("Pairing");
    tracker.setStart(hm(15, 0));
    tracker.setEnd(hm(15, 45));
    for (int code : {trackercode::kStopping, trackercode::kStarted, trackercode::kTick,
                     trackercode::kMayStop, trackercode::kMayStart}) {
        EXPECT_EQ(m_doc.trackerNotify(tracker, code, 0), 0) << code;
    }
    EXPECT_EQ(read(path("Work.trs")), v4Transactions(workRecords()));

    EXPECT_EQ(m_doc.trackerNotify(tracker, trackercode::kStore, 0), 1);
    EXPECT_EQ(read(path("Work.trs")),
              v4Transactions(workRecords()) + v4Record(finishedRec(15, "Pairing")));
    EXPECT_TRUE(m_prompter.empty());
}

// ---------------------------------------------------------------------------------------------
// Appending finished transactions

TEST_F(DocumentTest, AppendWritesOneRecordAtTheEnd) {
    const std::string work = writeWork(m_dir);
    ASSERT_TRUE(m_doc.open(work));

    ASSERT_TRUE(m_doc.appendFinishedTransaction(finished(15, "Pairing")));

    std::string expected = v4Transactions(workRecords());
    expected += v4Record(finishedRec(15, "Pairing"));
    EXPECT_EQ(read(path("Work.trs")), expected);
    EXPECT_TRUE(m_doc.templateFile().store().empty()) << "the tracker needs no store";
    EXPECT_TRUE(m_prompter.empty());
}

TEST_F(DocumentTest, AppendToANewTemplateStartsTheFileWithTheHeader) {
    m_doc.prepareForLevelEditing();
    ASSERT_TRUE(m_doc.save(path("New.tpl")));
    ASSERT_TRUE(std::filesystem::remove(path("New.trs")));

    ASSERT_TRUE(m_doc.appendFinishedTransaction(finished(9, "First")));

    EXPECT_EQ(read(path("New.trs")), trsHeader() + v4Record(finishedRec(9, "First")));
}

TEST_F(DocumentTest, AppendWhileAViewHoldsTheTransactionsSurvivesTheViewsSave) {
    const std::string work = writeWork(m_dir);
    ASSERT_TRUE(m_doc.open(work));
    TemplateFile& t = m_doc.templateFile();
    ASSERT_TRUE(m_doc.reporter().present(t.loadTransactions())); // the time sheet is open

    ASSERT_TRUE(m_doc.appendFinishedTransaction(finished(15, "At midnight split")));
    ASSERT_TRUE(
        m_doc.reporter().present(t.saveTransactions())); // the time sheet saves when it is left

    std::vector<Rec> expected = workRecords();
    expected.push_back(finishedRec(15, "At midnight split"));
    EXPECT_EQ(read(path("Work.trs")), v4Transactions(expected));
}

TEST_F(DocumentTest, AppendToAnUnnamedDocumentWaitsForTheFirstSave) {
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(m_root);
    m_doc.prepareForLevelEditing();

    EXPECT_TRUE(m_doc.appendFinishedTransaction(finished(9, "Before naming")));
    EXPECT_TRUE(std::filesystem::is_empty(m_root)) << "no file without a name, not even \".trs\"";
    std::filesystem::current_path(cwd);

    ASSERT_TRUE(m_doc.save(path("Named.tpl")));
    EXPECT_EQ(read(path("Named.trs")), trsHeader() + v4Record(finishedRec(9, "Before naming")));
}

// ---------------------------------------------------------------------------------------------
// Local copy

class DocumentLocalCopyTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        m_remote = m_dir + "remote/";
        m_local = m_dir + "local";
        std::filesystem::create_directories(m_local);
        setLockWait(std::chrono::milliseconds(0)); // a held file is refused at once
    }
    void TearDown() override {
        setLockWait(kDefaultLockWait);
        DocumentTest::TearDown();
    }
    std::string local(std::string_view name) const { return m_local + "/" + std::string(name); }
    std::string remote(std::string_view name) const { return m_remote + std::string(name); }

    std::string m_remote;
    std::string m_local;
};

TEST_F(DocumentLocalCopyTest, SwitchingToLocalCopiesTheThreeFiles) {
    const std::string work = writeWork(m_remote);
    write(remote("Work.tlx"), "side bytes");
    write(local("Work.lcl"), "stale");
    write(local("Work.trs"), "stale");
    ASSERT_TRUE(m_doc.open(work));

    ASSERT_TRUE(m_doc.switchToLocalCopy(m_local));

    EXPECT_EQ(read(local("Work.lcl")), simpleTemplate());
    EXPECT_EQ(read(local("Work.trs")), v4Transactions(workRecords()));
    EXPECT_EQ(read(local("Work.tlx")), "side bytes");
    EXPECT_EQ(m_doc.path(), local("Work.lcl"));
    EXPECT_EQ(m_settings.oldLocation(), m_remote);
    EXPECT_TRUE(m_doc.usingLocalCopy());
    EXPECT_EQ(read(work), simpleTemplate());
    EXPECT_TRUE(m_prompter.empty());
    EXPECT_FALSE(m_doc.switchToLocalCopy(m_local)) << "already on the local copy";
}

TEST_F(DocumentLocalCopyTest, SwitchingBackCopiesTheFilesHomeAndReloads) {
    const std::string work = writeWork(m_remote);
    ASSERT_TRUE(m_doc.open(work));
    ASSERT_TRUE(m_doc.switchToLocalCopy(m_local + "/"));
    ASSERT_TRUE(m_doc.appendFinishedTransaction(finished(15, "Offline")));
    m_calls.clear();

    ASSERT_TRUE(m_doc.switchBackFromLocalCopy());

    std::vector<Rec> expected = workRecords();
    expected.push_back(finishedRec(15, "Offline"));
    EXPECT_EQ(read(remote("Work.trs")), v4Transactions(expected));
    EXPECT_EQ(read(work), read(local("Work.lcl")));
    EXPECT_EQ(m_doc.path(), work);
    EXPECT_EQ(m_settings.oldLocation(), "");
    EXPECT_FALSE(m_doc.usingLocalCopy());
    EXPECT_EQ(m_calls, std::vector<std::string>{"refresh all"});
    EXPECT_EQ(names(m_doc.templateFile().level1()), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_TRUE(m_prompter.empty());
    EXPECT_FALSE(m_doc.switchBackFromLocalCopy()) << "no local copy in use any more";
}

TEST_F(DocumentLocalCopyTest, ManagedTemplateDoesNotOverwriteTheTargetWhenSwitchingBack) {
    const std::string work = writeWork(m_remote, "MSProject File");
    ASSERT_TRUE(m_doc.open(work));
    ASSERT_TRUE(m_doc.switchToLocalCopy(m_local));
    // Meanwhile the server rewrote the managed template.
    const std::string serverVersion = version4Template(
        "MSProject File", 4, 4,
        {project(1, "Alpha"), project(2, "Beta"), project(3, "Gamma"), activity(1, 1, "Coding"),
         activity(2, 2, "Testing"), activity(3, 3, "Ops")});
    write(work, serverVersion);
    ASSERT_TRUE(m_doc.appendFinishedTransaction(finished(15, "Offline")));

    ASSERT_TRUE(m_doc.switchBackFromLocalCopy());

    EXPECT_TRUE(m_prompter.empty()) << "the file-exists error is not shown";
    EXPECT_EQ(read(work), serverVersion);
    std::vector<Rec> expected = workRecords();
    expected.push_back(finishedRec(15, "Offline"));
    EXPECT_EQ(read(remote("Work.trs")), v4Transactions(expected));
    EXPECT_EQ(m_doc.path(), work);
    EXPECT_EQ(names(m_doc.templateFile().level1()),
              (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_TRUE(m_doc.templateFile().isManaged());
    EXPECT_EQ(m_settings.oldLocation(), "");
}

TEST_F(DocumentLocalCopyTest, SwitchToLocalStopsWhenTheTemplateCopyFails) {
    const std::string work = writeWork(m_remote);
    ASSERT_TRUE(m_doc.open(work));
    const std::string nowhere = m_dir + "gone/deeper";

    EXPECT_FALSE(m_doc.switchToLocalCopy(nowhere));

    EXPECT_EQ(m_prompter.texts(),
              std::vector<std::string>{"Cannot find " + nowhere +
                                       "/Work.lcl the directory was either renamed, moved, or "
                                       "deleted."});
    EXPECT_EQ(m_doc.path(), work);
    EXPECT_FALSE(m_store.contains("UserConfig", kOldLocationName));
    EXPECT_FALSE(m_doc.usingLocalCopy());
    EXPECT_EQ(m_quits, 0);
}

TEST_F(DocumentLocalCopyTest, SwitchToLocalStopsWhenTheTransactionFileCannotBeCopied) {
    const std::string work = writeWork(m_remote);
    ASSERT_TRUE(m_doc.open(work));
    FileError lockError;
    LockedFile held = LockedFile::open(remote("Work.trs"), LockedFile::Mode::Read, lockError);
    ASSERT_TRUE(held.isOpen()) << "another program holds the transaction file";

    EXPECT_FALSE(m_doc.switchToLocalCopy(m_local));

    EXPECT_EQ(m_prompter.texts(), (std::vector<std::string>{"A needed file is locked by another "
                                                            "process",
                                                            "Veltimo Solo will close."}));
    EXPECT_EQ(m_quits, 1);
    EXPECT_EQ(m_doc.path(), work);
    EXPECT_FALSE(m_doc.usingLocalCopy());
    EXPECT_FALSE(exists(local("Work.trs")));
    held.close();
    EXPECT_EQ(read(remote("Work.trs")), v4Transactions(workRecords()));
}

TEST_F(DocumentLocalCopyTest, SwitchBackStopsWhenTheTransactionFileCannotBeCopied) {
    const std::string work = writeWork(m_remote);
    ASSERT_TRUE(m_doc.open(work));
    ASSERT_TRUE(m_doc.switchToLocalCopy(m_local));
    ASSERT_TRUE(m_doc.appendFinishedTransaction(finished(15, "Offline")));
    FileError lockError;
    LockedFile held = LockedFile::open(remote("Work.trs"), LockedFile::Mode::Read, lockError);
    ASSERT_TRUE(held.isOpen());
    m_calls.clear();

    EXPECT_FALSE(m_doc.switchBackFromLocalCopy());

    EXPECT_EQ(m_quits, 1);
    EXPECT_EQ(m_doc.path(), local("Work.lcl")) << "the local copy stays in use";
    EXPECT_EQ(m_settings.oldLocation(), m_remote);
    EXPECT_TRUE(m_calls.empty());
    std::vector<Rec> expected = workRecords();
    expected.push_back(finishedRec(15, "Offline"));
    EXPECT_EQ(read(local("Work.trs")), v4Transactions(expected));
    held.close();
    EXPECT_EQ(read(remote("Work.trs")), v4Transactions(workRecords()));
}

TEST_F(DocumentLocalCopyTest, SwitchToLocalRefusesTheTemplatesOwnFolder) {
    const std::string work = writeWork(m_dir);
    ASSERT_TRUE(m_doc.open(work));

    EXPECT_FALSE(m_doc.switchToLocalCopy(m_root));
    EXPECT_FALSE(m_doc.switchToLocalCopy(m_dir + "local/.."));

    EXPECT_EQ(read(path("Work.trs")), v4Transactions(workRecords()));
    EXPECT_FALSE(exists(path("Work.lcl")));
    EXPECT_EQ(m_doc.path(), work);
    EXPECT_FALSE(m_doc.usingLocalCopy());
}

TEST_F(DocumentLocalCopyTest, WithoutAPathThereIsNothingToSwitch) {
    EXPECT_FALSE(m_doc.switchToLocalCopy(m_local));
    EXPECT_FALSE(m_doc.switchBackFromLocalCopy());
    EXPECT_TRUE(std::filesystem::is_empty(m_local));
    EXPECT_FALSE(m_store.contains("UserConfig", kOldLocationName));
}

TEST_F(DocumentLocalCopyTest, MissingHooksDoNothing) {
    m_doc.hooks() = DocumentHooks{};
    m_store.writeText("UserConfig", "RemoteAssignments", "1");
    const std::string work = writeWork(m_remote);
    ASSERT_TRUE(m_doc.open(work));
    ASSERT_TRUE(m_doc.save(remote("Copy.tpl")));
    ASSERT_TRUE(m_doc.switchToLocalCopy(m_local));
    ASSERT_TRUE(m_doc.switchBackFromLocalCopy());
    m_prompter.queue(Prompter::Answer::Yes);
    ASSERT_TRUE(m_doc.deleteTemplate());
    m_doc.empty();
    EXPECT_TRUE(m_calls.empty());
    EXPECT_FALSE(exists(remote("Copy.tpl")));
    EXPECT_EQ(read(work), simpleTemplate());
}

// ---------------------------------------------------------------------------------------------
// Hooks

TEST_F(DocumentTest, AHookIsHeardOnlyWhileItsHandleLives) {
    int heard = 0;
    {
        const HookHandle handle =
            m_doc.hooks().resetRunningTransaction.install([&heard] { ++heard; });
        m_doc.empty();
        EXPECT_EQ(heard, 1);
    }
    m_doc.empty();
    EXPECT_EQ(heard, 1) << "the receiver went with its handle";
}

TEST_F(DocumentTest, AReceiverInstalledLaterOutlivesTheHandleOfTheOneItReplaced) {
    std::vector<std::string> heard;
    HookHandle first =
        m_doc.hooks().resetRunningTransaction.install([&heard] { heard.push_back("first"); });
    const HookHandle second =
        m_doc.hooks().resetRunningTransaction.install([&heard] { heard.push_back("second"); });
    first.reset();
    m_doc.empty();
    EXPECT_EQ(heard, std::vector<std::string>{"second"});
}

TEST_F(DocumentTest, AMovedHandleKeepsItsHook) {
    int heard = 0;
    HookHandle moved = m_doc.hooks().resetRunningTransaction.install([&heard] { ++heard; });
    const HookHandle kept = std::move(moved);
    moved.reset();
    m_doc.empty();
    EXPECT_EQ(heard, 1);
}

TEST(DocumentHook, AnswersFalseWithoutALiveReceiver) {
    DocumentHook<bool()> hook;
    EXPECT_FALSE(hook());
    HookHandle handle = hook.install([] { return true; });
    EXPECT_TRUE(hook());
    handle.reset();
    EXPECT_FALSE(hook);
    EXPECT_FALSE(hook());
}

TEST(DocumentHook, AHandleMayOutliveItsDocument) {
    MemorySettingsStore store;
    Settings settings{store};
    ScriptedPrompter prompter;
    auto doc = std::make_unique<CSoloDoc>(settings, prompter, [] {});
    const auto captured = std::make_shared<int>(0);
    HookHandle handle = doc->hooks().refreshAllViews.install([captured] { ++*captured; });
    EXPECT_EQ(captured.use_count(), 2);
    doc.reset();
    EXPECT_EQ(captured.use_count(), 1) << "the receiver went with the document";
    handle.reset();
    EXPECT_EQ(*captured, 0);
}

// ---------------------------------------------------------------------------------------------

TEST(FillPlaceholders, PlainMarksTakeTheValuesInOrder) {
    EXPECT_EQ(fillPlaceholders("All %s(s) added must contain at least one %s.", {"A", "B"}),
              "All A(s) added must contain at least one B.");
    EXPECT_EQ(fillPlaceholders("%s%s", {"x", "y", "z"}), "xy");
    EXPECT_EQ(fillPlaceholders("%s and %s", {"only"}), "only and %s")
        << "a mark without a value stays";
}

TEST(FillPlaceholders, NumberedMarksTakeTheirValue) {
    EXPECT_EQ(fillPlaceholders("%2 before %1, %2 again", {"one", "two"}),
              "two before one, two again");
    EXPECT_EQ(fillPlaceholders("%9|%1", {"a", "b", "c", "d", "e", "f", "g", "h", "i"}), "i|a");
    EXPECT_EQ(fillPlaceholders("%3 of %1", {"a", "b"}), "%3 of a");
    EXPECT_EQ(fillPlaceholders("%0", {"a"}), "%0");
    EXPECT_EQ(fillPlaceholders("%1%s", {"a", "b"}), "aa") << "numbers do not move the order";
}

TEST(FillPlaceholders, ALonePercentIsKept) {
    EXPECT_EQ(fillPlaceholders("100% sure", {"x"}), "100% sure");
    EXPECT_EQ(fillPlaceholders("%% of %s, 50%%", {"x"}), "% of x, 50%");
    EXPECT_EQ(fillPlaceholders("ends with %", {"x"}), "ends with %");
    EXPECT_EQ(fillPlaceholders("%", {}), "%");
    EXPECT_EQ(fillPlaceholders("%s%", {"50"}), "50%");
}

} // namespace
} // namespace vsolo
