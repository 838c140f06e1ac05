#include "reporting/data/reportingdata.h"

#include "core/base/namecompare.h"
#include "reporting/data/readers.h"
#include "reporting/data/reportingfile.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace vsolo::reporting {
namespace {

template <typename T, typename Id>
std::int32_t nextId(const std::vector<T>& list, Id T::*id) {
    std::int64_t largest = 0;
    for (const T& entry : list) {
        largest = std::max<std::int64_t>(largest, entry.*id);
    }
    return static_cast<std::int32_t>(largest + 1);
}

template <typename T, typename Pred>
T* findIf(std::vector<T>& list, Pred pred) {
    const auto it = std::find_if(list.begin(), list.end(), pred);
    return it == list.end() ? nullptr : &*it;
}

template <typename T, typename Pred>
bool eraseFirst(std::vector<T>& list, Pred pred) {
    const auto it = std::find_if(list.begin(), list.end(), pred);
    if (it == list.end()) {
        return false;
    }
    list.erase(it);
    return true;
}

using ItemKey = std::pair<std::int32_t, std::int32_t>;

ItemKey keyOf(const TemplateItem& item) {
    return {item.groupNumber, item.subId};
}

// The items' positions in the list ordered by key; items that share a key (only a damaged
// template has them) in the template's order, or in the list's when `inListOrder`.
std::vector<std::size_t> positionsByKey(const std::vector<TemplateItem>& items, bool inListOrder) {
    std::vector<std::size_t> positions(items.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    std::stable_sort(positions.begin(), positions.end(), [&](std::size_t a, std::size_t b) {
        const ItemKey x = keyOf(items[a]);
        const ItemKey y = keyOf(items[b]);
        if (x != y) {
            return x < y;
        }
        return !inListOrder && items[a].templateOrder < items[b].templateOrder;
    });
    return positions;
}

} // namespace

void ReportingData::clear() {
    m_items.clear();
    m_spans.clear();
    m_expenses.clear();
    m_rates.clear();
    m_clients.clear();
    m_transactionsProblem.clear();
    m_transactionsCutShort = false;
    m_reportingStamp.reset();
}

void ReportingData::setTemplatePath(std::string_view path) {
    m_reportingStamp.reset();
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    m_folder = std::string(path.substr(0, nameStart));
    const std::string_view name = path.substr(nameStart);
    m_baseName = std::string(name.substr(0, name.find('.')));
}

std::string ReportingData::templatePath() const {
    return m_folder + m_baseName + ".tpl";
}
std::string ReportingData::transactionPath() const {
    return m_folder + m_baseName + ".trs";
}
std::string ReportingData::reportingPath() const {
    return m_folder + m_baseName + ".vsr";
}

ReportingResult ReportingData::readTemplate() {
    return readTemplateFile(templatePath(), m_items);
}

ReportingResult ReportingData::readTransactions() {
    ReportingResult result =
        readTransactionFile(transactionPath(), m_spans, m_transactionsCutShort);
    const bool absent =
        result.what == ReportingResult::What::CannotOpen && !fileExists(transactionPath());
    m_transactionsProblem = result || absent ? std::string() : result.message;
    return result;
}

ReportingResult ReportingData::readReportingFile() {
    ReportingFileContent content;
    FileStamp stamp;
    ReportingResult result = readReportingFileAt(reportingPath(), content, &stamp);
    if (stamp.exists) {
        m_reportingStamp = stamp;
    } else if (!fileExists(reportingPath())) {
        m_reportingStamp = FileStamp{}; // missing: a file another program creates is not replaced
    }
    if (!result) {
        return result;
    }
    auto append = [](auto& to, auto& from) {
        to.insert(to.end(), std::make_move_iterator(from.begin()),
                  std::make_move_iterator(from.end()));
    };
    append(m_expenses, content.expenses);
    append(m_rates, content.rates);
    append(m_clients, content.clients);
    const std::vector<std::size_t> byKey = positionsByKey(m_items, false);
    // At the first position of each key: how many of its items have had their record.
    std::vector<std::size_t> given(byKey.size(), 0);
    for (Assignment& a : content.assignments) {
        const ItemKey key{a.groupNumber, a.subId};
        const auto first = std::lower_bound(
            byKey.begin(), byKey.end(), key,
            [this](std::size_t p, const ItemKey& k) { return keyOf(m_items[p]) < k; });
        if (first == byKey.end() || keyOf(m_items[*first]) != key) {
            continue; // no longer in the template
        }
        const std::size_t start = static_cast<std::size_t>(first - byKey.begin());
        const std::size_t at = start + given[start];
        if (at < byKey.size() && keyOf(m_items[byKey[at]]) == key) {
            TemplateItem& item = m_items[byKey[at]];
            item.rateCode = std::move(a.rateCode);
            item.clientId = a.clientId;
            ++given[start];
        }
    }
    return result;
}

ReportingResult ReportingData::writeReportingFile() {
    ReportingFileContent content;
    content.expenses = m_expenses;
    content.rates = m_rates;
    content.clients = m_clients;
    // Where keys are unique, each record is its own item's; the items that share a key take the
    // places of that key's records in the template's order, as the reader gives them out.
    const std::vector<std::size_t> places = positionsByKey(m_items, true);
    const std::vector<std::size_t> owners = positionsByKey(m_items, false);
    content.assignments.resize(m_items.size());
    for (std::size_t j = 0; j < places.size(); ++j) {
        const TemplateItem& item = m_items[owners[j]];
        content.assignments[places[j]] = {item.groupNumber, item.subId, item.rateCode,
                                          item.clientId};
    }
    FileStamp expected = m_reportingStamp.value_or(FileStamp{});
    ReportingResult result =
        writeReportingFileAt(reportingPath(), content, m_reportingStamp ? &expected : nullptr);
    if (result) {
        m_reportingStamp = expected;
    }
    return result;
}

TemplateItem* ReportingData::findLevel1Item(std::int32_t groupNumber) {
    return findItem(groupNumber, 0);
}

TemplateItem* ReportingData::findItem(std::int32_t groupNumber, std::int32_t subId) {
    return findIf(m_items, [&](const TemplateItem& item) {
        return item.groupNumber == groupNumber && item.subId == subId;
    });
}

ClientEntry* ReportingData::findClient(std::int32_t clientId) {
    return findIf(m_clients, [&](const ClientEntry& c) { return c.clientId == clientId; });
}

RateEntry* ReportingData::findRate(std::string_view code) {
    return findIf(m_rates, [&](const RateEntry& r) { return r.code == code; });
}

ExpenseEntry* ReportingData::findExpense(std::int32_t expenseId) {
    return findIf(m_expenses, [&](const ExpenseEntry& e) { return e.expenseId == expenseId; });
}

bool ReportingData::deleteClient(std::int32_t clientId) {
    if (!eraseFirst(m_clients, [&](const ClientEntry& c) { return c.clientId == clientId; })) {
        return false;
    }
    // Clients are assigned to level-1 items, but an item below one may carry an id from the
    // file: none may keep naming a client that is gone.
    for (TemplateItem& item : m_items) {
        if (item.clientId == clientId) {
            item.clientId = 0;
        }
    }
    return true;
}

bool ReportingData::deleteRate(std::string_view code) {
    if (!eraseFirst(m_rates, [&](const RateEntry& r) { return r.code == code; })) {
        return false;
    }
    for (TemplateItem& item : m_items) {
        if (item.rateCode == code) {
            item.rateCode.clear();
        }
    }
    return true;
}

bool ReportingData::deleteExpense(std::int32_t expenseId) {
    return eraseFirst(m_expenses, [&](const ExpenseEntry& e) { return e.expenseId == expenseId; });
}

int ReportingData::level1Count() const {
    return static_cast<int>(std::count_if(
        m_items.begin(), m_items.end(), [](const TemplateItem& item) { return item.subId == 0; }));
}

std::int32_t ReportingData::nextExpenseId() const {
    return nextId(m_expenses, &ExpenseEntry::expenseId);
}

std::int32_t ReportingData::nextClientId() const {
    return nextId(m_clients, &ClientEntry::clientId);
}

std::int64_t ReportingData::itemSeconds(std::int32_t groupNumber, std::int32_t subId,
                                        std::int32_t periodStart, std::int32_t periodEnd) const {
    std::int64_t total = 0;
    for (const TimeSpan& span : m_spans) {
        if (span.groupNumber == groupNumber && span.subId == subId && span.start >= periodStart &&
            span.start <= periodEnd) {
            total += span.duration;
        }
    }
    return total;
}

void ReportingData::sortClientsByName() {
    std::stable_sort(m_clients.begin(), m_clients.end(),
                     [](const ClientEntry& a, const ClientEntry& b) {
                         return compareNames(a.name, b.name) < 0;
                     });
}

void ReportingData::sortExpensesByDate() {
    std::stable_sort(m_expenses.begin(), m_expenses.end(),
                     [](const ExpenseEntry& a, const ExpenseEntry& b) { return a.date < b.date; });
}

void ReportingData::sortItemsByName() {
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const TemplateItem& a, const TemplateItem& b) {
                         return compareNames(a.name, b.name) < 0;
                     });
}

} // namespace vsolo::reporting
