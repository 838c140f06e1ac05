#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace vmime {
class charsetConverterOptions;
class header;
class headerField;
class text;
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

// The fields of the top-level header with one of the lower-case `names`, with their continuation
// lines, from the start of `raw` to the first empty line, where `headerEnd` (when given) is set
// (to the size of `raw` when there is none). A field that holds more colons than nestsTooDeep
// allows is left out. False when the text starts with no header field at all.
bool headerFields(std::string_view raw, std::initializer_list<std::string_view> names,
                  std::string& fields, std::size_t* headerEnd = nullptr);

// The text converted to UTF-8 word by word, as VMime's getConvertedText converts it, but
// without a converter for the words that are ASCII already. Throws as VMime does.
std::string textAsUtf8(const vmime::text& text, const vmime::charsetConverterOptions& options);

// The first field of the name, compared without regard to case; null when there is none. VMime's
// own findField lowers every name it compares through the locale, which costs more than the
// rest of a message's decoding.
std::shared_ptr<const vmime::headerField> firstField(const vmime::header& header,
                                                     std::string_view name);

// The decoded UTF-8 text of an unstructured header field, without the surrounding white space;
// "" when the field is absent or holds no text.
std::string fieldText(const vmime::header& header, const char* fieldName);

} // namespace vsolo::mail
