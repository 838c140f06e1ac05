#include "core/remote/timesheetsend.h"

#include "core/base/datetext.h"
#include "core/base/faultinjection.h"
#include "core/base/placeholders.h"
#include "core/remote/remotetexts.h"
#include "core/settings.h"
#include "mailbridge/parse/mailaddress.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace vsolo::remote {

namespace {

constexpr std::string_view kSeparator = "\x01\x01";
constexpr std::string_view kColumnEnd = "||";

// The limits are kept as times of day and count as hours and minutes only.
std::int64_t wholeMinutes(TimeValue limit) {
    return std::int64_t{limit.seconds()} / TimeValue::kMinute * TimeValue::kMinute;
}

// A text whose 0x01 would end its record early (with the SOH of the record's end) or whose 0x02
// would come back as a space cannot travel in the body.
bool carriable(std::string_view text) {
    return text.find_first_of("\x01\x02") == std::string_view::npos;
}

} // namespace

bool hasSomethingToSend(const TransactionStore& store, TransactionStore::DayRange range) {
    if (range.empty()) {
        return false;
    }
    for (int i = range.first; i <= range.last; ++i) {
        if (store.day(static_cast<std::size_t>(i))->countUnsent() > 0) {
            return true;
        }
    }
    return false;
}

std::vector<AdvisedDay> advisedDays(const TransactionStore& store, TransactionStore::DayRange range,
                                    TimeValue minimum, TimeValue maximum) {
    std::vector<AdvisedDay> advised;
    const std::int64_t low = wholeMinutes(minimum);
    const std::int64_t high = wholeMinutes(maximum);
    if (range.empty() || (low == 0 && high == 0)) {
        return advised;
    }
    for (int i = range.first; i <= range.last; ++i) {
        const Day* day = store.day(static_cast<std::size_t>(i));
        if (day->countUnsent() == 0) {
            continue;
        }
        const std::int64_t total = day->total();
        if (total < low || total > high) {
            advised.push_back({day->date(), total});
        }
    }
    // The store keeps its days in date order already; the dialog's order does not rest on it.
    std::stable_sort(advised.begin(), advised.end(),
                     [](const AdvisedDay& a, const AdvisedDay& b) { return a.date < b.date; });
    return advised;
}

std::string advisoryHeading(TimeValue minimum, TimeValue maximum) {
    return fillPlaceholders(tx(text::kAdvisoryHeading),
                            {formatDuration(wholeMinutes(minimum), kDurationDayHours),
                             formatDuration(wholeMinutes(maximum), kDurationDayHours)});
}

std::string advisedDateText(const AdvisedDay& day) {
    return day.date.longDate();
}

std::string advisedHoursText(const AdvisedDay& day) {
    return formatDuration(day.total, kDurationDayHours);
}

std::vector<const Transaction*> unsentTransactions(const TransactionStore& store,
                                                   TransactionStore::DayRange range) {
    std::vector<const Transaction*> unsent;
    if (range.empty()) {
        return unsent;
    }
    for (int i = range.first; i <= range.last; ++i) {
        for (const Transaction& t : store.day(static_cast<std::size_t>(i))->transactions()) {
            if (!t.isSent()) {
                unsent.push_back(&t);
            }
        }
    }
    return unsent;
}

BodyResult timeSheetBody(const std::string& resourceName,
                         const std::vector<const Transaction*>& transactions) {
    BodyResult result;
    if (!carriable(resourceName)) {
        result.outcome = BodyResult::Outcome::UnsendableText;
        return result;
    }
    std::string& body = result.body;
    body.append(resourceName).append(kSeparator);
    body.append(std::to_string(transactions.size())).append(kSeparator);
    for (const Transaction* t : transactions) {
        if (!carriable(t->description())) {
            result.outcome = BodyResult::Outcome::UnsendableText;
            result.body.clear();
            return result;
        }
        body.append(fixedDateText(t->date())).append(kColumnEnd);
        body.append(fixedTimeText(t->start())).append(kColumnEnd);
        body.append(fixedTimeText(t->end())).append(kColumnEnd);
        body.append(std::to_string(t->level1Key())).append(kColumnEnd);
        body.append(std::to_string(t->level2Key())).append(kColumnEnd);
        body.append(t->description()).append(kSeparator);
        if (body.size() > kMaxBodyBytes) {
            result.outcome = BodyResult::Outcome::TooLong;
            result.body.clear();
            return result;
        }
    }
    if (body.size() > kMaxBodyBytes) {
        result.outcome = BodyResult::Outcome::TooLong;
        result.body.clear();
        return result;
    }
    std::replace(body.begin(), body.end(), ' ', '\x02');
    return result;
}

SendSettings sendSettingsFrom(const Settings& settings, bool askUser) {
    SendSettings how;
    how.byMail = settings.remote();
    how.profile = settings.mapiLogon();
    how.password = settings.mapiPassword();
    how.sender = settings.senderAddress();
    how.receiver = settings.receiverAddress();
    how.askUser = askUser;
    return how;
}

