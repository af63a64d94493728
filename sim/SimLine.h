#pragma once

// The simulator's end of the serial line: the master side of a new
// pseudo-terminal, or a real serial port.

#include <string>

namespace qmxsim {

class SimLine {
public:
    SimLine() = default;
    ~SimLine();
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;

    // A new pseudo-terminal; path() is the side a client opens. The simulator
    // keeps that side open as well, so a client may close and reopen it
    // between device sequences without the line going away.
    bool openPseudoTerminal(std::string& error);
    // A serial port, exclusive, raw 9600 bps 8N1 without flow control.
    bool openSerialPort(const std::string& path, std::string& error);

    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    bool isPseudoTerminal() const { return m_clientSide >= 0; }

private:
    int m_fd = -1;
    int m_clientSide = -1;
    std::string m_path;
};

} // namespace qmxsim
