#pragma once

#include "core/settingsstore.h"

#include <map>
#include <string>
#include <utility>

namespace vsolo {

// One value of the file: its text (UTF-8, or the bytes of an "@ByteArray") and whether it was
// written as a list, which no integer is read from.
struct IniValue {
    std::string text;
    bool isList = false;
};
using IniValues = std::map<std::pair<std::string, std::string>, IniValue>;

// The tracker's settings file read without Qt, for the command-line tool: the INI file that
// QSettings writes ("[Section]" groups, "Name=value" lines), with its escapes undone:
//   - group and key names: "%XX" for characters outside letters, digits, '-', '.', '_' and '~'
//     ("Sender%20Address"), "%UXXXX" for characters past Latin-1;
//   - values: a text in double quotes keeps leading and trailing blanks, ',' and ';'; '\' starts
//     an escape ("\\", "\"", "\n", "\r", "\t", "\a", "\b", "\f", "\v", "\0", "\xNNNN" for a
//     character given by its code, "\NNN" in octal); "@ByteArray(...)" holds bytes as they are
//     (a text that is not UTF-8); "@@" stands for a text beginning with "@"; unquoted values
//     separated by "," form a list, read back joined by ", " as the tracker does;
//   - texts come back as UTF-8.
// The store is read once when it is made; it never writes, so every write answers false and
// remove does nothing. A missing or unreadable file reads as empty.
class IniSettingsStore final : public SettingsStore {
public:
    // Reads the file at the path.
    explicit IniSettingsStore(const std::string& path);

    // The tracker's settings file: "$XDG_CONFIG_HOME/Orvane Systems/Veltimo Solo.ini", with
    // "$HOME/.config" when XDG_CONFIG_HOME is unset or empty.
    static std::string trackerSettingsPath();
    // The reporting tool's own settings file beside it: "Veltimo Solo Reporting.ini".
    static std::string reportingSettingsPath();

    std::optional<std::int32_t> readInt(std::string_view section,
                                        std::string_view name) const override;
    std::optional<std::string> readText(std::string_view section,
                                        std::string_view name) const override;
    bool writeInt(std::string_view section, std::string_view name, std::int32_t value) override;
    bool writeText(std::string_view section, std::string_view name,
                   std::string_view value) override;
    void remove(std::string_view section, std::string_view name) override;

    // Whether the file was there and read.
    bool wasRead() const { return m_read; }

private:
    IniValues m_values;
    bool m_read = false;
};

// Parses the text of an INI file as QSettings writes it into (section, name) -> value, the
// escapes of names and values undone. Keys outside any group ("[General]") have the section "";
// QSettings keeps a group named "General" as "[%General]".
IniValues parseQSettingsIni(std::string_view text);

} // namespace vsolo
