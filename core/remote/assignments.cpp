#include "core/remote/assignments.h"

#include "core/base/bytes.h"
#include "core/base/namecompare.h"
#include "core/base/placeholders.h"
#include "core/remote/remotetexts.h"
#include "core/tracker.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <tuple>
#include <utility>

namespace vsolo::remote {

namespace {

std::optional<std::int32_t> numberIn(const std::string& text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, code] = std::from_chars(text.data(), end, value);
    if (code != std::errc() || stop != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// The days from 1 January 1970 to the date of the proleptic Gregorian calendar.
long long daysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<long long>(era) * 146097 + doe - 719468;
}

// Two lists like the template's, linked to each other, for building an update apart.
struct ListPair {
    LevelList level1{1};
    LevelList level2{2};
    ListPair() { level1.setPartner(&level2); }
    void copyFrom(const LevelList& one, const LevelList& two) {
        // Level 2 first: the level-1 copies find their assigned items by sub-id in it.
        level2.copyFrom(two);
        level1.copyFrom(one);
    }
};

// Whether the item the tracker runs on is in the lists: its level-1 item and level-2 item by
// the keys of the running transaction.
bool holdsTrackedItem(const LevelList& level1, const LevelList& level2, const Tracker& tracker,
                      bool treeShape) {
    const Transaction& running = tracker.running();
    const LevelItem* one = treeShape ? level1.findByGroup(running.level1Key())
                                     : level1.findBySubId(running.level1Key());
    const LevelItem* two = level2.findLevel2(running.level1Key(), running.level2Key(), treeShape);
    return one != nullptr && two != nullptr;
}

// The texts of the items an update brings, taken in as the template's files can hold them: the
// server decides them and the user cannot change them, so refusing them would refuse the update
// at every check.
struct TextIntake {
    TemplateFormat format;
    std::vector<FittedText> fitted;

