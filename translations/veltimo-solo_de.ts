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
    <message>
        <source>Cannot read file %1 it is a folder, not a file.</source>
        <translation>Die Datei %1 kann nicht gelesen werden: Sie ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>a)  Cannot read file %1 the file exists, but cannot be read.
b)  The network server may be down.</source>
        <translation>a)  Die Datei %1 kann nicht gelesen werden: Sie besteht, ist aber nicht lesbar.
b)  Der Netzwerkserver ist vielleicht nicht erreichbar.</translation>
    </message>
    <message>
        <source>Cannot find %1 the file was either renamed, moved to another directory, or deleted.</source>
        <translation>%1 wurde nicht gefunden: Die Datei wurde umbenannt, in einen anderen Ordner verschoben oder gelöscht.</translation>
    </message>
    <message>
        <source>Cannot find %1 the directory was either renamed, moved, or deleted.</source>
        <translation>%1 wurde nicht gefunden: Der Ordner wurde umbenannt, verschoben oder gelöscht.</translation>
    </message>
    <message>
        <source>a)  Cannot save file %1 the file exists, but cannot be written to.
b)  The network server may be down.</source>
        <translation>a)  Die Datei %1 kann nicht gespeichert werden: Sie besteht, ist aber nicht beschreibbar.
b)  Der Netzwerkserver ist vielleicht nicht erreichbar.</translation>
    </message>
    <message>
        <source>A needed file is locked by another process</source>
        <translation>Eine benötigte Datei ist von einem anderen Prozess gesperrt</translation>
    </message>
    <message>
        <source>Cannot open, retrieve, or save %1 the directory specified on the network is not valid.</source>
        <translation>%1 kann nicht geöffnet, abgerufen oder gespeichert werden: Der angegebene Netzwerkordner ist ungültig.</translation>
    </message>
    <message>
        <source>An error has occurred.  Error#%1</source>
        <translation>Ein Fehler ist aufgetreten.  Fehler Nr. %1</translation>
    </message>
    <message>
        <source>The file %1 is damaged and cannot be used: %2.<byte value="xd"/>
<byte value="xd"/>
Nothing was changed in the file.</source>
        <translation>Die Datei %1 ist beschädigt und kann nicht verwendet werden: %2.<byte value="xd"/>
<byte value="xd"/>
An der Datei wurde nichts geändert.</translation>
    </message>
    <message>
        <source>Cannot write %1.<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
Nothing was written, so the file is as it was.</source>
        <translation>%1 kann nicht geschrieben werden.<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
Es wurde nichts geschrieben; die Datei ist unverändert.</translation>
    </message>
    <message>
        <source>Another program changed %1 after it was read here.</source>
        <translation>Ein anderes Programm hat %1 geändert, nachdem die Datei hier gelesen wurde.</translation>
    </message>
    <message>
        <source>Another program changed %1 after it was read here, in records that were also changed or removed here. %2 is one of them.</source>
        <translation>Ein anderes Programm hat %1 geändert, nachdem die Datei hier gelesen wurde, und zwar in Datensätzen, die auch hier geändert oder entfernt wurden. %2 ist einer davon.</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
Nothing was saved, so that the other program&apos;s changes are not undone: the file keeps them, and the changes made here are not in it.<byte value="xd"/>
<byte value="xd"/>
To go on, open the file again and make the changes once more.</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
Es wurde nichts gespeichert, damit die Änderungen des anderen Programms nicht verloren gehen: Die Datei behält sie, und die hier gemachten Änderungen sind nicht darin.<byte value="xd"/>
<byte value="xd"/>
Öffnen Sie die Datei erneut und nehmen Sie die Änderungen noch einmal vor.</translation>
    </message>
    <message>
        <source>The transaction file %1 ends in a record that was cut short, most likely because the program or the computer stopped while it was being written. Every complete record was read; the incomplete last record was left out.<byte value="xd"/>
<byte value="xd"/>
Before the file is next written, a copy of it as it is now is kept beside it, under its name followed by &quot;.incomplete-tail&quot;.</source>
        <translation>Die Transaktionsdatei %1 endet mit einem abgeschnittenen Datensatz, wahrscheinlich weil das Programm oder der Computer beim Schreiben anhielt. Jeder vollständige Datensatz wurde gelesen; der unvollständige letzte wurde ausgelassen.<byte value="xd"/>
<byte value="xd"/>
Bevor die Datei das nächste Mal geschrieben wird, wird eine Kopie ihres jetzigen Inhalts daneben aufbewahrt, unter ihrem Namen mit angehängtem „.incomplete-tail“.</translation>
    </message>
    <message>
        <source>Veltimo Solo will close.</source>
        <translation>Veltimo Solo wird beendet.</translation>
    </message>
    <message>
        <source>Veltimo Solo has detected that this template is a version 3 file.  Veltimo Solo will now convert this template to a version 4 file.</source>
        <translation>Veltimo Solo hat festgestellt, dass diese Vorlage eine Datei der Version 3 ist.  Veltimo Solo wandelt die Vorlage jetzt in eine Datei der Version 4 um.</translation>
    </message>
    <message>
        <source>All %s(s) added must contain at least one %s.</source>
        <translation>Jedes hinzugefügte %s muss mindestens ein %s enthalten.</translation>
    </message>
    <message>
        <source>Delete the %1 file?<byte value="xd"/>
<byte value="xd"/>
If yes, you will erase this file. Delete?<byte value="xd"/>
<byte value="xd"/>
NOTE: To delete %2(s) or %3(s), use Edit Levels/Targets in the Edit menu.</source>
        <translation>Die Datei %1 löschen?<byte value="xd"/>
<byte value="xd"/>
Bei Ja wird diese Datei gelöscht. Löschen?<byte value="xd"/>
<byte value="xd"/>
HINWEIS: Um Einträge (%2 oder %3) zu löschen, verwenden Sie Ebenen/Ziele bearbeiten im Menü Bearbeiten.</translation>
    </message>
    <message>
        <source>The settings file could not be written, so the switch between the local copy and the template&apos;s own folder could not be remembered. Check that the folder of the settings file exists and that you may write to it.</source>
        <translation>Die Einstellungsdatei konnte nicht geschrieben werden, daher konnte der Wechsel zwischen der lokalen Kopie und dem Ordner der Vorlage nicht gespeichert werden. Prüfen Sie, ob der Ordner der Einstellungsdatei besteht und ob Sie darin schreiben dürfen.</translation>
    </message>
    <message>
        <source>The time tracked on %1 from %2 to %3 could not be stored in %4:<byte value="xd"/>
