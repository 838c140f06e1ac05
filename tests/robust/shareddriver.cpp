// The tracker and a time sheet on one template, for the test that runs them against vsolo-cli
// send: `append TEMPLATE N` stores N transactions one after another as the tracker does when it
// stops ("append-1", ...); `sheet TEMPLATE N` opens the time sheet N times, adds a transaction
// ("sheet-1", ...) and saves. Each prints the number of every transaction it stored. Exit 0, or 3
// when the template could not be read.

#include "core/model/templatefile.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        return 3;
    }
    const std::string mode = argv[1];
    const std::string path = argv[2];
    const int count = std::stoi(argv[3]);
    // Two minutes apart, 600 a day, from December 1 (appends) or November 1 (time sheet), 2026.
    const std::int32_t firstDay = mode == "append" ? 20788 : 20758;
    for (int i = 1; i <= count; ++i) {
        vsolo::TemplateFile file;
        file.setPath(path);
        if (!file.load(path)) {
            return 3;
        }
        const auto start = vsolo::TimeValue::fromParts(0, 0, (i % 600) * 2, 0);
        const vsolo::Transaction t(vsolo::TimeValue::fromParts(firstDay + i / 600, 0, 0, 0), start,
                                   vsolo::TimeValue(start.seconds() + 60), 1, 1,
                                   mode + "-" + std::to_string(i));
        bool stored = false;
        if (mode == "append") {
            stored = file.appendTransaction(t).ok();
        } else if (file.loadTransactions()) {
            file.store().add(t);
            stored = file.saveTransactions().ok();
        }
        if (stored) {
            std::cout << i << '\n' << std::flush;
        }
    }
    return 0;
}
