#include "reporting/dialogsupport.h"

#include "core/base/placeholders.h"
#include "reporting/data/reportingfile.h"
#include "reporting/data/reportsettings.h"
#include "reporting/dialogtexts.h"

#include <QLineEdit>
#include <QPushButton>

namespace vsolo::reporting {

QString numberText(double value) {
    return QString::number(value, 'g', 15);
}

void refocus(QLineEdit* field) {
    field->setFocus();
    field->selectAll();
}

std::optional<double> takeAmount(QLineEdit* field, Prompter& prompter) {
    const std::optional<double> value = parseNumber(ss(field->text()));
    if (!value) {
        prompter.show(dialogtext::kNotANumber, Prompter::Icon::Warning);
    } else if (*value < 0) {
        prompter.show(dialogtext::kNotNegative, Prompter::Icon::Warning);
    } else {
        return value;
    }
    refocus(field);
    return std::nullopt;
}

bool checkLength(QLineEdit* field, int limit, Prompter& prompter) {
    if (field->text().size() <= limit) {
        return true;
    }
    prompter.show(fillPlaceholders(dialogtext::kTooLong, {std::to_string(limit)}),
                  Prompter::Icon::Warning);
    refocus(field);
    return false;
}

bool checkStoredText(QLineEdit* field, Prompter& prompter) {
    const std::size_t bytes = ss(field->text()).size();
    if (bytes <= kStoredTextMaxBytes) {
        return true;
    }
    prompter.show(fillPlaceholders(dialogtext::kTooLongForFile,
                                   {std::to_string(bytes), std::to_string(kStoredTextMaxBytes)}),
                  Prompter::Icon::Warning);
    refocus(field);
    return false;
}

QPushButton* plainButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace vsolo::reporting
