#pragma once

#include "tests/common/QmxSim.h"
#include "tests/common/TempDir.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryFile>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

// ser2net (the Debian package) as a child process: serves one serial device
// on a free local TCP port, raw or with Telnet and RFC 2217, configured by a
// YAML file it writes, in the foreground. Ready once the port listens; ended
// by its pid, and when the test process dies.
class Ser2net {
public:
    enum class Mode { Raw, Rfc2217 };

    Ser2net(const std::string& devicePath, Mode mode);
    ~Ser2net();
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    // Whether it listens; false when ser2net is missing or did not start.
    bool ready() const { return m_ready; }
    uint16_t port() const { return m_port; }
    // What a user writes for it: "tcp://127.0.0.1:PORT" or "rfc2217://127.0.0.1:PORT".
    std::string address() const;
    // Ends the server (SIGTERM, then SIGKILL); its port then refuses connections.
    void stop();
    std::string errorOutput() const;

    // The ser2net program, empty when it is not installed.
    static std::string program();
    // A local TCP port nobody listens on at the moment of asking.
    static uint16_t freePort();

private:
    Mode m_mode;
    TempDir m_folder; // the configuration file
    QTemporaryFile m_errors;
    QProcess m_process;
    uint16_t m_port = 0;
    bool m_ready = false;
};

// How a test parameter of this kind is shown.
inline void PrintTo(Ser2net::Mode mode, std::ostream* out)
{
    *out << (mode == Ser2net::Mode::Raw ? "raw" : "RFC 2217");
}

// The simulated central device behind ser2net: qmx-sim on a pseudo-terminal
// (at full speed unless the options say "--paced"), ser2net in front of it.
// The shared fixture of the network-port tests.
class SimBehindSer2net {
public:
    SimBehindSer2net(const std::string& imagePath, Ser2net::Mode mode, const QStringList& simOptions = {});

    bool ready() const { return !m_sim->path().empty() && m_server->ready(); }
    // The port to give Kalmoria (Kalmoria.ini, --port).
    std::string address() const { return m_server->address(); }
    QmxSim& sim() { return *m_sim; }
    Ser2net& server() { return *m_server; }

private:
    std::unique_ptr<QmxSim> m_sim;
    std::unique_ptr<Ser2net> m_server;
};

// Skips the test when ser2net is not installed (scripts/setup.sh installs it).
#define KALMORIA_REQUIRE_SER2NET()                                                                                    \
    do {                                                                                                               \
        if (Ser2net::program().empty())                                                                                \
            GTEST_SKIP() << "ser2net is not installed (scripts/setup.sh installs it)";                                \
    } while (false)
