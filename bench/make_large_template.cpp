// Writes a large template for start-up measurements: 40 projects of 50 activities (2,040 items)
// and 1,000,000 transactions, 250 a day, the last day being today.
// Usage: make_large_template FOLDER

#include "core/templatefile.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    using namespace vsolo;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_large_template FOLDER\n");
        return 2;
    }
    const std::string path = std::string(argv[1]) + "/large.tpl";
    TemplateFile file;
    file.setFormat(TemplateFormat::Version4);
    file.setTypeText("Veltimo Solo File");
    file.setPath(path);
    for (int g = 1; g <= 40; ++g) {
        LevelItem project;
        project.setGroupNumber(g);
        project.setName("Project " + std::to_string(g));
        file.level1().add(project);
        for (int s = 1; s <= 50; ++s) {
            LevelItem activity;
            activity.setGroupNumber(g);
            activity.setSubId(g * 100 + s);
            activity.setDepth(1);
            activity.setName("Activity " + std::to_string(s));
            file.level2().add(activity);
        }
    }
    file.store().setNextGroupNumber(41);
    file.store().setNextSubId(4100);
    constexpr int kTransactions = 1'000'000;
    constexpr int kPerDay = 250;
    const TimeValue today = systemClock().today();
    const int days = kTransactions / kPerDay;
    for (int i = 0; i < kTransactions; ++i) {
        const TimeValue day = today - TimeValue((days - 1 - i / kPerDay) * TimeValue::kDay);
        const int slot = i % kPerDay;
        const int group = 1 + i % 40;
        file.store().add(Transaction(day, TimeValue(slot * 300), TimeValue(slot * 300 + 240), group,
                                     group * 100 + 1 + i % 50, "task " + std::to_string(i)));
    }
    if (!file.save(path) || !file.saveTransactions()) {
        std::fprintf(stderr, "writing %s failed\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
