#pragma once

// The texts of the exchange with the central server that the user sees or that travel in the
// messages, in one place for the tracker's windows and for vsolo-cli.

#include "core/base/usertext.h"

namespace vsolo::remote::text {

// Mail cannot be used (61215) and the logon failed (61214), for sending and for the updates.
inline constexpr const char* kMailUnusable =
    VSOLO_TR("There was a problem initializing MAPI, you may not have a MAPI compliant e-mail "
             "application.");
inline constexpr const char* kLogonFailed = VSOLO_TR(
    "There was an error logging on to the MAPI compliant e-mail application.  Check to see that "
    "you have a MAPI compliant e-mail application installed, and you are using the correct logon "
    "profile.");

// Sending the time sheet.
inline constexpr const char* kNothingToSend = VSOLO_TR("Nothing to send."); // 338
inline constexpr const char* kKeepCopyQuestion =                            // 257
    VSOLO_TR("I want to keep a COPY of my time sheet\r\n\r\nYES will keep a copy of your time "
             "sheet.  You cannot edit transmitted time sheets but you can view / print "
             "reports.\r\n\r\nNO will delete your copy of the time sheet.");
inline constexpr const char* kTimeSheetSubject = VSOLO_FIXED("Transaction file");
inline constexpr const char* kTimeSheetMessageType = VSOLO_FIXED("Transaction file");

// The advisory dialog before sending: its caption, its heading (the two limits "%#h:%m" in
// place of the two "%s"), its list's columns (256), its question and buttons.
inline constexpr const char* kAdvisoryCaption = VSOLO_TR("Veltimo Solo");
inline constexpr const char* kAdvisoryHeading =
    VSOLO_TR("The following days have less than %s or more than %s hours:");
//: Two column titles separated by a tab.
inline constexpr const char* kAdvisoryColumns = VSOLO_TR("Date\tHours");
inline constexpr const char* kAdvisoryQuestion = VSOLO_TR("Edit before sending?");
inline constexpr const char* kAdvisoryYes = VSOLO_TR("&Yes");
inline constexpr const char* kAdvisoryNo = VSOLO_TR("&No");
inline constexpr const char* kAdvisoryCancel = VSOLO_TR("Cancel");

// The program's own refusals and failures of a send; nothing was sent or changed.
inline constexpr const char* kRangeTooLong = VSOLO_TR(
    "The time sheet of this date range is too long to be sent in one message. Please choose a "
    "shorter date range.");
inline constexpr const char* kUnsendableText = VSOLO_TR(
    "A description or the template's name holds a control character that the time sheet message "
    "cannot carry. Please correct it before sending.");
inline constexpr const char* kMailSendFailed =
    VSOLO_TR("The time sheet could not be sent by e-mail. Your time sheet is unchanged.");
inline constexpr const char* kHandOffFailed = VSOLO_TR(
    "The time sheet could not be written to the hand-off files. Your time sheet is unchanged.");
inline constexpr const char* kNotManaged =
    VSOLO_TR("This template is not managed by Veltimo Hub; its time sheet cannot be sent.");

} // namespace vsolo::remote::text

