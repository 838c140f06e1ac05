#pragma once

#include "core/settings.h"
#include "core/settingsstore.h"
#include "tests/support/tempdir.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace vsolo::testing {

// A folder for a tips file and the settings that remember the reading in it.
struct TipsFolder {
    TempDir dir;
    MemorySettingsStore store;
    Settings settings{store};

    std::string tipsPath() const { return dir.file("tips.txt"); }
    void write(std::string_view bytes) const { writeBytes(tipsPath(), bytes); }
    // Moves the file's modification time on, as replacing it with a newer file does.
    void makeNewer(int seconds = 120) const {
        const std::filesystem::path path = tipsPath();
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) +
                                                   std::chrono::seconds(seconds));
    }
};

} // namespace vsolo::testing
