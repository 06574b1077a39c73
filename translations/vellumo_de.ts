<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>vellumo-cli</name>
    <message>
        <source>Try &apos;vellumo-cli --help&apos; for more information.</source>
        <translation>Mehr dazu mit &apos;vellumo-cli --help&apos;.</translation>
    </message>
    <message>
        <source>page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>wrote %1 %2 to %3</source>
        <translation>%1 %2 nach %3 geschrieben</translation>
    </message>
    <message>
        <source>wrote %1 %2 to %3 files:</source>
        <translation>%1 %2 in %3 Dateien geschrieben:</translation>
    </message>
    <message>
        <source>no photos to convert; nothing written</source>
        <translation>keine Fotos zum Umwandeln; nichts geschrieben</translation>
    </message>
    <message>
        <source>the conversion could not start</source>
        <translation>die Umwandlung konnte nicht beginnen</translation>
    </message>
    <message>
        <source>nothing written</source>
        <translation>nichts geschrieben</translation>
    </message>
    <message>
        <source>stopped after %1 of %2 pages</source>
        <translation>nach %1 von %2 Seiten angehalten</translation>
    </message>
    <message>
        <source>%1 photo failed</source>
        <translation>%1 Foto fehlgeschlagen</translation>
    </message>
    <message>
        <source>%1 photos failed</source>
        <translation>%1 Fotos fehlgeschlagen</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>not an image that can be read</source>
        <translation>kein lesbares Bild</translation>
    </message>
    <message>
        <source>%1 is a folder (use -r to search it for photos)</source>
        <translation>%1 ist ein Ordner (mit -r wird er nach Fotos durchsucht)</translation>
    </message>
    <message>
        <source>%1: no photos found</source>
        <translation>%1: keine Fotos gefunden</translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>warning: the font family &apos;%1&apos; is not installed; the caption uses the closest one (fc-list lists the installed families)</source>
        <translation>Warnung: Die Schriftfamilie &apos;%1&apos; ist nicht installiert; die Beschriftung nimmt die nächstliegende (fc-list zeigt die installierten Familien)</translation>
    </message>
    <message>
        <source>-: standard input can be read once only</source>
        <translation>-: die Standardeingabe kann nur einmal gelesen werden</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>-o - takes one page of a single-picture format; these inputs give %1</source>
        <translation>-o - nimmt eine Seite eines Einzelbildformats auf; diese Eingaben ergeben %1</translation>
    </message>
    <message>
        <source>exists and was not replaced (use -y or --overwrite to replace it); nothing written</source>
        <translation>existiert und wurde nicht ersetzt (mit -y oder --overwrite wird sie ersetzt); nichts geschrieben</translation>
    </message>
    <message>
        <source>exists and was left alone: nobody can answer the question whether to replace it (use -y or --overwrite to replace it); nothing written</source>
        <translation>existiert und blieb unberührt: niemand kann die Frage beantworten, ob sie ersetzt werden soll (mit -y oder --overwrite wird sie ersetzt); nichts geschrieben</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unbekannte Option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; takes no value</source>
        <translation>Option &apos;%1&apos; nimmt keinen Wert</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a value</source>
        <translation>Option &apos;%1&apos; braucht einen Wert</translation>
    </message>
    <message>
        <source>--info needs at least one file</source>
        <translation>--info braucht mindestens eine Datei</translation>
    </message>
    <message>
        <source>no input photos given</source>
        <translation>keine Eingabefotos angegeben</translation>
    </message>
    <message>
        <source>no output file given (-o OUTPUT)</source>
        <translation>keine Ausgabedatei angegeben (-o OUTPUT)</translation>
    </message>
    <message>
        <source>%1: the extension names no output format; the formats are %2 (use --format to force one)</source>
        <translation>%1: die Endung nennt kein Ausgabeformat; die Formate sind %2 (mit --format wird eines erzwungen)</translation>
    </message>
    <message>
        <source>--append adds pages to a TIFF only</source>
        <translation>--append fügt Seiten nur an ein TIFF an</translation>
    </message>
    <message>
        <source>--append needs an output file, not standard output</source>
        <translation>--append braucht eine Ausgabedatei, nicht die Standardausgabe</translation>
    </message>
    <message>
        <source>%1 does nothing for this output and is ignored</source>
        <translation>%1 wirkt bei dieser Ausgabe nicht und wird übergangen</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>übersprungen</translation>
    </message>
    <message>
        <source>Combines photos into one multi-page TIFF or PDF (or BMP, JPEG or PNG files), one page per frame of every input, in the order given. An INPUT of - is read from standard input.</source>
        <translation>Fügt Fotos zu einem mehrseitigen TIFF oder PDF zusammen (oder zu BMP-, JPEG- oder PNG-Dateien), eine Seite je Einzelbild jeder Eingabe, in der angegebenen Reihenfolge. Ein INPUT - wird von der Standardeingabe gelesen.</translation>
    </message>
    <message>
        <source>Without -y, an existing OUTPUT is replaced only after you agree on the terminal; when nobody can answer, it is left alone. A run stopped with Ctrl-C keeps the pages written.</source>
        <translation>Ohne -y wird ein vorhandener OUTPUT erst ersetzt, wenn Sie im Terminal zustimmen; kann niemand antworten, bleibt er unberührt. Ein mit Strg+C angehaltener Lauf behält die geschriebenen Seiten.</translation>
    </message>
    <message>
        <source>Exit status: 0 every page written, 1 some photos failed (the output holds the others), 2 usage error or nothing written.</source>
        <translation>Rückgabewert: 0 alle Seiten geschrieben, 1 einige Fotos fehlgeschlagen (die Ausgabe enthält die übrigen), 2 Aufruffehler oder nichts geschrieben.</translation>
    </message>
    <message>
        <source>Usage:</source>
        <translation>Aufruf:</translation>
    </message>
    <message>
        <source>invalid value &apos;%1&apos; for %2 (expected %3)</source>
        <translation>ungültiger Wert &apos;%1&apos; für %2 (erwartet: %3)</translation>
    </message>
    <message>
        <source>%1 and %2 cannot be used together (use --size WxH to give both sides)</source>
        <translation>%1 und %2 gehen nicht zusammen (mit --size WxH werden beide Seiten angegeben)</translation>
    </message>
    <message>
        <source>WxH, for example 1024x768</source>
        <translation>WxH, zum Beispiel 1024x768</translation>
    </message>
    <message>
        <source>a whole number of pixels from 1 to 1000000</source>
        <translation>eine ganze Zahl von Pixeln von 1 bis 1000000</translation>
    </message>
    <message>
        <source>search folder inputs for photos (breadth first)</source>
        <translation>Ordner-Eingaben nach Fotos durchsuchen (Ebene für Ebene)</translation>
    </message>
    <message>
        <source>reorder the pages: name, name-desc, time, time-desc</source>
        <translation>Seiten umordnen: name, name-desc, time, time-desc</translation>
    </message>
    <message>
        <source>name, name-desc, time or time-desc</source>
        <translation>name, name-desc, time oder time-desc</translation>
    </message>
    <message>
        <source>W pixels wide, the height keeps the aspect ratio</source>
        <translation>W Pixel breit, die Höhe behält das Seitenverhältnis</translation>
    </message>
    <message>
        <source>H pixels high, the width keeps the aspect ratio</source>
        <translation>H Pixel hoch, die Breite behält das Seitenverhältnis</translation>
    </message>
    <message>
        <source>exactly W by H pixels</source>
        <translation>genau W mal H Pixel</translation>
    </message>
    <message>
        <source>the largest size inside W by H with the photo&apos;s aspect ratio</source>
        <translation>die größte Größe innerhalb von W mal H mit dem Seitenverhältnis des Fotos</translation>
    </message>
    <message>
        <source>the photo&apos;s size times H (and V, default H)</source>
        <translation>die Größe des Fotos mal H (und V, Vorgabe H)</translation>
    </message>
    <message>
        <source>H or H,V, factors from 0.000001 to 1000000</source>
        <translation>H oder H,V, Faktoren von 0.000001 bis 1000000</translation>
    </message>
    <message>
        <source>a photo the size would not shrink keeps its own size</source>
        <translation>ein Foto, das die Größe nicht verkleinern würde, behält seine eigene Größe</translation>
    </message>
    <message>
        <source>turn clockwise by 0, 90, 180 or 270 degrees</source>
        <translation>im Uhrzeigersinn um 0, 90, 180 oder 270 Grad drehen</translation>
    </message>
    <message>
        <source>0, 90, 180 or 270</source>
        <translation>0, 90, 180 oder 270</translation>
    </message>
    <message>
        <source>none, horizontal (h) or vertical (v), after turning</source>
        <translation>none, horizontal (h) oder vertical (v), nach dem Drehen</translation>
    </message>
    <message>
        <source>none, horizontal (h) or vertical (v)</source>
        <translation>none, horizontal (h) oder vertical (v)</translation>
    </message>
    <message>
        <source>turn each photo upright from its EXIF orientation first</source>
        <translation>jedes Foto zuerst nach seiner EXIF-Ausrichtung aufrichten</translation>
    </message>
    <message>
        <source>the output file, - for standard output; BMP, JPEG and PNG outputs of several pages are numbered (album-1.jpg, album-2.jpg, ...)</source>
        <translation>die Ausgabedatei, - für die Standardausgabe; BMP-, JPEG- und PNG-Ausgaben mehrerer Seiten werden nummeriert (album-1.jpg, album-2.jpg, ...)</translation>
    </message>
    <message>
        <source>a file path</source>
        <translation>ein Dateipfad</translation>
    </message>
    <message>
        <source>tif, pdf, bmp, jpg or png (default: from OUTPUT&apos;s extension)</source>
        <translation>tif, pdf, bmp, jpg oder png (Vorgabe: nach der Endung von OUTPUT)</translation>
    </message>
    <message>
        <source>tif, pdf, bmp, jpg or png</source>
        <translation>tif, pdf, bmp, jpg oder png</translation>
    </message>
    <message>
        <source>TIFF compression: lzw (default), none, deflate, packbits, jpeg; PDF pages: jpeg (else lossless)</source>
        <translation>TIFF-Komprimierung: lzw (Vorgabe), none, deflate, packbits, jpeg; PDF-Seiten: jpeg (sonst verlustfrei)</translation>
    </message>
    <message>
        <source>lzw, none, deflate, packbits or jpeg</source>
        <translation>lzw, none, deflate, packbits oder jpeg</translation>
    </message>
    <message>
        <source>JPEG quality 1-100 (default 80), also for --compression jpeg</source>
        <translation>JPEG-Qualität 1-100 (Vorgabe 80), auch für --compression jpeg</translation>
    </message>
    <message>
        <source>a whole number from 1 to 100</source>
        <translation>eine ganze Zahl von 1 bis 100</translation>
    </message>
    <message>
        <source>BMP colour depth: 24 (default), or 1, 4, 8 with a palette</source>
        <translation>BMP-Farbtiefe: 24 (Vorgabe) oder 1, 4, 8 mit Palette</translation>
    </message>
    <message>
        <source>1, 4, 8 or 24</source>
        <translation>1, 4, 8 oder 24</translation>
    </message>
    <message>
        <source>write a BigTIFF (chosen by itself when the pages could pass 4 GiB)</source>
        <translation>ein BigTIFF schreiben (von selbst gewählt, wenn die Seiten 4 GiB überschreiten könnten)</translation>
    </message>
    <message>
        <source>add the pages after those of the existing TIFF OUTPUT</source>
        <translation>die Seiten hinter denen des vorhandenen TIFF OUTPUT anfügen</translation>
    </message>
    <message>
        <source>replace an existing OUTPUT without asking</source>
        <translation>einen vorhandenen OUTPUT ohne Rückfrage ersetzen</translation>
    </message>
    <message>
        <source>draw TEXT on every page</source>
        <translation>TEXT auf jede Seite zeichnen</translation>
    </message>
    <message>
        <source>its top-left corner in pixels of the page before it is turned (default 0,0)</source>
        <translation>seine linke obere Ecke in Pixeln der Seite vor dem Drehen (Vorgabe 0,0)</translation>
    </message>
    <message>
        <source>X,Y in pixels, for example 20,30</source>
        <translation>X,Y in Pixeln, zum Beispiel 20,30</translation>
    </message>
    <message>
        <source>&quot;FAMILY[,SIZE][,bold][,italic]&quot;, SIZE in pixels (default 13)</source>
        <translation>&quot;FAMILIE[,GRÖSSE][,bold][,italic]&quot;, GRÖSSE in Pixeln (Vorgabe 13)</translation>
    </message>
    <message>
        <source>FAMILY[,SIZE][,bold][,italic]</source>
        <translation>FAMILIE[,GRÖSSE][,bold][,italic]</translation>
    </message>
    <message>
        <source>text colour, #RRGGBB or a name such as red (default black)</source>
        <translation>Textfarbe, #RRGGBB oder ein Name wie red (Vorgabe schwarz)</translation>
    </message>
    <message>
        <source>#RRGGBB or a colour name</source>
        <translation>#RRGGBB oder ein Farbname</translation>
    </message>
    <message>
        <source>append the activity log (and every error) to FILE</source>
        <translation>das Protokoll (und jeden Fehler) an FILE anhängen</translation>
    </message>
    <message>
        <source>worker threads, 0 for every core (default)</source>
        <translation>Arbeits-Threads, 0 für jeden Kern (Vorgabe)</translation>
    </message>
    <message>
        <source>a whole number from 0 (every core) to 256</source>
        <translation>eine ganze Zahl von 0 (jeder Kern) bis 256</translation>
    </message>
    <message>
        <source>no progress and no summary; messages are still shown</source>
        <translation>kein Fortschritt und keine Zusammenfassung; Meldungen erscheinen weiterhin</translation>
    </message>
    <message>
        <source>print the pages INPUT... would give (file, frame, photo size, page size) and write nothing; -o is not needed</source>
        <translation>die Seiten ausgeben, die INPUT... ergäbe (Datei, Einzelbild, Fotogröße, Seitengröße), und nichts schreiben; -o ist nicht nötig</translation>
    </message>
    <message>
        <source>show format, frames, sizes, resolutions and pixel hashes of the FILEs</source>
        <translation>Format, Einzelbilder, Größen, Auflösungen und Pixel-Prüfsummen der FILEs zeigen</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>diese Hilfe zeigen</translation>
    </message>
    <message>
        <source>show the version</source>
        <translation>die Version zeigen</translation>
    </message>
    <message>
        <source>Inputs</source>
        <translation>Eingaben</translation>
    </message>
    <message>
        <source>Page size (default: the photo&apos;s own size)</source>
        <translation>Seitengröße (Vorgabe: die eigene Größe des Fotos)</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>Caption</source>
        <translation>Beschriftung</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>das ist ein Ordner</translation>
    </message>
    <message>
        <source>it is a device, not a regular file (use -o - for standard output)</source>
        <translation>das ist ein Gerät, keine reguläre Datei (-o - schreibt auf die Standardausgabe)</translation>
    </message>
    <message>
        <source>it is a FIFO, not a regular file (use -o - for standard output)</source>
        <translation>das ist ein FIFO, keine reguläre Datei (-o - schreibt auf die Standardausgabe)</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>das ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>standard input cannot be kept in a temporary file</source>
        <translation>die Standardeingabe kann nicht in einer temporären Datei gehalten werden</translation>
    </message>
    <message>
        <source>standard input cannot be read</source>
        <translation>die Standardeingabe kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>no temporary folder could be made</source>
        <translation>kein temporärer Ordner konnte angelegt werden</translation>
    </message>
    <message>
        <source>the staged output cannot be read</source>
        <translation>die zwischengespeicherte Ausgabe kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>srgb (default): convert each photo from its ICC profile to sRGB; keep: leave the pixels as decoded and embed the photo&apos;s profile</source>
        <translation>srgb (Vorgabe): jedes Foto aus seinem ICC-Profil nach sRGB umrechnen; keep: die Pixel wie dekodiert lassen und das Profil des Fotos einbetten</translation>
    </message>
    <message>
        <source>srgb or keep</source>
        <translation>srgb oder keep</translation>
    </message>
    <message>
        <source>also copy where each photo was taken (GPS), left out by default</source>
        <translation>auch übernehmen, wo jedes Foto aufgenommen wurde (GPS); sonst weggelassen</translation>
    </message>
    <message>
        <source>write no metadata (camera data, page names, profile) beyond the file&apos;s structure and the resolution</source>
        <translation>keine Metadaten (Kameradaten, Seitennamen, Profil) über den Aufbau der Datei und die Auflösung hinaus schreiben</translation>
    </message>
    <message>
        <source>Colour and metadata</source>
        <translation>Farbe und Metadaten</translation>
    </message>
