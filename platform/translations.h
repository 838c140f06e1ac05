#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <string_view>

class QCoreApplication;

namespace vsolo {

// The user's language for a program with windows. Only words are translated: dates, times and
// numbers keep the forms the files and reports use, and what files, peers and other programs read
// never passes through here.
class Translations {
public:
    // The catalogue's name: its files are "veltimo-solo_LANGUAGE.qm".
    static constexpr const char* kCatalogue = "veltimo-solo";

    // Loads the catalogue of `locale`'s languages, in the user's order (QLocale::system() reads
    // LANGUAGE, LC_ALL, LC_MESSAGES and LANG), with Qt's own texts (the standard buttons), and
    // hands the core its translator. English, or a language without a catalogue, loads nothing
    // and leaves every text as written. The language loaded, or empty.
    static QString install(QCoreApplication& app, const QLocale& locale = QLocale::system());
    // Where catalogues are looked for: beside the build's programs, then in the installed tree's
    // data folder (both relative to the program's own folder, so that a tree can be moved whole).
    static QStringList folders();
    // The contexts, in the catalogue, of the texts marked VSOLO_TR: the translator the core is
    // given looks a text up in each in turn.
    static const QStringList& textContexts();
};

// A text marked VSOLO_TR, in the user's language, for a widget.
QString tt(const char* text);
QString tt(std::string_view text);

} // namespace vsolo
