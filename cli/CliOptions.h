#pragma once

// The command line of kalmoria-cli.

#include <QStringList>

#include <optional>
#include <string>
#include <variant>

enum class Command { Search, Info, Read, Write, Diff, Restore };

struct CliOptions {
    Command command = Command::Search;
    std::string file;   // the link file of write, diff and restore
    std::string output; // read -o: the link file to write; empty: print the links
    // --port: a COM number (1..16) or, when not 0, a device path.
    int portNumber = 0;
    std::string portPath;
    bool json = false;
    bool yes = false;
    bool verify = true;
    bool force = false; // links the editor would not allow; with --yes: another station, or one lacking modules
    bool last = false;  // restore: the station's newest snapshot
    bool list = false;  // restore: list the station's snapshots
    bool fast = false;
    bool quiet = false;

    bool portGiven() const { return portNumber != 0 || !portPath.empty(); }
};

// The options, or the exit code to end with at once: 0 after --help or
// --version (printed to standard output), 1 after a mistake (one line on
// standard error). `arguments` starts with the program name.
std::variant<CliOptions, int> ParseCommandLine(const QStringList& arguments);
