#pragma once

#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "core/base/usertext.h"
#include "core/model/transactions.h"
#include "core/prompter.h"

#include <optional>
#include <string>

namespace vsolo {

// The rules that every transaction typed in by hand passes, kept apart from the dialog so that they
// can be tested without windows: the checks made when the user presses OK, and the commit that
// puts the accepted entry into the store.

inline constexpr const char* kAddTransactionTitle = VSOLO_TR("Add Transaction");
inline constexpr const char* kEditTransactionTitle = VSOLO_TR("Edit Transaction");
inline constexpr const char* kSetStartAtText = VSOLO_TR("to set Start at %s");
inline constexpr const char* kSetEndAtText = VSOLO_TR("to set End at %s");
inline constexpr const char* kEntryLevelTitlesText = VSOLO_TR("&1. %s/%s:");

inline constexpr const char* kDateOutsideRangeText = VSOLO_TR(
    "Please make sure the date entered is between %s and %s. \r\n\r\nOr select GOTO, DATE RANGE "
    "from the menu.");
inline constexpr const char* kFutureDateText = VSOLO_TR("Cannot add future time.");
inline constexpr const char* kStartNotBeforeEndText =
    VSOLO_TR("The start time should be before the end time.");
inline constexpr const char* kRunningOverlapText = VSOLO_TR(
    "Time overlap with running transaction.\r\n\r\n(Running transaction: Start time %s End time "
    "%s).");
inline constexpr const char* kFutureTimeText =
    VSOLO_TR("Cannot enter future time.\r\n\r\nCurrent time: %s.");
inline constexpr const char* kLevel2MissingText = VSOLO_TR("%s missing. Please select from list.");
// Nothing at all is selected: only an empty tree can leave the dialog there.
inline constexpr const char* kNothingSelectedText =
    VSOLO_TR("%s and %s missing. Please select from list.");
inline constexpr const char* kTooManyHoursText = VSOLO_TR(
    "Too many hours.  Take note:\r\n\r\n1. Cannot add future time.\r\n2. Maximum hours for one day "
    "is 23:59.");
inline constexpr const char* kNotEnoughRoomText = VSOLO_TR(
    "Not enough hours remaining for time interval. You can:\r\n\r\n1. Enter multiple rows or\r\n2. "
    "Delete existing rows for %s and re-enter hours.");

// The fields of the transaction dialog that a check can name.
enum class EntryField { None, Date, Start, End, Total, Tree };

// The change flags of one opening of the dialog.
namespace entryflag {
inline constexpr int kDescriptionFromItem = 1; // the description was filled in from a level item
inline constexpr int kTimesChanged = 2;        // the date, the start or the end was changed
inline constexpr int kDurationMode = 4;        // a total was typed: the placement decides the times
} // namespace entryflag

// What the user entered, as the checks see it.
struct EntryValues {
    TimeValue date;
    TimeValue start;
    TimeValue end;
    bool durationMode = false;
    // The tree selection: whether an item is selected at all, and whether it has children (a
    // level-1 item with level-2 items under it stands for no level-2 item).
    bool hasSelection = false;
    bool selectionHasChildren = false;
};

// What the entered values are checked against.
struct EntryContext {
    TimeValue rangeFrom; // the dates the time sheet shows
    TimeValue rangeTo;
    TimeValue now;                        // the current date and time
    const Transaction* running = nullptr; // the running transaction while tracking, else nullptr
    std::string level1Title;
    std::string level2Title;
};

// The first check that failed: the control that takes the focus, the message, and the value put
// back into a field so that the next OK checks again. `field` is None when no value is put back
// (the tree); it can differ from `focus` (an overlap with the running transaction focuses the start
// but may correct the end).
struct EntryRefusal {
    EntryField focus = EntryField::None;
    EntryField field = EntryField::None;
    TimeValue value;
    std::string message;
};

// The checks made on OK after the fields' own validation, in their order: the date inside the
// range, not after today; then, unless in duration mode, start before end, no overlap with the
// running transaction (an end equal to its start is allowed), nothing later than the current minute
// today; last a level-2 item selected. Nothing when all pass.
std::optional<EntryRefusal> checkEntry(const EntryValues& values, const EntryContext& context);

// An accepted entry to be put into the store.
struct EntryCommitRequest {
    bool addMode = false;
    // Edit mode: the stored transaction that was edited.
    const Transaction* edited = nullptr;
    // The dialog's working copy: everything the transaction is to hold.
    Transaction workingCopy;
    int changeFlags = 0;
    // The total typed in duration mode; its hours and minutes are placed.
    TimeValue duration;
    // Where a duration goes in an empty day (the "My day starts at" preference).
    TimeValue dayStart;
};

// What the commit did, for the time sheet to update its rows.
struct EntryCommit {
    // The transaction as it is stored now (in edit mode at the address it had), or nullptr when
    // the edited transaction is not in the store.
    const Transaction* stored = nullptr;
    TimeValue oldDate;
    TimeValue newDate;
    // The transaction was put into the list (added, or moved because its date or times changed):
    // its row must be inserted or moved.
    bool placedAgain = false;
    bool added = false;
    // Duration mode only: where the placement went. After a failed placement in edit mode the
    // stored transaction is the edited one, unchanged.
    PlaceResult placement = PlaceResult::Placed;
};

// Puts the accepted entry into the store: in add mode a new transaction, in edit mode the edited
// one changed in place or moved to its new place, keeping its address. In duration mode the working
// copy is placed into its day from 0:00 with the day start proposed; a placement that fails is
// reported through the prompter and, in add mode, stored with zero length, which the day check
// marks in error. In edit mode a failed placement leaves the edited transaction as it was, so that
// the times it held are never lost. The error mark is cleared before storing; the old and the new
// day are marked again. Touches only those two days, whatever the size of the store.
EntryCommit commitEntry(TransactionStore& store, const EntryCommitRequest& request,
                        Prompter& prompter);

} // namespace vsolo
