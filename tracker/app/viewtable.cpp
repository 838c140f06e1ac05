#include "tracker/app/viewtable.h"

#include "core/base/usertext.h"
#include "tracker/app/commands.h"
#include "tracker/levels/editlevelsview.h"
#include "tracker/reports/graphviews.h"
#include "tracker/reports/timestudyreportview.h"
#include "tracker/timesheet/timesheetview.h"
#include "tracker/tracking/soloview.h"
#include "tracker/tracking/trackwindowview.h"

#include <QCoreApplication>
#include <algorithm>

namespace vsolo {

namespace {

using namespace command;

template <class V>
View* make(ViewHost& host) {
    return new V(host);
}

// One pie view serves both levels; the command it shows says which.
template <int Command>
View* makePie(ViewHost& host) {
    return new CItemPieView(host, Command);
}

MenuItem submenu(const char* title, std::vector<int> commands) {
    return {kSeparator, title, std::move(commands)};
}

// The Reports menu of every menu bar; its texts carry the level titles and are set each time it
// opens.
std::vector<MenuItem> reportItems(bool withMoreReports) {
    std::vector<MenuItem> items;
    for (int c : kReportCommands) {
        items.push_back({c});
    }
    if (withMoreReports) {
        items.insert(items.end(), {{kSeparator}, {kMoreReports}});
    }
    return items;
}

const Menu kHelpMenu{
    VSOLO_TR("&Help"),
    {{kHelpContents}, {kHelpOnWindow}, {kTrainingCard}, {kTipOfTheDay}, {}, {kAbout}}};

const std::vector<Menu> kMainMenus{
    {VSOLO_TR("&File"),
     {{kNew}, {kOpen}, {kSaveAs}, {kDelete}, {}, {kLocalDrive}, {kPrintSetup}, {}, {kExit}}},
    {VSOLO_TR("&Edit"), {{kEditLevels}, {kPreferences}}},
    {VSOLO_TR("&View"), {{kTimeSheet}, {}, {kToolBar}, {kStatusBar}}},
    {VSOLO_TR("&Tracking"),
     {{kStart},
      {kStartFromLast},
      {kStop},
      {kShrink},
      {},
      {kDisplayAllItems},
      {kAutoSelect},
      {kAutoShrink},
      {},
      {kSendTimeSheet}}},
    {VSOLO_TR("&Reports"), reportItems(true)},
    kHelpMenu,
};

const ToolBarLayout kMainToolBar{{kStart, kStartFromLast, kStop, kShrink, kSeparator,
                                  kSendTimeSheet, kSeparator, kTimeSheet, kSeparator,
                                  kHelpOnWindow}};

const std::vector<Menu> kTimeSheetMenus{
    {VSOLO_TR("&File"),
     {{kSave},
      submenu(VSOLO_TR("&Export"), {kExportCsv, kExportTxt}),
      {},
      {kPrint},
      {kPrintPreview},
      {kPrintSetup},
      {},
      {kBackToMainWindow}}},
    {VSOLO_TR("&Edit"),
     {{kEditTransaction}, {kAddTransaction}, {kDeleteTransaction}, {kDeleteAll}}},
    {VSOLO_TR("&View"), {{kToolBar}, {kStatusBar}}},
    {VSOLO_TR("&Goto"), {{kFirstRow}, {kPreviousRow}, {kNextRow}, {kLastRow}, {}, {kDateRange}}},
    {VSOLO_TR("&Reports"), reportItems(false)},
    kHelpMenu,
};

const ToolBarLayout kTimeSheetToolBar{{kBackToMainWindow, kSave, kPrint, kSeparator,
                                       kEditTransaction, kAddTransaction, kDeleteTransaction,
                                       kSeparator, kFirstRow, kPreviousRow, kNextRow, kLastRow,
                                       kDateRange, kSeparator, kHelpOnWindow},
                                      true};

// The menus of every report and graph.
const std::vector<Menu> kReportMenus{
    {VSOLO_TR("&File"), {{kPrint}, {kPrintPreview}, {kPrintSetup}, {}, {kBackToMainWindow}}},
    {VSOLO_TR("&View"), {{kTimeSheet}, {}, {kToolBar}, {kStatusBar}}},
    {VSOLO_TR("&Goto"), {{kDateRange}}},
    {VSOLO_TR("&Reports"), reportItems(false)},
    kHelpMenu,
};

const std::vector<int> kReportButtons{kBackToMainWindow, kPrint,     kSeparator, kDateRange,
                                      kSeparator,        kTimeSheet, kSeparator, kHelpOnWindow};
// The time study report is a list and shows its range beside the buttons; the graphs show it on
// the page.
const ToolBarLayout kReportListToolBar{kReportButtons, true};
const ToolBarLayout kGraphToolBar{kReportButtons, false};

const std::vector<Menu> kEditLevelsMenus{
    {VSOLO_TR("&File"), {{kSave}, {kSaveAs}, {}, {kBackToMainWindow}}},
    {VSOLO_TR("&Edit"),
     {{kAddLevel1Item},
      {kAddLevel2Item},
      {kDeleteLevelItem},
      {kRenameLevelItem},
      {},
      {kCopyToNewLevel1},
      {},
      {kDragAndDrop},
      {kDragAndDropCopy},
      {},
      {kSortLevels}}},
    kHelpMenu,
};

const ToolBarLayout kEditLevelsToolBar{{kBackToMainWindow, kSave, kSeparator, kAddLevel1Item,
                                        kAddLevel2Item, kDeleteLevelItem, kSeparator,
                                        kHelpOnWindow}};

} // namespace

const std::vector<ViewEntry>& viewTable() {
    // Command, factory, needs the transactions, floating, menus, toolbar.
    static const std::vector<ViewEntry> table{
        {kMainWindow, &make<CSoloView>, false, false, &kMainMenus, &kMainToolBar},
        {kShrink, &make<CTrackWindowView>, false, true, nullptr, nullptr},
        {kTimeSheet, &make<CTimeSheetView>, true, false, &kTimeSheetMenus, &kTimeSheetToolBar},
        {kTimeStudyReport, &make<CTimeStudyReportView>, true, false, &kReportMenus,
         &kReportListToolBar},
        {kTimeStudyGraph, &make<CTimeStudyGraphView>, true, false, &kReportMenus, &kGraphToolBar},
        {kPieLevel1, &makePie<kPieLevel1>, true, false, &kReportMenus, &kGraphToolBar},
        {kPieLevel2, &makePie<kPieLevel2>, true, false, &kReportMenus, &kGraphToolBar},
        {kEditLevelsView, &make<CEditLevelsView>, false, false, &kEditLevelsMenus,
         &kEditLevelsToolBar},
    };
    return table;
}

const ViewEntry* findView(int command) {
    const auto& table = viewTable();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [command](const ViewEntry& e) { return e.command == command; });
    return it == table.end() ? nullptr : &*it;
}

} // namespace vsolo
