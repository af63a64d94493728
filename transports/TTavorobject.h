#pragma once

#include "transports/Line.h"

#include <cstdint>
#include <memory>
#include <string>

class QSerialPort;

// One RS232 port, used synchronously: the serial object, the line to a
// device file (see Line.h for what every line does). It knows nothing of the
// register protocol above it.
//
// It opens the device file exclusively (see LineLock.h): a port that is
// absent, unmapped or in use does not open, with the reason in OpenProblem.
// Closing drops RTS and DTR first.
class TTavorobject : public Line {
public:
    TTavorobject();
    ~TTavorobject() override;
    TTavorobject(const TTavorobject&) = delete;
    TTavorobject& operator=(const TTavorobject&) = delete;

    void SetLines(bool rts, bool dtr);

    std::unique_ptr<QSerialPort> Handle;
    bool Rts = false;
    bool Dtr = false;

protected:
    bool openLine(const std::string& path) override;
    void closeLine() override;
    void writeBytes(const std::string& data) override;
    void readWaiting(int32_t most) override;
    Wait waitReadable(int ms) override;
};
