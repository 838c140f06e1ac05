#include "tracker/app/startup.h"

#include "core/base/fileio.h"

#include <cstdio>

namespace vsolo {

StartupDocument decideStartupDocument(const std::string& commandLinePath,
                                      const std::string& templateLocation) {
    StartupDocument result;
    if (!commandLinePath.empty()) {
        result.path = commandLinePath;
        return result;
    }
    if (templateLocation.empty()) {
        result.noTemplate = true;
        return result;
    }
    if (!fileExists(templateLocation) || isDirectory(templateLocation)) {
        result.warnMissing = true;
        return result;
    }
    result.path = templateLocation;
    return result;
}

bool systemLibraryVersionAccepted(std::uint32_t majorMinor, std::uint32_t buildRevision) {
    constexpr std::uint32_t kMajorMinor = (4u << 16) | 72u;
    constexpr std::uint32_t kBuildRevision = (2106u << 16) | 4u;
    return majorMinor >= kMajorMinor || buildRevision >= kBuildRevision;
}

bool runtimeLibraryAccepted(const char* runtimeVersion, const char* builtVersion) {
    int runMajor = 0, runMinor = 0, builtMajor = 0, builtMinor = 0;
    if (std::sscanf(runtimeVersion, "%d.%d", &runMajor, &runMinor) != 2 ||
        std::sscanf(builtVersion, "%d.%d", &builtMajor, &builtMinor) != 2) {
        return false;
    }
    return runMajor == builtMajor && runMinor >= builtMinor;
}

} // namespace vsolo
