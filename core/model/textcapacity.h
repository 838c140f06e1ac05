#pragma once

#include "core/base/usertext.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vsolo {

// What one text field of a file can hold. The field's layout decides it: a fixed field of n bytes
// of the legacy layouts holds n - 1 characters of Windows-1252; a counted text holds UTF-8 up to
// the length its reader accepts.
struct TextCapacity {
    bool windows1252 = false;
    std::size_t maxCharacters = SIZE_MAX;
    // Bytes of the stored text, without its terminating zero.
    std::size_t maxBytes = SIZE_MAX;

    static constexpr TextCapacity fixedField(std::size_t size) {
        return {true, size == 0 ? 0 : size - 1, size == 0 ? 0 : size - 1};
    }
    // A counted text whose length, terminator included, may be at most `limit`.
    static constexpr TextCapacity countedText(std::size_t limit) {
        return {false, SIZE_MAX, limit == 0 ? 0 : limit - 1};
    }
    static constexpr TextCapacity characters(std::size_t count) { return {false, count, SIZE_MAX}; }
};

// %1 what holds the text (kNameHoldsText), %2 the character, %3 its code ("U+2713").
inline constexpr const char* kTextCharacterNotStorableText = VSOLO_TR(
    "%1 holds the character \"%2\" (%3), which the files of this template cannot store: they keep "
    "texts in Windows-1252. Please use another character.");
// %1 what holds the text, %2 how many characters it has, %3 how many fit.
inline constexpr const char* kTextTooManyCharactersText =
    VSOLO_TR("%1 holds %2 characters; the files of this template store at most %3.");
// %1 what holds the text, %2 how many bytes it takes, %3 how many fit.
inline constexpr const char* kTextTooManyBytesText =
    VSOLO_TR("%1 takes %2 bytes; the files of this template store at most %3.");

// What holds the text, for the texts above.
inline constexpr const char* kNameHoldsText = VSOLO_TR("The name");
inline constexpr const char* kDescriptionHoldsText = VSOLO_TR("The description");
inline constexpr const char* kThirdTextHoldsText = VSOLO_TR("The third text");

// The one check of a text against the field it is to be stored in, made wherever a text is
// entered and again before any file is written: why the field cannot hold the text as it is, as a
// message in the user's language that starts with `what` (kDescriptionHoldsText, also in the
// user's language), or nothing when it can.
std::optional<std::string> textEntryProblem(std::string_view text, const TextCapacity& capacity,
                                            std::string_view what);

// A text as the field can hold it, for the texts the user cannot change (those the central server
// decides): each character the field's encoding lacks as '?', as the writer would put it down,
// and the rest cut between two characters to the field's length. The text itself when it fits.
std::string fittedText(std::string_view text, const TextCapacity& capacity);

} // namespace vsolo
