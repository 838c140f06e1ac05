#include "platform/translations.h"

#include "core/base/usertext.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace vsolo {

const QStringList& Translations::textContexts() {
    // The namespaces and classes lupdate finds the marked texts in.
    static const QStringList contexts{
        QStringLiteral("vsolo::text"),                  // the tracker's own
        QStringLiteral("vsolo::reporting"),             // the reporting tool's data and pages
        QStringLiteral("vsolo::reporting::text"),       // the reporting tool's windows
        QStringLiteral("vsolo::reporting::dialogtext"), // the reporting tool's dialogs
        QStringLiteral("vsolo"), // the core's tables, the printed time sheet's, the menu titles
        QStringLiteral("vsolo::remote::text"), // the exchange with the central server
        QStringLiteral("vsolo::reporttext"),   // the reports' and graphs' figures
        QStringLiteral("vsolo::tiptext"),      // the tips reader
        QStringLiteral("vsolo::printtext"),    // what every printed report shares
        QStringLiteral("vsolo::PiePrint"),     // the printed pie graph
        QStringLiteral("vsolo::mail"),         // the mail bridge's result texts
    };
    return contexts;
}

QStringList Translations::folders() {
    const QString programs = QCoreApplication::applicationDirPath();
    return {QDir::cleanPath(programs + QStringLiteral("/../translations")),
            QDir::cleanPath(programs + QStringLiteral("/../../share/veltimo-solo/translations"))};
}

QString Translations::install(QCoreApplication& app, const QLocale& locale) {
    auto* own = new QTranslator(&app);
    bool loaded = false;
    for (const QString& folder : folders()) {
        loaded = own->load(locale, QString::fromLatin1(kCatalogue), QStringLiteral("_"), folder);
        if (loaded) {
            break;
        }
    }
    if (!loaded) {
        delete own;
        return {};
    }
    QCoreApplication::installTranslator(own);
    auto* qt = new QTranslator(&app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    } else {
        delete qt;
    }
    setTextTranslator([](const char* text) {
        const QString source = QString::fromUtf8(text);
        for (const QString& context : textContexts()) {
            const QString translated =
                QCoreApplication::translate(context.toUtf8().constData(), text);
            if (translated != source) {
                return translated.toStdString();
            }
        }
        return std::string(text);
    });
    return own->language();
}

QString tt(const char* text) {
    return QString::fromUtf8(tx(text));
}

QString tt(std::string_view text) {
    const std::string_view translated = tx(text);
    return QString::fromUtf8(translated.data(), static_cast<qsizetype>(translated.size()));
}

} // namespace vsolo
