#include "core/settings.h"
#include "platform/settings/qsettingsstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace vsolo {
namespace {

class QSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString& name = QStringLiteral("settings.ini")) const {
        return m_dir.filePath(name);
    }
    QSettingsStore open(QSettingsStore::Access access = QSettingsStore::Access::ReadWrite) const {
        return QSettingsStore(QStringLiteral("Veltimo Solo"), access, path());
    }
    QString diskText() const {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll());
    }
    void writeDisk(const QByteArray& text) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(text), text.size());
    }

    QTemporaryDir m_dir;
};

TEST_F(QSettingsStoreTest, ValuesSurviveARoundTripThroughTheFile) {
    const std::string texts[] = {
        "plain",
        "with spaces and, commas",
        "a=b; c # d",
        "\"quoted\" and \\backslash\\",
        "  leading and trailing  ",
        "Zoë Müller – 東京",
        "@Invalid()",
        "line one\nline two\ttab",
        "",
    };
    {
        QSettingsStore store = open();
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            EXPECT_TRUE(store.writeText("UserConfig", "Text" + std::to_string(i), texts[i]));
        }
        EXPECT_TRUE(store.writeText("UserConfig", "Receiver Address", "hub@example.org, x@y.z"));
        EXPECT_TRUE(store.writeInt("UserConfig", "DayStart", 30600));
        EXPECT_TRUE(store.writeInt("UserConfig", "Negative", -2147483647 - 1));
        EXPECT_TRUE(store.writeInt("UserConfig", "TimeSheetPosition", packEdges(40000, 7)));
        EXPECT_TRUE(store.writeText("Tip", "TimeStamp", "Mon Dec  8 10:00:00 2025"));
    }
    // A fresh store on the same file reads what the first left on disk.
    const QSettingsStore store = open();
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(store.readText("UserConfig", "Text" + std::to_string(i)), texts[i]) << i;
    }
    EXPECT_EQ(store.readText("UserConfig", "Receiver Address"), "hub@example.org, x@y.z");
    EXPECT_EQ(store.readInt("UserConfig", "DayStart"), 30600);
    EXPECT_EQ(store.readInt("UserConfig", "Negative"), -2147483647 - 1);
    EXPECT_EQ(store.readInt("UserConfig", "TimeSheetPosition"), packEdges(40000, 7));
    EXPECT_EQ(store.readText("Tip", "TimeStamp"), "Mon Dec  8 10:00:00 2025");
    EXPECT_FALSE(store.readText("UserConfig", "Missing"));
    EXPECT_FALSE(store.readInt("Tip", "DayStart")) << "sections are separate";
}

TEST_F(QSettingsStoreTest, TextsThatAreNotUtf8AreKeptAsBytes) {
    const std::string latin1Path = "/home/u/R\xe9sum\xe9.tpl";
    {
        QSettingsStore store = open();
        EXPECT_TRUE(store.writeText("UserConfig", "TemplateLocation", latin1Path));
    }
    EXPECT_EQ(open().readText("UserConfig", "TemplateLocation"), latin1Path);
}

TEST_F(QSettingsStoreTest, EachSectionIsAnIniGroupOnDisk) {
    {
        QSettingsStore store = open();
        EXPECT_TRUE(store.writeInt("UserConfig", "DayStart", 30600));
        EXPECT_TRUE(store.writeText("UserConfig", "Remote", "1"));
        EXPECT_TRUE(store.writeInt("Tip", "FilePos", 42));
    }
    const QString text = diskText();
    const qsizetype userConfig = text.indexOf(QStringLiteral("[UserConfig]\n"));
    const qsizetype tip = text.indexOf(QStringLiteral("[Tip]\n"));
    ASSERT_GE(userConfig, 0) << text.toStdString();
    ASSERT_GE(tip, 0) << text.toStdString();
    const qsizetype dayStart = text.indexOf(QStringLiteral("\nDayStart=30600\n"));
    const qsizetype filePos = text.indexOf(QStringLiteral("\nFilePos=42\n"));
    EXPECT_GT(dayStart, userConfig);
    EXPECT_GT(filePos, tip);
    // Each value sits in its own group, not in the other one.
    EXPECT_TRUE(tip < userConfig ? dayStart > userConfig : dayStart < tip);
    EXPECT_TRUE(userConfig < tip ? filePos > tip : filePos < userConfig);
    EXPECT_TRUE(text.contains(QStringLiteral("\nRemote=1\n")));
}

