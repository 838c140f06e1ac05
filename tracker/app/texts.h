#pragma once

#include "core/base/usertext.h"

// The tracker's fixed texts, kept together. "%s" and "%1".."%9" are filled in by the code that
// shows them; "\r\n" is a line break.
namespace vsolo::text {

inline constexpr const char* kAppTitle = VSOLO_FIXED("Veltimo Solo");
inline constexpr const char* kFileFilter = VSOLO_TR("Veltimo Solo Files (*.tpl)");
inline constexpr const char* kDefaultExtension = VSOLO_FIXED("tpl");
inline constexpr const char* kUntitled = VSOLO_TR("Untitled");
// In the status bar while the transaction file is read after the window showed.
inline constexpr const char* kLoadingTransactions = VSOLO_TR("Loading transactions\u2026");

// Start-up.
inline constexpr const char* kOldSystemFile = VSOLO_TR(
    "Veltimo has detected an older version of a needed system file.  Veltimo will exit and install "
    "a newer version.");
inline constexpr const char* kTemplateMissing = VSOLO_TR(
    "Cannot find file: %s\r\n\r\na)  The file has been moved, renamed, or deleted.\n     Select "
    "File, Open from the menu.\n\nor\n\nb)  The network server may be down.\n     Contact your "
    "system administrator or try again later.");

// Main view.
inline constexpr const char* kLevelTitles = VSOLO_TR("%s/%s:");
inline constexpr const char* kStartAt = VSOLO_TR("to start at %s");
inline constexpr const char* kStartAfterEnd =
    VSOLO_TR("The start time cannot be greater than the end time. Please re-enter time.");
inline constexpr const char* kStartOverlaps =
    VSOLO_TR("The start time cannot overlap the end time of the previous transaction.");
inline constexpr const char* kEndInFuture =
    VSOLO_TR("The end time cannot be greater than the current time. Please re-enter time.");
inline constexpr const char* kHoursSuffix = VSOLO_TR(" (hh:mm)");
// The status-bar reason when a sent transaction is asked to be edited.
inline constexpr const char* kSentRowLocked =
    VSOLO_TR("This transaction has been sent and can no longer be changed.");
inline constexpr const char* kTrackingOn = VSOLO_TR("TRACKING ON");
inline constexpr const char* kTimeWorked = VSOLO_TR("Time worked:");
inline constexpr const char* kDescriptions = VSOLO_TR("&Descriptions:");
inline constexpr const char* kStartTime = VSOLO_TR("&Start time:");
inline constexpr const char* kEndTime = VSOLO_TR("End &time:");

// Floating window.
inline constexpr const char* kFloatingTitle = VSOLO_TR("Tracking ON - %s");
inline constexpr const char* kFromTo = VSOLO_TR("From %s to %s");

// Tray icon. An item is "title: name" as the main view shows it; a menu entry names the level-1
// item, and the level-2 item after it when there is one.
inline constexpr const char* kTrayItem = VSOLO_TR("%s: %s");
inline constexpr const char* kTrayNotTracking = VSOLO_TR("Not tracking");
inline constexpr const char* kTrayWorkedToday = VSOLO_TR("Worked today: %s");
inline constexpr const char* kTrayRecentItem = VSOLO_TR("%s - %s");
inline constexpr const char* kTrayStop = VSOLO_TR("S&top");
inline constexpr const char* kTrayShow = VSOLO_TR("&Show Main Window");
inline constexpr const char* kTrayHide = VSOLO_TR("&Hide Main Window");
inline constexpr const char* kTrayQuit = VSOLO_TR("&Quit");
inline constexpr const char* kTrayIconOption = VSOLO_TR("Show an icon in the system tra&y");
inline constexpr const char* kCloseToTrayOption =
    VSOLO_TR("C&losing the main window keeps the tracker running in the tray");
inline constexpr const char* kNoTray = VSOLO_TR("This desktop has no system tray.");

// Frame.
inline constexpr const char* kEndTracking = VSOLO_TR("End tracking at %s.");
inline constexpr const char* kReportLevels = VSOLO_TR("%s &and %s report\tF5");
inline constexpr const char* kReportGraph =
    VSOLO_TR("%% &of total hours worked by %s (including target)\tF6");
inline constexpr const char* kReportPie1 = VSOLO_TR("%% of &total hours worked by %s\tF7");
inline constexpr const char* kReportPie2 = VSOLO_TR("%% of total &hours worked by %s\tF8");
inline constexpr const char* kPiePrompt = VSOLO_TR("Display or print a %s graph");
inline constexpr const char* kNotYetAvailable = VSOLO_TR("Not available yet");

// The question after time tracked without keyboard or mouse input.
inline constexpr const char* kIdleCaption = VSOLO_TR("Time Away");
inline constexpr const char* kIdleQuestion = VSOLO_TR(
    "No keyboard or mouse input from %s to %s while tracking %s.\n\nWhat should happen to this "
    "time?");
inline constexpr const char* kIdleKeep = VSOLO_TR("&Keep");
inline constexpr const char* kIdleStopAt = VSOLO_TR("&Stop at %s");
inline constexpr const char* kIdleDiscard = VSOLO_TR("&Discard and go on");
inline constexpr const char* kIdleKeepTip = VSOLO_TR("The time stays tracked; nothing changes.");
inline constexpr const char* kIdleStopAtTip =
    VSOLO_TR("The tracked time ends where input stopped, and tracking stops.");
inline constexpr const char* kIdleDiscardTip =
    VSOLO_TR("The tracked time ends where input stopped, and tracking goes on from now.");

// Level editor.
inline constexpr const char* kAddItem = VSOLO_TR("Add &%s");
inline constexpr const char* kAddItemPopup = VSOLO_TR("Add %s");
inline constexpr const char* kCopyToNewItem = VSOLO_TR("&Copy to New %s");
inline constexpr const char* kCopyToNewItemPrompt =
    VSOLO_TR("Copy item and all sub-items to a new project");
inline constexpr const char* kRemoveFromList = VSOLO_TR("Remove %s from list for time entry.");
inline constexpr const char* kFailedToInsert = VSOLO_TR("Failed to insert");
inline constexpr const char* kFailedToDelete = VSOLO_TR("Failed to delete");

// Preferences.
inline constexpr const char* kPreferencesCaption = VSOLO_TR("Preferences");
inline constexpr const char* kLevelTitleMissing =
    VSOLO_TR("Please enter a valid value for the level definition.");
inline constexpr const char* kIdleUnreadable = VSOLO_TR(
    "This desktop does not tell how long the keyboard and mouse have been idle, so the question "
    "cannot be asked.");
inline constexpr const char* kPreferencesNotStored = VSOLO_TR(
    "Some preferences could not be saved because the settings file could not be written. Check "
    "that the folder of the settings file exists and that you may write to it.");
inline constexpr const char* kExitPreferencesNotStored = VSOLO_TR(
    "Some preferences could not be saved because the settings file could not be written: the "
    "level titles and the automatic options are back to their earlier values the next time "
    "Veltimo Solo starts. Check that the folder of the settings file exists and that you may "
    "write to it.");

// Time sheet.
inline constexpr const char* kErrorsFound = VSOLO_TR(
    "Errors found.\r\n\r\nPlease correct rows with the word \"ERROR\" in the description.");
inline constexpr const char* kDeleteOne =
    VSOLO_TR("Are you sure you want to delete this transaction?");
inline constexpr const char* kDeleteAllRows =
    VSOLO_TR("Are you sure you want to delete all transactions?");
inline constexpr const char* kSaveChanges = VSOLO_TR("Save changes?");
// Asked after a save refused because another program changed the same transactions.
inline constexpr const char* kReloadAfterConflict = VSOLO_TR(
    "Show the time sheet as the file holds it now?\r\n\r\nYes drops the changes made here since "
    "the time sheet was last saved; make them again afterwards. No keeps them on the screen, "
    "unsaved.");
inline constexpr const char* kRangeText = VSOLO_TR("From: %s   To: %s");
inline constexpr const char* kExportCsvTitle = VSOLO_TR("Export Time sheet to .csv");
inline constexpr const char* kExportTxtTitle = VSOLO_TR("Export Time sheet to .txt");
inline constexpr const char* kExportCsvFilter = VSOLO_TR("Comma Separated File (*.csv)");
inline constexpr const char* kExportTxtFilter = VSOLO_TR("Tab Delimited File (*.txt)");

// Level set-up.
inline constexpr const char* kEditLevelsCaption = VSOLO_TR("Edit Levels/Targets");
inline constexpr const char* kStepTitle = VSOLO_TR("Step %d: %s");
inline constexpr const char* kEnterNames = VSOLO_TR("En&ter/edit %s names:");
inline constexpr const char* kDefinition = VSOLO_TR("Definition: ");
inline constexpr const char* kLevel1Definition = VSOLO_TR(
    "A project, a subject of tasks or activities to be performed during a normal work week such "
    "as administration, sales, production, etc.");
inline constexpr const char* kLevel2Definition =
    VSOLO_TR("An activity, a task that you perform such as write letters, documents, etc.");
inline constexpr const char* kItemColumns = VSOLO_TR("Name\tTarget (%)\tDescription");
inline constexpr const char* kAddItemButton = VSOLO_TR("&Add...");
inline constexpr const char* kEditItemButton = VSOLO_TR("&Edit...");
inline constexpr const char* kDeleteItemButton = VSOLO_TR("&Delete");
inline constexpr const char* kAssignTitle = VSOLO_TR("Step 3: Assign and Remove");
inline constexpr const char* kAssignHeading = VSOLO_TR("For each %s, select one or more %s.");
inline constexpr const char* kLevel1ListLabel = VSOLO_TR("%s &list:");
inline constexpr const char* kLevel2ChoiceLabel = VSOLO_TR("&Select one or more %s:");
inline constexpr const char* kRemoveFromEntry = VSOLO_TR("&Remove %s in the list for time entry");
inline constexpr const char* kSelectAll = VSOLO_TR("Select &All");
inline constexpr const char* kUnselectAll = VSOLO_TR("&Unselect All");
inline constexpr const char* kCancelChanges = VSOLO_TR("Cancel changes made?");
inline constexpr const char* kWizardBack = VSOLO_TR("< &Back");
inline constexpr const char* kWizardNext = VSOLO_TR("&Next >");
inline constexpr const char* kWizardFinish = VSOLO_TR("Finish");
inline constexpr const char* kAddItemTitle = VSOLO_TR("Add %s");
inline constexpr const char* kEditItemTitle = VSOLO_TR("Edit %s");
inline constexpr const char* kItemNameLabel = VSOLO_TR("&Name:");
inline constexpr const char* kItemDescriptionLabel = VSOLO_TR("&Description:");
inline constexpr const char* kItemTargetLabel = VSOLO_TR("&Target:");

// Exchange with the central server; the texts it shares with vsolo-cli are in
// core/remote/remotetexts.h.
inline constexpr const char* kSentButNotKept = VSOLO_TR(
    "The time sheet was sent, but your copy of it could not be updated.\r\n\r\nThe sent "
    "transactions are still in your time sheet and are not marked as sent: do not send them "
    "again.");
inline constexpr const char* kUpdateWaitsForTracking = VSOLO_TR(
    "An assignment update would remove the item being tracked.\r\n\r\nIt will be applied when "
    "the template is opened again after tracking has stopped.");
inline constexpr const char* kUpdateNotSaved = VSOLO_TR(
    "An assignment update could not be saved to the template.\r\n\r\nThe update stays in your "
    "mailbox and will be applied the next time the template is opened.");
// After the reason an assignment update was refused for; asked Yes/No, No the default.
inline constexpr const char* kDeleteRefusedUpdate =
    VSOLO_TR("The update stays in your mailbox and is refused again each time the template is "
             "opened.\r\n\r\nDelete it from the mailbox?");

} // namespace vsolo::text
