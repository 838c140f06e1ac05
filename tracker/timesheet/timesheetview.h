#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QString>

// The core after the Qt headers; see above.
#include "core/document.h"
#include "core/model/export.h"
#include "core/timesheet.h"
#include "tracker/reports/reportview.h"

#include <functional>
#include <memory>
#include <optional>

namespace vsolo {

class TransactionDialog;

// What the transaction dialog gives back after OK: the values entered and which of them changed.
struct EntryOutcome {
    Transaction working;
    int changeFlags = 0; // 1 description from an item, 2 date or times, 4 a total was typed
    TimeValue duration;  // the total, when one was typed
};

// The time sheet: every transaction of a date range, with day totals and the range total, error
// rows in red, sent rows marked and locked. Changes are made in memory at once and kept by Save.
class CTimeSheetView final : public CExListView {
    Q_OBJECT
public:
    explicit CTimeSheetView(ViewHost& host);
    // The width the list needs to show every column whole, in the desktop's font and style.
    static int neededWidth();

    bool mayLeave() override;
    void refresh() override;
    void refreshTitles() override;
    bool handles(int command) const override;
    bool isEnabled(int command) const override;
    void run(int command) override;
    QString rangeText() const override;
    bool hasData() const override { return m_rows.transactionRows() > 0; }

    const TimeSheetRows& rows() const { return m_rows; }
    int currentRow() const { return m_current; }
    void selectRow(int row);
    void setRange(TimeValue from, TimeValue to);

    // The transaction dialog; replaced in tests. Arguments: the transaction, add mode, the
    // previous-end and next-start texts, the range.
    using EntryRunner = std::function<std::optional<EntryOutcome>(
        const Transaction&, bool addMode, const QString& previousEnd, const QString& nextStart,
        TimeValue rangeFrom, TimeValue rangeTo)>;
    void setEntryRunner(EntryRunner runner) { m_entryRunner = std::move(runner); }
    // The export file dialog; replaced in tests.
    void setExportChooser(std::function<QString(ExportFormat)> chooser) {
        m_exportChooser = std::move(chooser);
    }

protected:
    std::unique_ptr<PrintedReport> paperReport() const override;
    void applyRange(const DateRange& range) override;

private:
    void fill(bool resetCurrent);
    void rowsChanged(const Transaction* keep);
    void editOrAdd(bool add);
    void deleteCurrent();
    void deleteAll();
    void navigate(int command);
    bool save();
    // After a save refused for another program's changes: the sheet from the file, if the user
    // wants it.
    void offerReload();
    void exportRows(ExportFormat format);
    void onSelection();
    QColor rowColour(int row) const;
    TransactionStore& store() const;

    TimeSheetRows m_rows;
    int m_current = -1;
    bool m_selecting = false;
    EntryRunner m_entryRunner;
    TransactionDialog* m_dialog = nullptr;
    std::function<QString(ExportFormat)> m_exportChooser;
    // Last, so that the document stops calling the view before anything of it goes.
    HookHandle m_transactionsHook;
};

} // namespace vsolo
