<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>vsolo</name>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Tracking</source>
        <translation>&amp;Erfassung</translation>
    </message>
    <message>
        <source>&amp;Reports</source>
        <translation>Be&amp;richte</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>&amp;Goto</source>
        <translation>&amp;Gehe zu</translation>
    </message>
</context>
<context>
    <name>vsolo::CEditLevelsView</name>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Target:</source>
        <translation>&amp;Ziel:</translation>
    </message>
    <message>
        <source>Total:</source>
        <translation>Summe:</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>&amp;Copy to New Project</source>
        <translation>In neues Projekt &amp;kopieren</translation>
    </message>
</context>
<context>
    <name>vsolo::CMainFrame</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Use file on Local Drive</source>
        <translation>Datei auf &amp;lokalem Laufwerk verwenden</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>Dru&amp;ckereinrichtung...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit Levels/Targets...</source>
        <translation>&amp;Ebenen/Ziele bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Preferences...</source>
        <translation>Ein&amp;stellungen...</translation>
    </message>
    <message>
        <source>&amp;Time Sheet</source>
        <translation>&amp;Stundenzettel</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Statusleiste</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>Start from &amp;Last</source>
        <translation>Ab &amp;letztem Ende starten</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>S&amp;topp</translation>
    </message>
    <message>
        <source>S&amp;hrink</source>
        <translation>&amp;Verkleinern</translation>
    </message>
    <message>
        <source>&amp;Display All Items</source>
        <translation>&amp;Alle Einträge anzeigen</translation>
    </message>
    <message>
        <source>Auto stop/start when selecting &amp;new level 1 and 2</source>
        <translation>Automatisch stoppen/starten bei Auswahl &amp;neuer Ebene 1 und 2</translation>
    </message>
    <message>
        <source>Auto-&amp;shrink window when tracking time</source>
        <translation>Fenster beim Erfassen automatisch &amp;verkleinern</translation>
    </message>
    <message>
        <source>&amp;More Reports</source>
        <translation>&amp;Weitere Berichte</translation>
    </message>
    <message>
        <source>Send Ti&amp;me Sheet</source>
        <translation>Stundenzettel sen&amp;den</translation>
    </message>
    <message>
        <source>Ti&amp;p of the Day...</source>
        <translation>&amp;Tipp des Tages...</translation>
    </message>
    <message>
        <source>&amp;Contents...</source>
        <translation>&amp;Inhalt...</translation>
    </message>
    <message>
        <source>&amp;Help on this window</source>
        <translation>&amp;Hilfe zu diesem Fenster</translation>
    </message>
    <message>
        <source>&amp;Training Card</source>
        <translation>&amp;Lernkarte</translation>
    </message>
    <message>
        <source>&amp;About Veltimo Solo...</source>
        <translation>Ü&amp;ber Veltimo Solo...</translation>
    </message>
    <message>
        <source>&amp;Main Window</source>
        <translation>&amp;Hauptfenster</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>Druck&amp;vorschau</translation>
    </message>
    <message>
        <source>Comma Separated (*.csv)</source>
        <translation>Kommagetrennt (*.csv)</translation>
    </message>
    <message>
        <source>Tab Delimited (.txt)</source>
        <translation>Tabulatorgetrennt (.txt)</translation>
    </message>
    <message>
        <source>&amp;Edit transaction...</source>
        <translation>Transaktion &amp;bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Delete A&amp;ll</source>
        <translation>&amp;Alle löschen</translation>
    </message>
    <message>
        <source>&amp;First</source>
        <translation>&amp;Erste</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Vorherige</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächste</translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation>&amp;Letzte</translation>
    </message>
    <message>
        <source>D&amp;ate Range...</source>
        <translation>&amp;Zeitraum...</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>&amp;Drag and Drop (Hold Ctrl Key)</source>
        <translation>&amp;Ziehen und Ablegen (Strg-Taste halten)</translation>
    </message>
    <message>
        <source>Drag and Drop &amp;Copy</source>
        <translation>Ziehen und Ablegen als &amp;Kopie</translation>
    </message>
    <message>
        <source>&amp;Sort List</source>
        <translation>Liste &amp;sortieren</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>About Veltimo Solo</source>
        <translation>Über Veltimo Solo</translation>
    </message>
    <message>
        <source>&lt;b&gt;Veltimo Solo&lt;/b&gt; %1</source>
        <translation>&lt;b&gt;Veltimo Solo&lt;/b&gt; %1</translation>
    </message>
    <message>
        <source>A personal time tracker.</source>
        <translation>Eine persönliche Zeiterfassung.</translation>
    </message>
    <message>
        <source>Check for &amp;Updates on the Web</source>
        <translation>Im Web nach &amp;Aktualisierungen suchen</translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferences</name>
    <message>
        <source>File Information</source>
        <translation>Dateiinformationen</translation>
    </message>
    <message>
        <source>Titles &amp;&amp; Work Habits</source>
        <translation>Bezeichnungen &amp;&amp; Arbeitszeiten</translation>
    </message>
    <message>
        <source>Automatic Options</source>
        <translation>Automatik</translation>
    </message>
    <message>
        <source>Remote Options</source>
        <translation>Fernoptionen</translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferencesPage1</name>
    <message>
        <source>File name:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Time sheet:</source>
        <translation>Stundenzettel:</translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferencesPage2</name>
    <message>
        <source>L&amp;evel 1 title:</source>
        <translation>Bezeichnung der &amp;Ebene 1:</translation>
    </message>
    <message>
        <source>Level 2 title:</source>
        <translation>Bezeichnung der Ebene 2:</translation>
    </message>
    <message>
        <source>M&amp;y day starts at</source>
        <translation>&amp;Mein Tag beginnt um</translation>
    </message>
    <message>
        <source>(hh:mm)</source>
        <translation>(hh:mm)</translation>
    </message>
    <message>
        <source>Auto-advise when sending time sheet for days that have</source>
        <translation>Beim Senden des Stundenzettels auf Tage hinweisen mit</translation>
    </message>
    <message>
        <source>&amp;less than</source>
        <translation>&amp;weniger als</translation>
    </message>
    <message>
        <source>&amp;or more than</source>
        <translation>&amp;oder mehr als</translation>
    </message>
    <message>
        <source>. (hh:mm)</source>
        <translation>. (hh:mm)</translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferencesPage4</name>
    <message>
        <source>Auto-&amp;shrink window when tracking time</source>
        <translation>Fenster beim Erfassen automatisch &amp;verkleinern</translation>
    </message>
    <message>
        <source>Auto stop/start when selecting &amp;new level 1 and 2</source>
        <translation>Automatisch stoppen/starten bei Auswahl &amp;neuer Ebene 1 und 2</translation>
    </message>
    <message>
        <source>Auto-save &amp;time sheet when closing</source>
        <translation>Stundenzettel beim Schließen automatisch s&amp;peichern</translation>
    </message>
    <message>
        <source>Auto-load &amp;time sheet on application startup</source>
        <translation>Stundenzettel beim Programmstart automatisch &amp;laden</translation>
    </message>
    <message>
        <source>Ask &amp;what to do after</source>
        <translation>Nachfragen, &amp;was geschehen soll, nach</translation>
    </message>
    <message>
        <source>minutes without keyboard or mouse input</source>
        <translation>Minuten ohne Tastatur- oder Mauseingabe</translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferencesPage5</name>
    <message>
        <source>Send time sheet by e-mail</source>
        <translation>Stundenzettel per E-Mail senden</translation>
    </message>
    <message>
        <source>Check e-mail for assignment updates</source>
        <translation>E-Mail auf Zuordnungsaktualisierungen prüfen</translation>
    </message>
    <message>
        <source>E-mail Options</source>
        <translation>E-Mail-Optionen</translation>
    </message>
    <message>
        <source>Profile Logon:</source>
        <translation>Profilanmeldung:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>From Address:</source>
        <translation>Absenderadresse:</translation>
    </message>
    <message>
        <source>To Address:</source>
        <translation>Empfängeradresse:</translation>
    </message>