    void fit(LevelItem& item, const LevelList& list) {
        const std::size_t first = fitted.size();
        const auto one = [&](LevelText which, const std::string& was,
                             void (LevelItem::*set)(std::string)) {
            std::string now = fittedText(was, levelTextCapacity(format, which));
            if (now != was) {
                fitted.push_back({shownLevelTitle(list), which, {}, was, now});
                (item.*set)(std::move(now));
            }
        };
        one(LevelText::Name, item.name(), &LevelItem::setName);
        one(LevelText::Description, item.description(), &LevelItem::setDescription);
        one(LevelText::Third, item.thirdText(), &LevelItem::setThirdText);
        for (std::size_t k = first; k < fitted.size(); ++k) {
            fitted[k].name = item.name();
        }
    }
};

std::string applyLegacy(ListPair& lists, const BodyTable& table, TextIntake& intake) {
    struct Pair {
        std::int32_t one;
        std::int32_t two;
    };
    std::vector<Pair> pairs;
    std::set<std::pair<std::int32_t, std::int32_t>> seen;
    for (const auto& row : table.rows) {
        const auto one = numberIn(row[0]);
        const auto two = numberIn(row[3]);
        if (!one || !two) {
            return std::string(tx(text::kUpdateBadNumber));
        }
        if (!seen.insert({*one, *two}).second) {
            return std::string(tx(text::kUpdateDuplicateKey));
        }
        pairs.push_back({*one, *two});
    }
    AssignmentBatch batch;
    std::set<std::int32_t> keep1;
    std::set<std::int32_t> keep2;
    for (std::size_t r = 0; r < pairs.size(); ++r) {
        const auto& row = table.rows[r];
        auto found = [&intake](LevelList& list, std::int32_t subId, const std::string& name,
                               const std::string& description) {
            if (LevelItem* item = list.findBySubId(subId)) {
                return item;
            }
            LevelItem item;
            item.setSubId(subId);
            item.setName(name);
            item.setDescription(description);
            intake.fit(item, list);
            return list.add(item);
        };
        LevelItem* one = found(lists.level1, pairs[r].one, row[1], row[2]);
        LevelItem* two = found(lists.level2, pairs[r].two, row[4], row[5]);
        batch.assign(*one, two);
        keep1.insert(pairs[r].one);
        keep2.insert(pairs[r].two);
    }
    lists.level1.removeWhere([&](const LevelItem& item) { return !keep1.contains(item.subId()); });
    lists.level2.removeWhere([&](const LevelItem& item) { return !keep2.contains(item.subId()); });
    return {};
}

std::string applyTree(ListPair& lists, const BodyTable& table, TextIntake& intake) {
    struct Record {
        std::int32_t group, parent, subId, depth, level, target;
    };
    std::vector<Record> records;
    std::set<std::tuple<int, std::int32_t, std::int32_t>> seen;
    for (const auto& row : table.rows) {
        const auto group = numberIn(row[0]);
        const auto parent = numberIn(row[1]);
        const auto subId = numberIn(row[2]);
        const auto depth = numberIn(row[3]);
        const auto level = numberIn(row[5]);
        const auto target = numberIn(row[6]);
        if (!group || !parent || !subId || !depth || !target || *target < 0 || *target > 100) {
            return std::string(tx(text::kUpdateBadNumber));
        }
        const int listLevel = level && *level == 2 ? 2 : 1;
        if (!seen.insert({listLevel, *group, *subId}).second) {
            return std::string(tx(text::kUpdateDuplicateKey));
        }
        records.push_back({*group, *parent, *subId, *depth, listLevel, *target});
    }
    // The records themselves must make a tree, whatever the template holds already.
    std::set<std::int32_t> groups;
    std::set<std::pair<std::int32_t, std::int32_t>> level2;
    for (const Record& rec : records) {
        if (rec.level == 2) {
            level2.insert({rec.group, rec.subId});
        } else {
            groups.insert(rec.group);
        }
    }
    for (const Record& rec : records) {
        if (rec.level != 2) {
            continue;
        }
        if (!groups.contains(rec.group)) {
            return std::string(tx(text::kUpdateNoLevel1));
        }
        if (rec.parent != 0 &&
            (rec.parent == rec.subId || !level2.contains({rec.group, rec.parent}))) {
            return std::string(tx(text::kUpdateNoParent));
        }
    }
    std::set<std::pair<std::int32_t, std::int32_t>> keep;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const Record& rec = records[r];
        const auto& row = table.rows[r];
        LevelList& list = rec.level == 2 ? lists.level2 : lists.level1;
        keep.insert({rec.group, rec.subId});
        if (list.findLevel2(rec.group, rec.subId, true) != nullptr) {
            continue;
        }
        LevelItem item;
        item.setGroupNumber(rec.group);
        item.setParentSubId(rec.parent);
        item.setSubId(rec.subId);
        item.setDepth(rec.depth);
        item.setActive(row[4] == "T");
        item.setTarget(static_cast<std::uint8_t>(rec.target));
        item.setName(row[7]);
        item.setDescription(row[8]);
        item.setThirdText(row[9]);
        intake.fit(item, list);
        list.add(item);
    }
    const auto unlisted = [&](const LevelItem& item) {
        return !keep.contains({item.groupNumber(), item.subId()});
    };
    lists.level1.removeWhere(unlisted);
    lists.level2.removeWhere(unlisted);
    for (const auto& item : lists.level2.items()) {
        if (lists.level1.findByGroup(item->groupNumber()) == nullptr) {
            return std::string(tx(text::kUpdateNoLevel1));
        }
        if (item->parentSubId() != 0 &&
            (item->parentSubId() == item->subId() ||
             lists.level2.findLevel2(item->groupNumber(), item->parentSubId(), true) == nullptr)) {
            return std::string(tx(text::kUpdateNoParent));
        }
    }
    return {};
}

// New local items take numbers from the template's counters: they must pass every number an
// update brought in, or a later item would share a key with one of them.
void raiseCounters(TemplateFile& file) {
    TransactionStore& store = file.store();
    std::int32_t group = store.nextGroupNumber();
    std::int32_t subId = store.nextSubId();
    for (const LevelList* list : {&file.level1(), &file.level2()}) {
        for (const auto& item : list->items()) {
            if (item->groupNumber() >= group && item->groupNumber() < INT32_MAX) {
                group = item->groupNumber() + 1;
            }
            if (item->subId() >= subId && item->subId() < INT32_MAX) {
                subId = item->subId() + 1;
            }
        }
    }
    store.setNextGroupNumber(group);
    store.setNextSubId(subId);
}

bool carriable(std::string_view field) {
    return field.find_first_of("\x01\x02\r\n") == std::string_view::npos &&
           field.find("||") == std::string_view::npos && (field.empty() || field.back() != '|');
}

// The level editor lets a target take only what the other level-1 items leave of 100%; the items
// of an update are held to the same rule in list order, so that the items listed first (those
// the template had already, then the update's new ones) keep their targets.
std::vector<ReducedTarget> capTargets(LevelList& level1) {
    std::vector<ReducedTarget> reduced;
    int total = 0;
    for (const auto& item : level1.items()) {
        const int left = std::max(0, 100 - total);
        if (item->target() > left) {
            reduced.push_back({item->name(), item->target(), left});
            item->setTarget(static_cast<std::uint8_t>(left));
        }
        total += item->target();
    }
    return reduced;
}

struct Candidate {
    std::string id;
    std::string note;
    std::string received;
};

// Reads a message of the update type without the library's error box, since the user is told
// of every message that cannot be read at once; of such a message the header is kept instead.
bool readCandidate(MailPort& port, Candidate& candidate,
                   std::vector<UnreadableUpdate>& unreadable) {
    port.quiet(true);
    const bool read = port.read(candidate.id, candidate.note, candidate.received) == kMailSuccess;
    if (!read) {
        UnreadableUpdate left;
        if (port.envelope(candidate.id, left.sender, left.received, left.subject) != kMailSuccess) {
            left = {};
        }
        unreadable.push_back(std::move(left));
    }
    port.quiet(false);
    return read;
}

// A header field as a line of a message: a mail from anyone may hold control characters (C0,
// DEL and the C1 ones of UTF-8), which would break the line or reach the terminal, and any length.
std::string shownField(std::string_view field, std::string_view missing) {
    constexpr std::size_t kLongest = 200;
    if (field.empty()) {
        return std::string(missing);
    }
    const std::string_view kept = cutUtf8(field, kLongest);
    std::string shown;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const auto c = static_cast<unsigned char>(kept[i]);
        const auto next = i + 1 < kept.size() ? static_cast<unsigned char>(kept[i + 1]) : 0;
        const bool c1 = c == 0xC2 && next >= 0x80 && next < 0xA0;
        i += c1 ? 1 : 0;
        shown += c < 0x20 || c == 0x7F || c1 ? ' ' : kept[i];
    }
    return kept.size() < field.size() ? shown + "..." : shown;
}

} // namespace

