// Reads raw messages as the mail layer takes them from a store: headers, MIME parts, transfer
// encodings and charsets. Whatever it accepts, its texts are UTF-8, as every caller expects.
#include "fuzz/fuzzinput.h"
#include "mailbridge/layer/maillayer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using vsolo::fuzz::require;

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing past
// U+10FFFF.
bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace

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
