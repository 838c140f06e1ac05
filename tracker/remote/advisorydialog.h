#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QDialog>

// The core after the Qt headers; see above.
#include "core/base/timevalue.h"

#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vsolo {

// A day whose worked time lies outside the limits, as the advisory dialog lists it.
struct AdvisedDayRow {
    TimeValue date;
    TimeValue worked;
};

// Shown before a time sheet is sent when some days of the range have less or more worked time
// than the limits: the user may edit those days first, send as it is, or stop.
class CAdvisoryDlg final : public QDialog {
    Q_OBJECT
public:
    // The results of exec(), named after the buttons.
    enum Result { EditFirst = 1048, SendNow = 1049, Cancelled = 2 };

    CAdvisoryDlg(TimeValue minimum, TimeValue maximum, std::vector<AdvisedDayRow> days,
                 QWidget* parent = nullptr);

    QLabel* heading() const { return m_heading; }
    QTreeWidget* list() const { return m_list; }
    QPushButton* yesButton() const { return m_yes; }
    QPushButton* noButton() const { return m_no; }
    QPushButton* cancelButton() const { return m_cancel; }

    void reject() override { done(Cancelled); }

private:
    QLabel* m_heading;
    QTreeWidget* m_list;
    QPushButton* m_yes;
    QPushButton* m_no;
    QPushButton* m_cancel;
};

} // namespace vsolo