std::string unreadableUpdatesText(const std::vector<UnreadableUpdate>& unreadable) {
    if (unreadable.empty()) {
        return {};
    }
    std::string out = unreadable.size() == 1
                          ? std::string(tx(text::kUpdateUnreadableLeft))
                          : fillPlaceholders(tx(text::kUpdatesUnreadableLeft),
                                             {std::to_string(unreadable.size())});
    for (const UnreadableUpdate& left : unreadable) {
        out += "\r\n" + fillPlaceholders(tx(text::kUnreadableUpdateLine),
                                         {shownField(left.sender, tx(text::kUnknownSender)),
                                          shownField(left.received, tx(text::kUnknownReceived)),
                                          shownField(left.subject, "")});
    }
    return out;
}

std::string assignmentMessageType(const TemplateFile& file) {
    return std::string(file.isTreeShape() ? text::kTreeUpdateType : text::kLegacyUpdateType);
}

std::optional<long long> receivedTime(const std::string& dateText) {
    if (dateText.size() < 16) {
        return std::nullopt;
    }
    const auto field = [&](std::size_t from, std::size_t length) -> std::optional<int> {
        int value = 0;
        for (std::size_t i = from; i < from + length; ++i) {
            if (dateText[i] < '0' || dateText[i] > '9') {
                return std::nullopt;
            }
            value = value * 10 + (dateText[i] - '0');
        }
        return value;
    };
    const auto year = field(0, 4);
    const auto month = field(5, 2);
    const auto day = field(8, 2);
    const auto hour = field(11, 2);
    const auto minute = field(14, 2);
    if (!year || !month || !day || !hour || !minute || *month < 1 || *month > 12 || *day < 1 ||
        *day > 31 || *hour > 23 || *minute > 59) {
        return std::nullopt;
    }
    return daysFromCivil(*year, *month, *day) * 86400 + *hour * 3600LL + *minute * 60LL;
}

