#include "mailbridge/layer/envelope.h"

namespace vsolo::mail {

vmime::emailAddress exactAddress(const MailAddress& address) {
    return vmime::emailAddress(vmime::word(address.localPart), vmime::word(address.domain));
}

std::optional<Envelope> makeEnvelope(const std::string& from, const std::vector<std::string>& to,
                                     std::string& refused) {
    const std::optional<MailAddress> sender = parseMailAddress(from);
    if (!sender) {
        refused = refusedAddressCause(from, true);
        return std::nullopt;
    }
    if (to.empty()) {
        refused = kNoRecipientCause;
        return std::nullopt;
    }
    Envelope envelope{vmime::mailbox(exactAddress(*sender)), {}};
    for (const std::string& text : to) {
        const std::optional<MailAddress> recipient = parseMailAddress(text);
        if (!recipient) {
            refused = refusedAddressCause(text, false);
            return std::nullopt;
        }
        envelope.to.appendMailbox(std::make_shared<vmime::mailbox>(exactAddress(*recipient)));
    }
    return envelope;
}

} // namespace vsolo::mail
