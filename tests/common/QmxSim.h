#pragma once

#include <QProcess>
#include <QStringList>

#include <string>

// The simulated central device as a child process: started on a device image,
// ready once it has printed the pseudo-terminal to open, ended by its pid.
class QmxSim {
public:
    // Answers at full speed unless `options` asks otherwise.
    explicit QmxSim(const std::string& imagePath, const QStringList& options = {});
    ~QmxSim();

    QmxSim(const QmxSim&) = delete;
    QmxSim& operator=(const QmxSim&) = delete;

    // The line to open; empty when the simulator did not come up.
    const std::string& path() const { return m_path; }

    // Folder of the program and its tools.
    static std::string binDir();

private:
    QProcess m_process;
    std::string m_path;
};