<byte value="xd"/>
%5</source>
        <translation>Die am %1 von %2 bis %3 erfasste Zeit konnte nicht in %4 gespeichert werden:<byte value="xd"/>
<byte value="xd"/>
%5</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
The time is kept. Veltimo Solo stores it as soon as the file takes it: it tries again every minute and when tracking next stops.</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
Die Zeit bleibt erhalten. Veltimo Solo speichert sie, sobald die Datei sie annimmt: Es versucht es jede Minute erneut und wenn die Erfassung das nächste Mal stoppt.</translation>
    </message>
    <message>
        <source>Tracked time could not be stored in %1 yet:<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
%3<byte value="xd"/>
<byte value="xd"/>
If you quit now, the time stays in the file %4 and is offered the next time this template is opened.<byte value="xd"/>
<byte value="xd"/>
Quit anyway?</source>
        <translation>Erfasste Zeit konnte noch nicht in %1 gespeichert werden:<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
%3<byte value="xd"/>
<byte value="xd"/>
Wenn Sie jetzt beenden, bleibt die Zeit in der Datei %4 und wird beim nächsten Öffnen dieser Vorlage angeboten.<byte value="xd"/>
<byte value="xd"/>
Trotzdem beenden?</translation>
    </message>
    <message>
        <source>Tracked time could not be stored in %1 yet:<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
%3<byte value="xd"/>
<byte value="xd"/>
If you quit now, the time is lost: the file %4 that would keep it could not be written either.<byte value="xd"/>
<byte value="xd"/>
Quit anyway?</source>
        <translation>Erfasste Zeit konnte noch nicht in %1 gespeichert werden:<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
%3<byte value="xd"/>
<byte value="xd"/>
Wenn Sie jetzt beenden, geht die Zeit verloren: Auch die Datei %4, die sie aufbewahren würde, konnte nicht geschrieben werden.<byte value="xd"/>
<byte value="xd"/>
Trotzdem beenden?</translation>
    </message>
    <message>
        <source>%1 from %2 to %3</source>
        <translation>%1 von %2 bis %3</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this item and all its sub-items?</source>
        <translation>Möchten Sie diesen Eintrag und alle seine Untereinträge wirklich löschen?</translation>
    </message>
    <message>
        <source>Please select the item you wish to delete.</source>
        <translation>Bitte wählen Sie den Eintrag, den Sie löschen möchten.</translation>
    </message>
    <message>
        <source>%s recorded transaction(s) refer to this item or its sub-items. After the delete their time is still kept, but it is shown under &quot;?&quot; instead of a name.</source>
        <translation>%s erfasste Transaktion(en) beziehen sich auf diesen Eintrag oder seine Untereinträge. Nach dem Löschen bleibt ihre Zeit erhalten, wird aber unter „?“ statt unter einem Namen angezeigt.</translation>
    </message>
    <message>
        <source>The transaction file could not be read, so it is not known how many recorded transactions refer to this item or its sub-items. If any do, their time is still kept after the delete, but it is shown under &quot;?&quot; instead of a name.<byte value="xd"/>
<byte value="xd"/>
%s</source>
        <translation>Die Transaktionsdatei konnte nicht gelesen werden, daher ist nicht bekannt, wie viele erfasste Transaktionen sich auf diesen Eintrag oder seine Untereinträge beziehen. Falls es welche gibt, bleibt ihre Zeit nach dem Löschen erhalten, wird aber unter „?“ statt unter einem Namen angezeigt.<byte value="xd"/>
<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>Please enter a unique value for the name.</source>
        <translation>Bitte geben Sie einen eindeutigen Namen ein.</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter a number between 0 and 100.</source>
        <translation>Bitte geben Sie eine Zahl zwischen 0 und 100 ein.</translation>
    </message>
    <message>
        <source>The total target percentage must not be greater than 100%.</source>
        <translation>Die Summe der Zielanteile darf 100 % nicht übersteigen.</translation>
    </message>
    <message>
        <source>%% (%d%% left to allocate)</source>
        <translation>%% (%d%% noch zu verteilen)</translation>
    </message>
    <message>
        <source>You are currently tracking using this %s name.  Please stop tracking before deleting it.</source>
        <translation>Sie erfassen gerade Zeit mit diesem %s.  Bitte stoppen Sie die Erfassung, bevor Sie es löschen.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this %s from the list?</source>
        <translation>Möchten Sie dieses %s wirklich aus der Liste löschen?</translation>
    </message>
    <message>
        <source>Failed to create/open file.</source>
        <translation>Datei konnte nicht angelegt/geöffnet werden.</translation>
    </message>
    <message>
        <source>Veltimo Solo found time that was tracked but never stored, most likely because the program ended unexpectedly:<byte value="xd"/>
<byte value="xd"/>
%1 from %2 to %3<byte value="xd"/>
%4: %5<byte value="xd"/>
%6: %7<byte value="xd"/>
<byte value="xd"/>
Do you want to store this time now?</source>
        <translation>Veltimo Solo hat Zeit gefunden, die erfasst, aber nie gespeichert wurde, wahrscheinlich weil das Programm unerwartet endete:<byte value="xd"/>
<byte value="xd"/>
%1 von %2 bis %3<byte value="xd"/>
%4: %5<byte value="xd"/>
%6: %7<byte value="xd"/>
<byte value="xd"/>
Möchten Sie diese Zeit jetzt speichern?</translation>
    </message>
    <message>
        <source>The file %1 keeps tracked time safe until it is stored, but it cannot be used: %2.<byte value="xd"/>
<byte value="xd"/>
It may still hold time that was not stored, so it was kept as %3.</source>
        <translation>Die Datei %1 sichert erfasste Zeit, bis sie gespeichert ist, kann aber nicht verwendet werden: %2.<byte value="xd"/>
<byte value="xd"/>
Sie enthält vielleicht noch nicht gespeicherte Zeit und wurde daher als %3 aufbewahrt.</translation>
    </message>
    <message>
        <source>The file %1 keeps tracked time safe until it is stored, but it cannot be used: %2.<byte value="xd"/>
<byte value="xd"/>
It may still hold time that was not stored, so it was left as it is. Until it is moved away, time being tracked for this file is kept only in memory until tracking stops.</source>
        <translation>Die Datei %1 sichert erfasste Zeit, bis sie gespeichert ist, kann aber nicht verwendet werden: %2.<byte value="xd"/>
<byte value="xd"/>
Sie enthält vielleicht noch nicht gespeicherte Zeit und wurde daher so belassen. Bis sie entfernt wird, wird die für diese Datei laufend erfasste Zeit nur im Speicher gehalten, bis die Erfassung stoppt.</translation>
    </message>
    <message>
        <source>The file %1 keeps tracked time safe until it is stored, but it cannot be used: %2.<byte value="xd"/>