</context>
<context>
    <name>vsolo::CTrackWindowView</name>
    <message>
        <source>Project Name</source>
        <translation>Projektname</translation>
    </message>
    <message>
        <source>Activity Name</source>
        <translation>Tätigkeitsname</translation>
    </message>
    <message>
        <source>From 10:00 to 11:00</source>
        <translation>Von 10:00 bis 11:00</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>DETAIL</source>
        <translation>DETAILS</translation>
    </message>
</context>
<context>
    <name>vsolo::TrackerHelp</name>
    <message>
        <source>Veltimo Solo Help</source>
        <translation>Veltimo Solo Hilfe</translation>
    </message>
    <message>
        <source>Veltimo Solo Training Card</source>
        <translation>Veltimo Solo Lernkarte</translation>
    </message>
</context>
<context>
    <name>vsolo::TransactionDialog</name>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
    <message>
        <source>&amp;Start time:</source>
        <translation>&amp;Beginn:</translation>
    </message>
    <message>
        <source>&amp;End time:</source>
        <translation>&amp;Ende:</translation>
    </message>
    <message>
        <source>&amp;Total:</source>
        <translation>&amp;Summe:</translation>
    </message>
    <message>
        <source>Des&amp;criptions:</source>
        <translation>Bes&amp;chreibungen:</translation>
    </message>
    <message>
        <source>Display &amp;All</source>
        <translation>&amp;Alle anzeigen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::ClientsManager</name>
    <message>
        <source>A&amp;pply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::ExpenseDialog</name>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
    <message>
        <source>&amp;Amount:</source>
        <translation>&amp;Betrag:</translation>
    </message>
    <message>
        <source>D&amp;escription:</source>
        <translation>B&amp;eschreibung:</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::ExpensesManager</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::PreferencesDialog</name>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>Invoice:</source>
        <translation>Rechnung:</translation>
    </message>
    <message>
        <source>C&amp;ompany:</source>
        <translation>&amp;Firma:</translation>
    </message>
    <message>
        <source>&amp;Street:</source>
        <translation>&amp;Straße:</translation>
    </message>
    <message>
        <source>C&amp;ity:</source>
        <translation>&amp;Ort:</translation>
    </message>
    <message>
        <source>State/&amp;Province:</source>
        <translation>&amp;Bundesland/Region:</translation>
    </message>
    <message>
        <source>&amp;Zip/Postal Code:</source>
        <translation>&amp;Postleitzahl:</translation>
    </message>
    <message>
        <source>Ta&amp;x:</source>
        <translation>Steu&amp;er:</translation>
    </message>
    <message>
        <source>Sold &amp;To:</source>
        <translation>Verkauft &amp;an:</translation>
    </message>
    <message>
        <source>Ter&amp;ms:</source>
        <translation>&amp;Zahlungsbedingungen:</translation>
    </message>
    <message>
        <source>Terminology</source>
        <translation>Begriffe</translation>
    </message>
    <message>
        <source>C&amp;lient Term:</source>
        <translation>Begriff für &amp;Kunde:</translation>
    </message>
    <message>
        <source>&amp;Expense Term:</source>
        <translation>Begriff für &amp;Auslage:</translation>
    </message>
    <message>
        <source>&amp;Rate Term:</source>
        <translation>Begriff für &amp;Satz:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::RateDialog</name>
    <message>
        <source>&amp;Code:</source>
        <translation>&amp;Kürzel:</translation>
    </message>
    <message>
        <source>&amp;Amount:</source>
        <translation>&amp;Betrag:</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>&amp;Beschreibung:</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::RatesManager</name>
    <message>
        <source>Code</source>
        <translation>Kürzel</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Satz</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>vsolo::text</name>
    <message>
        <source>Veltimo Solo Files (*.tpl)</source>
        <translation>Veltimo-Solo-Dateien (*.tpl)</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Loading transactions…</source>
        <translation>Transaktionen werden geladen…</translation>
    </message>
    <message>
        <source>Veltimo has detected an older version of a needed system file.  Veltimo will exit and install a newer version.</source>
        <translation>Veltimo hat eine ältere Version einer benötigten Systemdatei gefunden.  Veltimo wird beendet und installiert eine neuere Version.</translation>
    </message>
    <message>
        <source>Cannot find file: %s<byte value="xd"/>
