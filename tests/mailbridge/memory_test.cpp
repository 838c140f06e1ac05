// The exports when memory runs out below them, in the library, the mail layer or the mail
// library: each returns a result, and the program that called it goes on. This program replaces
// the allocation functions of the whole process, the library's included, and fails large ones:
// those of a big message, which is where memory runs out. A small one may fail inside the
// standard library's own functions that cannot pass the failure on, which end the program
// whatever the exports do.

#include "bridgefixture.h"

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

namespace {

constexpr std::size_t kLarge = 64 * 1024;

// Counts down large allocations; the one at zero fails, once.
std::atomic<long> g_allocationsLeft{-1};
std::atomic<bool> g_failed{false};

void* allocate(std::size_t size) {
    if (size >= kLarge && g_allocationsLeft.load() >= 0 && g_allocationsLeft.fetch_sub(1) == 0) {
        g_failed = true;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void* allocateOrNull(std::size_t size) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrNull(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

namespace vsolo::testing {
namespace {

const std::string kNote(1 << 20, 'n');
const Box kLowMemory{"Error", "MAPI is encountering low memory problems"};
// What a call answers for a read that says it succeeded but gives another text.
constexpr ULONG kWrongText = 99;

// The body quoted-printable, as the library sends a time sheet.
std::string quotedPrintable(const std::string& body) {
    std::string out;
    char hex[4];
    for (std::size_t i = 0; i < body.size(); ++i) {
        const auto c = static_cast<unsigned char>(body[i]);
        if (c < 0x20 || c == '=' || c > 0x7E) {
            std::snprintf(hex, sizeof hex, "=%02X", c);
            out += hex;
        } else {
            out += body[i];
        }
        if (i % 64 == 63) {
            out += "=\r\n";
        }
    }
    return out;
}

struct Export {
    const char* name;
    std::function<ULONG()> call;
    ULONG result; // when no allocation fails
};

// Over the fixture's Maildir holding a time sheet of 1 MiB, with an SMTP transport to a port where
// nothing listens.
class OutOfMemoryTest : public BridgeTest {
public:
    void SetUp() override {
        BridgeTest::SetUp();
        writeProfiles("[General]\nDefault=Desk\n[Desk]\nStore=maildir:" + m_dir.file("Maildir") +
                      "\nTransport=smtp://127.0.0.1:1\n");
        deliver(100, "a",
                textMessage("\r\n", "Ann <ann@example.org>", "hub@example.org", "Transaction file",
                            "s",
                            {"MIME-Version: 1.0", "Content-Type: text/plain; charset=utf-8",
                             "Content-Transfer-Encoding: quoted-printable"},
                            quotedPrintable(m_body)));
        ASSERT_EQ(InitMAPI(), 1);
    }

    const std::string m_body =
        timeSheetBody("desk", "1", {{"11/14/2023", "09:00", "10:30", "3", "12", kNote}});
};

TEST_F(OutOfMemoryTest, AnExportReturnsAResultWhereverMemoryRunsOut) {
    const Export exports[] = {
        {"read",
         [this] {
             MapiMessage* message = nullptr;
             ULONG result = mapiReadMail(0, "100.a.testhost", MAPI_PEEK, &message);
             if (result == SUCCESS_SUCCESS && message->lpszNoteText != m_body) {
                 result = kWrongText;
             }
             mapiFreeBuffer(message);
             return result;
         },
         SUCCESS_SUCCESS},
        {"send",
         [] {
             return mapiSendMailEx(0, 0, "s", kNote.c_str(), "t", "a@example.org", "a@example.org",
                                   "Hub <b@example.org>", "Hub <b@example.org>");
         },
         MAPI_E_FAILURE},
        {"collect",
         [this] { return ULONG(DLLUpdateRemote(m_dir.file("hub.dat").c_str(), "", "")); }, 1},
    };
    for (const Export& e : exports) {
        ASSERT_EQ(mapiLogon(0, "", "", 0), SUCCESS_SUCCESS);
        // Each large allocation in turn fails, until the call runs through without one failing.
        int toldOutOfMemory = 0;
        for (long nth = 0;; ++nth) {
            g_failed = false;
            g_allocationsLeft = nth;
            const ULONG result = e.call();
            g_allocationsLeft = -1;
            if (!g_failed) {
                EXPECT_EQ(result, e.result) << e.name;
                break;
            }
            EXPECT_NE(result, kWrongText) << e.name << " gave another text for want of memory";
            toldOutOfMemory += std::count(m_boxes.begin(), m_boxes.end(), kLowMemory) > 0 ? 1 : 0;
            m_boxes.clear();
        }
        EXPECT_GT(toldOutOfMemory, 0) << e.name;
    }
}

} // namespace
} // namespace vsolo::testing
