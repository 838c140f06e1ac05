#pragma once

// moc (Qt 6.4) cannot read the C++20 <compare> that the core headers bring in unless a Qt header
// has set up the library's configuration macros first, so the Qt header leads.
#include <QDialog>

// The core types after the Qt header; see above.
#include "core/settings.h"
#include "core/tips.h"

#include <QString>
#include <string_view>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vsolo {

// The tip of the day: a white area with a light bulb, "Did you know..." and one tip from the tips
// file, a check box for showing tips at start-up and the buttons Next Tip and Close. Closing in
// any way remembers where the reading stands; Close also stores the check box.
class CTipDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr std::string_view kTitle = "Tip of the Day";
    static constexpr std::string_view kHeading = "Did you know...";
    static constexpr std::string_view kShowAtStartUp = "&Show Tips on Startup";
    static constexpr std::string_view kNextTip = "&Next Tip";
    static constexpr std::string_view kClose = "&Close";

    // Reads the tips file in `folder` (the program's own folder unless a test gives another) and
    // shows its next tip. `settings` must outlive the dialog.
    explicit CTipDlg(Settings& settings, const QString& folder = programFolder(),
                     QWidget* parent = nullptr);

    // Shows the dialog modally over `parent`.
    static void showTips(Settings& settings, QWidget* parent);
    static QString programFolder();

    void done(int result) override;

    QLabel* tipLabel() const { return m_tip; }
    QCheckBox* startUpBox() const { return m_startUp; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* closeButton() const { return m_close; }

private:
    void showNextTip();

    Settings& m_settings;
    TipReader m_reader;
    QLabel* m_tip;
    QCheckBox* m_startUp;
    QPushButton* m_next;
    QPushButton* m_close;
};

} // namespace vsolo
