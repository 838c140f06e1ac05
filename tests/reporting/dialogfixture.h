#pragma once

// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QObject>

// The project headers after the Qt header.
#include "reporting/data/readers.h"
#include "reporting/data/reportingdata.h"
#include "reporting/data/reportsettings.h"
#include "tests/support/scriptedprompter.h"

namespace vsolo::reporting::testing {

// The managers' data: two projects with an activity each, two rates, three clients and three
// expenses; the terms are not the defaults so that every title and message shows which term it
// took.
struct ReportingFixture {
    ReportingData data;
    ReportSettings settings;
    vsolo::testing::ScriptedPrompter prompter;

    ReportingFixture() {
        settings.clientTerm = "Customers";
        settings.rateTerm = "Fees";
        settings.expenseTerm = "Costs";
        data.items() = {item(1, 0, 1, "Alpha"), item(1, 1, 2, "Design"), item(2, 0, 1, "Beta"),
                        item(2, 1, 2, "Build")};
        data.items()[1].rateCode = "QA";
        data.items()[3].rateCode = "QA";
        data.rates() = {{"QA", 40.0, "Testing"}, {"DEV", 72.5, "Coding"}};
        data.clients() = {{3, "zeta"}, {7, "Acme"}, {2, "Midway"}};
        data.items()[0].clientId = 7;
        data.items()[2].clientId = 2;
        data.expenses() = {expense(1, 4, day(5), 12.5, "Train"), expense(2, 9, day(2), 3, "Taxi"),
                           expense(1, 2, day(1), 100, "Hotel")};
    }

    static TemplateItem item(std::int32_t group, std::int32_t subId, std::int32_t level,
                             std::string name) {
        TemplateItem i;
        i.groupNumber = group;
        i.subId = subId;
        i.depth = level - 1;
        i.level = level;
        i.name = std::move(name);
        return i;
    }
    static ExpenseEntry expense(std::int32_t project, std::int32_t id, std::int32_t date,
                                double amount, std::string description) {
        return {project, id, 0, date, amount, std::move(description)};
    }
    // Local midnight of a day of March 2026.
    static std::int32_t day(int dayOfMonth) { return localTimeToUtc(2026, 3, dayOfMonth, 0, 0); }
};

} // namespace vsolo::reporting::testing
