#include "tracker/remote/mailboxes.h"

#include <QApplication>
#include <QCursor>

namespace vsolo {

namespace {

class ArrowCursor {
public:
    ArrowCursor() { QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

} // namespace

MailBoxesThroughPrompter::MailBoxesThroughPrompter(Prompter& prompter) : m_prompter(prompter) {
    remote::showMailBoxesThrough(&m_prompter);
}

MailBoxesThroughPrompter::~MailBoxesThroughPrompter() {
    remote::showMailBoxesThrough(nullptr);
}

void MailBoxesThroughPrompter::ArrowCursorPrompter::show(std::string_view text, Icon icon) {
    const ArrowCursor arrow;
    m_shown.show(text, icon);
}

Prompter::Answer MailBoxesThroughPrompter::ArrowCursorPrompter::ask(std::string_view text,
                                                                    Buttons buttons,
                                                                    Answer preferred, Icon icon) {
    const ArrowCursor arrow;
    return m_shown.ask(text, buttons, preferred, icon);
}

} // namespace vsolo
