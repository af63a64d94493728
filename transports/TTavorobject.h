#pragma once

#include "transports/Line.h"

#include <cstdint>
#include <memory>
#include <string>

class QSerialPort;

// One RS232 port, used synchronously: the serial object, the line to a
// device file (see Line.h for what every line does). It knows nothing of the
// register protocol above it.
class TTavorobject : public Line {
public:
    TTavorobject();
    ~TTavorobject() override;
    TTavorobject(const TTavorobject&) = delete;
    TTavorobject& operator=(const TTavorobject&) = delete;

    // Opens COM `port` at the device file `path` exclusively (see
    // LineLock.h); see Line::OpenPortAt. A port that is absent, unmapped or
    // in use gives false and leaves the reason in OpenProblem.
    bool OpenPortAt(int32_t port, const std::string& path, int32_t baud, char parity) override;
    // Drops RTS and DTR and closes, if open; always leaves PortNumber and Baud 0.
    void ClosePort() override;
    void SetLines(bool rts, bool dtr);
    int32_t ReadChunk(int32_t maxBytes) override;
    void SendString(const std::string& data) override;
    bool InputWaiting() override;

    std::unique_ptr<QSerialPort> Handle;
    bool Rts = false;
    bool Dtr = false;

private:
    bool openAndConfigure(int32_t port, const std::string& path, int32_t baud, char parity);
    bool waitForByte(int msecs);
};
