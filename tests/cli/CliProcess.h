#pragma once

#include "tests/common/StationBuilder.h"
#include "tests/common/TempDir.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// kalmoria-cli as a child process, with a settings folder and a working
// folder of its own, as a script on a service laptop would run it.
class CliProcess {
public:
    struct Result {
        int exitCode = -1; // -1: it did not end normally
        std::string out;   // standard output, UTF-8
        std::string err;   // standard error, UTF-8
        std::vector<std::string> errorLines() const;
    };

    // How standard input looks to the program.
    enum class Input {
        Closed,   // an empty pipe: not a terminal
        Terminal, // a pseudo-terminal on which `answer` is typed
    };

    // Runs `kalmoria-cli arguments` to its end.
    Result run(const QStringList& arguments, Input input = Input::Closed, const std::string& answer = {}) const;

    // The settings file of the child, Kalmoria.ini.
    void writeSettings(const std::string& ini) const { m_config.write("Kalmoria.ini", ini); }
    // XDG_DATA_HOME of the program: the snapshots of the stations live below it.
    std::string dataHome() const { return m_config.file("data"); }

    TempDir files; // its working folder, where the tests keep link files
    // Its locale: none unless set here ("LANG", "en_US.UTF-8"), so that it
    // speaks the default language whatever the machine's locale.
    std::vector<std::pair<QString, QString>> locale;
    std::string program; // the built program unless set
    // Called with the child's process id once it runs, before run() waits
    // for its end: to send it a signal at the right moment.
    std::function<void(qint64 pid)> whileRunning;
    // The largest file the child may write (ulimit -f), in bytes; 0: no limit of ours.
    long fileSizeLimit = 0;

private:
    TempDir m_config;
};

// The 252 registers of the device's link area behind `path`, read with the
// program's own client; empty when the device does not answer.
std::vector<uint16_t> ReadLinkArea(const std::string& path);

// The station of the CLI tests, without links: a QMX-620 with serial number
// 4242 at bus address 30, an SK40F at 7 (a name beyond ASCII) and a
// VLN-300/DA3 at 12.
StationBuilder cliStation();
