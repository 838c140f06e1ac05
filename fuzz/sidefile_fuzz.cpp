// Reads the side files of tag-512 templates and takes their entries into level lists the way a
// template takes them: the first entry of a sub-id names the level-1 item, assignments to sub-ids
// the template lacks are dropped. The lists are written again and must read back to one entry
// per item with the same targets, flags and assignments.
#include "core/model/levels.h"
#include "core/model/templateformat.h"
#include "fuzz/fuzzinput.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

using namespace vsolo;
using fuzz::require;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<SideEntry> entries;
    if (!parseSideFile(bytes, entries).ok) {
        require(entries.empty());
        return 0;
    }
    // Every entry takes at least 12 bytes and every assignment 4, after the count.
    std::size_t claimed = 4;
    for (const SideEntry& entry : entries) {
        claimed += 12 + 4 * entry.assigned.size();
    }
    require(claimed <= size);

    // The template's items: the level-1 sub-ids of the odd entries, the level-2 sub-ids that are
    // even, so that some entries and assignments find nothing.
    LevelList level1(1), level2(2);
    level1.setPartner(&level2);
    for (std::size_t i = 0; i < entries.size(); i += 2) {
        if (!level1.findBySubId(entries[i].level1SubId)) {
            LevelItem item;
            item.setSubId(entries[i].level1SubId);
            level1.add(item);
        }
        for (const std::int32_t subId : entries[i].assigned) {
            if (subId % 2 == 0 && !level2.findBySubId(subId)) {
                LevelItem item;
                item.setSubId(subId);
                level2.add(item);
            }
        }
    }
    AssignmentBatch batch;
    for (const SideEntry& entry : entries) {
        LevelItem* item = level1.findBySubId(entry.level1SubId);
        if (!item) {
            continue;
        }
        item->setTarget(entry.target > 100 ? 100 : entry.target);
        item->setActive(entry.active);
        batch.clear(*item);
        for (const std::int32_t subId : entry.assigned) {
            batch.assign(*item, level2.findBySubId(subId));
        }
    }

    std::vector<SideEntry> again;
    require(parseSideFile(serializeSideFile(level1), again).ok);
    require(again.size() == level1.size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        const LevelItem& item = *level1.at(i);
        require(again[i].level1SubId == item.subId() && again[i].target == item.target());
        require(again[i].active == item.isActive());
        require(again[i].assigned.size() == item.assigned().size());
        for (std::size_t k = 0; k < again[i].assigned.size(); ++k) {
            require(again[i].assigned[k] == item.assigned()[k]->subId());
        }
    }
    return 0;
}