<byte value="xd"/>
It may still hold time that was not stored, but it could not be renamed (error %3), so it was left as it is. Until it is moved away, time being tracked for this file is kept only in memory until tracking stops.</source>
        <translation>Die Datei %1 sichert erfasste Zeit, bis sie gespeichert ist, kann aber nicht verwendet werden: %2.<byte value="xd"/>
<byte value="xd"/>
Sie enthält vielleicht noch nicht gespeicherte Zeit, konnte aber nicht umbenannt werden (Fehler %3) und wurde daher so belassen. Bis sie entfernt wird, wird die für diese Datei laufend erfasste Zeit nur im Speicher gehalten, bis die Erfassung stoppt.</translation>
    </message>
    <message>
        <source>The time being tracked could not be kept safe in the file %1 (error %2).<byte value="xd"/>
<byte value="xd"/>
Tracking goes on and the time is stored when tracking stops, but if Veltimo Solo ends unexpectedly before that, the time tracked since the start can be lost. This message is not repeated.</source>
        <translation>Die laufend erfasste Zeit konnte nicht in der Datei %1 gesichert werden (Fehler %2).<byte value="xd"/>
<byte value="xd"/>
Die Erfassung geht weiter und die Zeit wird beim Stoppen gespeichert; endet Veltimo Solo aber vorher unerwartet, kann die seit dem Start erfasste Zeit verloren gehen. Diese Meldung wird nicht wiederholt.</translation>
    </message>
    <message>
        <source>Level %1 item</source>
        <translation>Eintrag der Ebene %1</translation>
    </message>
    <message>
        <source>%1 holds the character &quot;%2&quot; (%3), which the files of this template cannot store: they keep texts in Windows-1252. Please use another character.</source>
        <translation>%1 enthält das Zeichen „%2“ (%3), das die Dateien dieser Vorlage nicht speichern können: Sie halten Texte in Windows-1252. Bitte verwenden Sie ein anderes Zeichen.</translation>
    </message>
    <message>
        <source>%1 holds %2 characters; the files of this template store at most %3.</source>
        <translation>%1 hat %2 Zeichen; die Dateien dieser Vorlage speichern höchstens %3.</translation>
    </message>
    <message>
        <source>%1 takes %2 bytes; the files of this template store at most %3.</source>
        <translation>%1 braucht %2 Bytes; die Dateien dieser Vorlage speichern höchstens %3.</translation>
    </message>
    <message>
        <source>The name</source>
        <translation>Der Name</translation>
    </message>
    <message>
        <source>The description</source>
        <translation>Die Beschreibung</translation>
    </message>
    <message>
        <source>The third text</source>
        <translation>Der dritte Text</translation>
    </message>
    <message>
        <source>The transaction of %1 from %2 to %3</source>
        <translation>Die Transaktion vom %1 von %2 bis %3</translation>
    </message>
    <message>
        <source>   Total</source>
        <translation>   Summe</translation>
    </message>
    <message>
        <source>   Grand Total</source>
        <translation>   Gesamtsumme</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>FEHLER</translation>
    </message>
    <message>
        <source>Date	Project	Activity	Start	End	Duration	Total	Description</source>
        <extracomment>Eight column titles separated by tabs; the second and third stand for the level titles.</extracomment>
        <translation>Datum	Projekt	Tätigkeit	Beginn	Ende	Dauer	Summe	Beschreibung</translation>
    </message>
    <message>
        <source>Add Transaction</source>
        <translation>Transaktion hinzufügen</translation>
    </message>
    <message>
        <source>Edit Transaction</source>
        <translation>Transaktion bearbeiten</translation>
    </message>
    <message>
        <source>to set Start at %s</source>
        <translation>um den Beginn auf %s zu setzen</translation>
    </message>
    <message>
        <source>to set End at %s</source>
        <translation>um das Ende auf %s zu setzen</translation>
    </message>
    <message>
        <source>&amp;1. %s/%s:</source>
        <translation>&amp;1. %s/%s:</translation>
    </message>
    <message>
        <source>Please make sure the date entered is between %s and %s. <byte value="xd"/>
<byte value="xd"/>
Or select GOTO, DATE RANGE from the menu.</source>
        <translation>Bitte achten Sie darauf, dass das eingegebene Datum zwischen %s und %s liegt. <byte value="xd"/>
<byte value="xd"/>
Oder wählen Sie im Menü GEHE ZU, ZEITRAUM.</translation>
    </message>
    <message>
        <source>Cannot add future time.</source>
        <translation>Künftige Zeit kann nicht hinzugefügt werden.</translation>
    </message>
    <message>
        <source>The start time should be before the end time.</source>
        <translation>Der Beginn sollte vor dem Ende liegen.</translation>
    </message>
    <message>
        <source>Time overlap with running transaction.<byte value="xd"/>
<byte value="xd"/>
(Running transaction: Start time %s End time %s).</source>
        <translation>Überschneidung mit der laufenden Transaktion.<byte value="xd"/>
<byte value="xd"/>
(Laufende Transaktion: Beginn %s Ende %s).</translation>
    </message>
    <message>
        <source>Cannot enter future time.<byte value="xd"/>
<byte value="xd"/>
Current time: %s.</source>
        <translation>Künftige Zeit kann nicht eingegeben werden.<byte value="xd"/>
<byte value="xd"/>
Aktuelle Uhrzeit: %s.</translation>
    </message>
    <message>
        <source>%s missing. Please select from list.</source>
        <translation>%s fehlt. Bitte aus der Liste wählen.</translation>
    </message>
    <message>
        <source>%s and %s missing. Please select from list.</source>
        <translation>%s und %s fehlen. Bitte aus der Liste wählen.</translation>
    </message>
    <message>
        <source>Too many hours.  Take note:<byte value="xd"/>
<byte value="xd"/>
1. Cannot add future time.<byte value="xd"/>
2. Maximum hours for one day is 23:59.</source>
        <translation>Zu viele Stunden.  Bitte beachten:<byte value="xd"/>
<byte value="xd"/>
1. Künftige Zeit kann nicht hinzugefügt werden.<byte value="xd"/>
2. Ein Tag hat höchstens 23:59 Stunden.</translation>
    </message>
    <message>
        <source>Not enough hours remaining for time interval. You can:<byte value="xd"/>
<byte value="xd"/>
1. Enter multiple rows or<byte value="xd"/>
2. Delete existing rows for %s and re-enter hours.</source>
        <translation>Für diesen Zeitraum bleiben nicht genug Stunden. Sie können:<byte value="xd"/>
