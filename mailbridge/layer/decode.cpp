// Damage in a message is taken in by the fallbacks below; running out of memory is passed on
// instead, since a fallback would then give another text than the message holds.

#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/mimetext.h"

#include <new>
#include <vmime/contentTypeField.hpp>
#include <vmime/vmime.hpp>

namespace vsolo::mail {
namespace {

// Deeper nesting than this is no mail the layer expects; the walk stops there.
constexpr int kMaxPartDepth = 32;

// The part's media type; text/plain for a part without Content-Type (RFC 2045).
vmime::mediaType mediaTypeOf(const vmime::bodyPart& part) {
    const vmime::mediaType textPlain(vmime::mediaTypes::TEXT, vmime::mediaTypes::TEXT_PLAIN);
    const auto field = firstField(*part.getHeader(), vmime::fields::CONTENT_TYPE);
    const auto type = field ? field->getValue<vmime::mediaType>() : nullptr;
    return type ? *type : textPlain;
}

// The first text/plain leaf, depth first in the order of the parts; null when there is none.
std::shared_ptr<const vmime::bodyPart> firstTextPlain(std::shared_ptr<const vmime::bodyPart> part,
                                                      int depth) {
    if (depth > kMaxPartDepth)
        return nullptr;
    const vmime::mediaType type = mediaTypeOf(*part);
    if (type.getType() == vmime::mediaTypes::MULTIPART) {
        for (const auto& child : part->getBody()->getPartList()) {
            if (auto found = firstTextPlain(child, depth + 1))
                return found;
        }
        return nullptr;
    }
    return type == vmime::mediaType(vmime::mediaTypes::TEXT, vmime::mediaTypes::TEXT_PLAIN)
               ? part
               : nullptr;
}

std::string charsetOf(const vmime::bodyPart& part) {
    try {
        const auto field = vmime::dynamicCast<const vmime::contentTypeField>(
            firstField(*part.getHeader(), vmime::fields::CONTENT_TYPE));
        if (field && field->hasCharset())
            return field->getCharset().getName();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    return {};
}

// The body with its transfer encoding undone; an encoding VMime does not know leaves the bytes
// as they came.
std::string decodedBody(const vmime::bodyPart& part) {
    const auto contents = part.getBody()->getContents();
    std::string bytes;
    try {
        vmime::utility::outputStreamStringAdapter out(bytes);
        contents->extract(out);
        return bytes;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    bytes.clear();
    vmime::utility::outputStreamStringAdapter out(bytes);
    contents->extractRaw(out);
    return bytes;
}

std::string mailboxName(const vmime::mailbox& mailbox) {
    try {
        return validUtf8(textAsUtf8(mailbox.getName(), vmime::charsetConverterOptions()));
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return validUtf8(mailbox.getName().getWholeBuffer());
    }
}

// Put together from the parsed words: VMime's own text form of an address encodes damaged
// words afresh and leaks a converter when that fails.
std::string mailboxAddress(const vmime::mailbox& mailbox) {
    const vmime::emailAddress& email = mailbox.getEmail();
    std::string address = email.getLocalName().getBuffer();
    if (!email.getDomainName().getBuffer().empty())
        address += "@" + email.getDomainName().getBuffer();
    return validUtf8(address);
}

void readFrom(const vmime::header& header, ReceivedMail& out) {
    try {
        const auto field = firstField(header, vmime::fields::FROM);
        const auto from = field ? field->getValue<vmime::mailbox>() : nullptr;
        if (from) {
            out.fromName = mailboxName(*from);
            out.fromAddress = mailboxAddress(*from);
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
}

void readTo(const vmime::header& header, ReceivedMail& out) {
    try {
        const auto field = firstField(header, vmime::fields::TO);
        const auto list = field ? field->getValue<vmime::addressList>() : nullptr;
        if (!list)
            return;
        for (const auto& mailbox : list->toMailboxList()->getMailboxList())
            out.to.emplace_back(mailboxName(*mailbox), mailboxAddress(*mailbox));
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
}

bool decodeInto(std::string_view raw, ReceivedMail& out) {
    // The envelope is read as decodeEnvelope reads it, so that the two agree on every message.
    // VMime parses the value of every field it is given; for the body it is given only those
    // that shape the body.
    if (!decodeEnvelope(raw, out))
        return false;
    std::string kept;
    std::size_t headerEnd = 0;
    headerFields(raw, {"content-type", "content-transfer-encoding"}, kept, &headerEnd);
    kept.append(raw.substr(headerEnd));
    auto message = vmime::make_shared<vmime::message>();
    message->parse(kept);
    if (const auto text = firstTextPlain(message, 0))
        out.noteText = toUtf8(decodedBody(*text), charsetOf(*text));
    return true;
}

void clearTexts(ReceivedMail& out) {
    out.subject.clear();
    out.noteText.clear();
    out.messageType.clear();
    out.fromName.clear();
    out.fromAddress.clear();
    out.to.clear();
}

} // namespace

bool decodeMessage(std::string_view raw, ReceivedMail& out) {
    clearTexts(out);
    if (raw.empty() || raw.size() > kMaxMessageSize || nestsTooDeep(raw))
        return false;
    try {
        return decodeInto(raw, out);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        // VMime reports damage by exceptions; untrusted input must never escape as one.
        clearTexts(out);
        return false;
    }
}

bool decodeEnvelope(std::string_view raw, ReceivedMail& out) {
    clearTexts(out);
    std::string fields;
    if (!headerFields(raw.substr(0, kMaxMessageSize), {"from", "to", "subject"}, fields))
        return false;
    // Parsed on its own, as a search takes it, since VMime's parse of one field can be led
    // astray by the fields before it.
    out.messageType = decodeMessageType(raw);
    try {
        vmime::header header;
        header.parse(fields);
        out.subject = fieldText(header, vmime::fields::SUBJECT);
        readFrom(header, out);
        readTo(header, out);
    } catch (...) {
        // What could be read stays; the fields VMime cannot parse stay empty.
    }
    return true;
}

std::string decodeMessageType(std::string_view header) {
    std::string field;
    if (!headerFields(header.substr(0, kMaxMessageSize), {"x-message-type"}, field))
        return {};
    try {
        vmime::header parsed;
        parsed.parse(field);
        return fieldText(parsed, "X-Message-Type");
    } catch (...) {
        return {};
    }
}

} // namespace vsolo::mail
