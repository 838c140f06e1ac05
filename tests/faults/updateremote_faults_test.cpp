// The fault matrix over the mail bridge's collection of time sheets into a hand-off file. The
// bridge's sources are built into this program, so that they write through its fault seam.

#include "../mailbridge/bridgefixture.h"
#include "faultmatrix.h"

namespace vsolo::testing {
namespace {

// A mail session of its own, over a Maildir holding one time sheet.
struct Mailbox : BridgeTest {
    Mailbox() {
        SetUp();
        deliver(100, "a",
                mailText("Transaction file", "Transaction file",
                         timeSheetBody("desk 7", "1",
                                       {{"11/14/2023", "09:00", "10:30", "3", "12", "notes"}})));
    }
    ~Mailbox() override { TearDown(); }
    void TestBody() override {}
};

} // namespace

const std::vector<Writer>& writers() {
    static const std::vector<Writer> table{
        {"BridgeCollectsTimeSheets",
         {{"hub.dat", std::string("KEEP\0me", 7)}},
         kAppending,
         true,
         [](TempDir& d) {
             Mailbox box;
             Outcome o;
             o.path = d.file("hub.dat");
             o.ok = DLLUpdateRemote(o.path.c_str(), "", "") == 1;
             if (!box.m_boxes.empty()) {
                 o.shown = box.m_boxes.front().text;
             }
             if (!o.ok) {
                 EXPECT_EQ(box.mailFiles(), std::vector<std::string>{"new/100.a.testhost"})
                     << "a time sheet that was not stored is kept";
             }
             return o;
         },
         shownText},
    };
    return table;
}

} // namespace vsolo::testing
