#pragma once

// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QDialog>

// The core and data types after the Qt header.
#include "core/prompter.h"
#include "reporting/data/reportingdata.h"
#include "reporting/data/reportsettings.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace vsolo::reporting {

// The clients by name, with a field to rename the selected one: Add (Insert) makes a "New
// Client", Apply (or Enter in the field) renames, refusing a name too long for the reporting file,
// Delete (Delete key in the list) removes. Every change reaches the data at once; the clients are
// sorted by name when the dialog closes.
class ClientsManager final : public QDialog {
    Q_OBJECT
public:
    ClientsManager(ReportingData& reportingData, const ReportSettings& settings, Prompter& prompter,
                   QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QLineEdit* nameField() const { return m_name; }
    QPushButton* applyButton() const { return m_apply; }
    void addClient();
    void applyName();
    void deleteClient();

    void done(int result) override;

private:
    void showSelected();
    void nameEdited();
    int selectedRow() const;
    // The row at which `name` keeps the list in alphabetical order.
    int sortedRow(const QString& name) const;

    ReportingData& m_data;
    Prompter& m_prompter;
    QListWidget* m_list;
    QLineEdit* m_name;
    QPushButton* m_apply;
};

} // namespace vsolo::reporting
