<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>LinkFields</name>
    <message>
        <source>Selected</source>
        <translation>Ausgewählt</translation>
    </message>
    <message>
        <source>Foldername</source>
        <translation>Ordnername</translation>
    </message>
    <message>
        <source>SiteName</source>
        <translation>Seitenname</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
</context>
<context>
    <name>LinkStatusColumn</name>
    <message>
        <source>skipped</source>
        <translation>übersprungen</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>moved</source>
        <translation>umgezogen</translation>
    </message>
    <message>
        <source>elsewhere</source>
        <translation>anderswo</translation>
    </message>
    <message>
        <source>blocked</source>
        <translation>blockiert</translation>
    </message>
    <message>
        <source>dead</source>
        <translation>tot</translation>
    </message>
    <message>
        <source>unsure</source>
        <translation>unsicher</translation>
    </message>
    <message>
        <source>archived</source>
        <translation>archiviert</translation>
    </message>
    <message>
        <source>HTTP status: %1</source>
        <translation>HTTP-Status: %1</translation>
    </message>
    <message>
        <source>Archived copy: %1</source>
        <translation>Archivierte Kopie: %1</translation>
    </message>
    <message>
        <source>Final address: %1</source>
        <translation>Endgültige Adresse: %1</translation>
    </message>
    <message>
        <source>Address before: %1</source>
        <translation>Frühere Adresse: %1</translation>
    </message>
    <message>
        <source>Archived copy of %1
%2</source>
        <translation>Archivierte Kopie von %1
%2</translation>
    </message>
    <message>
        <source>New address of %1
%2</source>
        <translation>Neue Adresse von %1
%2</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>ListFiles</name>
    <message>
        <source>No link is ticked. Write an empty list anyway?</source>
        <translation>Kein Link ist angehakt. Trotzdem eine leere Liste schreiben?</translation>
    </message>
    <message>
        <source>Write To File</source>
        <translation>In Datei schreiben</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist schon vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>Tick As In A Written List</source>
        <translation>Anhaken wie in einer geschriebenen Liste</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>No Favorites Were Found In This Location</source>
        <translation>An diesem Ort wurden keine Favoriten gefunden</translation>
    </message>
    <message>
        <source>This Selection Is Too Broad, Please Narrow Down Your Search</source>
        <translation>Diese Auswahl ist zu weit gefasst, bitte grenzen Sie Ihre Suche ein</translation>
    </message>
    <message>
        <source>Generate Was Stopped: The List Is Incomplete, With The %1 Links Found So Far</source>
        <translation>Erzeugen wurde angehalten: Die Liste ist unvollständig, mit den %1 bisher gefundenen Links</translation>
    </message>
</context>
<context>
    <name>ReaderNames</name>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>.DAT list</source>
        <translation>.DAT-Liste</translation>
    </message>
    <message>
        <source>.HTML page or bookmarks</source>
        <translation>.HTML-Seite oder Lesezeichen</translation>
    </message>
    <message>
        <source>Links found</source>
        <translation>Gefundene Links</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>SaveTypes</name>
    <message>
        <source>DAT</source>
        <translation>DAT</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Bookmarks for browsers</source>
        <translation>Lesezeichen für Browser</translation>
    </message>
    <message>
        <source>Markdown</source>
        <translation>Markdown</translation>
    </message>
    <message>
        <source>JSON</source>
        <translation>JSON</translation>
    </message>
    <message>
        <source>CSV for spreadsheets</source>
        <translation>CSV für Tabellenkalkulationen</translation>
    </message>
</context>
<context>
    <name>WindowTexts</name>
    <message>
        <source>Written lists</source>
        <translation>Geschriebene Listen</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>%1 link written to %2.</source>
        <translation>%1 Link nach %2 geschrieben.</translation>
    </message>
    <message>
        <source>%1 links written to %2.</source>
        <translation>%1 Links nach %2 geschrieben.</translation>
    </message>
    <message>
        <source>%1 of %2 rows ticked; %3 of the %4 links in the list were not found.</source>
        <translation>%1 von %2 Zeilen angehakt; %3 der %4 Links der Liste wurden nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Turns a folder tree of Internet shortcuts into a link list.</source>
        <translation>Macht aus einem Ordnerbaum von Internetverknüpfungen eine Linkliste.</translation>
    </message>
    <message>
        <source>The folder to open; for a file, the folder that holds it.</source>
        <translation>Der zu öffnende Ordner; bei einer Datei der Ordner, der sie enthält.</translation>
    </message>
