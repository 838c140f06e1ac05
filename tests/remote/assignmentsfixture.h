#pragma once

// A template "Desk.tpl" beside a Maildir of the bridge fixture, the assignment updates as the
// central server mails them, and the check run through the real port.

#include "../mailbridge/bridgefixture.h"
#include "core/remote/assignments.h"
#include "tests/support/filelayouts.h"

#include <string>
#include <vector>

namespace vsolo::testing {

using Rows = std::vector<std::vector<std::string>>;

inline std::string updateBody(const std::string& resource, const Rows& rows) {
    return timeSheetBody(resource, std::to_string(rows.size()), rows);
}

// One record of a version-4 update.
inline std::vector<std::string> v4Row(int group, int parent, int subId, int depth, int level,
                                      const std::string& name, int target = 0) {
    return {std::to_string(group),
            std::to_string(parent),
            std::to_string(subId),
            std::to_string(depth),
            "T",
            std::to_string(level),
            std::to_string(target),
            name,
            "d " + name,
            " "};
}

class AssignmentsTest : public BridgeTest {
protected:
    std::string tpl() const { return m_dir.file("Desk.tpl"); }

    void load(const std::string& bytes) {
        writeBytes(tpl(), bytes);
        file.setPath(tpl());
        ASSERT_TRUE(file.load(tpl()).ok());
    }
    // A message of the type for the template, received at the hour of 6 May 2024 (UTC).
    std::string deliverUpdate(int hour, const std::string& type, const std::string& body,
                              const std::string& unique) const {
        return deliver(1714953600L + hour * 3600L, unique, mailText(type, type, body));
    }
    remote::AssignmentResult check(const Tracker* tracker = nullptr) {
        const auto port = remote::makeBridgePort();
        return remote::checkAssignments(*port, file, tracker, "", "");
    }
    // "name/name..." of a list, in list order.
    static std::string names(const LevelList& list) {
        std::string out;
        for (const auto& item : list.items()) {
            out += (out.empty() ? "" : "/") + item->name();
        }
        return out;
    }

    TemplateFile file;
};

} // namespace vsolo::testing
