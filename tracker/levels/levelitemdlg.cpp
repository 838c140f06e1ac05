#include "tracker/levels/levelitemdlg.h"

#include "core/leveledit.h"
#include "tracker/app/qtext.h"
#include "tracker/app/texts.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

namespace vsolo {

namespace {

constexpr int kTargetDigits = 3;

// What may be typed into a field: what the template's layout holds, and never more than the
// editor takes anywhere.
int typingLimit(TemplateFormat format, LevelText text, std::size_t editorLimit) {
    return static_cast<int>(std::min(levelTextCapacity(format, text).maxCharacters, editorLimit));
}

} // namespace

CLevelItemDlg::CLevelItemDlg(Prompter& prompter, const LevelList& list, TemplateFormat format,
                             const LevelItem* edited, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_list(list), m_edited(edited),
      m_otherTotal(otherTargetsTotal(list, edited)), m_name(new QLineEdit(this)),
      m_description(new QLineEdit(this)), m_target(new QLineEdit(this)),
      m_targetLabel(new QLabel(tt(text::kItemTargetLabel), this)), m_remaining(new QLabel(this)) {
    setWindowTitle(fill(edited ? text::kEditItemTitle : text::kAddItemTitle, {list.title()}));
    m_name->setMaxLength(typingLimit(format, LevelText::Name, kTreeNameLimit));
    m_description->setMaxLength(
        typingLimit(format, LevelText::Description, kLevelDescriptionLimit));
    m_target->setMaxLength(kTargetDigits);
    m_target->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_target));
    m_targetLabel->setBuddy(m_target);
    m_target->installEventFilter(this);

    const int ownTarget = edited ? edited->target() : 0;
    if (edited) {
        m_name->setText(qs(edited->name()));
        m_description->setText(qs(edited->description()));
    }
    m_target->setText(QString::number(ownTarget));

    auto* form = new QFormLayout;
    auto* nameLabel = new QLabel(tt(text::kItemNameLabel), this);
    nameLabel->setBuddy(m_name);
    form->addRow(nameLabel, m_name);
    auto* descriptionLabel = new QLabel(tt(text::kItemDescriptionLabel), this);
    descriptionLabel->setBuddy(m_description);
    form->addRow(descriptionLabel, m_description);
    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(m_target);
    targetRow->addWidget(m_remaining, 1);
    form->addRow(m_targetLabel, targetRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLevelItemDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLevelItemDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (m_otherTotal < 0) {
        m_targetLabel->hide();
        m_target->hide();
        m_remaining->hide();
    } else {
        showRemaining(100 - ownTarget - m_otherTotal);
    }
    m_name->setFocus();
}

void CLevelItemDlg::showRemaining(int left) {
    m_remaining->setText(qs(fillNumbered(tx(kLeftToAllocateText), left)));
    m_remaining->setVisible(true);
}

void CLevelItemDlg::targetLeft() {
    if (const auto left = leftToAllocate(ss(m_target->text()), m_otherTotal)) {
        showRemaining(*left);
    } else {
        m_remaining->hide();
    }
}

bool CLevelItemDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_target) {
        // The focus leaves with Escape when the dialog is being cancelled: nothing to show then.
        const auto* key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease
                              ? static_cast<const QKeyEvent*>(event)
                              : nullptr;
        if (key && key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
            m_escapeHeld = event->type() == QEvent::KeyPress;
        } else if (event->type() == QEvent::FocusOut && m_otherTotal >= 0 && !m_escapeHeld) {
            targetLeft();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CLevelItemDlg::accept() {
    const ItemCheck check = checkItemEntry(
        m_list, m_edited, {ss(m_name->text()), ss(m_description->text()), ss(m_target->text())},
        m_otherTotal);
    if (!check.ok()) {
        m_prompter.show(check.message, Prompter::Icon::Warning);
        QLineEdit* field = check.field == ItemField::Name ? m_name : m_target;
        field->setFocus();
        field->selectAll();
        return;
    }
    m_entered = LevelItem();
    m_entered.setName(check.name);
    m_entered.setDescription(ss(m_description->text()));
    m_entered.setTarget(static_cast<std::uint8_t>(check.target));
    QDialog::accept();
}

} // namespace vsolo