</context>
<context>
    <name>vellumo-dialogs</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>Photo Output Options</source>
        <translation>Ausgabeoptionen für Fotos</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Output Format:</source>
        <translation>Ausgabeformat:</translation>
    </message>
    <message>
        <source>Output Size</source>
        <translation>Ausgabegröße</translation>
    </message>
    <message>
        <source>Original size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <source>Stretch:</source>
        <translation>Strecken:</translation>
    </message>
    <message>
        <source>Output Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Output Height:</source>
        <translation>Höhe:</translation>
    </message>
    <message>
        <source>Keep aspect ratio with width</source>
        <translation>Seitenverhältnis nach Breite</translation>
    </message>
    <message>
        <source>Keep aspect ratio with Height</source>
        <translation>Seitenverhältnis nach Höhe</translation>
    </message>
    <message>
        <source>Horizontal:</source>
        <translation>Horizontal:</translation>
    </message>
    <message>
        <source>Vertical:</source>
        <translation>Vertikal:</translation>
    </message>
    <message>
        <source>Pixel format:</source>
        <translation>Pixelformat:</translation>
    </message>
    <message>
        <source>Quality Control:</source>
        <translation>Qualität:</translation>
    </message>
    <message>
        <source>(Min 1, Max 100)</source>
        <translation>(Min. 1, max. 100)</translation>
    </message>
    <message>
        <source>Rotate by angle</source>
        <translation>Drehen um</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Spiegeln</translation>
    </message>
    <message>
        <source>No flip</source>
        <translation>Nicht spiegeln</translation>
    </message>
    <message>
        <source>Flip horizontal</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Flip vertical</source>
        <translation>Vertikal</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte eine ganze Zahl eingeben.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte eine ganze Zahl zwischen %1 und %2 eingeben.</translation>
    </message>
    <message>
        <source>Please enter a number.</source>
        <translation>Bitte eine Zahl eingeben.</translation>
    </message>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation>Bitte eine Zahl zwischen %1 und %2 eingeben.</translation>
    </message>
    <message>
        <source>Unknown nOuputSizeType type!</source>
        <translation>Unbekannter Typ nOuputSizeType!</translation>
    </message>
    <message>
        <source>Unknown nKeepAspectRatio type!</source>
        <translation>Unbekannter Typ nKeepAspectRatio!</translation>
    </message>
    <message>
        <source>Unknown rotate angle!</source>
        <translation>Unbekannter Drehwinkel!</translation>
    </message>
    <message>
        <source>Unknown flip type!</source>
        <translation>Unbekannte Spiegelungsart!</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message>
        <source>Please select items!</source>
        <translation>Bitte Einträge auswählen!</translation>
    </message>
    <message>
        <source>Do you want to change all output settings of photos?</source>
        <translation>Möchten Sie die Ausgabeeinstellungen aller Fotos ändern?</translation>
    </message>
    <message>
        <source>Can not Active a Frame</source>
        <translation>Das Einzelbild kann nicht gewählt werden</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Free software: GNU GPL, version 3 or later</source>
        <translation>Freie Software: GNU GPL, Version 3 oder neuer</translation>
    </message>
    <message>
        <source>The Program does not launch your web browser to access </source>
        <translation>Das Programm kann Ihren Webbrowser nicht starten für </translation>
    </message>
    <message>
        <source> ,
