// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "testregistry.h"
#include "tests/support/tipsfolder.h"
#include "tracker/app/tipdialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <optional>

namespace vsolo {
namespace {

struct TipsShown : testing::TipsFolder {
    TipsShown() { write("; The tips, one a line.\nFirst tip\nSecond tip\n"); }
    std::unique_ptr<CTipDlg> open() {
        auto dialog = std::make_unique<CTipDlg>(settings, QString::fromStdString(dir.path()));
        dialog->show();
        return dialog;
    }
    std::optional<std::int32_t> stored(const char* name) const {
        return store.readInt("Tip", name);
    }
};

class TipDialogTest final : public QObject {
    Q_OBJECT

private slots:
    void nextTipShowsTheNextTip() {
        TipsShown tips;
        const auto dialog = tips.open();
        QCOMPARE(dialog->tipLabel()->text(), QString("First tip"));
        dialog->nextButton()->click();
        QCOMPARE(dialog->tipLabel()->text(), QString("Second tip"));
    }

    void closeStoresWhetherToShowTipsAtStartUp_data() {
        QTest::addColumn<bool>("checked");
        QTest::newRow("checked") << true;
        QTest::newRow("cleared") << false;
    }
    // The box starts the other way round, as the stored value says: 0 shows tips at start-up.
    void closeStoresWhetherToShowTipsAtStartUp() {
        QFETCH(bool, checked);
        TipsShown tips;
        tips.settings.setTipStartUp(checked ? 1 : 0);
        const auto dialog = tips.open();
        QCOMPARE(dialog->startUpBox()->isChecked(), !checked);
        dialog->startUpBox()->setChecked(checked);
        dialog->closeButton()->click();
        QCOMPARE(tips.stored("StartUp"), std::optional<std::int32_t>(checked ? 0 : 1));
    }

    void closingInAnyWayStoresThePosition_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close") << false;
        QTest::newRow("escape") << true;
    }
    void closingInAnyWayStoresThePosition() {
        QFETCH(bool, escape);
        TipsShown tips;
        const auto dialog = tips.open();
        dialog->startUpBox()->setChecked(false);
        if (escape) {
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        } else {
            dialog->closeButton()->click();
        }
        QVERIFY(!dialog->isVisible());
        QCOMPARE(tips.stored("FilePos"), std::optional<std::int32_t>(34));
        // Only Close takes the check box.
        QCOMPARE(tips.stored("StartUp").has_value(), !escape);
    }

    void aMissingFileIsReportedAndNextTipDisabled() {
        TipsShown tips;
        std::filesystem::remove(tips.tipsPath());
        const auto dialog = tips.open();
        QCOMPARE(dialog->tipLabel()->text(),
                 QString("Tips file does not exist in the prescribed directory"));
        QVERIFY(!dialog->nextButton()->isEnabled());
    }
};

} // namespace

VSOLO_REGISTER_TEST_CLASS(TipDialogTest);

} // namespace vsolo

#include "tipdialog_test.moc"