<byte value="xd"/>
1. mehrere Zeilen eingeben oder<byte value="xd"/>
2. vorhandene Zeilen für %s löschen und die Stunden neu eingeben.</translation>
    </message>
    <message>
        <source>TIME SHEET</source>
        <translation>STUNDENZETTEL</translation>
    </message>
    <message>
        <source>* - Error</source>
        <translation>* - Fehler</translation>
    </message>
    <message>
        <source>§ - Transaction sent to Veltimo Hub</source>
        <translation>§ - Transaktion an Veltimo Hub gesendet</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Summe</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>The changes to the levels were saved, but the recorded time of the moved items could not go along with them yet and shows under &quot;?&quot; for now. Save again to move it.</source>
        <translation>Die Änderungen an den Ebenen wurden gespeichert, aber die erfasste Zeit der verschobenen Einträge konnte noch nicht mitgehen und wird vorerst unter &quot;?&quot; angezeigt. Speichern Sie erneut, um sie zu verschieben.</translation>
    </message>
    <message>
        <source>%1 recorded transaction(s) of %2 will no longer show under it. Move its recorded time along with it?</source>
        <translation>%1 erfasste Transaktion(en) von %2 werden nicht mehr darunter angezeigt. Die erfasste Zeit mit verschieben?</translation>
    </message>
    <message>
        <source>%1 other transaction(s) of %2 were already sent and stay where they are, whatever the answer.</source>
        <translation>%1 weitere Transaktion(en) von %2 wurden bereits gesendet und bleiben, wie auch immer Sie antworten, wo sie sind.</translation>
    </message>
    <message>
        <source>%1 recorded transaction(s) of %2 were already sent and stay where they are: after the move their time is shown under &quot;?&quot; instead of a name.</source>
        <translation>%1 erfasste Transaktion(en) von %2 wurden bereits gesendet und bleiben, wo sie sind: Nach dem Verschieben wird ihre Zeit unter &quot;?&quot; statt unter einem Namen angezeigt.</translation>
    </message>
    <message>
        <source>The transaction file could not be read, so the recorded time of %1 cannot move along with it: any there is stays where it is and is shown under &quot;?&quot; after the move. Move %1 anyway?<byte value="xd"/>
<byte value="xd"/>
%2</source>
        <translation>Die Transaktionsdatei konnte nicht gelesen werden, daher kann die erfasste Zeit von %1 nicht mit verschoben werden: Vorhandene Zeit bleibt, wo sie ist, und wird nach dem Verschieben unter &quot;?&quot; angezeigt. %1 trotzdem verschieben?<byte value="xd"/>
<byte value="xd"/>
%2</translation>
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
    <name>vsolo::HelpWindow</name>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
</context>
<context>
    <name>vsolo::PiePrint</name>
    <message>
        <source>Page 1</source>
        <translation>Seite 1</translation>
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
    <name>vsolo::mail</name>
    <message>
        <source>E-mail has not been sent.</source>
        <translation>Die E-Mail wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>General MAPI Failure</source>
        <translation>Allgemeiner MAPI-Fehler</translation>
    </message>
    <message>
        <source>MAPI login procedure failed</source>
        <translation>MAPI-Anmeldung fehlgeschlagen</translation>
    </message>
    <message>
        <source>An error occurred because the hard drive is running out of space</source>
        <translation>Ein Fehler ist aufgetreten, weil auf der Festplatte kaum noch Platz ist</translation>
    </message>
    <message>
        <source>MAPI is encountering low memory problems</source>
        <translation>MAPI hat zu wenig Arbeitsspeicher</translation>
    </message>
    <message>
        <source>MAPI has too many sessions open</source>
        <translation>MAPI hat zu viele offene Sitzungen</translation>
    </message>
    <message>
        <source>There are too many attachments</source>
        <translation>Es gibt zu viele Anhänge</translation>
    </message>
    <message>
        <source>The recipient does not exist</source>
        <translation>Den Empfänger gibt es nicht</translation>
    </message>
    <message>
        <source>MAPI recipient type was invalid</source>
        <translation>Der MAPI-Empfängertyp war ungültig</translation>
    </message>
    <message>
        <source>The message is not valid</source>
        <translation>Die Nachricht ist ungültig</translation>
    </message>
    <message>
        <source>The text in the message is too long</source>
        <translation>Der Text der Nachricht ist zu lang</translation>
    </message>
    <message>
        <source>Invalid MAPI session</source>
        <translation>Ungültige MAPI-Sitzung</translation>
    </message>
    <message>
        <source>One or more recipients are invalid</source>
        <translation>Ein oder mehrere Empfänger sind ungültig</translation>
    </message>
    <message>
        <source>A general MAPI error has occurred</source>
        <translation>Ein allgemeiner MAPI-Fehler ist aufgetreten</translation>
    </message>
</context>
<context>
    <name>vsolo::printtext</name>
    <message>
        <source>REPORTING PERIOD</source>
        <translation>BERICHTSZEITRAUM</translation>
    </message>
    <message>
        <source>   FROM:  </source>
        <translation>   VON:  </translation>
    </message>
    <message>
        <source>   TO:</source>
        <translation>   BIS:</translation>
    </message>
    <message>
        <source>Page %d of %d</source>
        <translation>Seite %d von %d</translation>
    </message>
</context>
<context>
    <name>vsolo::remote::text</name>
    <message>
        <source>There was a problem initializing MAPI, you may not have a MAPI compliant e-mail application.</source>
        <translation>Beim Starten von MAPI trat ein Problem auf; vielleicht ist kein MAPI-fähiges E-Mail-Programm vorhanden.</translation>
    </message>
    <message>
        <source>There was an error logging on to the MAPI compliant e-mail application.  Check to see that you have a MAPI compliant e-mail application installed, and you are using the correct logon profile.</source>
        <translation>Bei der Anmeldung am MAPI-fähigen E-Mail-Programm ist ein Fehler aufgetreten.  Prüfen Sie, ob ein MAPI-fähiges E-Mail-Programm installiert ist und ob Sie das richtige Anmeldeprofil verwenden.</translation>
    </message>
    <message>
        <source>Nothing to send.</source>
        <translation>Nichts zu senden.</translation>
    </message>
    <message>
        <source>I want to keep a COPY of my time sheet<byte value="xd"/>
<byte value="xd"/>
YES will keep a copy of your time sheet.  You cannot edit transmitted time sheets but you can view / print reports.<byte value="xd"/>
<byte value="xd"/>
NO will delete your copy of the time sheet.</source>
        <translation>Ich möchte eine KOPIE meines Stundenzettels behalten<byte value="xd"/>
