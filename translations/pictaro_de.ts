<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Choices</name>
    <message>
        <source>Shapes</source>
        <translation>Formen</translation>
    </message>
    <message>
        <source>Brush</source>
        <translation>Pinsel</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Radierer</translation>
    </message>
    <message>
        <source>Paint bucket</source>
        <translation>Farbeimer</translation>
    </message>
    <message>
        <source>Magic wand</source>
        <translation>Zauberstab</translation>
    </message>
    <message>
        <source>Spray can</source>
        <translation>Sprühdose</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>The child&apos;s statistics</source>
        <translation>Statistik des Kindes</translation>
    </message>
    <message>
        <source>Coloring book</source>
        <translation>Malbuch</translation>
    </message>
    <message>
        <source>Choose a page</source>
        <translation>Wähle ein Bild</translation>
    </message>
    <message>
        <source>Huge</source>
        <translation>Riesig</translation>
    </message>
    <message>
        <source>Big</source>
        <translation>Groß</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Little</source>
        <translation>Klein</translation>
    </message>
    <message>
        <source>Tiny</source>
        <translation>Winzig</translation>
    </message>
    <message>
        <source>Snowflakes</source>
        <translation>Schneeflocken</translation>
    </message>
    <message>
        <source>Leaves</source>
        <translation>Blätter</translation>
    </message>
    <message>
        <source>Flowers</source>
        <translation>Blumen</translation>
    </message>
    <message>
        <source>Hearts</source>
        <translation>Herzen</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Kreis</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rechteck</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Dreieck</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Linie</translation>
    </message>
    <message>
        <source>Diamond</source>
        <translation>Raute</translation>
    </message>
    <message>
        <source>Hexagon</source>
        <translation>Sechseck</translation>
    </message>
    <message>
        <source>Trapezoid</source>
        <translation>Trapez</translation>
    </message>
    <message>
        <source>Fill up to the lines</source>
        <translation>Bis zu den Linien füllen</translation>
    </message>
    <message>
        <source>More textures</source>
        <translation>Mehr Muster</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Undo (Ctrl+Z)</source>
        <translation>Rückgängig (Strg+Z)</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Redo (Ctrl+Shift+Z)</source>
        <translation>Wiederholen (Strg+Umschalt+Z)</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Drehen</translation>
    </message>
    <message>
        <source>Turn the page around</source>
        <translation>Das Bild umdrehen</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Zufall</translation>
    </message>
    <message>
        <source>Another page</source>
        <translation>Ein anderes Bild</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Start the page again</source>
        <translation>Das Bild neu anfangen</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Hellblau</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Regenbogenfarben</translation>
    </message>
</context>
<context>
    <name>Colors</name>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Hellblau</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>About Pictaro</source>
        <translation>Über Pictaro</translation>
    </message>
    <message>
        <source>A coloring book for small children.</source>
        <translation>Ein Malbuch für kleine Kinder.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Open coloring book...</source>
        <translation>Malbuch öffnen...</translation>
    </message>
    <message>
        <source>Add pages...</source>
        <translation>Bilder hinzufügen...</translation>
    </message>
    <message>
        <source>Save coloring book...</source>
        <translation>Malbuch speichern...</translation>
    </message>
    <message>
        <source>Open folder coloring book</source>
        <translation>Ordner mit Malbüchern öffnen</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>Print coloring book...</source>
        <translation>Malbuch drucken...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Children&apos;s works</source>
        <translation>Kinderbilder</translation>
    </message>
    <message>
        <source>Send my coloring book</source>
        <translation>Mein Bild senden</translation>
    </message>
    <message>
        <source>View works of children</source>
        <translation>Bilder anderer Kinder ansehen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Write to us</source>
        <translation>Schreib uns</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Regenbogenfarben</translation>
    </message>
    <message>
        <source>Toddler</source>
        <translation>Kleinkind</translation>
    </message>
    <message>
        <source>Kids</source>
        <translation>Kinder</translation>
    </message>
    <message>
        <source>Pictaro is starting. Just a moment...</source>
        <translation>Pictaro startet. Einen Moment...</translation>
    </message>
    <message>
        <source>No coloring pages were found. You can get them on our site:</source>
        <translation>Keine Malbilder gefunden. Du findest welche auf unserer Seite:</translation>
    </message>
    <message>
        <source>Child&apos;s statistics:</source>
        <translation>Statistik des Kindes:</translation>
    </message>
    <message>
        <source>Full Statistics:</source>
        <translation>Gesamte Statistik:</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Favorite coloring book</source>
        <translation>Lieblingsbild</translation>
    </message>
    <message>
        <source>Favorite color</source>
        <translation>Lieblingsfarbe</translation>
    </message>
    <message>
        <source>Number of clicks</source>
        <translation>Anzahl der Klicks</translation>
    </message>
    <message>
        <source>My pages (%1)</source>
        <translation>Meine Bilder (%1)</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>No coloring book!</source>
        <translation>Kein Malbuch!</translation>
    </message>
    <message>
        <source>Add pages</source>
        <translation>Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) cannot be used as pages:</source>
        <translation>
            <numerusform>%n Bild kann nicht als Seite verwendet werden:</numerusform>
            <numerusform>%n Bilder können nicht als Seiten verwendet werden:</numerusform>
        </translation>
    </message>
    <message>
        <source>Open coloring book</source>
        <translation>Malbuch öffnen</translation>
    </message>
    <message>
        <source>Save coloring book</source>
        <translation>Malbuch speichern</translation>
    </message>
    <message>
        <source>Bitmaps</source>
        <translation>BMP-Bilder</translation>
    </message>
    <message>
        <source>PNG pictures, full colour</source>
        <translation>PNG-Bilder, alle Farben</translation>
    </message>
    <message>
        <source>Your child</source>
        <translation>Ihr Kind</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>The picture could not be made.
