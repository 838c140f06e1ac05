#pragma once

#include <functional>
#include <string>
#include <string_view>

// A text the user reads on the screen. The mark is how the translation tools find the text (as
// Qt's QT_TR_NOOP); the text itself stays as written and reaches the screen through tx().
#define VSOLO_TR(text) text
// A text that files, peers or other programs read, standing among the user's texts: it is never
// translated, and the mark says so.
#define VSOLO_FIXED(text) text

namespace vsolo {

// How a program gives a text marked VSOLO_TR in the user's language: the translation, or the
// text itself when there is none.
using TextTranslator = std::function<std::string(const char* text)>;

// The programs with windows install their translator at start. Without one (vsolo-cli, whose output
// scripts read, and the tests) every text stays as written.
void setTextTranslator(TextTranslator translator);

// The text in the user's language. `text` is one of the program's fixed texts, never a text
// composed at run time: each text's translation is kept, and the pointer returned lives as long as
// the program. Placeholders are filled in afterwards, into the translation.
const char* tx(const char* text);
// The same for a text kept as a view; the view returned lives as long as `text` does, or longer.
std::string_view tx(std::string_view text);

} // namespace vsolo