<byte value="xd"/>
JA behält eine Kopie Ihres Stundenzettels.  Gesendete Stundenzettel können Sie nicht bearbeiten, aber Berichte anzeigen und drucken.<byte value="xd"/>
<byte value="xd"/>
NEIN löscht Ihre Kopie des Stundenzettels.</translation>
    </message>
    <message>
        <source>Veltimo Solo</source>
        <translation>Veltimo Solo</translation>
    </message>
    <message>
        <source>The following days have less than %s or more than %s hours:</source>
        <translation>Die folgenden Tage haben weniger als %s oder mehr als %s Stunden:</translation>
    </message>
    <message>
        <source>Date	Hours</source>
        <extracomment>Two column titles separated by a tab.</extracomment>
        <translation>Datum	Stunden</translation>
    </message>
    <message>
        <source>Edit before sending?</source>
        <translation>Vor dem Senden bearbeiten?</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The time sheet of this date range is too long to be sent in one message. Please choose a shorter date range.</source>
        <translation>Der Stundenzettel dieses Zeitraums ist zu lang für eine Nachricht. Bitte wählen Sie einen kürzeren Zeitraum.</translation>
    </message>
    <message>
        <source>A description or the template&apos;s name holds a control character that the time sheet message cannot carry. Please correct it before sending.</source>
        <translation>Eine Beschreibung oder der Name der Vorlage enthält ein Steuerzeichen, das die Nachricht mit dem Stundenzettel nicht übertragen kann. Bitte korrigieren Sie es vor dem Senden.</translation>
    </message>
    <message>
        <source>The time sheet could not be sent by e-mail. Your time sheet is unchanged.</source>
        <translation>Der Stundenzettel konnte nicht per E-Mail gesendet werden. Ihr Stundenzettel ist unverändert.</translation>
    </message>
    <message>
        <source>The time sheet could not be written to the hand-off files. Your time sheet is unchanged.</source>
        <translation>Der Stundenzettel konnte nicht in die Übergabedateien geschrieben werden. Ihr Stundenzettel ist unverändert.</translation>
    </message>
    <message>
        <source>This template is not managed by Veltimo Hub; its time sheet cannot be sent.</source>
        <translation>Diese Vorlage wird nicht von Veltimo Hub verwaltet; ihr Stundenzettel kann nicht gesendet werden.</translation>
    </message>
    <message>
        <source>The assignment update could not be read; the template is unchanged.</source>
        <translation>Die Zuordnungsaktualisierung konnte nicht gelesen werden; die Vorlage ist unverändert.</translation>
    </message>
    <message>
        <source>The assignment update is incomplete: its record count does not match its records. The template is unchanged.</source>
        <translation>Die Zuordnungsaktualisierung ist unvollständig: Ihre Anzahl der Datensätze passt nicht zu den Datensätzen. Die Vorlage ist unverändert.</translation>
    </message>
    <message>
        <source>The assignment update holds a number that is not valid. The template is unchanged.</source>
        <translation>Die Zuordnungsaktualisierung enthält eine ungültige Zahl. Die Vorlage ist unverändert.</translation>
    </message>
    <message>
        <source>The assignment update lists the same item twice. The template is unchanged.</source>
        <translation>Die Zuordnungsaktualisierung führt denselben Eintrag zweimal auf. Die Vorlage ist unverändert.</translation>
    </message>
    <message>
        <source>The assignment update holds an item whose group has no level-1 item. The template is unchanged.</source>
        <translation>Die Zuordnungsaktualisierung enthält einen Eintrag, dessen Gruppe keinen Eintrag der Ebene 1 hat. Die Vorlage ist unverändert.</translation>
    </message>
    <message>
        <source>The assignment update holds an item whose parent is not in its group. The template is unchanged.</source>
        <translation>Die Zuordnungsaktualisierung enthält einen Eintrag, dessen übergeordneter Eintrag nicht in seiner Gruppe ist. Die Vorlage ist unverändert.</translation>
    </message>
    <message>
        <source>The assignment update removes the item being tracked; it is applied when tracking has stopped. The template is unchanged.</source>
        <translation>Die Zuordnungsaktualisierung entfernt den gerade erfassten Eintrag; sie wird angewendet, wenn die Erfassung gestoppt ist. Die Vorlage ist unverändert.</translation>
    </message>
    <message>
        <source>The targets of the assignment update added up to more than 100%. These targets were reduced so that they add up to 100%:</source>
        <translation>Die Ziele der Zuordnungsaktualisierung ergaben zusammen mehr als 100 %. Diese Ziele wurden verringert, sodass sie zusammen 100 % ergeben:</translation>
    </message>
    <message>
        <source>A message in the mailbox that is marked as an assignment update could not be read. It was left in the mailbox and not applied:</source>
        <translation>Eine Nachricht im Postfach, die als Zuordnungsaktualisierung gekennzeichnet ist, konnte nicht gelesen werden. Sie blieb im Postfach und wurde nicht angewendet:</translation>
    </message>
    <message>
        <source>%s messages in the mailbox that are marked as assignment updates could not be read. They were left in the mailbox and not applied:</source>
        <translation>%s Nachrichten im Postfach, die als Zuordnungsaktualisierungen gekennzeichnet sind, konnten nicht gelesen werden. Sie blieben im Postfach und wurden nicht angewendet:</translation>
    </message>
    <message>
        <source>%1: %2%% to %3%%</source>
        <translation>%1: %2%% auf %3%%</translation>
    </message>
    <message>
        <source>From %1, received %2, subject &quot;%3&quot;</source>
        <translation>Von %1, empfangen %2, Betreff „%3“</translation>
    </message>
    <message>
        <source>an unknown sender</source>
        <translation>einem unbekannten Absender</translation>
    </message>
    <message>
        <source>at an unknown time</source>
        <translation>zu unbekannter Zeit</translation>
    </message>
    <message>
        <source>The assignment update could not be deleted from the mailbox; it stays there.</source>
        <translation>Die Zuordnungsaktualisierung konnte nicht aus dem Postfach gelöscht werden; sie bleibt dort.</translation>
    </message>
    <message>
        <source>A name, description or the resource name holds characters that an assignment update cannot carry (line breaks, &quot;||&quot; or control characters).</source>
        <translation>Ein Name, eine Beschreibung oder der Ressourcenname enthält Zeichen, die eine Zuordnungsaktualisierung nicht übertragen kann (Zeilenumbrüche, „||“ oder Steuerzeichen).</translation>
    </message>
    <message>
        <source>The template has too many items for one assignment update.</source>
        <translation>Die Vorlage hat zu viele Einträge für eine Zuordnungsaktualisierung.</translation>
    </message>
    <message>
        <source>From Address</source>
        <translation>Absenderadresse</translation>
    </message>
    <message>
        <source>To Address</source>
        <translation>Empfängeradresse</translation>
    </message>
    <message>
        <source>The %s in Preferences (Remote Options), &quot;%s&quot;, is not one e-mail address. Please write it as name@example.org or as Name &lt;name@example.org&gt;. Nothing was sent; your time sheet is unchanged.</source>
        <translation>Die %s in den Einstellungen (Fernoptionen), „%s“, ist keine einzelne E-Mail-Adresse. Bitte schreiben Sie sie als name@example.org oder als Name &lt;name@example.org&gt;. Es wurde nichts gesendet; Ihr Stundenzettel ist unverändert.</translation>
    </message>
    <message>
        <source>The %s in Preferences (Remote Options) is empty. Please enter an e-mail address such as name@example.org. Nothing was sent; your time sheet is unchanged.</source>
        <translation>Die %s in den Einstellungen (Fernoptionen) ist leer. Bitte geben Sie eine E-Mail-Adresse wie name@example.org ein. Es wurde nichts gesendet; Ihr Stundenzettel ist unverändert.</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