Please try again; if it happens again, write to us.</source>
        <translation>Das Bild konnte nicht erstellt werden.
Bitte versuchen Sie es noch einmal; klappt es wieder nicht, schreiben Sie uns.</translation>
    </message>
    <message>
        <source>Child&apos;s name</source>
        <translation>Name des Kindes</translation>
    </message>
    <message>
        <source>Child&apos;s age</source>
        <translation>Alter des Kindes</translation>
    </message>
    <message>
        <source>The picture is successfully loaded on the site.</source>
        <translation>Das Bild ist jetzt auf der Seite.</translation>
    </message>
    <message>
        <source>Clicks counter: %1</source>
        <translation>Klicks: %1</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>Favorite color: %1</source>
        <translation>Lieblingsfarbe: %1</translation>
    </message>
    <message>
        <source>Favorite coloring book: %1</source>
        <translation>Lieblingsbild: %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Error loading to configuration file config.ini!</source>
        <translation>Die Einstellungsdatei config.ini konnte nicht gelesen werden!</translation>
    </message>
    <message>
        <source>Error writing to configuration file config.ini!</source>
        <translation>Die Einstellungsdatei config.ini konnte nicht geschrieben werden!</translation>
    </message>
    <message>
        <source>This picture cannot be read any more: %1</source>
        <translation>Dieses Bild lässt sich nicht mehr öffnen: %1</translation>
    </message>
    <message>
        <source>My pictures</source>
        <translation>Meine Bilder</translation>
    </message>
    <message numerus="yes">
        <source>My pictures (%n)</source>
        <translation>
            <numerusform>Meine Bilder (%n)</numerusform>
            <numerusform>Meine Bilder (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Keep coloring</source>
        <translation>Weitermalen</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Speichern...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Send to the gallery...</source>
        <translation>An die Galerie senden...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Child mode (full screen, locked)</source>
        <translation>Kindermodus (Vollbild, gesperrt)</translation>
    </message>
    <message>
        <source>Program options</source>
        <translation>Programmeinstellungen</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Windows Maximized</source>
        <translation>Fenster maximiert</translation>
    </message>
    <message>
        <source>Disable sound</source>
        <translation>Ton aus</translation>
    </message>
    <message>
        <source>Outlines stay</source>
        <translation>Umrisse bleiben sichtbar</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>Desktop language</source>
        <translation>Sprache des Systems</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Pages remember their coloring</source>
        <translation>Seiten merken sich ihre Farben</translation>
    </message>
</context>
<context>
    <name>ParentGate</name>
    <message>
        <source>zero</source>
        <translation>null</translation>
    </message>
    <message>
        <source>one</source>
        <translation>eins</translation>
    </message>
    <message>
        <source>two</source>
        <translation>zwei</translation>
    </message>
    <message>
        <source>three</source>
        <translation>drei</translation>
    </message>
    <message>
        <source>four</source>
        <translation>vier</translation>
    </message>
    <message>
        <source>five</source>
        <translation>fünf</translation>
    </message>
    <message>
        <source>six</source>
        <translation>sechs</translation>
    </message>
    <message>
        <source>seven</source>
        <translation>sieben</translation>
    </message>
    <message>
        <source>eight</source>
        <translation>acht</translation>
    </message>
    <message>
        <source>nine</source>
        <translation>neun</translation>
    </message>
</context>
<context>
    <name>PictaroApplication</name>
    <message>
        <source>Unknown error.</source>
        <translation>Unbekannter Fehler.</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen...</translation>
    </message>
    <message>
        <source>Wait a few seconds</source>
        <translation>Einen Augenblick bitte</translation>
    </message>
</context>
<context>
    <name>TFm_ParentGate</name>
    <message>
        <source>For grown-ups</source>
        <translation>Für Erwachsene</translation>
    </message>
    <message>
        <source>Grown-ups: press the numbers
%1</source>
        <translation>Erwachsene: Drücken Sie die Zahlen
%1</translation>
    </message>
    <message>
        <source>Back to coloring</source>
        <translation>Zurück zum Malen</translation>
    </message>
    <message>
        <source>Not quite: try again from where you were.</source>
        <translation>Nicht ganz: Machen Sie dort weiter, wo Sie waren.</translation>
    </message>
</context>
</TS>