<byte value="xd"/>
a)  The file has been moved, renamed, or deleted.
     Select File, Open from the menu.

or

b)  The network server may be down.
     Contact your system administrator or try again later.</source>
        <translation>Datei nicht gefunden: %s<byte value="xd"/>
<byte value="xd"/>
a)  Die Datei wurde verschoben, umbenannt oder gelöscht.
     Wählen Sie im Menü Datei, Öffnen.

oder

b)  Der Netzwerkserver ist vielleicht nicht erreichbar.
     Wenden Sie sich an Ihre Systemverwaltung oder versuchen Sie es später noch einmal.</translation>
    </message>
    <message>
        <source>%s/%s:</source>
        <translation>%s/%s:</translation>
    </message>
    <message>
        <source>to start at %s</source>
        <translation>um %s zu beginnen</translation>
    </message>
    <message>
        <source>The start time cannot be greater than the end time. Please re-enter time.</source>
        <translation>Der Beginn darf nicht nach dem Ende liegen. Bitte geben Sie die Zeit neu ein.</translation>
    </message>
    <message>
        <source>The start time cannot overlap the end time of the previous transaction.</source>
        <translation>Der Beginn darf nicht vor dem Ende der vorigen Transaktion liegen.</translation>
    </message>
    <message>
        <source>The end time cannot be greater than the current time. Please re-enter time.</source>
        <translation>Das Ende darf nicht nach der aktuellen Uhrzeit liegen. Bitte geben Sie die Zeit neu ein.</translation>
    </message>
    <message>
        <source> (hh:mm)</source>
        <translation> (hh:mm)</translation>
    </message>
    <message>
        <source>This transaction has been sent and can no longer be changed.</source>
        <translation>Diese Transaktion wurde gesendet und kann nicht mehr geändert werden.</translation>
    </message>
    <message>
        <source>The description</source>
        <translation>Die Beschreibung</translation>
    </message>
    <message>
        <source>TRACKING ON</source>
        <translation>ERFASSUNG LÄUFT</translation>
    </message>
    <message>
        <source>Time worked:</source>
        <translation>Gearbeitet:</translation>
    </message>
    <message>
        <source>&amp;Descriptions:</source>
        <translation>&amp;Beschreibungen:</translation>
    </message>
    <message>
        <source>&amp;Start time:</source>
        <translation>&amp;Beginn:</translation>
    </message>
    <message>
        <source>End &amp;time:</source>
        <translation>&amp;Ende:</translation>
    </message>
    <message>
        <source>Tracking ON - %s</source>
        <translation>Erfassung läuft - %s</translation>
    </message>
    <message>
        <source>From %s to %s</source>
        <translation>Von %s bis %s</translation>
    </message>
    <message>
        <source>%s: %s</source>
        <translation>%s: %s</translation>
    </message>
    <message>
        <source>Not tracking</source>
        <translation>Keine Erfassung</translation>
    </message>
    <message>
        <source>Worked today: %s</source>
        <translation>Heute gearbeitet: %s</translation>
    </message>
    <message>
        <source>%s - %s</source>
        <translation>%s - %s</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>S&amp;topp</translation>
    </message>
    <message>
        <source>&amp;Show Main Window</source>
        <translation>Hauptfenster &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;Hide Main Window</source>
        <translation>Hauptfenster &amp;ausblenden</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Show an icon in the system tra&amp;y</source>
        <translation>Symbol im &amp;Systembereich der Kontrollleiste anzeigen</translation>
    </message>
    <message>
        <source>C&amp;losing the main window keeps the tracker running in the tray</source>
        <translation>Beim Sch&amp;ließen des Hauptfensters im Systembereich weiterlaufen</translation>
    </message>
    <message>
        <source>This desktop has no system tray.</source>
        <translation>Diese Arbeitsumgebung hat keinen Systembereich.</translation>
    </message>
    <message>
        <source>End tracking at %s.</source>
        <translation>Zeiterfassung um %s beenden?</translation>
    </message>
    <message>
        <source>%s &amp;and %s report	F5</source>
        <translation>Bericht über %s &amp;und %s	F5</translation>
    </message>
    <message>
        <source>%% &amp;of total hours worked by %s (including target)	F6</source>
        <translation>%% der &amp;Gesamtstunden nach %s (mit Ziel)	F6</translation>
    </message>
    <message>
        <source>%% of &amp;total hours worked by %s	F7</source>
        <translation>%% der Gesamt&amp;stunden nach %s	F7</translation>
    </message>
    <message>
        <source>%% of total &amp;hours worked by %s	F8</source>
        <translation>%% der Gesamtstunden &amp;nach %s	F8</translation>
    </message>
    <message>
        <source>Display or print a %s graph</source>
        <translation>Eine Grafik nach %s anzeigen oder drucken</translation>
    </message>
    <message>
        <source>Not available yet</source>
        <translation>Noch nicht verfügbar</translation>
    </message>
    <message>
        <source>Time Away</source>
        <translation>Abwesenheit</translation>
    </message>
    <message>
        <source>No keyboard or mouse input from %s to %s while tracking %s.

