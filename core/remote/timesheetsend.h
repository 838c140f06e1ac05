#pragma once

// Sending the time sheet to the central server: by e-mail through the mail bridge or by
// appending it to the hand-off files beside the template. Nothing is shown here: the functions
// return what happened and the caller (the tracker's windows, vsolo-cli) presents it.
//
// The order of a send, for a template whose transactions the caller has loaded:
//   1. store().dayRange(from, to) — empty, or hasSomethingToSend() false: "Nothing to send.",
//      release the store unsaved;
//   2. refusedAddress() — an address of the settings that cannot be sent to: its text, release
//      the store unsaved;
//   3. advisedDays() — shown in the advisory dialog when there are any;
//   4. sendTimeSheet() — hands the whole time sheet over, or fails changing nothing;
//   5. only when it was Sent: ask the keep-a-copy question, then finishSend() marks or deletes
//      the range's days and saves the transaction file.

#include "core/base/fileresult.h"
#include "core/base/timevalue.h"
#include "core/model/templatefile.h"
#include "core/model/transactions.h"
#include "core/remote/mailport.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo {

class Settings;

namespace remote {

// A day to be looked at before sending: its date and its total worked time in seconds.
struct AdvisedDay {
    TimeValue date;
    std::int64_t total = 0;
};

// Whether any day of the range holds an unsent transaction: when none, "Nothing to send.".
bool hasSomethingToSend(const TransactionStore& store, TransactionStore::DayRange range);

// The days of the range with at least one unsent transaction whose total is below `minimum` or
// above `maximum` (durations in hours and minutes), earliest first; none when both are 0:00.
std::vector<AdvisedDay> advisedDays(const TransactionStore& store, TransactionStore::DayRange range,
                                    TimeValue minimum, TimeValue maximum);
// The dialog's heading with both limits as "%#h:%m"; a row's date ("Sunday, March 7, 1999") and
// hours ("%#h:%m").
std::string advisoryHeading(TimeValue minimum, TimeValue maximum);
std::string advisedDateText(const AdvisedDay& day);
std::string advisedHoursText(const AdvisedDay& day);

// The unsent transactions of the range in store order.
std::vector<const Transaction*> unsentTransactions(const TransactionStore& store,
                                                   TransactionStore::DayRange range);

// The most a time-sheet message body may hold; a longer one is refused, never cut.
inline constexpr std::size_t kMaxBodyBytes = 50000;

// The message body: the resource name, SOH SOH, the count, SOH SOH, then per transaction
// "MM/DD/YYYY||HH:MM||HH:MM||level-1 key||level-2 key||description" and SOH SOH; then every
// space becomes 0x02. Texts go as they are held (UTF-8).
struct BodyResult {
    enum class Outcome {
        Built,
        // Longer than kMaxBodyBytes: no body.
        TooLong,
        // The resource name or a description holds a 0x01 or 0x02 byte, which would end a record
        // early or come back as a space: no body.
        UnsendableText,
    };
    Outcome outcome = Outcome::Built;
    std::string body;
};
BodyResult timeSheetBody(const std::string& resourceName,
                         const std::vector<const Transaction*>& transactions);

// How to send: by e-mail with the profile, password and addresses, or to the hand-off files.
// `askUser` lets the mail bridge ask for a missing password (the tracker's windows do; a command
// line does not).
struct SendSettings {
    bool byMail = false;
    std::string profile;
    std::string password;
    std::string sender;
    std::string receiver;
    bool askUser = true;
};
SendSettings sendSettingsFrom(const Settings& settings, bool askUser);

struct SendResult {
    enum class Outcome {
        // The whole time sheet was handed over: `sent` transactions. Now ask and finishSend().
        Sent,
        // No unsent transaction in the range: "Nothing to send.".
        NothingToSend,
        // The sender's or the receiver's address of the settings is not one e-mail address
        // (mail only): `refusedSetting` is its label in Preferences, `refusedAddress` the text.
        InvalidAddress,
        // The body would pass kMaxBodyBytes (mail only).
        TooLong,
        // A text the body cannot carry (mail only).
        UnsendableText,
        // 61215, or the reason the mail bridge gave: `unusableText`.
        MailUnusable,
        // 61214.
        LogonFailed,
        // The mail bridge refused the message: `mailCode` (the bridge has shown its own box).
        MailFailed,
        // A hand-off file refused the records: `file`; neither file was changed.
        HandOffFailed,
    };
    Outcome outcome = Outcome::NothingToSend;
    std::size_t sent = 0;
    unsigned long mailCode = 0;
    FileResult file;
    std::string_view refusedSetting;
    std::string refusedAddress;
    // LogonFailed: why, as the mail bridge said it ("" when it said nothing).
    std::string logonCause;
    std::string unusableText;

    bool wentThrough() const { return outcome == Outcome::Sent; }
};

// By e-mail, the sender's and the receiver's address must each be one address that the mail
// bridge sends to as written: the InvalidAddress result of the first that is not, else none. The
// callers ask before their advisory dialog, and sendTimeSheet asks again.
std::optional<SendResult> refusedAddress(const SendSettings& how);

// Hands the unsent transactions of [from, to] over. Nothing in the store or on disk (but the
// hand-off files, on success) changes: a failure leaves everything as it was. The template's
// transactions must be loaded.
SendResult sendTimeSheet(TemplateFile& file, TimeValue from, TimeValue to, const SendSettings& how,
                         MailPort& port);

// The texts of a result that is not Sent, for the caller to show ("" for Sent).
std::string sendResultText(const SendResult& result);

// After a send that went through: keep marks every transaction of the range's days sent, delete
// removes those days (sent ones too); then the transaction file is saved. The store stays
// loaded; the caller unloads it. A failed save leaves the file as it was and the store changed:
// the time sheet has gone, so the caller tells the user that the file does not show it yet.
enum class AfterSend { Keep, Delete };
FileResult finishSend(TemplateFile& file, TimeValue from, TimeValue to, AfterSend after);

} // namespace remote
} // namespace vsolo
