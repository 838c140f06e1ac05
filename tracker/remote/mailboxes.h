#pragma once

#include "core/prompter.h"
#include "core/remote/mailport.h"

namespace vsolo {

// While it lives, the mail bridge shows its boxes through the program's prompter, like every
// other box of the program. The library speaks while the wait cursor is up, so each of its boxes
// shows the normal cursor over the wait cursor. It goes before the prompter does, so that the
// library never calls a prompter that is gone.
class MailBoxesThroughPrompter {
public:
    explicit MailBoxesThroughPrompter(Prompter& prompter);
    ~MailBoxesThroughPrompter();
    MailBoxesThroughPrompter(const MailBoxesThroughPrompter&) = delete;
    MailBoxesThroughPrompter& operator=(const MailBoxesThroughPrompter&) = delete;

private:
    class ArrowCursorPrompter final : public Prompter {
    public:
        explicit ArrowCursorPrompter(Prompter& shown) : m_shown(shown) {}
        void show(std::string_view text, Icon icon) override;
        Answer ask(std::string_view text, Buttons buttons, Answer preferred, Icon icon) override;

    private:
        Prompter& m_shown;
    };

    ArrowCursorPrompter m_prompter;
};

} // namespace vsolo
