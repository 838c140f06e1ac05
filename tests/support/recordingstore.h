#pragma once

#include "core/settingsstore.h"

#include <set>
#include <string>
#include <vector>

namespace vsolo::testing {

// A settings store in memory that records the name of every write in order and refuses the
// writes of the names it is told to refuse (or all of them), as a store whose file cannot be
// written would.
class RecordingStore final : public SettingsStore {
public:
    std::optional<std::int32_t> readInt(std::string_view section,
                                        std::string_view name) const override {
        return m_inner.readInt(section, name);
    }
    std::optional<std::string> readText(std::string_view section,
                                        std::string_view name) const override {
        return m_inner.readText(section, name);
    }
    bool writeInt(std::string_view section, std::string_view name, std::int32_t value) override {
        return record(name) && m_inner.writeInt(section, name, value);
    }
    bool writeText(std::string_view section, std::string_view name,
                   std::string_view value) override {
        return record(name) && m_inner.writeText(section, name, value);
    }
    void remove(std::string_view section, std::string_view name) override {
        if (!m_refuseAll) {
            m_inner.remove(section, name);
        }
    }

    void refuse(std::string name) { m_refused.insert(std::move(name)); }
    void refuseAll() { m_refuseAll = true; }
    const std::vector<std::string>& writes() const { return m_writes; }
    void clearWrites() { m_writes.clear(); }
    MemorySettingsStore& inner() { return m_inner; }

private:
    bool record(std::string_view name) {
        m_writes.emplace_back(name);
        return !m_refuseAll && m_refused.count(std::string(name)) == 0;
    }

    MemorySettingsStore m_inner;
    std::vector<std::string> m_writes;
    std::set<std::string> m_refused;
    bool m_refuseAll = false;
};

} // namespace vsolo::testing