UpdateApplied applyAssignmentUpdate(TemplateFile& file, const BodyTable& table,
                                    const Tracker* tracker) {
    UpdateApplied applied;
    const auto refuse = [&applied](std::string_view reason) {
        applied.reason = reason;
        return applied;
    };
    if (!table.parsed) {
        return refuse(tx(text::kUpdateUnreadable));
    }
    if (table.recordCount < 0 || static_cast<std::size_t>(table.recordCount) != table.rows.size()) {
        return refuse(tx(text::kUpdateCountMismatch));
    }
    const bool treeShape = file.isTreeShape();
    ListPair lists;
    lists.copyFrom(file.level1(), file.level2());
    const auto columns =
        static_cast<std::size_t>(treeShape ? kTreeUpdateColumns : kLegacyUpdateColumns);
    for (const auto& row : table.rows) {
        if (row.size() != columns) {
            return refuse(tx(text::kUpdateUnreadable));
        }
    }
    TextIntake intake{file.savedFormat(), {}};
    if (const std::string reason =
            treeShape ? applyTree(lists, table, intake) : applyLegacy(lists, table, intake);
        !reason.empty()) {
        return refuse(reason);
    }
    if (tracker != nullptr && tracker->isTracking() &&
        holdsTrackedItem(file.level1(), file.level2(), *tracker, treeShape) &&
        !holdsTrackedItem(lists.level1, lists.level2, *tracker, treeShape)) {
        applied.removesTracked = true;
        return refuse(tx(text::kUpdateRemovesTracked));
    }
    applied.reducedTargets = capTargets(lists.level1);
    applied.fittedTexts = std::move(intake.fitted);
    file.level2().copyFrom(lists.level2);
    file.level1().copyFrom(lists.level1);
    if (treeShape) {
        raiseCounters(file);
    }
    return applied;
}

std::string reducedTargetsText(const std::vector<ReducedTarget>& reduced) {
    if (reduced.empty()) {
        return {};
    }
    std::string out(tx(text::kUpdateTargetsReduced));
    for (const ReducedTarget& target : reduced) {
        out += "\r\n" + fillPlaceholders(
                            tx(text::kReducedTargetLine),
                            {target.name, std::to_string(target.from), std::to_string(target.to)});
    }
    return out;
}

std::string fittedTextsText(const std::vector<FittedText>& fitted) {
    if (fitted.empty()) {
        return {};
    }
    std::string out(tx(text::kUpdateTextsFitted));
    for (const FittedText& fit : fitted) {
        const std::string name = shownField(fit.name, "");
        std::string line;
        switch (fit.which) {
        case LevelText::Name:
            line = fillPlaceholders(tx(text::kFittedNameLine),
                                    {fit.level, shownField(fit.was, ""), name});
            break;
        case LevelText::Description:
            line = fillPlaceholders(tx(text::kFittedDescriptionLine),
                                    {fit.level, name, shownField(fit.now, "")});
            break;
        case LevelText::Third:
            line = fillPlaceholders(tx(text::kFittedThirdTextLine), {fit.level, name});
            break;
        }
        out += "\r\n" + line;
    }
    return out;
}

AssignmentResult checkAssignments(MailPort& port, TemplateFile& file, const Tracker* tracker,
                                  const std::string& profile, const std::string& password) {
    AssignmentResult result;
    if (!port.init()) {
        result.outcome = AssignmentResult::Outcome::MailUnusable;
        result.reason = mailUnusableText(port);
        return result;
    }
    if (port.logon(profile, password, false) != kMailSuccess) {
        port.deinit();
        result.outcome = AssignmentResult::Outcome::LogonFailed;
        return result;
    }
    const std::string type = assignmentMessageType(file);
    const int columns = file.isTreeShape() ? kTreeUpdateColumns : kLegacyUpdateColumns;
    const std::string resource = file.baseName();

    // Every update for the template, the newest last among those of its time; a message that
    // cannot be read is passed over.
    std::vector<Candidate> matching;
    std::optional<std::size_t> newest;
    long long newestTime = 0;
    std::string seed;
    std::string id;
    while (port.findNext(type, seed, id) == kMailSuccess) {
        seed = id;
        Candidate candidate{id, {}, {}};
        if (!readCandidate(port, candidate, result.unreadable)) {
            continue;
        }
        const auto time = receivedTime(candidate.received);
        if (!time || !namesEqual(port.parse(candidate.note, columns).resourceName, resource)) {
            continue;
        }
        matching.push_back(std::move(candidate));
        if (*time >= newestTime) {
            newestTime = *time;
            newest = matching.size() - 1;
        }
    }
    if (!newest) {
        port.logoff();
        port.deinit();
        return result;
    }
    // An older update must not be applied once a newer one was: all of them are superseded,
    // whichever order the mailbox lists them in.
    for (std::size_t k = 0; k < matching.size(); ++k) {
        if (k != *newest && port.remove(matching[k].id) == kMailSuccess) {
            ++result.deleted;
        }
    }
    const Candidate& used = matching[*newest];
    result.received = used.received;
    result.updateId = used.id;
    const BodyTable table = port.parse(used.note, columns);
    bool tracked = false;
    std::string reason;
    if (!namesEqual(table.resourceName, resource)) {
        reason = std::string(tx(text::kUpdateUnreadable));
    } else {
        ListPair before;
        before.copyFrom(file.level1(), file.level2());
        const std::int32_t nextGroup = file.store().nextGroupNumber();
        const std::int32_t nextSubId = file.store().nextSubId();
        UpdateApplied applied = applyAssignmentUpdate(file, table, tracker);
        reason = std::move(applied.reason);
        tracked = applied.removesTracked;
        if (reason.empty()) {
            result.saveResult = file.save(file.path());
            if (!result.saveResult.ok()) {
                // The template in memory stays what the disk holds; the update is used next time.
                file.level2().copyFrom(before.level2);
                file.level1().copyFrom(before.level1);
                file.store().setNextGroupNumber(nextGroup);
                file.store().setNextSubId(nextSubId);
                result.outcome = AssignmentResult::Outcome::NotSaved;
            } else {
                result.outcome = AssignmentResult::Outcome::Applied;
                result.reducedTargets = std::move(applied.reducedTargets);
                result.fittedTexts = std::move(applied.fittedTexts);
                if (port.remove(used.id) == kMailSuccess) {
                    ++result.deleted;
                }
            }
        }
    }
    if (!reason.empty()) {
        result.outcome = tracked ? AssignmentResult::Outcome::WaitForTracking
                                 : AssignmentResult::Outcome::Refused;
        result.reason = reason;
    }
    port.logoff();
    port.deinit();
    return result;
}

