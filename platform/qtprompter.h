#pragma once

#include "core/prompter.h"

#include <QString>
#include <functional>

class QWidget;

namespace vsolo {

// The Prompter on QMessageBox. The box is modal to the window the program shows at the moment it
// asks, which is why the parent can be given as a getter: the main frame swaps its views and may be
// hidden or replaced between two questions.
class QtPrompter final : public Prompter {
public:
    using ParentGetter = std::function<QWidget*()>;

    explicit QtPrompter(QWidget* parent = nullptr, QString title = QStringLiteral("Veltimo Solo"));
    explicit QtPrompter(ParentGetter parent, QString title = QStringLiteral("Veltimo Solo"));

    void show(std::string_view text, Icon icon = Icon::Warning) override;
    // Escape (and the close box) answers No for a Yes/No question and Cancel for Yes/No/Cancel. A
    // preferred answer that is not among the buttons leaves the first button as the default.
    Answer ask(std::string_view text, Buttons buttons, Answer preferred,
               Icon icon = Icon::Question) override;

    const QString& title() const { return m_title; }

private:
    Answer run(std::string_view text, Buttons buttons, Answer preferred, Icon icon);

    ParentGetter m_parent;
    QString m_title;
};

} // namespace vsolo
