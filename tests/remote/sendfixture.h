#pragma once

// A managed version-4 template "work" with a transaction file built byte by byte, beside the mail
// bridge's Maildir and sendmail stand-ins of BridgeTest, for the tests of sending the time sheet.

#include "../mailbridge/bridgefixture.h"
#include "core/model/templatefile.h"
#include "tests/support/bytebuilder.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"

#include <string>
#include <vector>

namespace vsolo::testing {

// The transactions of the fixture: May 6 to 9, 2024 inside the range sent, May 10 outside it.
// Worked per day: 7:00, 8:00, 9:00, 9:00 all sent before, 1:00.
inline std::vector<V4Record> sendRecords() {
    return {V4Record(1, 1, "05/06/2024", "08:00", "15:00", 0, "call client"),
            V4Record(1, 2, "05/07/2024", "08:00", "12:00", 0, "notes"),
            V4Record(2, 3, "05/07/2024", "12:00", "16:00", 0, ""),
            V4Record(2, 3, "05/08/2024", "08:00", "17:00", 0, "Caf\xC3\xA9 plan"),
            V4Record(1, 1, "05/09/2024", "08:00", "17:00", 1, "sent before"),
            V4Record(1, 2, "05/10/2024", "09:00", "10:00", 0, "later")};
}

inline std::string managedTemplate() {
    return v4Template(kManagedTypeText, 3, 4,
                      {{1, 0, 0, 0, 1, 1, 60, "Client", " ", " "},
                       {2, 0, 0, 0, 1, 1, 40, "Admin", " ", " "},
                       {1, 0, 1, 1, 1, 2, 0, "Meetings", " ", " "},
                       {1, 0, 2, 1, 1, 2, 0, "Minutes", " ", " "},
                       {2, 0, 3, 1, 1, 2, 0, "Mail", " ", " "}});
}

// The version-4 hand-off record of a transaction file record for the resource.
inline std::string handOffRecord(const std::string& resource, const V4Record& r) {
    return ByteBuilder()
        .counted(resource)
        .i32(r.level1)
        .i32(r.level2)
        .fixed(r.date, 11)
        .fixed(r.start, 6)
        .fixed(r.end, 6)
        .counted(r.description);
}

class SendFixture : public BridgeTest {
public:
    void SetUp() override {
        BridgeTest::SetUp();
        writeBytes(tpl(), managedTemplate());
        writeBytes(trs(), records(transactionHeader(), sendRecords()));
    }

    std::string tpl() const { return m_dir.file("work.tpl"); }
    std::string trs() const { return m_dir.file("work.trs"); }
    std::string transDat() const { return m_dir.file("trans.dat"); }
    std::string logDat() const { return m_dir.file("log.dat"); }

    // The records of the fixture with the sent mark of those at `indexes` set.
    static std::vector<V4Record> withSent(std::vector<V4Record> list,
                                          const std::vector<std::size_t>& indexes) {
        for (const std::size_t i : indexes) {
            list[i].sent = 1;
        }
        return list;
    }
    // The records of the fixture at `indexes`.
    static std::vector<V4Record> only(const std::vector<std::size_t>& indexes) {
        const std::vector<V4Record> all = sendRecords();
        std::vector<V4Record> picked;
        for (const std::size_t i : indexes) {
            picked.push_back(all[i]);
        }
        return picked;
    }
};

} // namespace vsolo::testing
