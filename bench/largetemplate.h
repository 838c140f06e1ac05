#pragma once

#include "core/model/templatefile.h"

#include <string>

namespace vsolo::bench {

// The large template of the benchmarks: 40 projects of 50 activities each (2,040 items) and
// `transactions` transactions, 250 a day, ending on `lastDay`.
inline void fillLargeTemplate(TemplateFile& file, const std::string& path, int transactions,
                              TimeValue lastDay) {
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
    constexpr int kPerDay = 250;
    const int days = (transactions + kPerDay - 1) / kPerDay;
    for (int i = 0; i < transactions; ++i) {
        const TimeValue day = lastDay - TimeValue((days - 1 - i / kPerDay) * TimeValue::kDay);
        const int slot = i % kPerDay;
        const int group = 1 + i % 40;
        std::string description = "task ";
        description += std::to_string(i);
        file.store().add(Transaction(day, TimeValue(slot * 300), TimeValue(slot * 300 + 240), group,
                                     group * 100 + 1 + i % 50, std::move(description)));
    }
}

} // namespace vsolo::bench
