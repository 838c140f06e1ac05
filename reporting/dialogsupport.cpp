#include "reporting/dialogsupport.h"

#include "core/base/placeholders.h"
#include "reporting/data/reportingfile.h"
#include "reporting/data/reportsettings.h"
#include "reporting/dialogtexts.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPushButton>
#include <QStylePainter>

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
        prompter.show(tx(dialogtext::kNotANumber), Prompter::Icon::Warning);
    } else if (*value < 0) {
        prompter.show(tx(dialogtext::kNotNegative), Prompter::Icon::Warning);
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
    prompter.show(fillPlaceholders(tx(dialogtext::kTooLong), {std::to_string(limit)}),
                  Prompter::Icon::Warning);
    refocus(field);
    return false;
}

bool checkStoredText(QLineEdit* field, Prompter& prompter) {
    const std::size_t bytes = ss(field->text()).size();
    if (bytes <= kStoredTextMaxBytes) {
        return true;
    }
    prompter.show(fillPlaceholders(tx(dialogtext::kTooLongForFile),
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

BoundedComboBox::BoundedComboBox(QWidget* parent) : QComboBox(parent) {
    // The width of about this many characters, whatever the entries.
    constexpr int kShownCharacters = 24;
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(kShownCharacters);
    view()->setTextElideMode(Qt::ElideRight);
    connect(model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                for (int row = first; row <= last; ++row) {
                    setItemData(row, itemText(row), Qt::ToolTipRole);
                }
            });
    connect(this, &QComboBox::currentIndexChanged, this, [this] { setToolTip(currentText()); });
}

void BoundedComboBox::paintEvent(QPaintEvent*) {
    // As the list draws itself, with the shown text cut to its field.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    option.currentText =
        fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace vsolo::reporting
