#pragma once

#include "core/prompter.h"

#include <QComboBox>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;
class QPushButton;
class QWidget;

// What the reporting tool's editors share: text conversions and the checks of their fields.
namespace vsolo::reporting {

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ss(const QString& text) {
    return text.toStdString();
}

// A number as the user would type it again, in full (not rounded to cents).
QString numberText(double value);

// The amount typed in `field`: a number of 0 or more. Otherwise the user is told why, the field
// gets the focus with its text selected, and nothing is returned.
std::optional<double> takeAmount(QLineEdit* field, Prompter& prompter);

// False, with the message and the focus on the field, when it holds more than `limit` characters.
bool checkLength(QLineEdit* field, int limit, Prompter& prompter);

// False, with the message and the focus on the field, when its text takes more room than a text
// of the reporting file may. A field never cuts such a text itself: what the user sees is what
// is stored, or the user is told.
bool checkStoredText(QLineEdit* field, Prompter& prompter);

// Gives the focus back to a refused field with its text selected.
void refocus(QLineEdit* field);

// A push button that Enter does not press unless it has the focus.
QPushButton* plainButton(const QString& text, QWidget* parent);

// A drop-down list of names whose width does not follow its texts: a long name is shown cut short
// with "...", whole in its tooltip, so that no window grows past the screen with it.
class BoundedComboBox final : public QComboBox {
public:
    explicit BoundedComboBox(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vsolo::reporting
