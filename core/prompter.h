#pragma once

#include <string>
#include <string_view>

namespace vsolo {

// Every message box of the program goes through a Prompter, so that the data layer can report to
// the user without knowing about windows and tests can answer without a modal box. Texts are
// UTF-8; "\r\n" in a text is a line break.
class Prompter {
public:
    enum class Icon { None, Information, Warning, Stop, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;

    // A message with one OK button.
    virtual void show(std::string_view text, Icon icon = Icon::Warning) = 0;
    // A question; `preferred` is the button that has the focus when the box opens.
    virtual Answer ask(std::string_view text, Buttons buttons, Answer preferred,
                       Icon icon = Icon::Question) = 0;
};

} // namespace vsolo
