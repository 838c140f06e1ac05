#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QString>

// The core after the Qt headers; see above.
#include "core/daterange.h"
#include "tracker/app/view.h"

#include <memory>
#include <string>
#include <string_view>

namespace vsolo {

class PrintedReport;
class ViewHost;

// A view of a date range that prints what it shows: the time sheet, the reports and the graphs.
// It carries the commands they all have: the date range, remembered under the view's key; print
// and preview while there is something to print; and back to the main window, which is also where
// closing the view goes.
class PeriodView : public View {
    Q_OBJECT
public:
    // Whether there is something to print.
    virtual bool hasData() const = 0;

    bool handles(int command) const override;
    bool isEnabled(int command) const override;
    void run(int command) override;
    void closeRequested() override;

protected:
    PeriodView(ViewHost& host, std::string_view rangeKey, int number, QString windowName,
               int helpContext, QWidget* parent = nullptr);
    ViewHost& host() const { return m_host; }
    // The range remembered under the view's key, as of today.
    DateRange storedRange() const;
    // What Print and Print Preview put on paper; asked only while there is data.
    virtual std::unique_ptr<PrintedReport> paperReport() const = 0;
    // Shows the range the user confirmed (and stored) in the Date Range dialog.
    virtual void applyRange(const DateRange& range) = 0;

private:
    void changeRange();
    void print(bool preview);

    ViewHost& m_host;
    std::string m_rangeKey;
};

} // namespace vsolo