DiscardOutcome discardAssignmentUpdate(MailPort& port, const std::string& updateId,
                                       const std::string& profile, const std::string& password) {
    if (!port.init()) {
        return DiscardOutcome::MailUnusable;
    }
    DiscardOutcome outcome = DiscardOutcome::LogonFailed;
    if (port.logon(profile, password, false) == kMailSuccess) {
        outcome = port.remove(updateId) == kMailSuccess ? DiscardOutcome::Deleted
                                                        : DiscardOutcome::NotDeleted;
        port.logoff();
    }
    port.deinit();
    return outcome;
}

std::string discardOutcomeText(DiscardOutcome outcome) {
    switch (outcome) {
    case DiscardOutcome::Deleted:
        return {};
    case DiscardOutcome::MailUnusable:
        return std::string(tx(text::kMailUnusable));
    case DiscardOutcome::LogonFailed:
        return std::string(tx(text::kLogonFailed));
    case DiscardOutcome::NotDeleted:
        return std::string(tx(text::kUpdateNotDeleted));
    }
    return {};
}

bool makeAssignmentUpdateBody(const TemplateFile& file, const std::string& resourceName,
                              std::string& body, std::string& reason) {
    std::vector<std::vector<std::string>> records;
    if (file.isTreeShape()) {
        for (const LevelList* list : {&file.level1(), &file.level2()}) {
            for (const auto& item : list->items()) {
                records.push_back({std::to_string(item->groupNumber()),
                                   std::to_string(item->parentSubId()),
                                   std::to_string(item->subId()), std::to_string(item->depth()),
                                   item->isActive() ? "T" : "F", std::to_string(list->level()),
                                   std::to_string(item->target()), item->name(),
                                   item->description(), item->thirdText()});
            }
        }
    } else {
        for (const auto& one : file.level1().items()) {
            for (const LevelItem* two : one->assigned()) {
                records.push_back({std::to_string(one->subId()), one->name(), one->description(),
                                   std::to_string(two->subId()), two->name(), two->description()});
            }
        }
    }
    const std::size_t columns = file.isTreeShape() ? kTreeUpdateColumns : kLegacyUpdateColumns;
    if (records.size() * columns > static_cast<std::size_t>(kMaxUpdateCells)) {
        reason = std::string(tx(text::kUpdateTooLarge));
        return false;
    }
    bool fits = carriable(resourceName) && resourceName.size() < 1000;
    std::string text = resourceName + "\x01\x01" + std::to_string(records.size()) + "\x01\x01";
    for (const auto& record : records) {
        for (std::size_t c = 0; c < record.size(); ++c) {
            fits = fits && carriable(record[c]);
            text += record[c];
            text += c + 1 < record.size() ? "||" : "\x01\x01";
        }
    }
    if (!fits) {
        reason = std::string(tx(text::kUpdateTextUnsendable));
        return false;
    }
    std::replace(text.begin(), text.end(), ' ', '\x02');
    body = std::move(text);
    return true;
}

} // namespace vsolo::remote
