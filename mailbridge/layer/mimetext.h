#pragma once

#include <string>
#include <string_view>

namespace vmime {
class header;
} // namespace vmime

namespace vsolo::mail {

// The text itself when it is valid UTF-8; otherwise every byte that starts no valid sequence
// becomes U+FFFD, so that what the layer hands on is always UTF-8.
std::string validUtf8(std::string_view text);

// Converts text in `charsetName` to UTF-8. A charset VMime does not know is taken as UTF-8 when
// the bytes are valid UTF-8 and as Windows-1252 otherwise; never throws.
std::string toUtf8(const std::string& text, const std::string& charsetName);

// Whether VMime's parser, which recurses once per nested multipart and once per address group,
// could run out of stack on the text: more than a few hundred "multipart" words in all, or a
// header field (with its continuation lines) holding more than a few hundred colons. No mail
// the layer expects comes near either bound.
bool nestsTooDeep(std::string_view raw);

// The fields of the top-level header that an envelope holds (From, To, Subject, X-Message-Type)
// with their continuation lines, from the start of `raw` to the first empty line; a field that
// holds more colons than nestsTooDeep allows is left out. False when the text starts with no
// header field at all.
bool envelopeFields(std::string_view raw, std::string& fields);

// The decoded UTF-8 text of an unstructured header field, without the surrounding white space;
// "" when the field is absent or holds no text.
std::string fieldText(const vmime::header& header, const char* fieldName);

} // namespace vsolo::mail
