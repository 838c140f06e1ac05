#include "core/transactionentry.h"

#include "core/base/placeholders.h"

#include <memory>
#include <utility>

namespace vsolo {

namespace {

EntryRefusal refuse(EntryField focus, EntryField field, TimeValue value, std::string message) {
    return EntryRefusal{focus, field, value, std::move(message)};
}

// The checks that only apply while the start and end fields are in use.
std::optional<EntryRefusal> checkTimes(const EntryValues& values, const EntryContext& context) {
    if (values.end <= values.start) {
        return refuse(EntryField::Start, EntryField::Start, values.end, tx(kStartNotBeforeEndText));
    }
    if (context.running && values.date == context.running->date()) {
        const TimeValue runningStart = context.running->start();
        // Time after the running start is being tracked already; ending exactly where it started
        // touches it without overlapping.
        if (runningStart < values.start || runningStart < values.end) {
            const std::string message = fillPlaceholders(
                tx(kRunningOverlapText),
                {runningStart.clockTimeNoPad(), context.running->end().clockTimeNoPad()});
            const EntryField field =
                runningStart < values.start ? EntryField::Start : EntryField::End;
            return refuse(EntryField::Start, field, runningStart, message);
        }
    }
    if (values.date == context.now.datePart()) {
        // The current minute is the latest time that can have been worked; its seconds are not.
        const std::int32_t seconds = context.now.timeOfDay().seconds();
        const TimeValue minute(seconds - seconds % TimeValue::kMinute);
        if (minute < values.start || minute < values.end) {
            const EntryField field = minute < values.start ? EntryField::Start : EntryField::End;
            return refuse(field, field, minute,
                          fillPlaceholders(tx(kFutureTimeText), {minute.clockTimeNoPad()}));
        }
    }
    return std::nullopt;
}

void remarkDay(TransactionStore& store, TimeValue date) {
    const int index = store.indexOfDay(date);
    if (index >= 0) {
        store.markErrors({index, index});
    }
}

// The total's hours and minutes; a stray second or a negative value never reaches the placement.
TimeValue wholeMinutes(TimeValue duration) {
    const std::int32_t s = duration.seconds();
    return TimeValue(s <= 0 ? 0 : s - s % TimeValue::kMinute);
}

void reportPlacement(PlaceResult result, TimeValue date, Prompter& prompter) {
    if (result == PlaceResult::TooManyHours) {
        prompter.show(tx(kTooManyHoursText), Prompter::Icon::Warning);
    } else if (result == PlaceResult::NoRoom) {
        prompter.show(fillPlaceholders(tx(kNotEnoughRoomText), {date.longDate()}),
                      Prompter::Icon::Warning);
    }
}

// The values the transaction is to hold in duration mode: the times the placement found, or 0:00
// to 0:00 when it found none. The edited transaction is out of the store meanwhile, so that its
// own times neither count towards the day nor narrow its gaps.
PlaceResult placeWorkingCopy(TransactionStore& store, Transaction& value, TimeValue duration,
                             TimeValue dayStart) {
    value.setStart(TimeValue(0));
    value.setEnd(TimeValue(0));
    Transaction probe = value;
    probe.setStart(dayStart);
    // Without insertion the placement only looks at the day and never creates one.
    const PlaceResult result = store.placeDuration(probe, wholeMinutes(duration), false);
    if (result == PlaceResult::Placed) {
        value.setStart(probe.start());
        value.setEnd(probe.end());
    }
    return result;
}

} // namespace

std::optional<EntryRefusal> checkEntry(const EntryValues& values, const EntryContext& context) {
    TimeValue low = context.rangeFrom;
    TimeValue high = context.rangeTo;
    if (high < low) {
        std::swap(low, high);
    }
    if (values.date < low || high < values.date) {
        return refuse(
            EntryField::Date, EntryField::Date, high < values.date ? high : low,
            fillPlaceholders(tx(kDateOutsideRangeText), {low.longDate(), high.longDate()}));
    }
    const TimeValue today = context.now.datePart();
    if (today < values.date) {
        return refuse(EntryField::Date, EntryField::Date, today, tx(kFutureDateText));
    }
    if (!values.durationMode) {
        if (auto refusal = checkTimes(values, context)) {
            return refusal;
        }
    }
    if (!values.hasSelection) {
        return refuse(
            EntryField::Tree, EntryField::None, TimeValue(),
            fillPlaceholders(tx(kNothingSelectedText), {context.level1Title, context.level2Title}));
    }
    if (values.selectionHasChildren) {
        return refuse(EntryField::Tree, EntryField::None, TimeValue(),
                      fillPlaceholders(tx(kLevel2MissingText), {context.level2Title}));
    }
    return std::nullopt;
}

EntryCommit commitEntry(TransactionStore& store, const EntryCommitRequest& request,
                        Prompter& prompter) {
    EntryCommit result;
    if (!request.addMode && !request.edited) {
        return result;
    }
    Transaction value = request.workingCopy;
    value.setError(false);
    result.oldDate = request.addMode ? value.date() : request.edited->date();

    const bool durationMode = (request.changeFlags & entryflag::kDurationMode) != 0;
    std::unique_ptr<Transaction> taken;
    if (durationMode) {
        if (!request.addMode) {
            taken = store.take(request.edited);
            if (!taken) {
                return result;
            }
        }
        result.placement = placeWorkingCopy(store, value, request.duration, request.dayStart);
        if (result.placement != PlaceResult::Placed) {
            reportPlacement(result.placement, value.date(), prompter);
            if (taken) {
                // The edit failed; the times recorded before stay as they were.
                result.stored = store.add(std::move(taken));
                result.newDate = result.oldDate;
                remarkDay(store, result.oldDate);
                return result;
            }
        }
    }

    if (request.addMode) {
        result.stored = store.add(value);
        result.added = true;
        result.placedAgain = true;
    } else if (taken) {
        result.placedAgain = !taken->sameTime(value);
        // Put back as the same object, so that the address the time sheet holds stays valid.
        *taken = value;
        result.stored = store.add(std::move(taken));
    } else {
        result.placedAgain = !request.edited->sameTime(value);
        result.stored = store.update(request.edited, value);
        if (!result.stored) {
            result.placedAgain = false;
            return result;
        }
    }
    // The keys may name other items now.
    result.stored->forgetLevel1Item();
    result.stored->forgetLevel2Item();
    result.newDate = result.stored->date();
    remarkDay(store, result.oldDate);
    if (result.newDate != result.oldDate) {
        remarkDay(store, result.newDate);
    }
    return result;
}

} // namespace vsolo