Please launch your web browser and input the URL manually.</source>
        <translation> ,
Bitte starten Sie Ihren Webbrowser und geben Sie die Adresse selbst ein.</translation>
    </message>
    <message>
        <source>No program is set to open the help pages on this computer. The help is in:
</source>
        <translation>Auf diesem Computer ist kein Programm zum Öffnen der Hilfeseiten eingerichtet. Die Hilfe liegt in:
</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>The help pages were not found. Please reinstall the program.</source>
        <translation>Die Hilfeseiten wurden nicht gefunden. Bitte installieren Sie das Programm neu.</translation>
    </message>
    <message>
        <source>There is not log file now!</source>
        <translation>Es gibt noch keine Protokolldatei!</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>Farbe:</translation>
    </message>
    <message>
        <source>Select an ini file...</source>
        <translation>Eine INI-Datei wählen...</translation>
    </message>
    <message>
        <source>brindle list file(*.ini)</source>
        <translation>brindle-Listendatei(*.ini)</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Maroon</source>
        <translation>Kastanienbraun</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Olive</source>
        <translation>Oliv</translation>
    </message>
    <message>
        <source>Navy</source>
        <translation>Marineblau</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Purpur</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Blaugrün</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Silver</source>
        <translation>Silber</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Hellgrün</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Fuchsia</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>Aqua</source>
        <translation>Türkis</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Custom size</source>
        <translation>Eigene Größe</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>vellumo-engine</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>The text position X is bigger than the photo width!, The program set it to 0 now.</source>
        <translation>Die Textposition X ist größer als die Fotobreite! Das Programm setzt sie jetzt auf 0.</translation>
    </message>
    <message>
        <source>The text position Y is bigger than the photo height!, The program set it to 0 now.</source>
        <translation>Die Textposition Y ist größer als die Fotohöhe! Das Programm setzt sie jetzt auf 0.</translation>
    </message>
    <message>
        <source>%s exists. Do you want to replace it?</source>
        <translation>%s existiert bereits. Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>can not begin thread!</source>
        <translation>Der Arbeitsthread kann nicht starten!</translation>
    </message>
    <message>
        <source>Can not Active a Frame</source>
        <translation>Das Einzelbild kann nicht gewählt werden</translation>
    </message>
    <message>
        <source>The output width is invalid!</source>
        <translation>Die Ausgabebreite ist ungültig!</translation>
    </message>
    <message>
        <source>The output hight is invalid!</source>
        <translation>Die Ausgabehöhe ist ungültig!</translation>
    </message>
    <message>
        <source>Failed to SetResolution!</source>
        <translation>Die Auflösung konnte nicht gesetzt werden!</translation>
    </message>
    <message>
        <source>Failed to convert photo!</source>
        <translation>Das Foto konnte nicht umgewandelt werden!</translation>
    </message>
    <message>
        <source>Unknown rotate angle!</source>
        <translation>Unbekannter Drehwinkel!</translation>
    </message>
    <message>
        <source>Failed to rotate and flip photo!</source>
        <translation>Das Foto konnte nicht gedreht und gespiegelt werden!</translation>
    </message>
    <message>
        <source>The text position X is out of range! The program set it to 0 now.</source>
        <translation>Die Textposition X liegt außerhalb des Bereichs! Das Programm setzt sie jetzt auf 0.</translation>
    </message>
    <message>
        <source>The text position Y is out of range! The program set it to 0 now.</source>
        <translation>Die Textposition Y liegt außerhalb des Bereichs! Das Programm setzt sie jetzt auf 0.</translation>
    </message>
    <message>
        <source>Failed to save the file!</source>
        <translation>Die Datei konnte nicht gespeichert werden!</translation>
    </message>
    <message>
        <source>Can not get the temporary bitmap filename!</source>
        <translation>Kein Name für die temporäre Bitmap-Datei!</translation>
    </message>
    <message>
        <source>Failed file.GetStatus from </source>
        <translation>Dateistatus nicht lesbar: </translation>
    </message>
    <message>
        <source> occurs error!</source>
        <translation>: Fehler aufgetreten!</translation>
    </message>
    <message>
        <source> is not a right directory</source>
        <translation> ist kein gültiger Ordner</translation>
    </message>
    <message>
        <source>; the folder is skipped</source>
        <translation>; der Ordner wird übersprungen</translation>
    </message>
