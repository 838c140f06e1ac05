#pragma once

// The tracker's fixed texts, kept together. "%s" and "%1".."%9" are filled in by the code that
// shows them; "\r\n" is a line break.
namespace vsolo::text {

inline constexpr const char* kAppTitle = "Veltimo Solo";
inline constexpr const char* kFileFilter = "Veltimo Solo Files (*.tpl)";
inline constexpr const char* kDefaultExtension = "tpl";
inline constexpr const char* kUntitled = "Untitled";
// In the status bar while the transaction file is read after the window showed.
inline constexpr const char* kLoadingTransactions = "Loading transactions\u2026";

// Start-up.
inline constexpr const char* kOldSystemFile =
    "Veltimo has detected an older version of a needed system file.  Veltimo will exit and install "
    "a newer version.";
inline constexpr const char* kTemplateMissing =
    "Cannot find file: %s\r\n\r\na)  The file has been moved, renamed, or deleted.\n     Select "
    "File, Open from the menu.\n\nor\n\nb)  The network server may be down.\n     Contact your "
    "system administrator or try again later.";

// Main view.
inline constexpr const char* kLevelTitles = "%s/%s:";
inline constexpr const char* kStartAt = "to start at %s";
inline constexpr const char* kStartAfterEnd =
    "The start time cannot be greater than the end time. Please re-enter time.";
inline constexpr const char* kStartOverlaps =
    "The start time cannot overlap the end time of the previous transaction.";
inline constexpr const char* kEndInFuture =
    "The end time cannot be greater than the current time. Please re-enter time.";
inline constexpr const char* kHoursSuffix = " (hh:mm)";
// The status-bar reason when a sent transaction is asked to be edited.
inline constexpr const char* kSentRowLocked =
    "This transaction has been sent and can no longer be changed.";
inline constexpr const char* kTrackingOn = "TRACKING ON";
inline constexpr const char* kTimeWorked = "Time worked:";
inline constexpr const char* kDescriptions = "&Descriptions:";
inline constexpr const char* kStartTime = "&Start time:";
inline constexpr const char* kEndTime = "End &time:";

// Floating window.
inline constexpr const char* kFloatingTitle = "Tracking ON - %s";
inline constexpr const char* kFromTo = "From %s to %s";

// Tray icon. An item is "title: name" as the main view shows it; a menu entry names the level-1
// item, and the level-2 item after it when there is one.
inline constexpr const char* kTrayItem = "%s: %s";
inline constexpr const char* kTrayNotTracking = "Not tracking";
inline constexpr const char* kTrayWorkedToday = "Worked today: %s";
inline constexpr const char* kTrayRecentItem = "%s - %s";
inline constexpr const char* kTrayStop = "S&top";
inline constexpr const char* kTrayShow = "&Show Main Window";
inline constexpr const char* kTrayHide = "&Hide Main Window";
inline constexpr const char* kTrayQuit = "&Quit";
inline constexpr const char* kTrayIconOption = "Show an icon in the system tra&y";
inline constexpr const char* kCloseToTrayOption =
    "C&losing the main window keeps the tracker running in the tray";
inline constexpr const char* kNoTray = "This desktop has no system tray.";

// Frame.
inline constexpr const char* kEndTracking = "End tracking at %s.";
inline constexpr const char* kReportLevels = "%s &and %s report\tF5";
inline constexpr const char* kReportGraph =
    "%% &of total hours worked by %s (including target)\tF6";
inline constexpr const char* kReportPie1 = "%% of &total hours worked by %s\tF7";
inline constexpr const char* kReportPie2 = "%% of total &hours worked by %s\tF8";
inline constexpr const char* kPiePrompt = "Display or print a %s graph";
inline constexpr const char* kNotYetAvailable = "Not available yet";

// The question after time tracked without keyboard or mouse input.
inline constexpr const char* kIdleCaption = "Time Away";
inline constexpr const char* kIdleQuestion =
    "No keyboard or mouse input from %s to %s while tracking %s.\n\nWhat should happen to this "
    "time?";
inline constexpr const char* kIdleKeep = "&Keep";
inline constexpr const char* kIdleStopAt = "&Stop at %s";
inline constexpr const char* kIdleDiscard = "&Discard and go on";
inline constexpr const char* kIdleKeepTip = "The time stays tracked; nothing changes.";
inline constexpr const char* kIdleStopAtTip =
    "The tracked time ends where input stopped, and tracking stops.";
inline constexpr const char* kIdleDiscardTip =
    "The tracked time ends where input stopped, and tracking goes on from now.";

// Level editor.
inline constexpr const char* kAddItem = "Add &%s";
inline constexpr const char* kAddItemPopup = "Add %s";
inline constexpr const char* kCopyToNewItem = "&Copy to New %s";
inline constexpr const char* kCopyToNewItemPrompt = "Copy item and all sub-items to a new project";
inline constexpr const char* kRemoveFromList = "Remove %s from list for time entry.";
inline constexpr const char* kFailedToInsert = "Failed to insert";
inline constexpr const char* kFailedToDelete = "Failed to delete";

// Preferences.
inline constexpr const char* kPreferencesCaption = "Preferences";
inline constexpr const char* kLevelTitleMissing =
    "Please enter a valid value for the level definition.";
inline constexpr const char* kIdleUnreadable =
    "This desktop does not tell how long the keyboard and mouse have been idle, so the question "
    "cannot be asked.";
inline constexpr const char* kPreferencesNotStored =
    "Some preferences could not be saved because the settings file could not be written. Check "
    "that the folder of the settings file exists and that you may write to it.";
inline constexpr const char* kExitPreferencesNotStored =
    "Some preferences could not be saved because the settings file could not be written: the "
    "level titles and the automatic options are back to their earlier values the next time "
    "Veltimo Solo starts. Check that the folder of the settings file exists and that you may "
    "write to it.";

// Time sheet.
inline constexpr const char* kErrorsFound =
    "Errors found.\r\n\r\nPlease correct rows with the word \"ERROR\" in the description.";
inline constexpr const char* kDeleteOne = "Are you sure you want to delete this transaction?";
inline constexpr const char* kDeleteAllRows = "Are you sure you want to delete all transactions?";
inline constexpr const char* kSaveChanges = "Save changes?";
// Asked after a save refused because another program changed the same transactions.
inline constexpr const char* kReloadAfterConflict =
    "Show the time sheet as the file holds it now?\r\n\r\nYes drops the changes made here since "
    "the time sheet was last saved; make them again afterwards. No keeps them on the screen, "
    "unsaved.";
inline constexpr const char* kRangeText = "From: %s   To: %s";
inline constexpr const char* kExportCsvTitle = "Export Time sheet to .csv";
inline constexpr const char* kExportTxtTitle = "Export Time sheet to .txt";
inline constexpr const char* kExportCsvFilter = "Comma Separated File (*.csv)";
inline constexpr const char* kExportTxtFilter = "Tab Delimited File (*.txt)";

// Level set-up.
inline constexpr const char* kEditLevelsCaption = "Edit Levels/Targets";
inline constexpr const char* kStepTitle = "Step %d: %s";
inline constexpr const char* kEnterNames = "En&ter/edit %s names:";
inline constexpr const char* kDefinition = "Definition: ";
inline constexpr const char* kLevel1Definition =
    "A project, a subject of tasks or activities to be performed during a normal work week such "
    "as administration, sales, production, etc.";
inline constexpr const char* kLevel2Definition =
    "An activity, a task that you perform such as write letters, documents, etc.";
inline constexpr const char* kItemColumns = "Name\tTarget (%)\tDescription";
inline constexpr const char* kAddItemButton = "&Add...";
inline constexpr const char* kEditItemButton = "&Edit...";
inline constexpr const char* kDeleteItemButton = "&Delete";
inline constexpr const char* kAssignTitle = "Step 3: Assign and Remove";
inline constexpr const char* kAssignHeading = "For each %s, select one or more %s.";
inline constexpr const char* kLevel1ListLabel = "%s &list:";
inline constexpr const char* kLevel2ChoiceLabel = "&Select one or more %s:";
inline constexpr const char* kRemoveFromEntry = "&Remove %s in the list for time entry";
inline constexpr const char* kSelectAll = "Select &All";
inline constexpr const char* kUnselectAll = "&Unselect All";
inline constexpr const char* kCancelChanges = "Cancel changes made?";
inline constexpr const char* kWizardBack = "< &Back";
inline constexpr const char* kWizardNext = "&Next >";
inline constexpr const char* kWizardFinish = "Finish";
inline constexpr const char* kAddItemTitle = "Add %s";
inline constexpr const char* kEditItemTitle = "Edit %s";
inline constexpr const char* kItemNameLabel = "&Name:";
inline constexpr const char* kItemDescriptionLabel = "&Description:";
inline constexpr const char* kItemTargetLabel = "&Target:";

// Exchange with the central server; the texts it shares with vsolo-cli are in
// core/remote/remotetexts.h.
inline constexpr const char* kSentButNotKept =
    "The time sheet was sent, but your copy of it could not be updated.\r\n\r\nThe sent "
    "transactions are still in your time sheet and are not marked as sent: do not send them "
    "again.";
inline constexpr const char* kUpdateWaitsForTracking =
    "An assignment update would remove the item being tracked.\r\n\r\nIt will be applied when "
    "the template is opened again after tracking has stopped.";
inline constexpr const char* kUpdateNotSaved =
    "An assignment update could not be saved to the template.\r\n\r\nThe update stays in your "
    "mailbox and will be applied the next time the template is opened.";
// After the reason an assignment update was refused for; asked Yes/No, No the default.
inline constexpr const char* kDeleteRefusedUpdate =
    "The update stays in your mailbox and is refused again each time the template is "
    "opened.\r\n\r\nDelete it from the mailbox?";

} // namespace vsolo::text
