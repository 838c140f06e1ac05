#include "core/base/usertext.h"
#include "platform/translations.h"
#include "widgettests.h"

#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFile>
#include <QMultiHash>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

namespace vsolo::testing {

namespace {

// A C++ string literal's text: "\r", "\n", "\t", "\"", "\\" and "\uXXXX" decoded.
QString literalText(const QString& quoted) {
    QString text;
    for (qsizetype i = 0; i < quoted.size(); ++i) {
        if (quoted[i] != '\\') {
            text += quoted[i];
            continue;
        }
        const QChar next = quoted[++i];
        if (next == 'u') {
            text += QChar(quoted.mid(i + 1, 4).toUShort(nullptr, 16));
            i += 4;
        } else {
            text += next == 'n'   ? QChar('\n')
                    : next == 'r' ? QChar('\r')
                    : next == 't' ? '\t'
                                  : next;
        }
    }
    return text;
}

// An element's text as lupdate writes it: a character XML cannot hold stands as <byte value="xD"/>.
QString elementText(QXmlStreamReader& xml) {
    QString text;
    while (xml.readNext() != QXmlStreamReader::EndElement || xml.name() == u"byte") {
        if (xml.isCharacters()) {
            text += xml.text();
        } else if (xml.isStartElement()) {
            text +=
                QChar(xml.attributes().value(QStringLiteral("value")).mid(1).toUShort(nullptr, 16));
        }
    }
    return text;
}

struct Message {
    QString context;
    bool finished = false;
};

} // namespace

// The German catalogue against the sources: every text marked for translation is in it, translated,
// in a context the core's translator looks in; and the programs' loader makes the texts German.
class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QFile file(QStringLiteral(VSOLO_SOURCE_DIR "/translations/veltimo-solo_de.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context;
        QString source;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (xml.name() == u"name") {
                context = elementText(xml);
            } else if (xml.name() == u"source") {
                source = elementText(xml);
            } else if (xml.name() == u"translation") {
                const bool unfinished = xml.attributes().hasAttribute(QStringLiteral("type"));
                m_messages.insert(source, {context, !unfinished && !elementText(xml).isEmpty()});
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(!m_messages.isEmpty());
    }

    void everyMarkedTextIsTranslatedInAContextTheCoreLooksIn() {
        // VSOLO_TR tables, tr() of the widgets, and the texts translated in a context of their own.
        static const QRegularExpression marked(
            QStringLiteral("\\b(VSOLO_TR|tr|QT_TRANSLATE_NOOP|translate)\\((?:\\s*\"[^\"]*\"\\s*,)?"
                           "\\s*((?:\"(?:[^\"\\\\]|\\\\.)*\"\\s*)+)\\)"));
        static const QRegularExpression pieces(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
        int found = 0;
        for (const char* folder : {"core", "print", "platform", "tracker", "reporting"}) {
            QDirIterator files(QStringLiteral(VSOLO_SOURCE_DIR "/") + folder,
                               {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                               QDirIterator::Subdirectories);
            while (files.hasNext()) {
                QFile source(files.next());
                QVERIFY(source.open(QIODevice::ReadOnly));
                const QString code = QString::fromUtf8(source.readAll());
                for (const auto& use : marked.globalMatch(code)) {
                    QString text;
                    for (const auto& piece : pieces.globalMatch(use.captured(2))) {
                        text += literalText(piece.captured(1));
                    }
                    const QList<Message> in = m_messages.values(text);
                    const QString where = source.fileName() + ": " + text;
                    QVERIFY2(!in.isEmpty(), qPrintable("not in the catalogue: " + where));
                    bool lookedIn = use.captured(1) != "VSOLO_TR";
                    for (const Message& message : in) {
                        QVERIFY2(message.finished, qPrintable("not translated: " + where));
                        lookedIn =
                            lookedIn || Translations::textContexts().contains(message.context);
                    }
                    QVERIFY2(lookedIn, qPrintable("in no context the core looks in: " + where));
                    ++found;
                }
            }
        }
        QVERIFY(found > 300);
    }

    void theGermanCatalogueTranslatesTheCoreAndQtsOwnTexts() {
        QCOMPARE(Translations::install(*QCoreApplication::instance(), QLocale(QLocale::German)),
                 QStringLiteral("de_DE"));
        QCOMPARE(QString::fromUtf8(tx("Untitled")), QStringLiteral("Unbenannt"));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        setTextTranslator(nullptr);
    }

private:
    QMultiHash<QString, Message> m_messages;
};

std::unique_ptr<QObject> makeTranslationsTest() {
    return std::make_unique<TranslationsTest>();
}

} // namespace vsolo::testing

#include "translations_test.moc"
