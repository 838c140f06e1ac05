// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QTest>

// The project headers after the Qt header.
#include "../tracker/testregistry.h"
#include "reporting/data/reportsettings.h"
#include "reporting/reportingstores.h"
#include "tests/support/recordingstore.h"
#include "tests/support/tempdir.h"

#include <QFile>
#include <ctime>

namespace vsolo::reporting {
namespace {

using vsolo::testing::RecordingStore;

TimeValue localNoon() {
    TimeValue t;
    t.setDate(2026, 3, 5);
    return t + TimeValue(12 * TimeValue::kHour);
}

} // namespace

class ReportSettingsTest final : public QObject {
    Q_OBJECT

    RecordingStore m_own;
    RecordingStore m_tracker;
    SettableClock m_clock{localNoon()};

private slots:
    void init() {
        m_own = RecordingStore();
        m_tracker = RecordingStore();
    }

    void defaultsWhenNothingIsStored() {
        const ReportSettings s = readReportSettings(m_own, m_tracker, m_clock);
        const std::vector<std::string> texts{
            s.company, s.street,     s.city,     s.state,       s.zip,         s.terms,
            s.soldTo,  s.clientTerm, s.rateTerm, s.expenseTerm, s.level1Title, s.level2Title};
        const std::vector<std::string> expected{
            "Company Name", "Street Address", "City",  "State",    "Zip",     "Terms",
            "Description",  "Clients",        "Rates", "Expenses", "Project", "Activity"};
        QCOMPARE(texts, expected);
        QCOMPARE(s.taxPercent, 0.0);
        QCOMPARE(s.favoriteReport, 0);
    }

    // A period end of 0 is the clock's time at start-up, in real seconds since 1970.
    void periodOfZeroIsNow() {
        m_own.writeText("UserConfig", "ToTime", "1700000000");
        const ReportSettings s = readReportSettings(m_own, m_tracker, m_clock);
        std::tm local{};
        local.tm_year = 126;
        local.tm_mon = 2;
        local.tm_mday = 5;
        local.tm_hour = 12;
        local.tm_isdst = -1;
        QCOMPARE(s.fromTime, static_cast<std::int64_t>(std::mktime(&local)));
        QCOMPARE(s.toTime, std::int64_t{1700000000});
    }

