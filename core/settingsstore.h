#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vsolo {

// The per-user store of named values: integers and texts by section and name. The program reads
// and writes every setting through this interface; the Qt program keeps them in an INI file, the
// tests in memory.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Nothing when the value is missing or is not of the asked type.
    virtual std::optional<std::int32_t> readInt(std::string_view section,
                                                std::string_view name) const = 0;
    virtual std::optional<std::string> readText(std::string_view section,
                                                std::string_view name) const = 0;
    // False when the store cannot be written (for example a store opened read-only).
    virtual bool writeInt(std::string_view section, std::string_view name, std::int32_t value) = 0;
    virtual bool writeText(std::string_view section, std::string_view name,
                           std::string_view value) = 0;
    virtual void remove(std::string_view section, std::string_view name) = 0;
};

// A store in memory, for tests and for tools that must not touch the user's settings.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::int32_t> readInt(std::string_view section,
                                        std::string_view name) const override;
    std::optional<std::string> readText(std::string_view section,
                                        std::string_view name) const override;
    bool writeInt(std::string_view section, std::string_view name, std::int32_t value) override;
    bool writeText(std::string_view section, std::string_view name,
                   std::string_view value) override;
    void remove(std::string_view section, std::string_view name) override;

    bool contains(std::string_view section, std::string_view name) const;
    std::size_t size() const { return m_ints.size() + m_texts.size(); }

private:
    using Key = std::pair<std::string, std::string>;
    static Key key(std::string_view section, std::string_view name) {
        return {std::string(section), std::string(name)};
    }
    std::map<Key, std::int32_t> m_ints;
    std::map<Key, std::string> m_texts;
};

} // namespace vsolo
