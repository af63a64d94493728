#include "cli/CommandLineTexts.h"

#include <array>
#include <cstddef>

namespace {

struct Row {
    CliText id;
    const char* english;
    const char* german;
};

// One row a text, both languages side by side, so that no text can be
// added in one language alone. UTF-8, as the terminal takes it.
constexpr std::array<Row, static_cast<std::size_t>(CliText::Count)> kTexts{{
    {CliText::ErrorPrefix, "error", "Fehler"},
    {CliText::WarningPrefix, "warning", "Warnung"},
    {CliText::SeeHelp, "(see kalmoria-cli --help)", "(siehe kalmoria-cli --help)"},
    {CliText::DidYouMean, "did you mean %1?", "meinten Sie %1?"},
    {CliText::HelpUsage, "Usage:", "Aufruf:"},
    {CliText::HelpOptions, "Options:", "Optionen:"},
    {CliText::HelpArguments, "Arguments:", "Argumente:"},
    {CliText::HelpOptionsWord, "[options]", "[Optionen]"},
    {CliText::ValueCommand, "command", "Befehl"},
    {CliText::ValueFile, "FILE", "DATEI"},
    {CliText::ValueDir, "DIR", "ORDNER"},
    {CliText::Description,
     R"(Reads and writes the bit links of a QMX central device over RS232, for
scripts, backups and service laptops without a desktop.

Commands:
  search              probe COM1..COM16 for central devices; prints the COM
                      number, the serial device, type, serial number, address
  info                the device's configuration and its module overview
  read [-o FILE]      read the device's links; write them as a link file, or
                      print them
  write FILE          write the links of a link file to the device, after a
                      question (or --yes): the device must be the links'
                      station and have their modules (else --yes --force),
                      its links are kept as a snapshot first, and read back
                      and compared afterwards
  diff FILE           compare a link file with the device's links, link by link
  restore --last      write the newest snapshot of the station back, as write
  restore FILE        write a snapshot file back, as write
  restore --list      list the station's snapshots: time, links, whether they
                      differ from the device
  doctor              check the port (--port) or every port: device file,
                      access rights, other programs holding it, brltty,
                      ModemManager, adapter latency (for a network port:
                      whether its server takes the connection), and whether
                      a device answers; one line per finding with what to do
  report -o FILE.pdf  read the device and write a service report as PDF:
                      the station, its modules, the links with the link
                      check's findings, the comparison and the link plan
  report FILE -o PDF  report a link file (with --port also compared with
                      the device)
  backup --dir DIR    read every station of --port (given once per station)
                      and --stations, --jobs at a time, and save each one's
                      links with its module overview as
                      DIR/<serial number>/<YYYY-MM-DD_HH-MM-SSZ>.ini; prints
                      one JSON object per station and line: port, ok,
                      serial, address, type, links, file, changed,
                      changed_links (the links that differ from the
                      station's previous backup in DIR), error

Without --port every command but search and backup first searches
COM1..COM16 like Kalmoria does at start and uses the device found (the
highest port). Kalmoria.ini may map a COM number to a network port in its
section [Schnittstellen] (COM5=tcp://10.0.0.7:4001); over the network replies
end as soon as they are whole, as with --fast.
Snapshots are kept in $XDG_DATA_HOME/kalmoria/backups/<serial number>/
(~/.local/share/... without it), the newest 100 of each station.
Messages, and the progress of a device read on a terminal, go to standard
error. They come in the language of --lang, else in the one chosen in
Kalmoria, else in that of the locale (LC_ALL, LC_MESSAGES, LANG; English for
a language without a language file); under the locale C or POSIX in German.)",
     R"(Liest und schreibt die Bit-Verknüpfungen einer QMX-Zentrale über RS232, für
Skripte, Sicherungen und Service-Laptops ohne Desktop.

Befehle:
  search              COM1..COM16 nach Zentralen absuchen; gibt COM-Nummer,
                      serielles Gerät, Typ, Seriennummer und Adresse aus
  info                die Konfiguration des Geräts und seine Modulübersicht
  read [-o DATEI]     die Verknüpfungen des Geräts lesen; als
                      Verknüpfungsdatei schreiben oder ausgeben
  write DATEI         die Verknüpfungen einer Verknüpfungsdatei nach einer
                      Rückfrage (oder --yes) ins Gerät übertragen: Das Gerät
                      muss die Station der Verknüpfungen sein und ihre Module
                      haben (sonst --yes --force), seine Verknüpfungen werden
                      vorher gesichert und danach zurückgelesen und verglichen
  diff DATEI          eine Verknüpfungsdatei Verknüpfung für Verknüpfung mit
                      denen des Geräts vergleichen
  restore --last      die neueste Sicherung der Station zurückschreiben, wie write
  restore DATEI       eine Sicherungsdatei zurückschreiben, wie write
  restore --list      die Sicherungen der Station auflisten: Zeit,
                      Verknüpfungen, ob sie vom Gerät abweichen
  doctor              die Schnittstelle (--port) oder alle prüfen: Gerätedatei,
                      Zugriffsrechte, andere Programme, die sie belegen, brltty,
                      ModemManager, Latenz des Adapters (bei einem
                      Netzwerkport: ob sein Server die Verbindung annimmt) und
                      ob ein Gerät antwortet; eine Zeile je Befund mit dem,
                      was zu tun ist
  report -o DATEI.pdf das Gerät lesen und einen Servicebericht als PDF
                      schreiben: die Station, ihre Module, die Verknüpfungen
                      mit den Befunden der Prüfung, den Vergleich und den
                      Verknüpfungsplan
  report DATEI -o PDF über eine Verknüpfungsdatei berichten (mit --port auch
                      mit dem Gerät verglichen)
  backup --dir ORDNER jede Station von --port (einmal je Station) und
                      --stations lesen, --jobs zugleich, und die
                      Verknüpfungen jeder mit ihrer Modulübersicht speichern
                      als ORDNER/<Seriennummer>/<JJJJ-MM-TT_hh-mm-ssZ>.ini;
                      gibt je Station eine Zeile mit einem JSON-Objekt aus:
                      port, ok, serial, address, type, links, file, changed,
                      changed_links (die Verknüpfungen, die von der
                      vorigen Sicherung der Station in ORDNER abweichen), error

Ohne --port sucht jeder Befehl außer search und backup zuerst COM1..COM16 ab,
wie Kalmoria beim Start, und nimmt das gefundene Gerät (die höchste
Schnittstelle). Kalmoria.ini kann einer COM-Nummer im Abschnitt
[Schnittstellen] einen Netzwerkport zuordnen (COM5=tcp://10.0.0.7:4001); über
das Netzwerk enden Antworten, sobald sie vollständig sind, wie mit --fast.
Sicherungen liegen in $XDG_DATA_HOME/kalmoria/backups/<Seriennummer>/
(~/.local/share/... ohne diese Variable), die neuesten 100 jeder Station.
Meldungen und der Fortschritt eines Lesevorgangs am Terminal gehen auf die
Standardfehlerausgabe. Sie kommen in der Sprache von --lang, sonst in der in
Kalmoria gewählten, sonst in der des Locales (LC_ALL, LC_MESSAGES, LANG;
Englisch für eine Sprache ohne Sprachdatei); unter dem Locale C oder POSIX
auf Deutsch.)"},
    {CliText::ExitCodes,
     R"(
Exit codes:
  0  success (diff: the device holds the file's links)
  1  usage: the command line is wrong, or an output names a file the
     command reads or another of its outputs
  2  no device answers, or the communication failed; backup: a station
     could not be read (the others are saved)
  3  a link file or the report cannot be read or written (no report file is
     left behind), or the snapshot before a write
     cannot be saved (nothing sent); backup: the station list or the folder
     cannot be read or written (nothing read), or a station's file or the
     metrics file cannot be saved; any command: its capture could not be
     made or lost frames (the command's own result stands)
  4  write refused, nothing sent: too many links, a field out of range,
     another station or missing modules without --force, links the editor
     would not allow (overlapping targets, bits outside the module's groups,
     a module the station lacks, a link twice) without --force, or no
     confirmation
  5  the device's links differ: after write the read-back, for diff the file
 98  the default language file beside the program is missing or too old
130  interrupted (SIGINT, SIGTERM, SIGHUP); during write only once the
     transfer has ended and the device's links have been read back; backup
     ends the stations' reads at once and saves no more files (those saved
     are whole)
)",
     R"(
Exit-Codes:
  0  Erfolg (diff: Das Gerät enthält die Verknüpfungen der Datei)
  1  Aufruf: Die Befehlszeile ist falsch, oder eine Ausgabe nennt eine
     Datei, die der Befehl liest, oder eine andere seiner Ausgaben
  2  kein Gerät antwortet, oder die Übertragung ist fehlgeschlagen; backup:
     Eine Station konnte nicht gelesen werden (die übrigen sind gespeichert)
  3  eine Verknüpfungsdatei oder der Bericht kann nicht gelesen oder
     geschrieben werden (es bleibt keine Berichtsdatei zurück), oder die
     Sicherung vor dem Übertragen kann nicht gespeichert werden (nichts
     gesendet); backup: Die Stationsliste oder der Ordner kann nicht gelesen
     oder geschrieben werden (nichts gelesen), oder die Datei einer Station
     oder die Metrikdatei kann nicht gespeichert werden; jeder Befehl: Sein
     Mitschnitt konnte nicht angelegt werden oder hat Rahmen verloren (das
     Ergebnis des Befehls selbst bleibt)
  4  Übertragen abgelehnt, nichts gesendet: zu viele Verknüpfungen, ein Feld
     außerhalb seines Bereichs, eine andere Station oder fehlende Module ohne
     --force, Verknüpfungen, die der Editor nicht zulassen würde
     (überlappende Ziele, Bits außerhalb der Gruppen des Moduls, ein Modul,
     das der Station fehlt, eine Verknüpfung doppelt) ohne --force, oder
     keine Bestätigung
  5  die Verknüpfungen des Geräts weichen ab: nach write beim Zurücklesen,
     bei diff von der Datei
 98  die Standard-Sprachdatei neben dem Programm fehlt oder ist zu alt
130  unterbrochen (SIGINT, SIGTERM, SIGHUP); während write erst, wenn die
     Übertragung beendet ist und die Verknüpfungen des Geräts zurückgelesen
     sind; backup beendet das Lesen der Stationen sofort und speichert keine
     weiteren Dateien (die gespeicherten sind vollständig)
)"},
    {CliText::OptionHelp, "Show this text.", "Diesen Text zeigen."},
    {CliText::OptionVersion, "Show the version.", "Die Version zeigen."},
    {CliText::OptionPort,
     "The device's port: a COM number (3 or COM3) as Kalmoria.ini maps it, a device path (/dev/ttyUSB0), or a "
     "port of a serial device server such as ser2net: tcp://HOST:PORT (raw) or rfc2217://HOST:PORT, optionally "
     "with ?timeout=MS (the wait for a reply's first byte, default 1500). backup: once for each station.",
     "Die Schnittstelle des Geräts: eine COM-Nummer (3 oder COM3), wie Kalmoria.ini sie zuordnet, ein Gerätepfad "
     "(/dev/ttyUSB0) oder ein Port eines seriellen Geräteservers wie ser2net: tcp://HOST:PORT (roh) oder "
     "rfc2217://HOST:PORT, wahlweise mit ?timeout=MS (die Wartezeit auf das erste Byte einer Antwort, "
     "Vorgabe 1500). backup: einmal je Station."},
    {CliText::OptionOutput,
     "read: write the links to this link file (a plain extension such as .cfg becomes .ini, any other name gets "
     ".ini appended; the name written is printed). report: the PDF file to write.",
     "read: die Verknüpfungen in diese Verknüpfungsdatei schreiben (eine einfache Endung wie .cfg wird zu .ini, "
     "jeder andere Name bekommt .ini angehängt; der geschriebene Name wird ausgegeben). report: die zu "
     "schreibende PDF-Datei."},
    {CliText::OptionJson, "search, info, read, diff, restore --list: print JSON instead of a table.",
     "search, info, read, diff, restore --list: JSON statt einer Tabelle ausgeben."},
    {CliText::OptionYes, "write: do not ask before writing.", "write: vor dem Übertragen nicht nachfragen."},
    {CliText::OptionNoVerify, "write, restore: do not read the links back after writing.",
     "write, restore: die Verknüpfungen nach dem Übertragen nicht zurücklesen."},
    {CliText::OptionForce,
     "write, restore: write links the editor would not allow; with --yes, write also to another station than the "
     "links' or to one that lacks modules they use. write, diff, report: take the links before a gap in the file's "
     "numbering. read: replace an existing file that -o names under another name (.ini).",
     "write, restore: auch Verknüpfungen übertragen, die der Editor nicht zulassen würde; mit --yes auch in eine "
     "andere Station als die der Verknüpfungen oder in eine, der Module fehlen, die sie verwenden. write, diff, "
     "report: die Verknüpfungen vor einer Lücke in der Nummerierung der Datei nehmen. read: eine vorhandene Datei "
     "ersetzen, die -o unter einem anderen Namen (.ini) nennt."},
    {CliText::OptionLast, "restore: write the station's newest snapshot back.",
     "restore: die neueste Sicherung der Station zurückschreiben."},
    {CliText::OptionList, "restore: list the station's snapshots.", "restore: die Sicherungen der Station auflisten."},
    {CliText::OptionFast,
     "End each reply as soon as it is whole instead of after the line has gone quiet (much faster; a device that "
     "pauses inside a reply still works).",
     "Jede Antwort beenden, sobald sie vollständig ist, statt erst, wenn die Leitung ruhig ist (viel schneller; "
     "ein Gerät, das mitten in einer Antwort pausiert, funktioniert trotzdem)."},
    {CliText::OptionQuiet, "Only errors and the data asked for: no notes, no progress.",
     "Nur Fehler und die verlangten Daten: keine Hinweise, kein Fortschritt."},
    {CliText::OptionRetries, "Repeat a transfer that failed on the line up to N times (0 to 5, default 2; 0: never).",
     "Eine auf der Leitung fehlgeschlagene Übertragung bis zu N-mal wiederholen (0 bis 5, Vorgabe 2; 0: nie)."},
    {CliText::OptionDir,
     "backup: the folder the stations' link files go to, one folder per serial number (made when missing).",
     "backup: der Ordner für die Verknüpfungsdateien der Stationen, ein Ordner je Seriennummer (wird angelegt, "
     "wenn er fehlt)."},
    {CliText::OptionStations,
     "backup: a file with one port per line, as --port takes it; blank lines and # comments are left out.",
     "backup: eine Datei mit einer Schnittstelle je Zeile, wie --port sie nimmt; Leerzeilen und #-Kommentare "
     "werden übergangen."},
    {CliText::OptionJobs, "backup: how many stations are read at a time (1 to %1; default every station, up to %1).",
     "backup: wie viele Stationen zugleich gelesen werden (1 bis %1; Vorgabe alle Stationen, bis zu %1)."},
    {CliText::OptionMetrics,
     "backup: write each station's result to this file in the Prometheus text format (for the node exporter's "
     "textfile collector), replacing it in one step.",
     "backup: das Ergebnis jeder Station im Textformat von Prometheus in diese Datei schreiben (für den textfile "
     "collector des node exporter), die in einem Schritt ersetzt wird."},
    {CliText::OptionOnlyChanged,
     "backup: save no new file for a station whose links are those of its previous backup in DIR.",
     "backup: keine neue Datei für eine Station speichern, deren Verknüpfungen die ihrer vorigen Sicherung in "
     "ORDNER sind."},
    {CliText::OptionCapture,
     "Write every frame sent to and received from the device to this pcapng file, for Wireshark (see the README). "
     "backup: one capture a station in this folder, named as its backup.",
     "Jeden an das Gerät gesendeten und von ihm empfangenen Rahmen in diese pcapng-Datei schreiben, für Wireshark "
     "(siehe README). backup: ein Mitschnitt je Station in diesem Ordner, benannt wie ihre Sicherung."},
    {CliText::OptionLang,
     "The language of messages and help: de or en (any language a language file beside the program speaks). "
     "Without it, the language chosen in Kalmoria, else the locale's.",
     "Die Sprache der Meldungen und der Hilfe: de oder en (jede Sprache einer Sprachdatei neben dem Programm). "
     "Ohne die Option die in Kalmoria gewählte Sprache, sonst die des Locales."},
    {CliText::ArgumentCommand, "search, info, read, write, diff, restore, doctor, backup or report.",
     "search, info, read, write, diff, restore, doctor, backup oder report."},
    {CliText::ArgumentFile, "The link file of write, diff and restore; report: the one to report.",
     "Die Verknüpfungsdatei von write, diff und restore; report: die, über die berichtet wird."},
    {CliText::UnknownOption, "unknown option %1", "unbekannte Option %1"},
    {CliText::MissingValue, "%1 needs a value", "%1 braucht einen Wert"},
    {CliText::UnexpectedValue, "%1 takes no value", "%1 nimmt keinen Wert"},
    {CliText::CommandMissing, "a command is missing", "es fehlt ein Befehl"},
    {CliText::UnknownCommand, "unknown command \"%1\"", "unbekannter Befehl \"%1\""},
    {CliText::RestoreNeedsFile, "restore needs a snapshot file, --last or --list",
     "restore braucht eine Sicherungsdatei, --last oder --list"},
    {CliText::NeedsLinkFile, "%1 needs a link file", "%1 braucht eine Verknüpfungsdatei"},
    {CliText::UnexpectedArgument, "unexpected argument \"%1\"", "unerwartetes Argument \"%1\""},
    {CliText::LastAndList, "--last and --list do not go together", "--last und --list gehen nicht zusammen"},
    {CliText::OptionNotWithCommand, "%1 does not go with %2", "%1 geht nicht mit %2"},
    {CliText::JsonNotWithOutput, "--json prints the links; it does not go with --output",
     "--json gibt die Verknüpfungen aus; es geht nicht mit --output"},
    {CliText::PortMoreThanOnce, "--port is given more than once; only backup takes several",
     "--port ist mehrmals angegeben; nur backup nimmt mehrere"},
    {CliText::PortNotValid, "--port takes a COM number from 1 to %1, a device path or a network port, not \"%2\"",
     "--port nimmt eine COM-Nummer von 1 bis %1, einen Gerätepfad oder einen Netzwerkport, nicht \"%2\""},
    {CliText::BackupNeedsDir, "backup needs the folder to save to: --dir DIR",
     "backup braucht den Ordner, in den gespeichert wird: --dir ORDNER"},
    {CliText::BackupNeedsStations, "backup needs the stations: --port P (once for each) or --stations FILE",
     "backup braucht die Stationen: --port P (einmal je Station) oder --stations DATEI"},
    {CliText::StationsNeedsFile, "--stations needs a file name", "--stations braucht einen Dateinamen"},
    {CliText::MetricsNeedsFile, "--metrics needs a file name", "--metrics braucht einen Dateinamen"},
    {CliText::JobsOutOfRange, "--jobs takes a number from 1 to %1, not \"%2\"",
     "--jobs nimmt eine Zahl von 1 bis %1, nicht \"%2\""},
    {CliText::ReportNeedsOutput, "report needs the PDF file to write: -o FILE.pdf",
     "report braucht die zu schreibende PDF-Datei: -o DATEI.pdf"},
    {CliText::CaptureNeedsFile, "--capture needs a file name", "--capture braucht einen Dateinamen"},
    {CliText::OutputNeedsFile, "--output needs a file name", "--output braucht einen Dateinamen"},
    {CliText::RetriesOutOfRange, "--retries takes a number from 0 to %1, not \"%2\"",
     "--retries nimmt eine Zahl von 0 bis %1, nicht \"%2\""},
    {CliText::LangUnknown, "--lang takes one of %1, not \"%2\"", "--lang nimmt eine von %1, nicht \"%2\""},
    {CliText::OutputReplacesInput, "%1 \"%2\" would replace %3 \"%4\" the command reads",
     "%1 \"%2\" würde %3 \"%4\" ersetzen, die der Befehl liest"},
    {CliText::OutputsNameOneFile, "%1 and %2 name the same file \"%3\"", "%1 und %2 nennen dieselbe Datei \"%3\""},
    {CliText::TheLinkFile, "the link file", "die Verknüpfungsdatei"},
    {CliText::TheStationList, "the station list", "die Stationsliste"},
}};

constexpr bool inOrder()
{
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        if (static_cast<std::size_t>(kTexts[i].id) != i || kTexts[i].english == nullptr || kTexts[i].german == nullptr)
            return false;
    }
    return true;
}
static_assert(inOrder(), "each text has its row, in the order of CliText");

// German until told otherwise: the default language file speaks it.
bool g_german = true;

} // namespace

void SetCommandLineLanguage(const std::string& code)
{
    g_german = code.size() == 2 && (code[0] == 'd' || code[0] == 'D') && (code[1] == 'e' || code[1] == 'E');
}

QString CommandLineText(CliText id, bool german)
{
    const Row& row = kTexts[static_cast<std::size_t>(id)];
    return QString::fromUtf8(german ? row.german : row.english);
}

QString CommandLineText(CliText id)
{
    return CommandLineText(id, g_german);
}

std::string ErrorLinePrefix()
{
    return "kalmoria-cli: " + CommandLineText(CliText::ErrorPrefix).toStdString() + ": ";
}

std::string WarningLinePrefix()
{
    return "kalmoria-cli: " + CommandLineText(CliText::WarningPrefix).toStdString() + ": ";
}