What should happen to this time?</source>
        <translation>Keine Tastatur- oder Mauseingabe von %s bis %s, während %s erfasst wurde.

Was soll mit dieser Zeit geschehen?</translation>
    </message>
    <message>
        <source>&amp;Keep</source>
        <translation>&amp;Behalten</translation>
    </message>
    <message>
        <source>&amp;Stop at %s</source>
        <translation>Um %s &amp;stoppen</translation>
    </message>
    <message>
        <source>&amp;Discard and go on</source>
        <translation>&amp;Verwerfen und weitermachen</translation>
    </message>
    <message>
        <source>The time stays tracked; nothing changes.</source>
        <translation>Die Zeit bleibt erfasst; nichts ändert sich.</translation>
    </message>
    <message>
        <source>The tracked time ends where input stopped, and tracking stops.</source>
        <translation>Die erfasste Zeit endet, wo die Eingabe aufhörte, und die Erfassung stoppt.</translation>
    </message>
    <message>
        <source>The tracked time ends where input stopped, and tracking goes on from now.</source>
        <translation>Die erfasste Zeit endet, wo die Eingabe aufhörte, und die Erfassung geht ab jetzt weiter.</translation>
    </message>
    <message>
        <source>Add &amp;%s</source>
        <translation>%s &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Add %s</source>
        <translation>%s hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Copy to New %s</source>
        <translation>In neues %s &amp;kopieren</translation>
    </message>
    <message>
        <source>Copy item and all sub-items to a new project</source>
        <translation>Eintrag mit allen Untereinträgen in ein neues Projekt kopieren</translation>
    </message>
    <message>
        <source>Remove %s from list for time entry.</source>
        <translation>%s aus der Liste für die Zeiteingabe entfernen.</translation>
    </message>
    <message>
        <source>Failed to insert</source>
        <translation>Einfügen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Failed to delete</source>
        <translation>Löschen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Please enter a valid value for the level definition.</source>
        <translation>Bitte geben Sie eine gültige Bezeichnung der Ebene ein.</translation>
    </message>
    <message>
        <source>This desktop does not tell how long the keyboard and mouse have been idle, so the question cannot be asked.</source>
        <translation>Diese Arbeitsumgebung teilt nicht mit, wie lange Tastatur und Maus unbenutzt waren; daher kann nicht nachgefragt werden.</translation>
    </message>
    <message>
        <source>Some preferences could not be saved because the settings file could not be written. Check that the folder of the settings file exists and that you may write to it.</source>
        <translation>Einige Einstellungen konnten nicht gespeichert werden, weil die Einstellungsdatei nicht geschrieben werden konnte. Prüfen Sie, ob der Ordner der Einstellungsdatei besteht und ob Sie darin schreiben dürfen.</translation>
    </message>
    <message>
        <source>Some preferences could not be saved because the settings file could not be written: the level titles and the automatic options are back to their earlier values the next time Veltimo Solo starts. Check that the folder of the settings file exists and that you may write to it.</source>
        <translation>Einige Einstellungen konnten nicht gespeichert werden, weil die Einstellungsdatei nicht geschrieben werden konnte: Die Bezeichnungen der Ebenen und die Automatik haben beim nächsten Start von Veltimo Solo wieder ihre früheren Werte. Prüfen Sie, ob der Ordner der Einstellungsdatei besteht und ob Sie darin schreiben dürfen.</translation>
    </message>
    <message>
        <source>Errors found.<byte value="xd"/>
