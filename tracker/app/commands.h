#pragma once

// The tracker's command numbers. Views are known by the command that shows them.

#include <array>

namespace vsolo::command {

// Views.
inline constexpr int kTimeSheet = 32797;
inline constexpr int kMainWindow = 32798;
inline constexpr int kShrink = 32811;
inline constexpr int kPieLevel1 = 32845;
inline constexpr int kPieLevel2 = 32846;
inline constexpr int kTimeStudyReport = 32850;
inline constexpr int kTimeStudyGraph = 32851;
inline constexpr int kEditLevelsView = 32864;
inline constexpr int kBackToMainWindow = 32852;
// The reports and graphs, in the order of the Reports menu.
inline constexpr std::array<int, 4> kReportCommands{kTimeStudyReport, kTimeStudyGraph, kPieLevel1,
                                                    kPieLevel2};
inline constexpr bool isReport(int c) {
    return c == kTimeStudyReport || c == kTimeStudyGraph || c == kPieLevel1 || c == kPieLevel2;
}

// Tracking (main view).
inline constexpr int kStart = 32808;
inline constexpr int kStartFromLast = 32809;
inline constexpr int kStop = 32810;
inline constexpr int kDisplayAllItems = 32902;
// The two automatic options, also offered in the Tracking menu.
inline constexpr int kAutoSelect = 33001;
inline constexpr int kAutoShrink = 33002;

// Time sheet.
inline constexpr int kEditTransaction = 32799;
inline constexpr int kAddTransaction = 32800;
inline constexpr int kDeleteTransaction = 32801;
inline constexpr int kDeleteAll = 32802;
inline constexpr int kFirstRow = 32803;
inline constexpr int kPreviousRow = 32804;
inline constexpr int kNextRow = 32805;
inline constexpr int kLastRow = 32806;
inline constexpr int kDateRange = 32807;
inline constexpr int kExportCsv = 32896;
inline constexpr int kExportTxt = 32897;

// Level editor. Its Delete shares the time sheet's command number and menu item.
inline constexpr int kDeleteLevelItem = kDeleteTransaction;
inline constexpr int kRenameLevelItem = 32874;
inline constexpr int kAddLevel1Item = 32876;
inline constexpr int kAddLevel2Item = 32877;
inline constexpr int kDragAndDrop = 32881;
inline constexpr int kDragAndDropCopy = 32882;
inline constexpr int kSortLevels = 32884;
inline constexpr int kCopyToNewLevel1 = 32898;

// Frame and application.
inline constexpr int kPreferences = 32771;
inline constexpr int kEditLevels = 32772;
inline constexpr int kNew = 32862;
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kDelete = 32854;
inline constexpr int kExit = 57665;
inline constexpr int kStatusBar = 32890;
inline constexpr int kToolBar = 32889;
inline constexpr int kSendTimeSheet = 32844;
inline constexpr int kLocalDrive = 32816;
inline constexpr int kMoreReports = 32886;
inline constexpr int kTipOfTheDay = 108;
inline constexpr int kHelpContents = 32812;
inline constexpr int kHelpOnWindow = 32856;
inline constexpr int kTrainingCard = 32855;
inline constexpr int kAbout = 57664;

} // namespace vsolo::command