</context>
<context>
    <name>vellumo-options</name>
    <message>
        <source>1 bit Indexed</source>
        <translation>1 Bit indiziert</translation>
    </message>
    <message>
        <source>1 bit per pixel, indexed. 2 color.</source>
        <translation>1 Bit pro Pixel, indiziert. 2 Farben.</translation>
    </message>
    <message>
        <source>4 bits Indexed</source>
        <translation>4 Bit indiziert</translation>
    </message>
    <message>
        <source>4 bits per pixel, indexed. 16 color.</source>
        <translation>4 Bit pro Pixel, indiziert. 16 Farben.</translation>
    </message>
    <message>
        <source>8 bits Indexed</source>
        <translation>8 Bit indiziert</translation>
    </message>
    <message>
        <source>8 bits per pixel, indexed. 256 color.</source>
        <translation>8 Bit pro Pixel, indiziert. 256 Farben.</translation>
    </message>
    <message>
        <source>16 bits RGB565</source>
        <translation>16 Bit RGB565</translation>
    </message>
    <message>
        <source>16 bits per pixel; 5 bits are used for the red component, 6 bits are used for the green component, and 5 bits are used for the blue component.</source>
        <translation>16 Bit pro Pixel; 5 Bit für Rot, 6 Bit für Grün und 5 Bit für Blau.</translation>
    </message>
    <message>
        <source>24 bits RGB</source>
        <translation>24 Bit RGB</translation>
    </message>
    <message>
        <source>24 bits per pixel; 8 bits each are used for the red, green, and blue components.</source>
        <translation>24 Bit pro Pixel; je 8 Bit für Rot, Grün und Blau.</translation>
    </message>
    <message>
        <source>32 bits ARGB</source>
        <translation>32 Bit ARGB</translation>
    </message>
    <message>
        <source>32 bits per pixel; 8 bits each are used for the alpha, red, green, and blue components.</source>
        <translation>32 Bit pro Pixel; je 8 Bit für Alpha, Rot, Grün und Blau.</translation>
    </message>
    <message>
        <source>32 bits PARGB</source>
        <translation>32 Bit PARGB</translation>
    </message>
    <message>
        <source>32 bits per pixel; 8 bits each are used for the alpha, red, green, and blue components. The red, green, and blue components are premultiplied according to the alpha component.</source>
        <translation>32 Bit pro Pixel; je 8 Bit für Alpha, Rot, Grün und Blau. Rot, Grün und Blau sind mit dem Alphawert vormultipliziert.</translation>
    </message>
    <message>
        <source>32 bits RGB</source>
        <translation>32 Bit RGB</translation>
    </message>
    <message>
        <source>32 bits per pixel; 8 bits each are used for the red, green, and blue components. The remaining 8 bits are not used.</source>
        <translation>32 Bit pro Pixel; je 8 Bit für Rot, Grün und Blau. Die übrigen 8 Bit bleiben ungenutzt.</translation>
    </message>
    <message>
        <source>64 bits ARGB</source>
        <translation>64 Bit ARGB</translation>
    </message>
    <message>
        <source>64 bits per pixel; 16 bits each are used for the alpha, red, green, and blue components.</source>
        <translation>64 Bit pro Pixel; je 16 Bit für Alpha, Rot, Grün und Blau.</translation>
    </message>
    <message>
        <source>64 bits PARGB</source>
        <translation>64 Bit PARGB</translation>
    </message>
    <message>
        <source>64 bits per pixel; 16 bits each are used for the alpha, red, green, and blue components. The red, green, and blue components are premultiplied according to the alpha component.</source>
        <translation>64 Bit pro Pixel; je 16 Bit für Alpha, Rot, Grün und Blau. Rot, Grün und Blau sind mit dem Alphawert vormultipliziert.</translation>
    </message>