</context>
<context>
    <name>quillon::ArchiveJob</name>
    <message>
        <source>%1 of %2 archive queries answered</source>
        <translation>%1 von %2 Archivanfragen beantwortet</translation>
    </message>
</context>
<context>
    <name>quillon::FolderList</name>
    <message>
        <source>Cannot open the folder &quot;%1&quot;.</source>
        <translation>Der Ordner „%1“ lässt sich nicht öffnen.</translation>
    </message>
    <message>
        <source>Open folder: %1
Double-click or press Enter to open a highlighted folder.</source>
        <translation>Geöffneter Ordner: %1
Doppelklicken oder die Eingabetaste drücken, um einen markierten Ordner zu öffnen.</translation>
    </message>
    <message>
        <source>Listing %1…</source>
        <translation>%1 wird gelesen…</translation>
    </message>
</context>
<context>
    <name>quillon::JobStrip</name>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Stops the work; what it found so far stays (Esc)</source>
        <translation>Hält die Arbeit an; was bisher gefunden wurde, bleibt (Esc)</translation>
    </message>
</context>
<context>
    <name>quillon::LinkCheckCommands</name>
    <message>
        <source>&amp;Check Links</source>
        <translation>Links &amp;prüfen</translation>
    </message>
    <message>
        <source>Asks each ticked link&apos;s site whether the page is still there</source>
        <translation>Fragt die Website jedes angehakten Links, ob die Seite noch da ist</translation>
    </message>
    <message>
        <source>Untick D&amp;ead Links</source>
        <translation>&amp;Tote Links abhaken</translation>
    </message>
    <message>
        <source>Unticks the ticked rows the check found dead</source>
        <translation>Nimmt den Haken von den Zeilen, die die Prüfung tot fand</translation>
    </message>
    <message>
        <source>Use &amp;New Addresses</source>
        <translation>&amp;Neue Adressen übernehmen</translation>
    </message>
    <message>
        <source>Gives moved rows the address their page moved to</source>
        <translation>Gibt umgezogenen Zeilen die Adresse, an die ihre Seite umgezogen ist</translation>
    </message>
    <message>
        <source>&amp;Link Dead Ones To Archived Copies</source>
        <translation>Tote Links auf &amp;archivierte Kopien lenken</translation>
    </message>
    <message>
        <source>Asks the Internet Archive for a copy of each dead page, from the favorite&apos;s date</source>
        <translation>Fragt das Internet Archive nach einer Kopie jeder toten Seite vom Datum des Favoriten</translation>
    </message>
    <message>
        <source>No link is ticked: tick the links to check first.</source>
        <translation>Kein Link ist angehakt: Haken Sie zuerst die zu prüfenden Links an.</translation>
    </message>
    <message>
        <source>%1 of %2 addresses checked, %3 dead.</source>
        <translation>%1 von %2 Adressen geprüft, %3 tot.</translation>
    </message>
    <message>
        <source>The check was stopped: %1 The results so far stay.</source>
        <translation>Die Prüfung wurde angehalten: %1 Die bisherigen Ergebnisse bleiben.</translation>
    </message>
    <message>
        <source>No site answered: the network seems unreachable, so no link counts as dead. %1</source>
        <translation>Keine Website hat geantwortet: Das Netz scheint nicht erreichbar, darum gilt kein Link als tot. %1</translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) unticked.</source>
        <translation>
            <numerusform>%n Zeile abgehakt.</numerusform>
            <numerusform>%n Zeilen abgehakt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) given their new address.</source>
        <translation>
            <numerusform>%n Zeile hat ihre neue Adresse erhalten.</numerusform>
            <numerusform>%n Zeilen haben ihre neue Adresse erhalten.</numerusform>
        </translation>
    </message>
    <message>
        <source>No link was found dead.</source>
        <translation>Kein Link wurde tot gefunden.</translation>
    </message>
    <message>
        <source>%1 of %2 dead links now lead to archived copies.</source>
        <translation>%1 von %2 toten Links führen jetzt zu archivierten Kopien.</translation>
    </message>
    <message>
        <source>The archive&apos;s queries were stopped: %1</source>
        <translation>Die Anfragen an das Archiv wurden angehalten: %1</translation>
    </message>
    <message>
        <source>The archive said: %1</source>
        <translation>Das Archiv antwortete: %1</translation>
    </message>