The mail bridge gives the cause: %s.</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
Die Mail-Brücke nennt als Ursache: %s.</translation>
    </message>
    <message>
        <source>The assignment update was applied, but some of its texts did not fit the files of this template. They were shortened, and characters the files cannot store were replaced by &quot;?&quot;:</source>
        <translation>Die Aktualisierung der Zuordnungen wurde übernommen, aber einige ihrer Texte passten nicht in die Dateien dieser Vorlage. Sie wurden gekürzt, und Zeichen, die die Dateien nicht speichern können, wurden durch &quot;?&quot; ersetzt:</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is now &quot;%3&quot;</source>
        <translation>%1 &quot;%2&quot; heißt jetzt &quot;%3&quot;</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot;: the description is now &quot;%3&quot;</source>
        <translation>%1 &quot;%2&quot;: Die Beschreibung lautet jetzt &quot;%3&quot;</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot;: the third text, which is not shown, was shortened</source>
        <translation>%1 &quot;%2&quot;: Der dritte, nicht angezeigte Text wurde gekürzt</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting</name>
    <message>
        <source>The template %1 is damaged and cannot be read: %2.</source>
        <translation>Die Vorlage %1 ist beschädigt und kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>the header runs past the end of the file</source>
        <translation>der Kopf reicht über das Dateiende hinaus</translation>
    </message>
    <message>
        <source>the item count (%1) claims more than the file holds</source>
        <translation>die Zahl der Einträge (%1) gibt mehr an, als die Datei enthält</translation>
    </message>
    <message>
        <source>an item runs past the end of the file</source>
        <translation>ein Eintrag reicht über das Dateiende hinaus</translation>
    </message>
    <message>
        <source>the text at byte %1 is longer than %2 bytes</source>
        <translation>der Text bei Byte %1 ist länger als %2 Bytes</translation>
    </message>
    <message>
        <source>the text at byte %1 runs past the end of the file</source>
        <translation>der Text bei Byte %1 reicht über das Dateiende hinaus</translation>
    </message>
    <message>
        <source>the record at byte %1 gives its description a length of %2 bytes</source>
        <translation>der Datensatz bei Byte %1 gibt seiner Beschreibung eine Länge von %2 Bytes</translation>
    </message>
    <message>
        <source>the record at byte %1 gives its description a length of %2 bytes, past the end of the file</source>
        <translation>der Datensatz bei Byte %1 gibt seiner Beschreibung eine Länge von %2 Bytes, über das Dateiende hinaus</translation>
    </message>
    <message>
        <source>%s could not be found, or could not be accessed.  The network may be down, or the file may have been removed, renamed, or locked.</source>
        <translation>%s wurde nicht gefunden oder ist nicht zugänglich.  Vielleicht ist das Netzwerk nicht erreichbar, oder die Datei wurde entfernt, umbenannt oder gesperrt.</translation>
    </message>
    <message>
        <source>The file format is not recognized.  Veltimo Solo Reporting requires a Veltimo Solo file created in Veltimo Solo v4.0 or above.</source>
        <translation>Das Dateiformat wird nicht erkannt.  Veltimo Solo Reporting benötigt eine Veltimo-Solo-Datei, die mit Veltimo Solo 4.0 oder neuer erstellt wurde.</translation>
    </message>
    <message>
        <source>The Veltimo Solo reporting file (*.vsr) could not be found.  Veltimo Solo will create a new reporting file.</source>
        <translation>Die Berichtsdatei von Veltimo Solo (*.vsr) wurde nicht gefunden.  Veltimo Solo legt eine neue Berichtsdatei an.</translation>
    </message>
    <message>
        <source>Error opening transactions, or transactions do not exist.</source>
        <translation>Fehler beim Öffnen der Transaktionen, oder es gibt keine Transaktionen.</translation>
    </message>
    <message>
        <source>File not recognized as a transaction file</source>
        <translation>Datei nicht als Transaktionsdatei erkannt</translation>
    </message>
    <message>
        <source>No template is open, so there is no reporting file to save.  Open a template first.</source>
        <translation>Es ist keine Vorlage geöffnet, daher gibt es keine Berichtsdatei zu speichern.  Öffnen Sie zuerst eine Vorlage.</translation>
    </message>
    <message>
        <source>The reporting file %1 could not be read when it was opened, so its expenses, rates and clients are not in the lists.  Saving replaces it with the lists as they are now.<byte value="xd"/>
<byte value="xd"/>
Replace it?</source>
        <translation>Die Berichtsdatei %1 konnte beim Öffnen nicht gelesen werden; ihre Auslagen, Sätze und Kunden stehen daher nicht in den Listen.  Speichern ersetzt sie durch die Listen, wie sie jetzt sind.<byte value="xd"/>
