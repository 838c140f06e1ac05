#pragma once

#include <initializer_list>
#include <string_view>

class QAbstractButton;
class QLabel;
class QString;
class QWidget;

namespace vsolo {

// The widest a user's name is shown in a label, check box or button, in average characters of
// the widget's font. Names are up to 250 characters long, far wider than any screen.
inline constexpr int kShownNameWidth = 40;

// The name as the widget shows it: cut with an ellipsis where it is wider than kShownNameWidth.
QString shownName(const QWidget& widget, std::string_view name);

// Shows a text with one or two users' names in it (placeholders as fillPlaceholders() fills them)
// without letting a long name widen the window: each name is shown as shownName() has it, and
// when one was cut the tooltip holds every name in full (none otherwise). A label shows the text
// as plain text; a button or check box shows an ampersand of a name as itself.
void setTextWithNames(QLabel& label, const char* pattern,
                      std::initializer_list<std::string_view> names);
void setTextWithNames(QAbstractButton& button, const char* pattern,
                      std::initializer_list<std::string_view> names);

} // namespace vsolo