    void storedValuesAreRead() {
        for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"Company", "Orbit Ltd"},
                 {"Description", "Line 1\r\nLine 2"},
                 {"Tax", "8.875"},
                 {"ClientDef", "Customers"},
                 {"RateDef", "Fees"},
                 {"ExpenseDef", "Costs"},
                 {"FromTime", "86400"}}) {
            m_own.writeText("UserConfig", name, value);
        }
        m_own.writeInt("UserConfig", "FavoriteReport", 3);
        m_tracker.writeText("UserConfig", "Level1Def", "Job");
        m_tracker.writeText("UserConfig", "Level2Def", std::string(300, 'x'));
        m_tracker.clearWrites();
        const ReportSettings s = readReportSettings(m_own, m_tracker, m_clock);
        QCOMPARE(s.company, std::string("Orbit Ltd"));
        QCOMPARE(s.soldTo, std::string("Line 1\r\nLine 2"));
        QCOMPARE(s.taxPercent, 8.88); // edited by hand: taken as it would be stored
        QCOMPARE(s.favoriteReport, 3);
        QCOMPARE(s.clientTerm, std::string("Customers"));
        QCOMPARE(s.rateTerm, std::string("Fees"));
        QCOMPARE(s.expenseTerm, std::string("Costs"));
        QCOMPARE(s.fromTime, std::int64_t{86400});
        QCOMPARE(s.level1Title, std::string("Job"));
        QCOMPARE(s.level2Title, std::string(254, 'x'));
        QVERIFY(m_tracker.writes().empty());
    }

    // A title cut to the tracker's 254 bytes never ends inside a character.
    void longTitleIsCutBetweenCharacters() {
        std::string title(253, 'a');
        title += "\xC3\xA9";
        m_tracker.writeText("UserConfig", "Level1Def", title);
        QCOMPARE(readReportSettings(m_own, m_tracker, m_clock).level1Title, std::string(253, 'a'));
    }

    void writingStoresEveryValueButTheTitles() {
        ReportSettings s;
        s.taxPercent = 7.5;
        s.fromTime = 1234;
        s.toTime = 5678;
        s.favoriteReport = 2;
        QVERIFY(writeReportSettings(s, m_own));
        const std::vector<std::string> expected{
            "ClientDef",   "RateDef", "ExpenseDef", "Company",        "Street",
            "City",        "State",   "Zip",        "FavoriteReport", "Terms",
            "Description", "Tax",     "FromTime",   "ToTime"};
        QCOMPARE(m_own.writes(), expected);
        QCOMPARE(m_own.readText("UserConfig", "Tax"), std::optional<std::string>("7.50"));
        QCOMPARE(m_own.readText("UserConfig", "FromTime"), std::optional<std::string>("1234"));
        QCOMPARE(m_own.readText("UserConfig", "ToTime"), std::optional<std::string>("5678"));
        QCOMPARE(m_own.readInt("UserConfig", "FavoriteReport"), std::optional<std::int32_t>(2));
    }

    void taxRoundTrip_data() {
        QTest::addColumn<double>("tax");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("readBack");
        QTest::newRow("two decimals") << 7.5 << "7.50" << 7.5;
        QTest::newRow("below 0.1") << 0.05 << "0.00" << 0.0;
        QTest::newRow("below 1") << 0.5 << ".50" << 0.5;
        QTest::newRow("nearest cent") << 8.257 << "8.26" << 8.26;
    }
    void taxRoundTrip() {
        QFETCH(double, tax);
        QFETCH(QString, stored);
        QFETCH(double, readBack);
        ReportSettings s;
        s.taxPercent = tax;
        QVERIFY(writeReportSettings(s, m_own));
        QCOMPARE(m_own.readText("UserConfig", "Tax"), std::optional(stored.toStdString()));
        QCOMPARE(readReportSettings(m_own, m_tracker, m_clock).taxPercent, readBack);
    }

    // The tool writes its own INI file, and the tracker's stays as the tracker wrote it.
    void realStoresWriteOnlyTheToolsFile() {
        vsolo::testing::TempDir dir;
        const QString ownPath = QString::fromStdString(dir.file("reporting.ini"));
        const QString trackerPath = QString::fromStdString(dir.file("tracker.ini"));
        const QByteArray trackerBytes = "[UserConfig]\nLevel1Def=Job\n";
        {
            QFile file(trackerPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(trackerBytes);
        }
        ReportingStores stores(ownPath, trackerPath);
        ReportSettings s = readReportSettings(stores.own, stores.tracker, m_clock);
        QCOMPARE(s.level1Title, std::string("Job"));
        s.level1Title = "Changed";
        QVERIFY(writeReportSettings(s, stores.own));
        QVERIFY(!stores.tracker.writeText("UserConfig", "Level1Def", "Changed"));
        QFile tracker(trackerPath);
        QVERIFY(tracker.open(QIODevice::ReadOnly));
        QCOMPARE(tracker.readAll(), trackerBytes);
        QCOMPARE(QFile::permissions(ownPath) & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        QCOMPARE(ReportingStores(ownPath, trackerPath).own.readText("UserConfig", "Company"),
                 std::optional<std::string>("Company Name"));
    }

    void numbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12.5" << true << 12.5;
        QTest::newRow("blanks around") << "  3 " << true << 3.0;
        QTest::newRow("negative") << "-1.5" << true << -1.5;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("comma") << "1,5" << false << 0.0;
        QTest::newRow("infinite") << "inf" << false << 0.0;
    }
    void numbers() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const std::optional<double> parsed = parseNumber(text.toStdString());
        QCOMPARE(parsed.has_value(), valid);
        if (valid) {
            QCOMPARE(*parsed, value);
        }
    }
};

VSOLO_REGISTER_TEST_CLASS(ReportSettingsTest);

} // namespace vsolo::reporting

#include "settings_test.moc"