<byte value="xd"/>
Ersetzen?</translation>
    </message>
    <message>
        <source>The description of an expense &quot;%1...&quot; is longer than %2 bytes.</source>
        <translation>Die Beschreibung einer Auslage „%1...“ ist länger als %2 Bytes.</translation>
    </message>
    <message>
        <source>The code of a rate &quot;%1...&quot; is longer than %2 bytes.</source>
        <translation>Das Kürzel eines Satzes „%1...“ ist länger als %2 Bytes.</translation>
    </message>
    <message>
        <source>The description of a rate &quot;%1...&quot; is longer than %2 bytes.</source>
        <translation>Die Beschreibung eines Satzes „%1...“ ist länger als %2 Bytes.</translation>
    </message>
    <message>
        <source>The name of a client &quot;%1...&quot; is longer than %2 bytes.</source>
        <translation>Der Name eines Kunden „%1...“ ist länger als %2 Bytes.</translation>
    </message>
    <message>
        <source>The rate code of an item &quot;%1...&quot; is longer than %2 bytes.</source>
        <translation>Das Satzkürzel eines Eintrags „%1...“ ist länger als %2 Bytes.</translation>
    </message>
    <message>
        <source>the description of an expense &quot;%1...&quot; (%2 bytes)</source>
        <translation>die Beschreibung einer Auslage „%1...“ (%2 Bytes)</translation>
    </message>
    <message>
        <source>the code of a rate &quot;%1...&quot; (%2 bytes)</source>
        <translation>das Kürzel eines Satzes „%1...“ (%2 Bytes)</translation>
    </message>
    <message>
        <source>the description of a rate &quot;%1...&quot; (%2 bytes)</source>
        <translation>die Beschreibung eines Satzes „%1...“ (%2 Bytes)</translation>
    </message>
    <message>
        <source>the name of a client &quot;%1...&quot; (%2 bytes)</source>
        <translation>der Name eines Kunden „%1...“ (%2 Bytes)</translation>
    </message>
    <message>
        <source>the rate code of the item &quot;%3&quot; &quot;%1...&quot; (%2 bytes)</source>
        <translation>das Satzkürzel des Eintrags „%3“: „%1...“ (%2 Bytes)</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>These texts of %1 take more than the %2 bytes a text of the file may hold once it is saved:%3<byte value="xd"/>
<byte value="xd"/>
The file cannot be saved until they are shortened.</source>
        <translation>Diese Texte von %1 brauchen mehr als die %2 Bytes, die ein Text der Datei nach dem Speichern fassen darf:%3<byte value="xd"/>
<byte value="xd"/>
Die Datei kann erst gespeichert werden, wenn sie gekürzt sind.</translation>
    </message>
    <message>
        <source>Cannot write %1.</source>
        <translation>%1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The expense, rate and client lists stay empty, and the file is not overwritten without asking.</source>
        <translation>Die Listen der Auslagen, Sätze und Kunden bleiben leer, und die Datei wird nicht ohne Rückfrage überschrieben.</translation>
    </message>
    <message>
        <source>The tax rate stored in the settings, &quot;%1&quot;, is not a number.  No invoice is made until a tax rate is entered in Preferences.</source>
        <translation>Der in den Einstellungen gespeicherte Steuersatz „%1“ ist keine Zahl.  Es wird keine Rechnung erstellt, bis in den Einstellungen ein Steuersatz eingegeben ist.</translation>
    </message>
    <message>
        <source>Not billed because in error: %1 transaction, %2 hours</source>
        <translation>Wegen Fehlern nicht berechnet: %1 Transaktion, %2 Stunden</translation>
    </message>
    <message>
        <source>Not billed because in error: %1 transactions, %2 hours</source>
        <translation>Wegen Fehlern nicht berechnet: %1 Transaktionen, %2 Stunden</translation>
    </message>
    <message>
        <source>Not billed: a record cut short at the end of the transaction file</source>
        <translation>Nicht berechnet: ein abgeschnittener Datensatz am Ende der Transaktionsdatei</translation>
    </message>
    <message>
        <source>%1 List</source>
        <translation>%1-Liste</translation>
    </message>
    <message>
        <source>INVOICE</source>
        <translation>RECHNUNG</translation>
    </message>
    <message>
        <source>%1 NAME</source>
        <translation>%1-NAME</translation>
    </message>
    <message>
        <source>DEFAULT RATE</source>
        <translation>STANDARDSATZ</translation>
    </message>
    <message>
        <source>CODE</source>
        <translation>KÜRZEL</translation>
    </message>
    <message>
        <source>RATE</source>
        <translation>SATZ</translation>
    </message>
    <message>
        <source>DESCRIPTION</source>
        <translation>BESCHREIBUNG</translation>
    </message>
    <message>
        <source>DATE</source>
        <translation>DATUM</translation>
    </message>
    <message>
        <source>AMOUNT</source>
        <translation>BETRAG</translation>
    </message>
    <message>
        <source>HOURS WORKED</source>
        <translation>STUNDEN</translation>
    </message>
    <message>
        <source>HOURLY RATE</source>
        <translation>STUNDENSATZ</translation>
    </message>
    <message>
        <source>TOTAL</source>
        <translation>GESAMT</translation>
    </message>
    <message>
        <source>REPORTING PERIOD</source>
        <translation>BERICHTSZEITRAUM</translation>
    </message>
    <message>
        <source>FROM:  %1</source>
        <translation>VON:  %1</translation>
    </message>
    <message>
        <source>TO:       %1</source>
        <translation>BIS:       %1</translation>
    </message>
    <message>
        <source>FROM: %1</source>
        <translation>VON: %1</translation>
    </message>
    <message>
        <source>TO:      %1</source>
        <translation>BIS:      %1</translation>
    </message>
    <message>
        <source>SOLD TO: %1</source>
        <translation>RECHNUNG AN: %1</translation>
    </message>
    <message>
        <source>Terms:  %1</source>
        <translation>Bedingungen:  %1</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Summe</translation>
    </message>
    <message>
        <source>Grand Total</source>
        <translation>Gesamtsumme</translation>
    </message>
    <message>
        <source>Tax  (%1%%)</source>
        <translation>Steuer  (%1%%)</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Veltimo Solo Report</source>
        <translation>Veltimo-Solo-Bericht</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::CMainFrame</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New	Ctrl+N</source>
        <translation>&amp;Neu	Strg+N</translation>
    </message>
    <message>
        <source>&amp;Open...	Ctrl+O</source>
        <translation>Ö&amp;ffnen...	Strg+O</translation>
    </message>
    <message>
        <source>&amp;Save	Ctrl+S</source>
        <translation>&amp;Speichern	Strg+S</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>Ein&amp;stellungen</translation>
    </message>
    <message>
        <source>&amp;Reports</source>
        <translation>Be&amp;richte</translation>
    </message>
    <message>
        <source>Create &amp;Reports  F5</source>
        <translation>Berichte &amp;erstellen  F5</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents and Index  F1</source>
        <translation>&amp;Inhalt und Index  F1</translation>
    </message>
    <message>
        <source>Help on &amp;Reports</source>
        <translation>Hilfe zu &amp;Berichten</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Create report</source>
        <translation>Bericht erstellen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Return to main window</source>
        <translation>Zurück zum Hauptfenster</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Help on reports</source>
        <translation>Hilfe zu Berichten</translation>
    </message>
    <message>
        <source>Return to previous view</source>
        <translation>Zurück zur vorigen Ansicht</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::CReportView</name>
    <message>
        <source>From:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Bis:</translation>
    </message>
    <message>
        <source>%1 List:</source>
        <translation>%1-Liste:</translation>
    </message>
    <message>
        <source>Report List:</source>
        <translation>Berichtsliste:</translation>
    </message>
    <message>
        <source>%1 List</source>
        <translation>%1-Liste</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::CVSReportView</name>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
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
    <name>vsolo::reporting::dialogtext</name>
    <message>
        <source>Please enter a number.</source>
        <translation>Bitte geben Sie eine Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter no more than %1 characters.</source>
        <translation>Bitte geben Sie höchstens %1 Zeichen ein.</translation>
    </message>
    <message>
        <source>This text is too long for the reporting file: it takes %1 bytes, and a text of the file may take at most %2.  Please shorten it.</source>
        <translation>Dieser Text ist zu lang für die Berichtsdatei: Er braucht %1 Bytes, und ein Text der Datei darf höchstens %2 brauchen.  Bitte kürzen Sie ihn.</translation>
    </message>
    <message>
        <source>Please enter an amount of 0 or more.</source>
        <translation>Bitte geben Sie einen Betrag von 0 oder mehr ein.</translation>
    </message>
    <message>
        <source>The tax rate is kept with two decimals: %1%%.</source>
        <translation>Der Steuersatz wird mit zwei Nachkommastellen gespeichert: %1%%.</translation>
    </message>
    <message>
        <source>You must enter a code, before the %s can be added.</source>
        <translation>Sie müssen ein Kürzel eingeben, bevor der Eintrag %s hinzugefügt werden kann.</translation>
    </message>
    <message>
        <source>All %s codes must be unique.  Please enter a different code.</source>
        <translation>Alle Kürzel für %s müssen eindeutig sein.  Bitte geben Sie ein anderes Kürzel ein.</translation>
    </message>
    <message>
        <source>This field must contain a value.</source>
        <translation>Dieses Feld muss einen Wert enthalten.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this item?</source>
        <translation>Möchten Sie diesen Eintrag wirklich löschen?</translation>
    </message>
    <message>
        <source>The preferences could not be saved.  They apply until Veltimo Solo Reporting is closed.</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden.  Sie gelten, bis Veltimo Solo Reporting geschlossen wird.</translation>
    </message>
    <message>
        <source>The preferences could not be saved.  The next time Veltimo Solo Reporting starts, it uses those saved before.</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden.  Beim nächsten Start verwendet Veltimo Solo Reporting die zuvor gespeicherten.</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>%1 Manager</source>
        <translation>%1 verwalten</translation>
    </message>
    <message>
        <source>Add/Edit %1</source>
        <translation>%1 hinzufügen/bearbeiten</translation>
    </message>
    <message>
        <source>%1 Name:</source>
        <translation>%1-Name:</translation>
    </message>
    <message>
        <source>1 item uses this code.  Do you want to change it too?</source>
        <translation>1 Eintrag verwendet dieses Kürzel.  Möchten Sie ihn auch ändern?</translation>
    </message>
    <message>
        <source>%1 items use this code.  Do you want to change them too?</source>
        <translation>%1 Einträge verwenden dieses Kürzel.  Möchten Sie sie auch ändern?</translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::text</name>
    <message>
        <source>Veltimo Solo Reporting</source>
        <translation>Veltimo Solo Reporting</translation>
    </message>
    <message>
        <source>Do you want to change the rate for this task, and all items below it?</source>
        <translation>Möchten Sie den Satz für diese Aufgabe und alle Einträge darunter ändern?</translation>
    </message>
    <message>
        <source>Please select one or more %s before viewing this report.</source>
        <translation>Bitte wählen Sie ein oder mehrere %s, bevor Sie diesen Bericht anzeigen.</translation>
    </message>
    <message>
        <source>No data for the requested parameters was found.  Report will not be displayed.</source>
        <translation>Für die gewählten Angaben wurden keine Daten gefunden.  Der Bericht wird nicht angezeigt.</translation>
    </message>
    <message>
        <source>There was an error sending output to the printer.  Check to see that you have paper, your printer is online, and connected properly.</source>
        <translation>Beim Senden an den Drucker ist ein Fehler aufgetreten.  Prüfen Sie, ob Papier eingelegt ist und der Drucker eingeschaltet und richtig angeschlossen ist.</translation>
    </message>
    <message>
        <source>Invoice Report</source>
        <translation>Rechnung</translation>
    </message>
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
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>Veltimo Solo Reporting Help</source>
        <translation>Veltimo Solo Reporting Hilfe</translation>
    </message>
