#pragma once

#include <QProcess>
#include <QStringList>

#include <string>

// A running qmx-sim from the build's bin folder. The constructor returns once
// the simulator has printed its first line (the port to open), or has ended
// without one; the destructor ends it by its process id.
class SimProcess {
public:
    explicit SimProcess(const QStringList& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The port path from the first line; empty when the simulator did not start.
    const std::string& path() const { return m_path; }
    // Sends SIGTERM and waits; the exit code, or -1 when it had to be killed.
    int stop();
    // Waits for a simulator that ends by itself; the exit code, or -1.
    int exitCode();
    QByteArray errorOutput() { return m_process.readAllStandardError(); }

    static QString binary();

private:
    QProcess m_process;
    std::string m_path;
};
