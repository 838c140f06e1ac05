#include "mailbridge/layer/envelope.h"
#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/mimetext.h"

#include <vmime/vmime.hpp>

namespace vsolo::mail {
namespace {

const vmime::charset& utf8() {
    static const vmime::charset kUtf8(vmime::charsets::UTF_8);
    return kUtf8;
}

// A text for a header field: control characters, line breaks above all, would let a name or a
// subject end the field early or the header itself, so they become spaces.
std::string headerText(const std::string& text) {
    std::string out = validUtf8(text);
    for (char& c : out) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
            c = ' ';
    }
    return out;
}

// The address as the bridge checked it, built from its parts so that VMime's parser cannot
// make another one of it; one that is not an address keeps its text, made harmless, as its local
// part, so that the message shows what it was given.
vmime::emailAddress emailOf(const std::string& address) {
    if (const std::optional<MailAddress> exact = parseMailAddress(address))
        return exactAddress(*exact);
    return vmime::emailAddress(vmime::word(headerText(address)), vmime::word());
}

vmime::mailbox mailboxOf(const std::string& name, const std::string& address) {
    if (name.empty())
        return vmime::mailbox(emailOf(address));
    return vmime::mailbox(*vmime::text::newFromString(headerText(name), utf8()), emailOf(address));
}

vmime::addressList addressesOf(const std::vector<std::pair<std::string, std::string>>& list) {
    vmime::addressList addresses;
    for (const auto& [name, address] : list)
        addresses.appendAddress(vmime::make_shared<vmime::mailbox>(mailboxOf(name, address)));
    return addresses;
}

// Text bodies travel in canonical form: every line break, whatever the note text used, is
// CRLF, which quoted-printable carries as a hard line break.
std::string canonicalLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::string composeMessage(const OutgoingMail& mail, std::time_t now, std::string_view messageId) {
    auto message = vmime::make_shared<vmime::message>();
    const auto header = message->getHeader();
    header->From()->setValue(mailboxOf(mail.fromName, mail.fromAddress));
    if (!mail.to.empty())
        header->To()->setValue(addressesOf(mail.to));
    if (!mail.cc.empty())
        header->Cc()->setValue(addressesOf(mail.cc));
    header->Subject()->setValue(vmime::text::newFromString(headerText(mail.subject), utf8()));
    header->Date()->setValue(vmime::datetime(now, vmime::datetime::GMT));
    header->MessageId()->setValue(vmime::messageId(headerText(std::string(messageId))));
    header->MimeVersion()->setValue(std::string("1.0"));
    if (!mail.messageType.empty()) {
        auto field = vmime::headerFieldFactory::getInstance()->create("X-Message-Type");
        field->setValue(vmime::text::newFromString(headerText(mail.messageType), utf8()));
        header->appendField(field);
    }
    message->getBody()->setContents(
        vmime::make_shared<vmime::stringContentHandler>(
            canonicalLineBreaks(validUtf8(mail.noteText))),
        vmime::mediaType(vmime::mediaTypes::TEXT, vmime::mediaTypes::TEXT_PLAIN), utf8(),
        vmime::encoding(vmime::encodingTypes::QUOTED_PRINTABLE));
    return message->generate();
}

} // namespace vsolo::mail