</context>
<context>
    <name>vsolo::reporttext</name>
    <message>
        <source>%% OF TOTAL HOURS WORKED BY %s</source>
        <translation>%% DER GESAMTSTUNDEN NACH %s</translation>
    </message>
    <message>
        <source>Unknown categories</source>
        <translation>Unbekannte Kategorien</translation>
    </message>
    <message>
        <source>Categories &lt; 0.1%</source>
        <translation>Kategorien &lt; 0.1%</translation>
    </message>
    <message>
        <source>%% OF TOTAL HOURS WORKED BY %s (INCLUDING TARGET)</source>
        <translation>%% DER GESAMTSTUNDEN NACH %s (MIT ZIEL)</translation>
    </message>
    <message>
        <source>ACTUAL</source>
        <translation>IST</translation>
    </message>
    <message>
        <source>TARGET</source>
        <translation>ZIEL</translation>
    </message>
    <message>
        <source>%s AND %s REPORT</source>
        <translation>BERICHT ÜBER %s UND %s</translation>
    </message>
    <message>
        <source>Contract	Task	Actual (h)	Actual (%)	Target</source>
        <extracomment>Five column titles separated by tabs; the first two stand for the level titles.</extracomment>
        <translation>Vertrag	Aufgabe	Ist (h)	Ist (%)	Ziel</translation>
    </message>
    <message>
        <source>   Total</source>
        <translation>   Summe</translation>
    </message>
    <message>
        <source>   Grand Total</source>
        <translation>   Gesamtsumme</translation>
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
<context>
    <name>vsolo::tiptext</name>
    <message>
        <source>Tips file does not exist in the prescribed directory</source>
        <translation>Die Tippdatei ist nicht im vorgesehenen Ordner</translation>
    </message>
    <message>
        <source>Trouble reading the tips file</source>
        <translation>Probleme beim Lesen der Tippdatei</translation>
    </message>
    <message>
        <source>The tips file holds no tips: every line in it is empty or a comment.</source>
        <translation>Die Tippdatei enthält keine Tipps: Jede Zeile darin ist leer oder ein Kommentar.</translation>
    </message>
</context>
</TS>
