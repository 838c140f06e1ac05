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

struct AssignmentResult {
    enum class Outcome {
        // An update was applied and the template saved: `received`, `deleted`.
        Applied,
        // No update for the template in the mailbox; `deleted` is 0.
        NoUpdate,
        // 61215: mail cannot be used.
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
    // The received date text of the update used (Applied, Refused, WaitForTracking, NotSaved).
    std::string received;
    // Messages deleted from the mailbox: the superseded updates and, once applied, the used one.
    int deleted = 0;
    std::string reason;
    FileResult saveResult;

    // Whether the mailbox was searched (every outcome but MailUnusable and LogonFailed).
    bool searched() const {
        return outcome != Outcome::MailUnusable && outcome != Outcome::LogonFailed;
    }
};

// Searches with the profile and password (logon without asking the user), applies the newest
// update for the template's base name (compared without regard to case) to `file`, and writes
// the template to its path. Messages for other resource names are never touched. An update
// whose records are not a consistent set of items (a level-2 item whose group has no level-1
// item, a parent sub-id that names no item of its group, a key given twice, a record count that
// does not match the records) is refused and changes nothing. When `tracker` is tracking an item
// that the update would remove, nothing changes until tracking stops. The new lists are built
// apart and take the place of the template's lists only when the whole update is accepted. Does
// not look at the managed flag or the settings: the caller decides whether to check.
AssignmentResult checkAssignments(MailPort& port, TemplateFile& file, const Tracker* tracker,
                                  const std::string& profile, const std::string& password);

// Applies one parsed update body to the file's lists, without mail and without saving: empty
// when accepted (the lists then hold the update), else the reason (the lists unchanged). A
// non-null `wouldRemoveTracked` is set when the refusal is for the tracked item.
std::string applyAssignmentUpdate(TemplateFile& file, const BodyTable& table,
                                  const Tracker* tracker, bool* wouldRemoveTracked = nullptr);

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
