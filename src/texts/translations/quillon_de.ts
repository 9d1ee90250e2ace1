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
</context>
<context>
    <name>WindowTexts</name>
    <message>
        <source>Web page</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Bookmarks for browsers</source>
        <translation>Lesezeichen für Browser</translation>
    </message>
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
        <source>Save As</source>
        <translation>Speichern unter</translation>
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
    <name>quillon::TickMenu</name>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alle anhaken</translation>
    </message>
    <message>
        <source>&amp;Deselect All</source>
        <translation>Alle a&amp;bhaken</translation>
    </message>
    <message>
        <source>&amp;Invert Selection</source>
        <translation>Haken &amp;umkehren</translation>
    </message>
    <message>
        <source>Select &amp;Folder</source>
        <translation>&amp;Ordner anhaken</translation>
    </message>
    <message>
        <source>Deselect F&amp;older</source>
        <translation>O&amp;rdner abhaken</translation>
    </message>
    <message>
        <source>&amp;Tick As In A Written List…</source>
        <translation>Anhaken wie in einer &amp;geschriebenen Liste…</translation>
    </message>
    <message>
        <source>&amp;Untick Duplicates</source>
        <translation>&amp;Doppelte abhaken</translation>
    </message>
</context>
</TS>