namespace {

SendResult sendByMail(const std::string& body, const SendSettings& how, MailPort& port) {
    SendResult result;
    if (!port.init()) {
        result.outcome = SendResult::Outcome::MailUnusable;
        result.unusableText = mailUnusableText(port);
        return result;
    }
    const unsigned long logon = port.logon(how.profile, how.password, how.askUser);
    if (logon != kMailSuccess) {
        result.logonCause = port.failureCause();
        port.deinit();
        result.outcome = SendResult::Outcome::LogonFailed;
        result.mailCode = logon;
        return result;
    }
    result.mailCode = port.send(std::string(text::kTimeSheetSubject), body,
                                std::string(text::kTimeSheetMessageType), how.sender, how.receiver);
    port.logoff();
    port.deinit();
    result.outcome = result.mailCode == kMailSuccess ? SendResult::Outcome::Sent
                                                     : SendResult::Outcome::MailFailed;
    return result;
}

} // namespace

// The addresses go to the mail bridge as the settings hold them, and the bridge sends only to an
// address it can take exactly, by the same rule: one it would refuse is named with its setting.
std::optional<SendResult> refusedAddress(const SendSettings& how) {
    if (!how.byMail) {
        return std::nullopt;
    }
    for (const auto& [label, address] : {std::pair{text::kSenderAddressLabel, &how.sender},
                                         std::pair{text::kReceiverAddressLabel, &how.receiver}}) {
        if (!mail::parseMailAddress(*address)) {
            SendResult result;
            result.outcome = SendResult::Outcome::InvalidAddress;
            result.refusedSetting = tx(label);
            result.refusedAddress = *address;
            return result;
        }
    }
    return std::nullopt;
}

SendResult sendTimeSheet(TemplateFile& file, TimeValue from, TimeValue to, const SendSettings& how,
                         MailPort& port) {
    const TransactionStore::DayRange range = file.store().dayRange(from, to);
    const std::vector<const Transaction*> unsent = unsentTransactions(file.store(), range);
    SendResult result;
    if (unsent.empty()) {
        result.outcome = SendResult::Outcome::NothingToSend;
        return result;
    }
    if (how.byMail) {
        if (std::optional<SendResult> refused = refusedAddress(how)) {
            return std::move(*refused);
        }
        BodyResult body = timeSheetBody(file.baseName(), unsent);
        if (body.outcome == BodyResult::Outcome::TooLong) {
            result.outcome = SendResult::Outcome::TooLong;
            return result;
        }
        if (body.outcome == BodyResult::Outcome::UnsendableText) {
            result.outcome = SendResult::Outcome::UnsendableText;
            return result;
        }
        result = sendByMail(body.body, how, port);
    } else {
        result.file = file.appendHandOff(unsent);
        result.outcome =
            result.file ? SendResult::Outcome::Sent : SendResult::Outcome::HandOffFailed;
    }
    if (result.wentThrough()) {
        result.sent = unsent.size();
    }
    return result;
}

std::string sendResultText(const SendResult& result) {
    switch (result.outcome) {
    case SendResult::Outcome::Sent:
        return {};
    case SendResult::Outcome::NothingToSend:
        return tx(text::kNothingToSend);
    case SendResult::Outcome::InvalidAddress:
        if (result.refusedAddress.find_first_not_of(" \t") == std::string::npos) {
            return fillPlaceholders(tx(text::kAddressMissing), {result.refusedSetting});
        }
        return fillPlaceholders(tx(text::kAddressInvalid),
                                {result.refusedSetting, result.refusedAddress});
    case SendResult::Outcome::TooLong:
        return tx(text::kRangeTooLong);
    case SendResult::Outcome::UnsendableText:
        return tx(text::kUnsendableText);
    case SendResult::Outcome::MailUnusable:
        return result.unusableText;
    case SendResult::Outcome::LogonFailed:
        return tx(text::kLogonFailed) +
               (result.logonCause.empty()
                    ? ""
                    : fillPlaceholders(tx(text::kLogonCause), {result.logonCause}));
    case SendResult::Outcome::MailFailed:
        return tx(text::kMailSendFailed);
    case SendResult::Outcome::HandOffFailed:
        return tx(text::kHandOffFailed);
    }
    return {};
}

FileResult finishSend(TemplateFile& file, TimeValue from, TimeValue to, AfterSend after) {
    faults::pauseAt(faults::Step::HandedOver, file.transactionPath());
    TransactionStore& store = file.store();
    const TransactionStore::DayRange range = store.dayRange(from, to);
    if (!range.empty()) {
        if (after == AfterSend::Keep) {
            for (int i = range.first; i <= range.last; ++i) {
                store.day(static_cast<std::size_t>(i))->markSent();
            }
        } else {
            // From the last day back, so that the places of the days still to go stay put.
            for (int i = range.last; i >= range.first; --i) {
                store.removeDay(store.day(static_cast<std::size_t>(i)));
            }
        }
    }
    return file.saveTransactions();
}

} // namespace vsolo::remote