TEST_F(QSettingsStoreTest, AFileWrittenByHandIsRead) {
    writeDisk("[UserConfig]\n"
              "Level1Def=Client\n"
              "Receiver%20Address=a@b.c, d@e.f\n"
              "DayStart=27900\n"
              "HoursDayMin=7:30\n"
              "HoursDayMax=99999999999\n"
              "AutoSave=0x1\n"
              "AutoLoad= 1 \n"
              "[Tip]\n"
              "StartUp=1\n");
    const QSettingsStore store = open();
    EXPECT_EQ(store.readText("UserConfig", "Level1Def"), "Client");
    EXPECT_EQ(store.readText("UserConfig", "Receiver Address"), "a@b.c, d@e.f");
    EXPECT_EQ(store.readInt("UserConfig", "DayStart"), 27900);
    EXPECT_EQ(store.readText("UserConfig", "DayStart"), "27900");
    EXPECT_FALSE(store.readInt("UserConfig", "Level1Def")) << "a text that is not a number";
    EXPECT_FALSE(store.readInt("UserConfig", "HoursDayMin"));
    EXPECT_FALSE(store.readInt("UserConfig", "HoursDayMax")) << "beyond 32 bits";
    EXPECT_FALSE(store.readInt("UserConfig", "AutoSave"));
    EXPECT_EQ(store.readInt("UserConfig", "AutoLoad"), 1);
    EXPECT_FALSE(store.readInt("UserConfig", "Receiver Address"));
    EXPECT_EQ(store.readInt("Tip", "StartUp"), 1);

    // Through the accessors, what cannot be read falls back to the defaults.
    QSettingsStore writable = open();
    Settings settings(writable);
    settings.load();
    EXPECT_EQ(settings.level1Title(), "Client");
    EXPECT_EQ(settings.level2Title(), "Activity");
    EXPECT_EQ(settings.hoursDayMin(), TimeValue(27000));
    EXPECT_TRUE(settings.autoSave());
    EXPECT_TRUE(settings.autoLoad());
}

TEST_F(QSettingsStoreTest, RemoveTakesTheValueOffTheDisk) {
    QSettingsStore store = open();
    EXPECT_TRUE(store.writeText("UserConfig", "TemplateLocation", "/t/a.tpl"));
    EXPECT_TRUE(store.writeInt("UserConfig", "AutoLoad", 1));
    store.remove("UserConfig", "TemplateLocation");
    store.remove("UserConfig", "NeverThere");
    EXPECT_FALSE(store.readText("UserConfig", "TemplateLocation"));
    EXPECT_FALSE(diskText().contains(QStringLiteral("TemplateLocation")));
    EXPECT_TRUE(diskText().contains(QStringLiteral("AutoLoad=1")));
    EXPECT_FALSE(open().readText("UserConfig", "TemplateLocation"));
}

TEST_F(QSettingsStoreTest, AReadOnlyStoreNeverWritesAndSeesLaterChanges) {
    QSettingsStore readOnly = open(QSettingsStore::Access::ReadOnly);
    EXPECT_TRUE(readOnly.isReadOnly());
    EXPECT_FALSE(readOnly.writeInt("UserConfig", "DayStart", 1));
    EXPECT_FALSE(readOnly.writeText("UserConfig", "Level1Def", "x"));
    readOnly.remove("UserConfig", "Level1Def");
    EXPECT_FALSE(readOnly.readInt("UserConfig", "DayStart"));
    EXPECT_FALSE(QFile::exists(path())) << "a read-only store creates no file";

    writeDisk("[UserConfig]\nLevel1Def=Client\nTemplateLocation=/t/a.tpl\n");
    EXPECT_EQ(readOnly.readText("UserConfig", "Level1Def"), "Client");
    EXPECT_FALSE(readOnly.writeText("UserConfig", "Level1Def", "Changed"));
    readOnly.remove("UserConfig", "TemplateLocation");
    EXPECT_EQ(readOnly.readText("UserConfig", "Level1Def"), "Client");
    EXPECT_EQ(readOnly.readText("UserConfig", "TemplateLocation"), "/t/a.tpl");

    // The tracker changes its template while the reporting tool runs.
    writeDisk("[UserConfig]\nLevel1Def=Client\nTemplateLocation=/t/other-template.tpl\n");
    EXPECT_EQ(readOnly.readText("UserConfig", "TemplateLocation"), "/t/other-template.tpl");
    EXPECT_EQ(
        diskText(),
        QStringLiteral("[UserConfig]\nLevel1Def=Client\nTemplateLocation=/t/other-template.tpl\n"));
}