</context>
<context>
    <name>vellumo-window</name>
    <message>
        <source>Add Photos</source>
        <translation>Fotos hinzufügen</translation>
    </message>
    <message>
        <source>Search photos</source>
        <translation>Fotos suchen</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Runter</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Output file:</source>
        <translation>Ausgabedatei:</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Total Pages:</source>
        <translation>Seiten gesamt:</translation>
    </message>
    <message>
        <source>Total pages: %1</source>
        <translation>Seiten gesamt: %1</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Add text to photo:</source>
        <translation>Text auf dem Foto:</translation>
    </message>
    <message>
        <source>Position x, y:</source>
        <translation>Position x, y:</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Batch rename prefix:</source>
        <translation>Präfix zum Umbenennen:</translation>
    </message>
    <message>
        <source>+Number+Time</source>
        <translation>+Nummer+Zeit</translation>
    </message>
    <message>
        <source>Not rename</source>
        <translation>Nicht umbenennen</translation>
    </message>
    <message>
        <source>Output Folder:</source>
        <translation>Ausgabeordner:</translation>
    </message>
    <message>
        <source>View log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Save list</source>
        <translation>Liste speichern</translation>
    </message>
    <message>
        <source>load list</source>
        <translation>Liste laden</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Width * Height</source>
        <translation>Breite * Höhe</translation>
    </message>
    <message>
        <source>Total Frames</source>
        <translation>Einzelbilder</translation>
    </message>
    <message>
        <source>Frame sequence</source>
        <translation>Bildnummer</translation>
    </message>
    <message>
        <source>Output Width * Height</source>
        <translation>Ausgabe Breite * Höhe</translation>
    </message>
    <message>
        <source>Select Photo Files...</source>
        <translation>Fotodateien wählen...</translation>
    </message>
    <message>
        <source>Any Files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>Select Output</source>
        <translation>Ausgabe wählen</translation>
    </message>
    <message>
        <source>Tif/Tiff file(*.tif)</source>
        <translation>Tif/Tiff-Datei(*.tif)</translation>
    </message>
    <message>
        <source>Choose a folder</source>
        <translation>Einen Ordner wählen</translation>
    </message>
    <message>
        <source>Please select items!</source>
        <translation>Bitte Einträge auswählen!</translation>
    </message>
    <message>
        <source>Please stop converting first</source>
        <translation>Bitte zuerst das Umwandeln anhalten</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Turns photos into one multi-page TIFF. Photos and folders named here are added to the list; folders are searched for photos.</source>
        <translation>Fügt Fotos zu einem mehrseitigen TIFF zusammen. Hier genannte Fotos und Ordner kommen in die Liste; Ordner werden nach Fotos durchsucht.</translation>
    </message>
    <message>
        <source>Photos or folders to add, in order.</source>
        <translation>Fotos oder Ordner, der Reihe nach hinzugefügt.</translation>
    </message>
    <message>
        <source>Photo Files (*.bmp;*.gif;*.png;*.tif;*.jpg;*.jpeg;*.ico;*.exif;*.wmf;*.emf;*.dib;*.tiff;*.heic;*.heif;*.hif;*.avif;*.avifs;*.jxl;*.webp;*.dng;*.cr2;*.cr3;*.crw;*.nef;*.nrw;*.arw;*.srf;*.sr2;*.orf;*.rw2;*.raf;*.pef;*.srw;*.mrw;*.x3f;*.rwl;*.3fr;*.iiq;*.erf;*.kdc;*.dcr;*.mos;*.raw;*.jp2;*.j2k;*.jpf;*.jpx;*.j2c;*.psd;*.psb;*.tga;*.svg;*.svgz;*.pnm;*.pbm;*.pgm;*.ppm;*.icns;*.cur)</source>
        <translation>Fotodateien (*.bmp;*.gif;*.png;*.tif;*.jpg;*.jpeg;*.ico;*.exif;*.wmf;*.emf;*.dib;*.tiff;*.heic;*.heif;*.hif;*.avif;*.avifs;*.jxl;*.webp;*.dng;*.cr2;*.cr3;*.crw;*.nef;*.nrw;*.arw;*.srf;*.sr2;*.orf;*.rw2;*.raf;*.pef;*.srw;*.mrw;*.x3f;*.rwl;*.3fr;*.iiq;*.erf;*.kdc;*.dcr;*.mos;*.raw;*.jp2;*.j2k;*.jpf;*.jpx;*.j2c;*.psd;*.psb;*.tga;*.svg;*.svgz;*.pnm;*.pbm;*.pgm;*.ppm;*.icns;*.cur)</translation>
    </message>
</context>
</TS>
