#include "core/settingsstore.h"

namespace vsolo {

// Integers and texts live in two maps so that a read of the wrong type finds nothing; a name holds
// at most one value, so every write clears the other map's entry.

namespace {

template <typename Map>
std::optional<typename Map::mapped_type> valueIn(const Map& map, const typename Map::key_type& k) {
    const auto it = map.find(k);
    if (it == map.end()) {
        return std::nullopt;
    }
    return it->second;
}

} // namespace

std::optional<std::int32_t> MemorySettingsStore::readInt(std::string_view section,
                                                         std::string_view name) const {
    return valueIn(m_ints, key(section, name));
}

std::optional<std::string> MemorySettingsStore::readText(std::string_view section,
                                                         std::string_view name) const {
    return valueIn(m_texts, key(section, name));
}

bool MemorySettingsStore::writeInt(std::string_view section, std::string_view name,
                                   std::int32_t value) {
    Key k = key(section, name);
    m_texts.erase(k);
    m_ints.insert_or_assign(std::move(k), value);
    return true;
}

bool MemorySettingsStore::writeText(std::string_view section, std::string_view name,
                                    std::string_view value) {
    Key k = key(section, name);
    m_ints.erase(k);
    m_texts.insert_or_assign(std::move(k), std::string(value));
    return true;
}

void MemorySettingsStore::remove(std::string_view section, std::string_view name) {
    const Key k = key(section, name);
    m_ints.erase(k);
    m_texts.erase(k);
}

bool MemorySettingsStore::contains(std::string_view section, std::string_view name) const {
    const Key k = key(section, name);
    return m_ints.count(k) != 0 || m_texts.count(k) != 0;
}

} // namespace vsolo
