#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryFile>

#include <string>

// The simulated central device as a child process: started on a device image,
// ready once it has printed the pseudo-terminal to open, ended by its pid.
// It also ends when the test process dies, so a crashed test leaves no
// simulator behind.
class QmxSim {
public:
    // Serves `imagePath` (empty: the demo device beside the program) at full
    // speed unless `options` holds "--paced"; other options go to qmx-sim
    // as they are. Returns once the first line of output has come, or the
    // simulator has ended without one.
    explicit QmxSim(const std::string& imagePath, const QStringList& options = {});
    ~QmxSim();

    QmxSim(const QmxSim&) = delete;
    QmxSim& operator=(const QmxSim&) = delete;

    // The line to open (the first line of output); empty when the simulator
    // did not come up.
    const std::string& path() const { return m_path; }

    // Sends SIGTERM and waits: the exit code, or -1 when it had to be killed
    // or did not end normally.
    int stop();
    // Waits for a simulator that ends by itself (on --help or a mistake):
    // the exit code, or -1.
    int exitCode();
    // Everything it has written to standard error so far; the destructor
    // passes it on to the test's own.
    std::string errorOutput() const;

    // Folder of the program and its tools.
    static std::string binDir();

private:
    QTemporaryFile m_errors; // standard error goes to a file: a pipe nobody reads could stall it
    QProcess m_process;
    std::string m_path;
};
