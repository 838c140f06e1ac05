// Writes a large template for start-up measurements: 40 projects of 50 activities (2,040 items)
// and 1,000,000 transactions, 250 a day, the last day being today.
// Usage: make_large_template FOLDER

#include "largetemplate.h"

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
    bench::fillLargeTemplate(file, path, 1'000'000, systemClock().today());
    if (!file.save(path) || !file.saveTransactions()) {
        std::fprintf(stderr, "writing %s failed\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
