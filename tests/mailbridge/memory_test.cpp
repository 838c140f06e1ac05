// An export when memory runs out below it: it returns a result, and its caller goes on. This
// program replaces the allocation functions of the whole process, the library's included, and
// fails large ones, those of a big message: a small one may fail inside the standard library's
// own functions that cannot pass the failure on, which end any program.

#include "bridgefixture.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Counts down large allocations; the one at zero fails, and the count goes below zero.
std::atomic<long> g_largeLeft{-1};

} // namespace

void* operator new(std::size_t size) {
    if (size >= 64 * 1024 && g_largeLeft.load() >= 0 && g_largeLeft.fetch_sub(1) == 0) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}
// Not inlined: where GCC 12 sees the free() inside, it takes it for the wrong release of what
// operator new returned (-Wmismatched-new-delete), though both are these replacements.
[[gnu::noinline]] void operator delete(void* block) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace vsolo::testing {
namespace {

// A time sheet of 1 MiB as the library sends it (quoted-printable), read while each large
// allocation of the read fails in turn, until the read runs through without one failing.
TEST_F(BridgeTest, AReadGivesTheTextOrSaysThatMemoryRanOut) {
    const std::string body = timeSheetBody(
        "desk", "1", {{"11/14/2023", "09:00", "10:30", "3", "12", std::string(1 << 20, 'n')}});
    ASSERT_EQ(mapiLogon(0, "", "", 0), SUCCESS_SUCCESS);
    ASSERT_EQ(
        mapiSendMailEx(0, 0, "s", body.c_str(), "t", "a@x.org", "a@x.org", "b@x.org", "b@x.org"),
        SUCCESS_SUCCESS);
    const std::string id = deliver(100, "a", readBytes(m_dir.file("sent.mail")));
    int toldOutOfMemory = 0;
    for (long nth = 0;; ++nth) {
        m_boxes.clear();
        g_largeLeft = nth;
        MapiMessage* message = nullptr;
        const ULONG result = mapiReadMail(0, id.c_str(), MAPI_PEEK, &message);
        const bool failed = g_largeLeft.exchange(-1) < 0;
        const bool sameText = message != nullptr && message->lpszNoteText == body;
        mapiFreeBuffer(message);
        if (!failed) {
            EXPECT_TRUE(result == SUCCESS_SUCCESS && sameText);
            break;
        }
        EXPECT_TRUE(result != SUCCESS_SUCCESS || sameText) << "another text for want of memory";
        toldOutOfMemory +=
            m_boxes == std::vector<Box>{{"Error", "MAPI is encountering low memory problems"}};
    }
    EXPECT_GT(toldOutOfMemory, 0);
}

} // namespace
} // namespace vsolo::testing