TEST_F(QSettingsStoreTest, NamesThatWouldNestGroupsAreRefused) {
    QSettingsStore store = open();
    EXPECT_FALSE(store.writeInt("UserConfig", "a/b", 1));
    EXPECT_FALSE(store.writeInt("UserConfig", "a\\b", 1));
    EXPECT_FALSE(store.writeText("User/Config", "n", "x"));
    EXPECT_FALSE(store.writeText("", "n", "x"));
    EXPECT_FALSE(store.writeText("UserConfig", "", "x"));
    EXPECT_FALSE(store.readInt("UserConfig", "a/b"));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(QSettingsStoreTest, AFailedWriteIsReportedAndChangesNothing) {
    // A regular file where the store's folder should be: the file cannot be created, even by root.
    const QString blocker = path(QStringLiteral("blocker"));
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString unwritable = blocker + QStringLiteral("/settings.ini");
    QSettingsStore store(QStringLiteral("Veltimo Solo"), QSettingsStore::Access::ReadWrite,
                         unwritable);
    EXPECT_FALSE(store.writeInt("UserConfig", "DayStart", 30000));
    EXPECT_FALSE(store.readInt("UserConfig", "DayStart")) << "no value the disk never got";
    EXPECT_FALSE(store.writeText("UserConfig", "Level1Def", "Client"));
    EXPECT_FALSE(store.readText("UserConfig", "Level1Def"));

    // Once the folder can be made, writing works again and is reported as such.
    ASSERT_TRUE(QFile::remove(blocker));
    ASSERT_TRUE(QDir().mkpath(blocker));
    EXPECT_TRUE(store.writeInt("UserConfig", "DayStart", 31500));
    QFile file(unwritable);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("DayStart=31500"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Level1Def"))) << text.toStdString();
}

TEST_F(QSettingsStoreTest, TheFileIsReadableByItsOwnerOnly) {
    QSettingsStore store = open();
    EXPECT_TRUE(store.writeText("UserConfig", "MAPIPassword", "s3cret"));
    const QFile::Permissions permissions = QFile::permissions(path());
    EXPECT_TRUE(permissions.testFlag(QFile::ReadOwner));
    EXPECT_TRUE(permissions.testFlag(QFile::WriteOwner));
    EXPECT_FALSE(permissions.testAnyFlags(QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup |
                                          QFile::WriteOther));
}

TEST_F(QSettingsStoreTest, EveryWriteLeavesTheFileOwnerOnly) {
    QSettingsStore store = open();
    const QFile::Permissions wider =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    for (const char* value : {"first", "second", "third"}) {
        ASSERT_TRUE(store.writeText("UserConfig", "MAPIPassword", value));
        const QFile::Permissions now = QFile::permissions(path());
        EXPECT_TRUE(now.testFlags(QFile::ReadOwner | QFile::WriteOwner)) << value;
        EXPECT_FALSE(now.testAnyFlags(QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther))
            << value;
        // Something else widened the permissions since: the next write narrows them again.
        ASSERT_TRUE(QFile::setPermissions(path(), wider));
    }
}

TEST(QSettingsStoreLocation, TheUsersStoreIsUnderTheOrganisation) {
    const QSettingsStore tracker;
    EXPECT_TRUE(tracker.fileName().endsWith(QStringLiteral("/Orvane Systems/Veltimo Solo.ini")))
        << tracker.fileName().toStdString();
    const QSettingsStore reporting(QString::fromLatin1(kReportingApplicationName),
                                   QSettingsStore::Access::ReadOnly);
    EXPECT_TRUE(
        reporting.fileName().endsWith(QStringLiteral("/Orvane Systems/Veltimo Solo Reporting.ini")))
        << reporting.fileName().toStdString();
}

} // namespace
} // namespace vsolo
