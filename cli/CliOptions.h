#pragma once

// The command line of kalmoria-cli.

#include <QStringList>

#include <optional>
#include <string>
#include <variant>

enum class Command { Search, Info, Read, Write, Diff, Restore, Doctor, Backup, Report };

struct CliOptions {
    Command command = Command::Search;
    // File names are the bytes of the command line (see diag/ArgumentBytes.h).
    std::string file;   // the link file of write, diff and restore; report: the one reported, if any
    std::string output; // read -o: the link file to write; empty: print the links. report -o: the PDF
    // --port: a COM number (1..16) or, when not 0, a device path.
    int portNumber = 0;
    std::string portPath;
    bool json = false;
    bool yes = false;
    bool verify = true;
    // write, restore: write links the editor would not allow; with --yes,
    // write to another station or one lacking the links' modules; write,
    // diff: take the links before a gap; read: replace the file that -o
    // names under another name.
    bool force = false;
    bool last = false;  // restore: the station's newest snapshot
    bool list = false;  // restore: list the station's snapshots
    bool fast = false;
    bool quiet = false;
    int retries = 2; // --retries: how often a failed transfer is repeated
    // --capture: the pcapng file of the register traffic.
    std::string capture;
    // backup: the ports of --port as typed, in their order (each one a port
    // that --port takes), the station list of --stations, the folder of
    // --dir and how many stations are read at a time (0: every station at
    // once, up to kMaxBackupJobs).
    QStringList ports;
    std::string stations;
    std::string dir;
    int jobs = 0;
    std::string metrics; // backup --metrics: the metrics file; empty: none
    bool onlyChanged = false; // backup --only-changed: no new file for a station without change
    std::string language; // --lang: the language code asked for, in lower case; empty: none

    bool portGiven() const { return portNumber != 0 || !portPath.empty(); }
};

// The options, or the exit code to end with at once: 0 after --help or
// --version (printed to standard output), 1 after a mistake (one line on
// standard error), both in the language of CommandLineText. `arguments`
// starts with the program name, each made by ArgumentText; `languages` are
// the codes --lang takes, in lower case.
std::variant<CliOptions, int> ParseCommandLine(const QStringList& arguments, const QStringList& languages);

// The language code the last --lang of `arguments` asks for, in lower case;
// empty without one. Looked up before the command line is parsed, so that
// the help and the mistakes in it speak that language.
QString RequestedLanguage(const QStringList& arguments);

// Whether `text` is a port that --port takes; when it is, `options` holds
// it as --port would leave it (portNumber or portPath).
bool ParsePortText(const QString& text, CliOptions& options);

// The highest --jobs: a thread for each station read at once.
inline constexpr int kMaxBackupJobs = 64;
