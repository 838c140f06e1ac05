#pragma once

// Assignment updates: the central server's messages that replace a managed template's level
// lists. The check searches the mailbox for the newest update addressed to the template, applies
// it to the lists, saves the template and removes the used and the superseded messages. Nothing
// is shown to the user here: the result tells what happened and the caller presents it.

#include "core/base/fileresult.h"
#include "core/model/templatefile.h"
#include "core/remote/mailport.h"

#include <optional>
#include <string>
#include <vector>

namespace vsolo {

class Tracker;

namespace remote {

// The message type of the updates for the template: "Assignment Update 4.0" for a version-4
// template, "Assignment Update 2.0" for any older one.
std::string assignmentMessageType(const TemplateFile& file);

// The columns of a record of each kind of update.
inline constexpr int kLegacyUpdateColumns = 6;
inline constexpr int kTreeUpdateColumns = 10;

// The received date of a message ("YYYY/MM/DD HH:MM", read by character positions) in seconds
// since 1 January 1970 0:00, taken as written (no time zone is applied: only the order counts);
// nothing when the text is too short or its digits are not a date and time.
std::optional<long long> receivedTime(const std::string& dateText);

// A level-1 target that an update brought past 100% in total, and what it was made.
struct ReducedTarget {
    std::string name;
    int from = 0;
    int to = 0;
    bool operator==(const ReducedTarget&) const = default;
};

// A text of an item the update brought that the template's files could not hold as the server
// wrote it. It is stored fitted to them (see fittedText): the user cannot change it, and an update
// that could not be saved would fail at every check.
struct FittedText {
    std::string level; // the item's level as the user is told it (shownLevelTitle)
    LevelText which = LevelText::Name;
    std::string name; // the item's name as stored
    std::string was;
    std::string now;
    bool operator==(const FittedText&) const = default;
};

// A message of the update type that could not be read and was left in the mailbox, as its
// header gives it (a field it does not give is empty).
struct UnreadableUpdate {
    std::string sender;
    std::string received;
    std::string subject;
    bool operator==(const UnreadableUpdate&) const = default;
};

struct AssignmentResult {
    enum class Outcome {
        // An update was applied and the template saved: `received`, `deleted`.
        Applied,
        // No update for the template in the mailbox; `deleted` is 0.
        NoUpdate,
        // 61215: mail cannot be used; `reason` is what the user is told (mailUnusableText).
        MailUnusable,
        // 61214: the logon failed.
        LogonFailed,
        // The newest update was not used: `reason` (a message for the user) says why; the
        // template is as it was and the message stays. `deleted` counts superseded messages.
        Refused,
        // The update would remove the item being tracked: nothing changed, the message stays
        // until tracking has stopped. `deleted` counts superseded messages.
        WaitForTracking,
        // The template could not be written: `saveResult`. The lists are as they were read and
        // the message stays, so that the update is applied next time.
        NotSaved,
    };
    Outcome outcome = Outcome::NoUpdate;
    // The received date text and the identifier of the update used (Applied, Refused,
    // WaitForTracking, NotSaved).
    std::string received;
    std::string updateId;
    // Messages deleted from the mailbox: the superseded updates and, once applied, the used one.
    int deleted = 0;
    std::string reason;
    FileResult saveResult;
    // Applied: the targets made smaller so that the level-1 targets add up to at most 100%.
    std::vector<ReducedTarget> reducedTargets;
    // Applied: the texts stored other than the update wrote them.
    std::vector<FittedText> fittedTexts;
    // The messages of the type that could not be read, whatever the outcome of the search; they
    // are passed over, never deleted.
    std::vector<UnreadableUpdate> unreadable;

    // Whether the mailbox was searched (every outcome but MailUnusable and LogonFailed).
    bool searched() const {
        return outcome != Outcome::MailUnusable && outcome != Outcome::LogonFailed;
    }
};

// Searches with the profile and password (logon without asking the user), applies the newest
// update for the template's base name (compared without regard to case) to `file`, and writes
// the template to its path. Messages for other resource names are never touched, nor are
// messages that cannot be read: the search passes over them, without the library's error box,
// and lists them in `unreadable`, so that one such message cannot hold back a newer update. An
// update whose records are not a consistent set of items (a level-2 item whose group has no
// level-1 item, a parent sub-id that names no item of its group, a key given twice, a record
// count that does not match the records) is refused and changes nothing; one whose level-1
// targets add up to more than 100% is applied with targets reduced (see applyAssignmentUpdate),
// and `reducedTargets` lists them; so is one whose texts the template's files cannot hold as they
// are, with the texts fitted and listed in `fittedTexts`. When `tracker` is tracking an item that
// the update would remove, nothing changes until tracking stops. The new lists are built apart and
// take the place of the template's lists only when the whole update is accepted. Does not look at
// the managed flag or the settings: the caller decides whether to check.
AssignmentResult checkAssignments(MailPort& port, TemplateFile& file, const Tracker* tracker,
                                  const std::string& profile, const std::string& password);

// What applying one update body did: an empty `reason` when it was accepted.
struct UpdateApplied {
    std::string reason;
    // The refusal is for the item being tracked.
    bool removesTracked = false;
    std::vector<ReducedTarget> reducedTargets;
    std::vector<FittedText> fittedTexts;
};

// Applies one parsed update body to the file's lists, without mail and without saving. Accepted,
// the lists hold the update with the level-1 targets held to 100% in total as the level editor
// holds them (each item keeps at most what the items before it leave), and the texts of the items
// it brought fitted to what the template's files hold. Refused, the lists are unchanged.
UpdateApplied applyAssignmentUpdate(TemplateFile& file, const BodyTable& table,
                                    const Tracker* tracker);

// What the user is told, once for a search, of the messages it passed over; "" for none.
std::string unreadableUpdatesText(const std::vector<UnreadableUpdate>& unreadable);

// What the user is told of the reduced targets; "" for none.
std::string reducedTargetsText(const std::vector<ReducedTarget>& reduced);

// What the user is told of the fitted texts, once, after the update was applied; "" for none.
std::string fittedTextsText(const std::vector<FittedText>& fitted);

// Deletes an update that a check refused (its `updateId`) from the mailbox, in a session of its
// own, for a user who chose to discard it. Only ever called at the user's word.
enum class DiscardOutcome { Deleted, MailUnusable, LogonFailed, NotDeleted };
DiscardOutcome discardAssignmentUpdate(MailPort& port, const std::string& updateId,
                                       const std::string& profile, const std::string& password);
// The text for an outcome other than Deleted ("" for Deleted).
std::string discardOutcomeText(DiscardOutcome outcome);

// The other direction, for the central server's stand-in: the body of an update that lists the
// template's items for the resource name. Version 4: one record per level item (level 1 first),
// the ten columns; older: one record per assigned (level-1, level-2) pair, the six columns.
// Spaces are sent as 0x02. Refused (false, `reason` set) when a text holds what the body cannot
// carry (a 0x01 0x01 pair, "||", a line break or a 0x02 byte) or when the records would pass
// kMaxUpdateCells cells, the most the mail bridge's parse takes.
inline constexpr int kMaxUpdateCells = 30000;
bool makeAssignmentUpdateBody(const TemplateFile& file, const std::string& resourceName,
                              std::string& body, std::string& reason);

} // namespace remote
} // namespace vsolo