</context>
<context>
    <name>quillon::LinkCheckJob</name>
    <message>
        <source>%1 of %2 addresses checked, %3 dead</source>
        <translation>%1 von %2 Adressen geprüft, %3 tot</translation>
    </message>
</context>
<context>
    <name>quillon::LinkGrid</name>
    <message>
        <source>Deselect What You Do Not Want</source>
        <translation>Nehmen Sie die Haken weg, die Sie nicht wollen</translation>
    </message>
</context>
<context>
    <name>quillon::LinkTableModel</name>
    <message>
        <source>Script address: published, it would run as script on the page that shows it, so it starts unticked. Tick it to publish it anyway.
%1</source>
        <translation>Skriptadresse: Veröffentlicht liefe sie als Skript auf der Seite, die sie zeigt, darum ist sie anfangs nicht angehakt. Haken Sie sie an, um sie trotzdem zu veröffentlichen.
%1</translation>
    </message>
    <message>
        <source>Tick %1</source>
        <translation>%1 anhaken</translation>
    </message>
</context>
<context>
    <name>quillon::MainWindow</name>
    <message>
        <source>OutPut Options</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>.HTML</source>
        <translation>.HTML</translation>
    </message>
    <message>
        <source>.DAT</source>
        <translation>.DAT</translation>
    </message>
    <message>
        <source>&amp;Write To File</source>
        <translation>&amp;Schreiben</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Generate</source>
        <translation>&amp;Erzeugen</translation>
    </message>
    <message>
        <source>Browse to your Favorites folder</source>
        <translation>Wählen Sie Ihren Favoritenordner</translation>
    </message>
    <message>
        <source>Walks %1</source>
        <translation>Durchsucht %1</translation>
    </message>
    <message>
        <source>Cannot open the folder &quot;%1&quot;.</source>
        <translation>Der Ordner „%1“ lässt sich nicht öffnen.</translation>
    </message>
    <message>
        <source>The ticks you changed will be lost. Go on?</source>
        <translation>Die Haken, die Sie geändert haben, gehen verloren. Fortfahren?</translation>
    </message>
    <message>
        <source>%1 script links were left unticked: tick each one by hand to publish it.</source>
        <translation>%1 Skript-Links blieben ohne Haken: Haken Sie jeden einzeln an, um ihn zu veröffentlichen.</translation>
    </message>
</context>
<context>
    <name>quillon::TickMenu</name>
    <message>
        <source>&amp;Tick As In A Written List…</source>
        <translation>Anhaken wie in einer &amp;geschriebenen Liste…</translation>
    </message>
    <message>
        <source>Tick &amp;All</source>
        <translation>&amp;Alle anhaken</translation>
    </message>
    <message>
        <source>&amp;Untick All</source>
        <translation>Alle a&amp;bhaken</translation>
    </message>
    <message>
        <source>&amp;Invert Ticks</source>
        <translation>Haken &amp;umkehren</translation>
    </message>
    <message>
        <source>Tick &amp;Folder</source>
        <translation>&amp;Ordner anhaken</translation>
    </message>
    <message>
        <source>Untick F&amp;older</source>
        <translation>O&amp;rdner abhaken</translation>
    </message>
    <message>
        <source>Untick &amp;Duplicates</source>
        <translation>&amp;Doppelte abhaken</translation>
    </message>
</context>
<context>
    <name>quillon::WalkJob</name>
    <message>
        <source>Links found: %1</source>
        <translation>Gefundene Links: %1</translation>
    </message>
</context>
</TS>
