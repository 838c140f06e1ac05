// Writes the data of the side-by-side report measurement (bench/peer-report.sh) twice: as a
// version-4 template with its transaction file, and as a time tracking database of plain interval
// lines, one file a month. Both hold 40 projects of 5 activities and 100,000 intervals of 20
// minutes, 25 a day from 08:00 on 4,000 consecutive days from 1/1/2015, taken by the 200
// activities in turn. Times are UTC.
// Usage: make_peer_data FOLDER

#include "core/model/templatefile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kProjects = 40;
constexpr int kActivitiesPerProject = 5;
constexpr int kDays = 4000;
constexpr int kPerDay = 25;
constexpr int kMinutes = 20;

std::string projectName(int project) {
    return "Project " + std::to_string(project);
}

std::string activityName(int project, int activity) {
    return "Activity " + std::to_string(project) + "." + std::to_string(activity);
}

// 20150101T080000Z
std::string stamp(vsolo::TimeValue t) {
    const vsolo::CalendarTime c = t.toCalendar();
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", c.year, c.month, c.day, c.hour,
                  c.minute, c.second);
    return text;
}

// True when no month was open or its file was written whole.
bool closeMonth(std::ofstream& out, const std::filesystem::path& path) {
    if (!out.is_open()) {
        return true;
    }
    out.close();
    if (!out) {
        std::fprintf(stderr, "writing %s failed\n", path.c_str());
    }
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    using namespace vsolo;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_peer_data FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string path = (folder / "peer.tpl").string();
    const std::filesystem::path data = folder / "timew" / "data";
    std::filesystem::create_directories(data);
    std::ofstream(folder / "timew" / "timewarrior.cfg");

    TemplateFile file;
    file.setFormat(TemplateFormat::Version4);
    file.setTypeText("Veltimo Solo File");
    file.setPath(path);
    for (int g = 1; g <= kProjects; ++g) {
        LevelItem project;
        project.setGroupNumber(g);
        project.setName(projectName(g));
        file.level1().add(project);
        for (int s = 1; s <= kActivitiesPerProject; ++s) {
            LevelItem activity;
            activity.setGroupNumber(g);
            activity.setSubId(g * 100 + s);
            activity.setDepth(1);
            activity.setName(activityName(g, s));
            file.level2().add(activity);
        }
    }
    file.store().setNextGroupNumber(kProjects + 1);
    file.store().setNextSubId((kProjects + 1) * 100);

    TimeValue first;
    first.setDate(2015, 1, 1);
    // Days come in order, so each month's file is written whole before the next is opened.
    std::ofstream out;
    std::string month;
    int n = 0;
    for (int d = 0; d < kDays; ++d) {
        const TimeValue day = first + TimeValue(d * TimeValue::kDay);
        const CalendarTime c = day.toCalendar();
        char name[16];
        std::snprintf(name, sizeof name, "%04d-%02d.data", c.year, c.month);
        if (name != month) {
            if (!closeMonth(out, data / month)) {
                return 1;
            }
            month = name;
            out.open(data / month);
        }
        for (int k = 0; k < kPerDay; ++k, ++n) {
            const int g = 1 + n / kActivitiesPerProject % kProjects;
            const int s = 1 + n % kActivitiesPerProject;
            const TimeValue start = TimeValue::fromParts(0, 8, k * kMinutes, 0);
            const TimeValue end = start + TimeValue(kMinutes * TimeValue::kMinute);
            file.store().add(Transaction(day, start, end, g, g * 100 + s, std::string()));
            out << "inc " << stamp(day + start) << " - " << stamp(day + end) << " # \""
                << projectName(g) << "\" \"" << activityName(g, s) << "\"\n";
        }
    }
    if (!closeMonth(out, data / month)) {
        return 1;
    }
    if (!file.save(path) || !file.saveTransactions()) {
        std::fprintf(stderr, "writing %s failed\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