<byte value="xd"/>
Please correct rows with the word &quot;ERROR&quot; in the description.</source>
        <translation>Fehler gefunden.<byte value="xd"/>
<byte value="xd"/>
Bitte korrigieren Sie die Zeilen mit dem Wort „FEHLER“ in der Beschreibung.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this transaction?</source>
        <translation>Möchten Sie diese Transaktion wirklich löschen?</translation>
    </message>
    <message>
        <source>Are you sure you want to delete all transactions?</source>
        <translation>Alle Transaktionen löschen?</translation>
    </message>
    <message>
        <source>Save changes?</source>
        <translation>Änderungen speichern?</translation>
    </message>
    <message>
        <source>Show the time sheet as the file holds it now?<byte value="xd"/>
<byte value="xd"/>
Yes drops the changes made here since the time sheet was last saved; make them again afterwards. No keeps them on the screen, unsaved.</source>
        <translation>Den Stundenzettel so anzeigen, wie die Datei ihn jetzt enthält?<byte value="xd"/>
<byte value="xd"/>
Ja verwirft die Änderungen, die hier seit dem letzten Speichern gemacht wurden; nehmen Sie sie danach erneut vor. Nein behält sie ungespeichert auf dem Bildschirm.</translation>
    </message>
    <message>
        <source>From: %s   To: %s</source>
        <translation>Von: %s   Bis: %s</translation>
    </message>
    <message>
        <source>Export Time sheet to .csv</source>
        <translation>Stundenzettel als .csv exportieren</translation>
    </message>
    <message>
        <source>Export Time sheet to .txt</source>
        <translation>Stundenzettel als .txt exportieren</translation>
    </message>
    <message>
        <source>Comma Separated File (*.csv)</source>
        <translation>Kommagetrennte Datei (*.csv)</translation>
    </message>
    <message>
        <source>Tab Delimited File (*.txt)</source>
        <translation>Tabulatorgetrennte Datei (*.txt)</translation>
    </message>
    <message>
        <source>Edit Levels/Targets</source>
        <translation>Ebenen/Ziele bearbeiten</translation>
    </message>
    <message>
        <source>Step %d: %s</source>
        <translation>Schritt %d: %s</translation>
    </message>
    <message>
        <source>En&amp;ter/edit %s names:</source>
        <translation>Namen für %s &amp;eingeben/bearbeiten:</translation>
    </message>
    <message>
        <source>Definition: </source>
        <translation>Definition: </translation>
    </message>
    <message>
        <source>A project, a subject of tasks or activities to be performed during a normal work week such as administration, sales, production, etc.</source>
        <translation>Ein Projekt: ein Bereich von Aufgaben oder Tätigkeiten einer normalen Arbeitswoche, etwa Verwaltung, Vertrieb, Produktion usw.</translation>
    </message>
    <message>
        <source>An activity, a task that you perform such as write letters, documents, etc.</source>
        <translation>Eine Tätigkeit: eine Aufgabe, die Sie ausführen, etwa Briefe oder Dokumente schreiben usw.</translation>
    </message>
    <message>
        <source>Name	Target (%)	Description</source>
        <translation>Name	Ziel (%)	Beschreibung</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>&amp;Bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Step 3: Assign and Remove</source>
        <translation>Schritt 3: Zuordnen und Entfernen</translation>
    </message>
    <message>
        <source>For each %s, select one or more %s.</source>
        <translation>Wählen Sie für jedes %s ein oder mehrere %s.</translation>
    </message>
    <message>
        <source>%s &amp;list:</source>
        <translation>%s-&amp;Liste:</translation>
    </message>
    <message>
        <source>&amp;Select one or more %s:</source>
        <translation>Ein oder mehrere %s &amp;wählen:</translation>
    </message>
    <message>
        <source>&amp;Remove %s in the list for time entry</source>
        <translation>%s in der Liste für die Zeiteingabe &amp;entfernen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>&amp;Unselect All</source>
        <translation>Auswahl &amp;aufheben</translation>
    </message>
    <message>
        <source>Cancel changes made?</source>
        <translation>Vorgenommene Änderungen verwerfen?</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Weiter &gt;</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Fertigstellen</translation>
    </message>
    <message>
        <source>Edit %s</source>
        <translation>%s bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>&amp;Beschreibung:</translation>
    </message>
    <message>
        <source>&amp;Target:</source>
        <translation>&amp;Ziel:</translation>
    </message>
    <message>
        <source>The time sheet was sent, but your copy of it could not be updated.<byte value="xd"/>
