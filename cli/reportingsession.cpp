#include "cli/reportingsession.h"

#include "cli/command.h"
#include "cli/range.h"
#include "cli/session.h"
#include "core/base/namecompare.h"
#include "core/base/placeholders.h"
#include "core/inisettingsstore.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <utility>

namespace vsolo {
namespace {

// A reporting file that is there but could not be read stops the command: its rates and
// clients are unknown, and a report without them would be wrong without saying so.
bool readReportingFile(reporting::ReportingData& data) {
    const reporting::ReportingResult read = data.readReportingFile();
    if (read.what != reporting::ReportingResult::What::CannotOpen) {
        if (!read) {
            tellUser(read.message.empty() ? "cannot read " + read.path : read.message);
        }
        return read.ok();
    }
    std::error_code error;
    if (std::filesystem::exists(read.path, error)) {
        tellUser(read.message.empty() ? "cannot read " + read.path : read.message);
        return false;
    }
    tellUser(reporting::kReportingFileMissingText);
    return true;
}

// The level-1 items the names stand for, in the order of the items' names; false after the
// message when a name stands for none.
bool selectProjects(const Arguments& args, ReportingInput& input) {
    std::vector<const reporting::TemplateItem*> level1;
    for (const reporting::TemplateItem& item : input.data.items()) {
        if (item.subId == 0) {
            level1.push_back(&item);
        }
    }
    std::stable_sort(level1.begin(), level1.end(), [](const auto* a, const auto* b) {
        return compareNames(a->name, b->name) < 0;
    });
    std::vector<bool> chosen(level1.size(), false);
    const auto given = args.optionValues.find("--project");
    if (given != args.optionValues.end()) {
        for (const std::string& name : given->second) {
            const auto found =
                std::find_if(level1.begin(), level1.end(),
                             [&name](const auto* item) { return namesEqual(item->name, name); });
            if (found == level1.end()) {
                tellUser("there is no " + input.settings.level1Title + " named '" + name + "'");
                return false;
            }
            chosen[static_cast<std::size_t>(found - level1.begin())] = true;
        }
    }
    for (std::size_t i = 0; i < level1.size(); ++i) {
        if (chosen[i]) {
            input.projects.push_back(level1[i]->groupNumber);
        }
    }
    return true;
}

} // namespace

std::string selectProjectsText(std::string_view level1Title) {
    return fillPlaceholders(kSelectProjectsText, {level1Title});
}

int requireTaxRate(const reporting::ReportSettings& settings) {
    if (!settings.unreadableTax) {
        return 0;
    }
    tellUser(reporting::unreadableTaxText(*settings.unreadableTax));
    return kExitError;
}

int readReportingInput(const Arguments& args, bool projectsRequired, const Clock& clock,
                       ReportingInput& input) {
    const auto bounds = rangeOptions(args);
    if (!bounds) {
        return kExitError;
    }
    const IniSettingsStore own(IniSettingsStore::reportingSettingsPath());
    const IniSettingsStore tracker(IniSettingsStore::trackerSettingsPath());
    input.settings = reporting::readReportSettings(own, tracker, clock);
    if (projectsRequired && args.optionValues.count("--project") == 0) {
        tellUser(selectProjectsText(input.settings.level1Title));
        return kExitError;
    }
    // Noon of a given date: its local day, whatever the daylight saving does at midnight.
    const auto dayMoment = [](TimeValue date) {
        return reporting::localMoment(TimeValue(date.seconds() + 12 * TimeValue::kHour));
    };
    std::int64_t from = bounds->from ? dayMoment(*bounds->from) : input.settings.fromTime;
    std::int64_t to = bounds->to ? dayMoment(*bounds->to) : input.settings.toTime;
    if (from > to) {
        std::swap(from, to);
    }
    input.period = reporting::wholeDays(from, to);

    reporting::ReportingData& data = input.data;
    data.setTemplatePath(args.positional[0]);
    if (const reporting::ReportingResult read = data.readTemplate(); !read) {
        tellUser(read.message.empty() ? "cannot read " + read.path : read.message);
        return kExitError;
    }
    if (!readReportingFile(data)) {
        return kExitError;
    }
    // Without its transactions the tool still shows what the reporting file holds.
    if (const reporting::ReportingResult read = data.readTransactions(); !read) {
        tellUser(read.message.empty() ? "cannot read " + read.path : read.message);
    }
    return selectProjects(args, input) ? 0 : kExitError;
}

} // namespace vsolo
