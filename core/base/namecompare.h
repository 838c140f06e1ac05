#pragma once

#include <string>
#include <string_view>

namespace vsolo {

// Item names compare without regard to case. Texts are UTF-8; both sides are read code point by
// code point and each code point is replaced by its lower-case form before comparing:
//  - ASCII A-Z become a-z;
//  - Latin-1 Supplement: U+00C0..U+00DE (but not U+00D7, the multiplication sign) add 0x20;
//  - Latin Extended-A: each capital of a capital/small pair (U+0100..U+017E) becomes its small
//    letter, U+0130 (capital I with dot) becomes 'i' and U+0178 (capital Y with diaeresis) becomes
//    U+00FF; letters without a case partner (U+0131, U+0138, U+0149, U+017F) stay as they are.
// Every other code point compares as itself. A byte that does not start a valid UTF-8 sequence is
// compared as a code point of its own above the Unicode range, so damaged texts still order stably.
// The order is that of the lower-cased code points, so accented letters sort after 'z'.
int compareNames(std::string_view a, std::string_view b);

inline bool namesEqual(std::string_view a, std::string_view b) {
    return compareNames(a, b) == 0;
}

// The lower-case form used by compareNames, exposed for tests and lookups.
char32_t foldCodePoint(char32_t c);

// The code points compareNames compares, each in its lower-case form: two names are equal without
// regard to case exactly when their folded forms are equal, so the form can key a lookup table.
std::u32string foldedName(std::string_view name);

} // namespace vsolo
