// German texts. Sorted by id. This library also stands in for a missing
// language, so it must hold every id that any other table holds.
// Where a caller adds something to a text (": " and a value, " ... " and a
// result), the text leaves that out; see Languages/README.md.

#include "TextTable.h"

namespace lumaprog::language {
namespace {

constexpr TextEntry Texts[] = {
    // main window caption, menu commands and shut-down question
    {0, "Lumaprog - Programmiersoftware für das Zefa Development Board"},
    {1, "Beenden"},
    {2, "Optionen"},
    {3, "Möchten Sie Lumaprog wirklich beenden?"},

    // open and save dialogs of the image files
    {12, "Flash-Datei öffnen"},
    {13, "EEPROM-Datei öffnen"},
    {14, "Intel-HEX-Dateien (*.hex)|*.hex|Alle Dateien (*)|*"},
    {15, "EEPROM-Dateien (*.eep)|*.eep|Intel-HEX-Dateien (*.hex)|*.hex|Alle Dateien (*)|*"},

    // reading an Intel HEX file
    {16, "Die HEX-Datei enthält Daten oberhalb der höchsten unterstützten Adresse (0x40000F)."},

    // image file messages
    {17, "Fehler"},
    {18, "Die EEPROM-Datei passt nicht in das EEPROM des gewählten Mikrocontrollers."},
    {19, "Die Flash-Datei passt nicht in den Flash-Speicher des gewählten Mikrocontrollers."},

    // saving a memory read from the board
    {32, "Flash-Speicher speichern unter"},
    {33, "EEPROM speichern unter"},
    {34, "Das Lesen des Flash-Speichers ist fehlgeschlagen. Es wurde nichts gespeichert."},
    {35, "Das Lesen des EEPROMs ist fehlgeschlagen. Es wurde nichts gespeichert."},
    {36, "Die Datei konnte nicht gespeichert werden."},

    // hints of the programming entry in the navigation list
    {38, "Keine Flash-Datei und keine EEPROM-Datei geladen."},
    {39, "Die Flash-Datei passt nicht zum gewählten Mikrocontroller."},
    {40, "Die EEPROM-Datei passt nicht zum gewählten Mikrocontroller."},

    // hint of the flash and EEPROM entries in the navigation list
    {68, "Bitte wählen Sie zuerst einen Mikrocontroller aus."},

    // reloading a changed image file
    {71, "Die Flash-Datei wurde auf dem Datenträger geändert. Möchten Sie sie neu laden?"},
    {72, "Die EEPROM-Datei wurde auf dem Datenträger geändert. Möchten Sie sie neu laden?"},

    // SPIEN protection message of the fuse edits
    {73, "Das SPIEN-Fuse-Bit muss programmiert bleiben, sonst kann der Mikrocontroller nicht mehr "
         "über die ISP-Schnittstelle programmiert werden."},
    {74, "Lumaprog hat es deshalb auf programmiert gesetzt. In den Optionen kann das Ändern erlaubt werden."},
    {75, "SPIEN-Schutz"},

    // saving the log; 78 follows a file name directly
    {76, "Protokoll speichern"},
    {77, "RTF-Dateien (*.rtf)|*.rtf|Alle Dateien (*)|*"},
    {78, " ist bereits vorhanden. Möchten Sie die Datei ersetzen?"},

    // target system page
    {79, "Wählen Sie das Zielsystem:"},

    // navigation list
    {200, "Entwicklungsboard"},
    {201, "Flash"},
    {202, "EEPROM"},
    {203, "Programmieren"},
    {204, "-"},
    {205, "Zielsystem"},
    {206, "Mikrocontrollermodul"},

    // development board page
    {400, "Mikrocontroller"},
    {401, "Signatur:"},
    {402, "Flash-Speicher:"},
    {403, "EEPROM-Speicher:"},
    {404, "Fuse-Bytes"},
    {405, "Standardwerte"},
    {406, "Auslesen"},
    {407, "Lock-Byte"},
    {408, "Auslesen"},
    {409, "SPI-Takt"},

    // microcontroller module page
    {420, "Mikrocontrollermodul"},

    // EEPROM page
    {500, "EEPROM"},
    {501, "Öffnen"},
    {502, "Schließen"},

    // flash page
    {600, "Flash"},
    {601, "Öffnen"},
    {602, "Schließen"},

    // board programming page (710 to 719 and 742 also on the module programming page)
    {700, "Automatische Programmierung"},
    {701, "Signatur prüfen"},
    {702, "Chip löschen"},
    {703, "Flash programmieren"},
    {704, "Flash verifizieren"},
    {705, "EEPROM programmieren"},
    {706, "EEPROM verifizieren"},
    {707, "Fuse-Bytes programmieren"},
    {708, "Lock-Byte programmieren"},
    {709, "Starten"},
    {710, "Programmierung"},
    {711, "Flash"},
    {712, "Programmieren"},
    {713, "Nach dem Programmieren verifizieren"},
    {714, "Verifizieren"},
    {715, "Auslesen"},
    {716, "EEPROM"},
    {717, "Programmieren"},
    {718, "Nach dem Programmieren verifizieren"},
    {719, "Verifizieren"},
    {720, "Auslesen"},
    {721, "Fuse-Bytes"},
    {722, "Schreiben"},
    {723, "Auslesen"},
    {724, "Fuse-Bytes nicht vom Gerät gelesen (Standardwerte angezeigt)"},
    {725, "Fuse-Bytes vom Gerät gelesen"},
    {726, "Lock-Byte"},
    {727, "Schreiben"},
    {728, "Auslesen"},
    {729, "Allgemein"},
    {730, "Chip löschen"},
    {731, "Vor dem Programmieren Chip löschen"},
    {732, "Signatur prüfen"},
    {733, "Ziel zurücksetzen"},

    // module programming page
    {740, "Löschen"},
    {741, "Löschen"},
    {742, "Anwendung danach starten"},

    // options dialog
    {1000, "Optionen"},
    {1001, "Allgemein"},
    {1002, "Sprache"},
    {1003, "Abbrechen"},
    {1004, "OK"},
    {1005, "Vor dem Beenden nachfragen"},
    {1007, "Sprache der Benutzeroberfläche"},
    {1013, "Ändern des SPIEN-Fuse-Bits erlauben"},
    {1014, "Vor dem Neuladen geänderter Dateien nachfragen"},
    {1016, "Anzahl gespeicherter Dateien:"},

    // about box
    {2001, "Über ..."},
    {2002, "Arbeitsspeicher:"},
    {2003, "Gesamt:"},
    {2004, "Frei:"},
    {2005, "Belegt:"},
    {2006, "OK"},

    // programmer link log
    {3001, "Verbindung zum Entwicklungsboard geöffnet"},
    {3002, "Die Verbindung zum Entwicklungsboard konnte nicht geöffnet werden! Bitte prüfen Sie das "
           "USB-Kabel und den gewählten Port."},
    {3003, "Verbindung zum Entwicklungsboard geschlossen"},

    // programming mode, chip erase, reset and signature log
    {3010, "Programmiermodus wird aktiviert"},
    {3011, "Programmiermodus wird beendet"},
    {3012, "Chip wird gelöscht"},
    {3013, "SPI-Takt:"},
    {3020, "Der Programmiermodus konnte nicht aktiviert werden. Bitte prüfen Sie:"},
    {3021, "- Ist der Mikrocontroller richtig eingesetzt und mit Spannung versorgt?"},
    {3022, "- Ist der SPI-Takt höchstens ein Viertel des Mikrocontroller-Takts?"},
    {3023, "- Ist die SPIEN-Fuse programmiert und die Taktquelle in den Fuses richtig eingestellt?"},
    {3030, "Ziel wird zurückgesetzt"},
    {3031, "Zurücksetzen des Ziels fehlgeschlagen!"},
    {3040, "Signatur OK"},
    {3041, "Die Signatur passt nicht zum gewählten Mikrocontroller!"},
    {3042, "Gelesene Signatur"},
    {3043, "Erwartete Signatur"},
    {3044, "Lesen der Signatur fehlgeschlagen!"},

    // flash and EEPROM page transfer log
    {3050, "Flash wird verifiziert"},
    {3051, "Flash wird programmiert"},
    {3052, "Flash wird gelesen"},
    {3053, "EEPROM wird verifiziert"},
    {3054, "EEPROM wird gelesen"},
    {3055, "EEPROM wird programmiert"},
    {3058, "Fuse-Bytes werden gelesen"},
    {3061, "Lock-Byte wird gelesen"},
    {3070, "EEPROM erfolgreich programmiert"},
    {3071, "Programmieren des EEPROMs fehlgeschlagen!"},
    {3072, "Verifizierung erfolgreich"},
    {3073, "Verifizierung fehlgeschlagen: Der Speicherinhalt weicht von der Datei ab!"},
    {3074, "Speicher erfolgreich gelesen"},
    {3075, "Lesen des Speichers fehlgeschlagen!"},
    {3076, "Flash erfolgreich programmiert"},
    {3077, "Fehler: Das Entwicklungsboard hat den Befehl nicht ausgeführt!"},
    {3078, "Löschen des Chips fehlgeschlagen!"},

    // target voltage log
    {3091, "Die Zielspannung konnte nicht eingeschaltet werden! Bitte prüfen Sie das Ziel auf einen "
           "Kurzschluss."},

    // fuse and lock byte log; 3100 comes before " Fusebyte Low: 0x..", the others before " (...)"
    {3100, "Gelesen"},
    {3101, "Low-Fuse-Byte nicht korrekt geschrieben"},
    {3102, "Low-Fuse-Byte geschrieben"},
    {3103, "High-Fuse-Byte nicht korrekt geschrieben"},
    {3104, "High-Fuse-Byte geschrieben"},
    {3105, "Extended-Fuse-Byte nicht korrekt geschrieben"},
    {3106, "Extended-Fuse-Byte geschrieben"},
    {3107, "Lock-Byte nicht korrekt geschrieben"},
    {3108, "Lock-Byte geschrieben"},

    // device information and board check log
    {3200, "Unbekanntes Format der Geräteinformation!"},
    {3201, "CRC-Fehler in der Geräteinformation!"},
    {3202, "Keine Antwort vom Entwicklungsboard!"},
    {3203, "Bitte prüfen Sie die USB-Verbindung und den gewählten Port."},
    {3204, "Der Befehl konnte nicht an das Entwicklungsboard gesendet werden!"},
    {3205, "Die Protokollrevision des Entwicklungsboards wird nicht unterstützt!"},
    {3206, "Das angeschlossene Gerät ist kein Zefa Development Board!"},

    // board settings commands log
    {3230, "Stromgrenzen werden geschrieben"},
    {3231, "Oszillatoreinstellung wird geschrieben"},

    // target voltage choice (4002 and 4003 are also logged when applied)
    {4000, "Zielspannung"},
    {4001, "Zielspannung eingeschaltet lassen"},
    {4002, "Zielspannung ausschalten"},
    {4003, "Zielspannung neu einschalten (aus-ein)"},

    // fuse warning dialog
    {5000, "Warnung"},
    {5001, "JTAGEN-Fuse nicht programmiert!"},
    {5002, "SPIEN-Fuse nicht programmiert!"},
    {5003, "SPIEN- und JTAGEN-Fuse nicht programmiert!"},
    {5004, "Programmieren über ISP und JTAG ist danach nicht mehr möglich!"},
    {5005, "Programmieren über ISP ist danach nicht mehr möglich!"},
    {5006, "Programmieren und Debuggen über JTAG ist danach nicht mehr möglich!"},
    {5009, "Ja"},
    {5011, "Abbrechen"},
    {5012, "Die Fuse-Bytes lassen sich dann nur noch mit einem Hochvolt-Programmer zurücksetzen."},
    {5014, "Möchten Sie die Fuse-Bytes wirklich schreiben?"},

    // board settings dialog; 6002 and 6003 also label the main window's board line
    {6000, "Geräteeinstellungen"},
    {6001, "Angeschlossenes Entwicklungssystem:"},
    {6002, "Software-Revision:"},
    {6003, "Seriennummer:"},
    {6004, "Warnstrom"},
    {6005, "Abschaltstrom"},
    {6006, "Oszillator"},
    {6007, "Verbinden"},
    {6008, "Neu einlesen"},
    {6009, "Schließen"},
    {6010, "Speichern"},
    {6011, "Kein Entwicklungsboard gefunden"},

    // menu bar
    {6500, "Beenden"},
    {6501, "Optionen"},
    {6503, "Board-Einstellungen"},
    {6504, "Über"},

    // fuse and lock bit editor
    {6600, "Abbrechen"},
    {6601, "OK"},

    // last image files missing at start-up
    {7000, "Die zuletzt verwendete Flash-Datei wurde nicht gefunden."},
    {7001, "Die zuletzt verwendete EEPROM-Datei wurde nicht gefunden."},
    {7002, "Die zuletzt verwendeten Flash- und EEPROM-Dateien wurden nicht gefunden."},

    // bootloader connect dialog
    {7150, "Verbindung zum Bootloader wird hergestellt ..."},
    {7151, "Bitte setzen Sie das Mikrocontrollermodul zurück, um den Bootloader zu aktivieren!"},
    {7152, "Abbrechen"},

    // log buttons
    {7180, "Protokoll löschen"},
    {7181, "Protokoll speichern"},

    // module operations log; step texts come before " ... " and a result
    {7200, "Mikrocontrollermodul"},
    {7210, "Verbindungsaufbau zum Bootloader"},
    {7211, "Flash wird programmiert"},
    {7212, "Flash wird verifiziert"},
    {7213, "Flash wird gelöscht"},
    {7214, "EEPROM wird programmiert"},
    {7215, "EEPROM wird verifiziert"},
    {7216, "EEPROM wird gelöscht"},
    {7217, "Anwendung wird gestartet"},
    {7218, "Die Anwendung wurde nicht gestartet"},
    {7219, "Das Modul hat den Startbefehl nicht bestätigt."},
    {7250, "Vorgang erfolgreich abgeschlossen."},
    {7251, "Vorgang fehlgeschlagen!"},
    {7260, "OK"},
    {7261, "fehlgeschlagen"},
    {7270, "Hinweis:"},
    {7271, "Bitte prüfen Sie, ob das Modul angeschlossen und die richtige serielle Schnittstelle gewählt ist."},
    {7272, "Setzen Sie das Modul zurück, wenn Sie dazu aufgefordert werden, damit sein Bootloader antwortet."},

    // the program's own checks: an error without a message, a file that is no regular
    // file, pages the bootloader (7302, 7303, after the module's name and ": ") or the
    // board (7304 to 7307) cannot carry; %1 and %2 are numbers the caller fills in
    {7300, "Unbekannter Fehler"},
    {7301, "Keine reguläre Datei."},
    {7302, "Flash-Seiten von %1 Bytes können nicht übertragen werden (1 bis %2 Bytes, eine gerade Zahl)"},
    {7303, "EEPROM-Seiten von %1 Bytes können nicht übertragen werden (1 bis %2 Bytes)"},
    {7304, "Definition abgelehnt: Seitengröße %1 liegt außerhalb des zulässigen Bereichs"},
    {7305, "Definition abgelehnt: Flash-Seitengröße %1 ist ungerade"},
    {7306, "Definition abgelehnt: EEPROM-Seitengröße %1 ist größer als %2"},
    {7307, "Definition abgelehnt: Speichergröße %1 liegt außerhalb des zulässigen Bereichs"},

    // files that are not what they claim: a flash or EEPROM file without a single record,
    // a settings file too large to be one (%1 the bound in MiB), and a running program
    // that holds the single-instance claim but does not answer
    {7308, "Dies ist keine Intel-HEX-Datei: keine ihrer Zeilen ist ein Datensatz (eine Zeile, die mit \":\" beginnt)."},
    {7309, "Die Datei ist größer als %1 MiB, zu groß für eine Einstellungsdatei."},
    {7310, "Lumaprog läuft bereits, antwortet aber nicht. Schließen oder beenden Sie es und starten Sie Lumaprog dann erneut."},
};

static_assert(idsStrictlyAscending(Texts), "the German texts must be sorted by id, each id once");

}  // namespace

const LanguageTable Language{"DE", "Deutsch", Texts};

}  // namespace lumaprog::language
