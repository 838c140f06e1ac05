// Writes a large template for start-up measurements: 40 projects of 50 activities (2,040 items)
// and 1,000,000 transactions, 250 a day, the last day being today. With --two-item it writes the
// small template the large one is compared with: one project of one activity and two transactions
// of today. Each comes with an empty reporting file, so that the reporting tool opens it without a
// word.
// Usage: make_large_template FOLDER [--two-item]

#include "largetemplate.h"
#include "reporting/data/reportingdata.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void fillTwoItemTemplate(vsolo::TemplateFile& file, const std::string& path,
                         vsolo::TimeValue today) {
    using namespace vsolo;
    file.setFormat(TemplateFormat::Version4);
    file.setTypeText("Veltimo Solo File");
    file.setPath(path);
    LevelItem project;
    project.setGroupNumber(1);
    project.setName("Project 1");
    file.level1().add(project);
    LevelItem activity;
    activity.setGroupNumber(1);
    activity.setSubId(101);
    activity.setDepth(1);
    activity.setName("Activity 1");
    file.level2().add(activity);
    file.store().setNextGroupNumber(2);
    file.store().setNextSubId(102);
    file.store().add(Transaction(today, TimeValue(0), TimeValue(240), 1, 101, "task 0"));
    file.store().add(Transaction(today, TimeValue(300), TimeValue(540), 1, 101, "task 1"));
}

} // namespace

int main(int argc, char** argv) {
    using namespace vsolo;
    const bool twoItem = argc == 3 && std::strcmp(argv[2], "--two-item") == 0;
    if (argc != 2 && !twoItem) {
        std::fprintf(stderr, "usage: make_large_template FOLDER [--two-item]\n");
        return 2;
    }
    const std::string path = std::string(argv[1]) + (twoItem ? "/two-item.tpl" : "/large.tpl");
    TemplateFile file;
    if (twoItem) {
        fillTwoItemTemplate(file, path, systemClock().today());
    } else {
        bench::fillLargeTemplate(file, path, 1'000'000, systemClock().today());
    }
    if (!file.save(path) || !file.saveTransactions()) {
        std::fprintf(stderr, "writing %s failed\n", path.c_str());
        return 1;
    }
    reporting::ReportingData reportingData;
    reportingData.setTemplatePath(path);
    if (!reportingData.readTemplate() || !reportingData.writeReportingFile()) {
        std::fprintf(stderr, "writing the reporting file of %s failed\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