<byte value="xd"/>
The sent transactions are still in your time sheet and are not marked as sent: do not send them again.</source>
        <translation>Der Stundenzettel wurde gesendet, aber Ihre Kopie konnte nicht aktualisiert werden.<byte value="xd"/>
<byte value="xd"/>
Die gesendeten Transaktionen stehen noch in Ihrem Stundenzettel und sind nicht als gesendet markiert: Senden Sie sie nicht noch einmal.</translation>
    </message>
    <message>
        <source>An assignment update would remove the item being tracked.<byte value="xd"/>
<byte value="xd"/>
It will be applied when the template is opened again after tracking has stopped.</source>
        <translation>Eine Zuordnungsaktualisierung würde den gerade erfassten Eintrag entfernen.<byte value="xd"/>
<byte value="xd"/>
Sie wird angewendet, wenn die Vorlage nach dem Ende der Erfassung wieder geöffnet wird.</translation>
    </message>
    <message>
        <source>An assignment update could not be saved to the template.<byte value="xd"/>
<byte value="xd"/>
The update stays in your mailbox and will be applied the next time the template is opened.</source>
        <translation>Eine Zuordnungsaktualisierung konnte nicht in der Vorlage gespeichert werden.<byte value="xd"/>
<byte value="xd"/>
Die Aktualisierung bleibt in Ihrem Postfach und wird beim nächsten Öffnen der Vorlage angewendet.</translation>
    </message>
    <message>
        <source>The update stays in your mailbox and is refused again each time the template is opened.<byte value="xd"/>
<byte value="xd"/>
Delete it from the mailbox?</source>
        <translation>Die Aktualisierung bleibt in Ihrem Postfach und wird bei jedem Öffnen der Vorlage erneut abgelehnt.<byte value="xd"/>
<byte value="xd"/>
Aus dem Postfach löschen?</translation>
    </message>
</context>
</TS>