namespace vsolo::remote::text {

// Assignment updates: the message types, and why an update was not used (the template is as it
// was and the message stays in the mailbox).
inline constexpr const char* kTreeUpdateType = VSOLO_FIXED("Assignment Update 4.0");
inline constexpr const char* kLegacyUpdateType = VSOLO_FIXED("Assignment Update 2.0");
inline constexpr const char* kUpdateUnreadable =
    VSOLO_TR("The assignment update could not be read; the template is unchanged.");
inline constexpr const char* kUpdateCountMismatch = VSOLO_TR(
    "The assignment update is incomplete: its record count does not match its records. The "
    "template is unchanged.");
inline constexpr const char* kUpdateBadNumber =
    VSOLO_TR("The assignment update holds a number that is not valid. The template is unchanged.");
inline constexpr const char* kUpdateDuplicateKey =
    VSOLO_TR("The assignment update lists the same item twice. The template is unchanged.");
inline constexpr const char* kUpdateNoLevel1 =
    VSOLO_TR("The assignment update holds an item whose group has no level-1 item. The template is "
             "unchanged.");
inline constexpr const char* kUpdateNoParent = VSOLO_TR(
    "The assignment update holds an item whose parent is not in its group. The template is "
    "unchanged.");
inline constexpr const char* kUpdateRemovesTracked = VSOLO_TR(
    "The assignment update removes the item being tracked; it is applied when tracking has "
    "stopped. The template is unchanged.");
// An update whose level-1 targets added up to more than 100% was applied with some of them
// reduced; one line kReducedTargetLine follows for each.
inline constexpr const char* kUpdateTargetsReduced = VSOLO_TR(
    "The targets of the assignment update added up to more than 100%. These targets were reduced "
    "so that they add up to 100%:");
// An update was applied with texts that the template's files could not hold as written stored
// fitted to them; one line follows for each such text.
inline constexpr const char* kUpdateTextsFitted = VSOLO_TR(
    "The assignment update was applied, but some of its texts did not fit the files of this "
    "template. They were shortened, and characters the files cannot store were replaced by \"?\":");
// %1 the item's level title, %2 its name as the update gave it, %3 as it was stored.
inline constexpr const char* kFittedNameLine = VSOLO_TR("%1 \"%2\" is now \"%3\"");
// %1 the item's level title, %2 its name, %3 its description as it was stored.
inline constexpr const char* kFittedDescriptionLine =
    VSOLO_TR("%1 \"%2\": the description is now \"%3\"");
// %1 the item's level title, %2 its name.
inline constexpr const char* kFittedThirdTextLine =
    VSOLO_TR("%1 \"%2\": the third text, which is not shown, was shortened");
// Messages of the update type that could not be read were passed over; a line
// kUnreadableUpdateLine follows for each. The second has their number for its "%s".
inline constexpr const char* kUpdateUnreadableLeft = VSOLO_TR(
    "A message in the mailbox that is marked as an assignment update could not be read. It was "
    "left in the mailbox and not applied:");
inline constexpr const char* kUpdatesUnreadableLeft = VSOLO_TR(
    "%s messages in the mailbox that are marked as assignment updates could not be read. They "
    "were left in the mailbox and not applied:");
// %1 the item's name, %2 its target as the update gave it, %3 as it was reduced to.
inline constexpr const char* kReducedTargetLine = VSOLO_TR("%1: %2%% to %3%%");
// %1 the sender, %2 the date the message was received, %3 its subject; the two texts after it
// stand for a sender or date the message does not give.
inline constexpr const char* kUnreadableUpdateLine =
    VSOLO_TR("From %1, received %2, subject \"%3\"");
inline constexpr const char* kUnknownSender = VSOLO_TR("an unknown sender");
inline constexpr const char* kUnknownReceived = VSOLO_TR("at an unknown time");
// A refused update the user chose to delete could not be deleted.
inline constexpr const char* kUpdateNotDeleted =
    VSOLO_TR("The assignment update could not be deleted from the mailbox; it stays there.");
// Making an update for the central server's stand-in.
inline constexpr const char* kUpdateTextUnsendable = VSOLO_TR(
    "A name, description or the resource name holds characters that an assignment update cannot "
    "carry (line breaks, \"||\" or control characters).");
inline constexpr const char* kUpdateTooLarge =
    VSOLO_TR("The template has too many items for one assignment update.");

} // namespace vsolo::remote::text

namespace vsolo::remote::text {

// An address of the e-mail settings that the mail bridge would not send to: the setting's label
// in Preferences and the address as written in place of the "%s". Nothing was sent or changed.
inline constexpr const char* kSenderAddressLabel = VSOLO_TR("From Address");
inline constexpr const char* kReceiverAddressLabel = VSOLO_TR("To Address");
inline constexpr const char* kAddressInvalid = VSOLO_TR(
    "The %s in Preferences (Remote Options), \"%s\", is not one e-mail address. Please write it "
    "as name@example.org or as Name <name@example.org>. Nothing was sent; your time sheet is "
    "unchanged.");
inline constexpr const char* kAddressMissing = VSOLO_TR(
    "The %s in Preferences (Remote Options) is empty. Please enter an e-mail address such as "
    "name@example.org. Nothing was sent; your time sheet is unchanged.");
// After the text of a failed logon (61214), when the mail bridge said why in place of the "%s".
inline constexpr const char* kLogonCause = VSOLO_TR("\r\n\r\nThe mail bridge gives the cause: %s.");

} // namespace vsolo::remote::text
