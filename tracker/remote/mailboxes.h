#pragma once

#include "core/prompter.h"
#include "core/remote/mailport.h"

namespace vsolo {

// While it lives, the mail bridge shows its boxes through the program's prompter, like every
// other box of the program. It goes before the prompter does, so that the library never calls a
// prompter that is gone.
class MailBoxesThroughPrompter {
public:
    explicit MailBoxesThroughPrompter(Prompter& prompter) {
        remote::showMailBoxesThrough(&prompter);
    }
    ~MailBoxesThroughPrompter() { remote::showMailBoxesThrough(nullptr); }
    MailBoxesThroughPrompter(const MailBoxesThroughPrompter&) = delete;
    MailBoxesThroughPrompter& operator=(const MailBoxesThroughPrompter&) = delete;
};

} // namespace vsolo
