// Reads raw messages as the mail layer takes them from a store: headers, MIME parts, transfer
// encodings and charsets. Whatever it accepts, its texts are UTF-8, as every caller expects.
#include "fuzz/fuzzinput.h"
#include "mailbridge/layer/maillayer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using vsolo::fuzz::isUtf8;
using vsolo::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    vsolo::mail::ReceivedMail mail;
    if (!vsolo::mail::decodeMessage(raw, mail)) {
        return 0;
    }
    require(isUtf8(mail.subject) && isUtf8(mail.noteText) && isUtf8(mail.fromName));
    require(isUtf8(mail.fromAddress) && isUtf8(mail.messageType));
    for (const auto& [name, address] : mail.to) {
        require(isUtf8(name) && isUtf8(address));
    }
    return 0;
}
