#pragma once

// The texts of the exchange with the central server that the user sees or that travel in the
// messages, in one place for the tracker's windows and for vsolo-cli.

#include <string_view>

namespace vsolo::remote::text {

// Mail cannot be used (61215) and the logon failed (61214), for sending and for the updates.
inline constexpr std::string_view kMailUnusable =
    "There was a problem initializing MAPI, you may not have a MAPI compliant e-mail "
    "application.";
inline constexpr std::string_view kLogonFailed =
    "There was an error logging on to the MAPI compliant e-mail application.  Check to see that "
    "you have a MAPI compliant e-mail application installed, and you are using the correct logon "
    "profile.";

// Sending the time sheet.
inline constexpr std::string_view kNothingToSend = "Nothing to send."; // 338
inline constexpr std::string_view kKeepCopyQuestion =                  // 257
    "I want to keep a COPY of my time sheet\r\n\r\nYES will keep a copy of your time sheet.  You "
    "cannot edit transmitted time sheets but you can view / print reports.\r\n\r\nNO will delete "
    "your copy of the time sheet.";
inline constexpr std::string_view kTimeSheetSubject = "Transaction file";
inline constexpr std::string_view kTimeSheetMessageType = "Transaction file";

// The advisory dialog before sending: its caption, its heading (the two limits "%#h:%m" in
// place of the two "%s"), its list's columns (256), its question and buttons.
inline constexpr std::string_view kAdvisoryCaption = "Veltimo Solo";
inline constexpr std::string_view kAdvisoryHeading =
    "The following days have less than %s or more than %s hours:";
inline constexpr std::string_view kAdvisoryColumns = "Date\tHours";
inline constexpr std::string_view kAdvisoryQuestion = "Edit before sending?";
inline constexpr std::string_view kAdvisoryYes = "&Yes";
inline constexpr std::string_view kAdvisoryNo = "&No";
inline constexpr std::string_view kAdvisoryCancel = "Cancel";

// The program's own refusals and failures of a send; nothing was sent or changed.
inline constexpr std::string_view kRangeTooLong =
    "The time sheet of this date range is too long to be sent in one message. Please choose a "
    "shorter date range.";
inline constexpr std::string_view kUnsendableText =
    "A description or the template's name holds a control character that the time sheet message "
    "cannot carry. Please correct it before sending.";
inline constexpr std::string_view kMailSendFailed =
    "The time sheet could not be sent by e-mail. Your time sheet is unchanged.";
inline constexpr std::string_view kHandOffFailed =
    "The time sheet could not be written to the hand-off files. Your time sheet is unchanged.";
inline constexpr std::string_view kNotManaged =
    "This template is not managed by Veltimo Hub; its time sheet cannot be sent.";

} // namespace vsolo::remote::text

namespace vsolo::remote::text {

// Assignment updates: the message types, and why an update was not used (the template is as it
// was and the message stays in the mailbox).
inline constexpr std::string_view kTreeUpdateType = "Assignment Update 4.0";
inline constexpr std::string_view kLegacyUpdateType = "Assignment Update 2.0";
inline constexpr std::string_view kUpdateUnreadable =
    "The assignment update could not be read; the template is unchanged.";
inline constexpr std::string_view kUpdateCountMismatch =
    "The assignment update is incomplete: its record count does not match its records. The "
    "template is unchanged.";
inline constexpr std::string_view kUpdateBadNumber =
    "The assignment update holds a number that is not valid. The template is unchanged.";
inline constexpr std::string_view kUpdateDuplicateKey =
    "The assignment update lists the same item twice. The template is unchanged.";
inline constexpr std::string_view kUpdateNoLevel1 =
    "The assignment update holds an item whose group has no level-1 item. The template is "
    "unchanged.";
inline constexpr std::string_view kUpdateNoParent =
    "The assignment update holds an item whose parent is not in its group. The template is "
    "unchanged.";
inline constexpr std::string_view kUpdateRemovesTracked =
    "The assignment update removes the item being tracked; it is applied when tracking has "
    "stopped. The template is unchanged.";
// An update whose level-1 targets added up to more than 100% was applied with some of them
// reduced; one line "NAME: FROM% to TO%" follows for each.
inline constexpr std::string_view kUpdateTargetsReduced =
    "The targets of the assignment update added up to more than 100%. These targets were reduced "
    "so that they add up to 100%:";
// Messages of the update type that could not be read were passed over; a line "From SENDER,
// received DATE, subject "SUBJECT"" follows for each. The second has their number for its "%s".
inline constexpr std::string_view kUpdateUnreadableLeft =
    "A message in the mailbox that is marked as an assignment update could not be read. It was "
    "left in the mailbox and not applied:";
inline constexpr std::string_view kUpdatesUnreadableLeft =
    "%s messages in the mailbox that are marked as assignment updates could not be read. They "
    "were left in the mailbox and not applied:";
// A refused update the user chose to delete could not be deleted.
inline constexpr std::string_view kUpdateNotDeleted =
    "The assignment update could not be deleted from the mailbox; it stays there.";
// Making an update for the central server's stand-in.
inline constexpr std::string_view kUpdateTextUnsendable =
    "A name, description or the resource name holds characters that an assignment update cannot "
    "carry (line breaks, \"||\" or control characters).";
inline constexpr std::string_view kUpdateTooLarge =
    "The template has too many items for one assignment update.";

} // namespace vsolo::remote::text

namespace vsolo::remote::text {

// An address of the e-mail settings that the mail bridge would not send to: the setting's label
// in Preferences and the address as written in place of the "%s". Nothing was sent or changed.
inline constexpr std::string_view kSenderAddressLabel = "From Address";
inline constexpr std::string_view kReceiverAddressLabel = "To Address";
inline constexpr std::string_view kAddressInvalid =
    "The %s in Preferences (Remote Options), \"%s\", is not one e-mail address. Please write it "
    "as name@example.org or as Name <name@example.org>. Nothing was sent; your time sheet is "
    "unchanged.";
inline constexpr std::string_view kAddressMissing =
    "The %s in Preferences (Remote Options) is empty. Please enter an e-mail address such as "
    "name@example.org. Nothing was sent; your time sheet is unchanged.";
// After the text of a failed logon (61214), when the mail bridge said why in place of the "%s".
inline constexpr std::string_view kLogonCause = "\r\n\r\nThe mail bridge gives the cause: %s.";

} // namespace vsolo::remote::text
