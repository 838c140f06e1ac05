#include "reporting/preferences.h"

#include "core/base/placeholders.h"
#include "platform/translations.h"
#include "reporting/dialogsupport.h"
#include "reporting/dialogtexts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vsolo::reporting {

QLineEdit* PreferencesDialog::lineField() {
    auto* field = new QLineEdit(this);
    connect(field, &QLineEdit::textEdited, this, [this] { m_apply->setEnabled(true); });
    return field;
}

PreferencesDialog::PreferencesDialog(ReportSettings& settings, SettingsStore& own,
                                     Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_own(own), m_prompter(prompter),
      m_apply(new QPushButton(tr("&Apply"), this)) {
    setWindowTitle(tt(dialogtext::kPreferencesTitle));
    m_company = lineField();
    m_street = lineField();
    m_city = lineField();
    m_state = lineField();
    m_zip = lineField();
    m_tax = lineField();
    m_soldTo = new QPlainTextEdit(this);
    m_soldTo->setTabChangesFocus(true);
    m_soldTo->setMinimumHeight(80);
    m_terms = lineField();
    m_clientTerm = lineField();
    m_expenseTerm = lineField();
    m_rateTerm = lineField();

    auto* invoice = new QGroupBox(tr("Invoice:"), this);
    auto* invoiceForm = new QFormLayout(invoice);
    invoiceForm->addRow(tr("C&ompany:"), m_company);
    invoiceForm->addRow(tr("&Street:"), m_street);
    invoiceForm->addRow(tr("C&ity:"), m_city);
    invoiceForm->addRow(tr("State/&Province:"), m_state);
    invoiceForm->addRow(tr("&Zip/Postal Code:"), m_zip);
    invoiceForm->addRow(tr("Ta&x:"), m_tax);
    invoiceForm->addRow(tr("Sold &To:"), m_soldTo);
    invoiceForm->addRow(tr("Ter&ms:"), m_terms);
    auto* terminology = new QGroupBox(tr("Terminology"), this);
    auto* termForm = new QFormLayout(terminology);
    termForm->addRow(tr("C&lient Term:"), m_clientTerm);
    termForm->addRow(tr("&Expense Term:"), m_expenseTerm);
    termForm->addRow(tr("&Rate Term:"), m_rateTerm);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    buttons->addButton(m_apply, QDialogButtonBox::ApplyRole);
    m_apply->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &PreferencesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PreferencesDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, &PreferencesDialog::apply);
    connect(m_soldTo, &QPlainTextEdit::textChanged, this, [this] { m_apply->setEnabled(true); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(invoice);
    layout->addWidget(terminology);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    load();
}

void PreferencesDialog::load() {
    m_company->setText(qs(m_settings.company));
    m_street->setText(qs(m_settings.street));
    m_city->setText(qs(m_settings.city));
    m_state->setText(qs(m_settings.state));
    m_zip->setText(qs(m_settings.zip));
    m_tax->setText(qs(storedTaxText(m_settings)));
    m_soldTo->setPlainText(qs(m_settings.soldTo));
    m_terms->setText(qs(m_settings.terms));
    m_clientTerm->setText(qs(m_settings.clientTerm));
    m_expenseTerm->setText(qs(m_settings.expenseTerm));
    m_rateTerm->setText(qs(m_settings.rateTerm));
    m_apply->setEnabled(false);
}

bool PreferencesDialog::apply() {
    // The fields are checked in the order of the form, so the first invalid one gets the focus.
    const std::optional<double> typed = takeAmount(m_tax, m_prompter);
    if (!typed) {
        return false;
    }
    for (QLineEdit* term : {m_clientTerm, m_expenseTerm, m_rateTerm}) {
        if (!checkLength(term, kTermLimit, m_prompter)) {
            return false;
        }
    }
    m_settings.company = ss(m_company->text());
    m_settings.street = ss(m_street->text());
    m_settings.city = ss(m_city->text());
    m_settings.state = ss(m_state->text());
    m_settings.zip = ss(m_zip->text());
    // The rate as it will be stored is the one every invoice uses, now and after a restart.
    m_settings.taxPercent = storedTaxPercent(*typed);
    m_settings.unreadableTax.reset();
    m_settings.soldTo = ss(m_soldTo->toPlainText());
    m_settings.terms = ss(m_terms->text());
    m_settings.clientTerm = ss(m_clientTerm->text());
    m_settings.expenseTerm = ss(m_expenseTerm->text());
    m_settings.rateTerm = ss(m_rateTerm->text());
    m_stored = true;
    if (!writeReportSettings(m_settings, m_own)) {
        m_prompter.show(tx(dialogtext::kSettingsNotWritten), Prompter::Icon::Warning);
    }
    m_tax->setText(qs(storedTaxText(m_settings)));
    if (m_settings.taxPercent != *typed) {
        m_prompter.show(fillPlaceholders(tx(dialogtext::kTaxKept), {storedTaxText(m_settings)}),
                        Prompter::Icon::Information);
    }
    m_apply->setEnabled(false);
    return true;
}

void PreferencesDialog::accept() {
    if (apply()) {
        QDialog::accept();
    }
}

void warnOfUnreadableTax(const ReportSettings& settings, Prompter& prompter) {
    if (settings.unreadableTax) {
        prompter.show(unreadableTaxText(*settings.unreadableTax), Prompter::Icon::Warning);
    }
}

} // namespace vsolo::reporting
