#pragma once

#include "core/base/usertext.h"
#include "core/settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace vsolo {

namespace tiptext {
inline constexpr const char* kFileName = VSOLO_FIXED("tips.txt");
inline constexpr const char* kFileMissing =
    VSOLO_TR("Tips file does not exist in the prescribed directory");
inline constexpr const char* kTroubleReading = VSOLO_TR("Trouble reading the tips file");
inline constexpr const char* kNoTips =
    VSOLO_TR("The tips file holds no tips: every line in it is empty or a comment.");
} // namespace tiptext

// Reads the tips one by one from a tips file beside the program. The file is plain text, one tip
// a line; a line that is empty or begins with a tab, a blank or ';' is a comment. Where the
// reading stands is remembered in the settings ("Tip"/"FilePos"), together with the file's
// modification time ("Tip"/"TimeStamp"): a file replaced by another starts again at its first
// tip. Reaching the end of the file starts again at its beginning, and a file without a single
// tip is read through once and then reported, so that reading never runs on.
class TipReader {
public:
    // Characters kept of a line; the rest of a longer line is passed over with it.
    static constexpr std::size_t kMaxLineCharacters = 1000;

    explicit TipReader(Settings& settings);
    ~TipReader();
    TipReader(const TipReader&) = delete;
    TipReader& operator=(const TipReader&) = delete;

    // Opens the tips file in `folder`, goes to the remembered position (the start when the file's
    // time stamp changed, which is then stored) and reads the tip there. False when there is no
    // such file, it is no regular file or it cannot be opened; text() then says so and nothing
    // more can be read.
    bool open(const std::string& folder);
    bool isOpen() const { return m_file != nullptr; }

    // Reads the next tip into text(): the tip, or the message that the file could not be read or
    // holds no tips.
    void next();
    const std::string& text() const { return m_text; }
    // The byte position after the tip shown, where the next reading starts.
    std::int32_t position() const;
    // Stores position() as "FilePos"; does nothing without an open file. False when the store
    // refused the write.
    bool savePosition();

    // The modification time of the file `fd` as the text kept in "TimeStamp": local date and
    // time, "MM/DD/YYYY HH:MM:SS".
    static std::string modificationText(int fd);

private:
    enum class Line { Read, End, Failed };
    Line readLine(std::string& bytes);
    void close();

    Settings& m_settings;
    std::FILE* m_file = nullptr;
    std::string m_text;
};

} // namespace vsolo
