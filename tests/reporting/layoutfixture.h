#pragma once

// ReportingData built in memory for the reports' layout and the invoice, in a fixed time zone so
// that local days and the dates in the texts do not depend on the machine.

#include "reporting/data/reportingdata.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace vsolo::testing {

class LayoutFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TZ");
        m_oldZone = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("TZ", "America/New_York", 1);
        ::tzset();
    }
    void TearDown() override {
        m_oldZone ? ::setenv("TZ", m_oldZone->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }

    // A local wall-clock moment in seconds since 1970 UTC.
    static std::int32_t local(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_min = minute;
        t.tm_sec = second;
        t.tm_isdst = -1;
        return static_cast<std::int32_t>(std::mktime(&t));
    }

    void addProject(std::int32_t group, const std::string& name, std::int32_t clientId = 0) {
        reporting::TemplateItem item;
        item.groupNumber = group;
        item.name = name;
        item.clientId = clientId;
        item.level = 1;
        data.items().push_back(item);
    }
    void addItem(std::int32_t group, std::int32_t sub, const std::string& name,
                 const std::string& rateCode = {}) {
        reporting::TemplateItem item;
        item.groupNumber = group;
        item.subId = sub;
        item.depth = 1;
        item.name = name;
        item.level = 2;
        item.rateCode = rateCode;
        data.items().push_back(item);
    }
    // A transaction on the local day of its start.
    void addSpan(std::int32_t group, std::int32_t sub, std::int32_t start, std::int32_t duration,
                 std::int32_t sent = 0) {
        const std::time_t moment = start;
        std::tm t{};
        ::localtime_r(&moment, &t);
        data.spans().push_back({group, sub,
                                (t.tm_year + 1900) * 10000 + (t.tm_mon + 1) * 100 + t.tm_mday,
                                start, duration, sent});
    }
    void addRate(const std::string& code, double amount, const std::string& description = {}) {
        data.rates().push_back({code, amount, description});
    }
    void addClient(std::int32_t id, const std::string& name) {
        data.clients().push_back({id, name});
    }

    reporting::ReportingData data;

private:
    std::optional<std::string> m_oldZone;
};

} // namespace vsolo::testing
