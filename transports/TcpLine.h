#pragma once

#include "transports/Line.h"
#include "transports/PortAddress.h"

#include <cstdint>
#include <string>
#include <string_view>

// A port of a serial device server reached over TCP, raw bytes both ways
// (tcp://HOST:PORT, ser2net's plain "tcp" accepter). Used synchronously like
// the serial object, on the calling thread, so probes may run side by side.
//
// Replies end as soon as they are whole, and the first byte of one is waited
// for the address's time-out (1.5 s unless "?timeout=MS" says otherwise); the
// connection must be made within the same time. A connection that is
// refused, not made in time, or that breaks while the port is open is told
// in OpenProblem / LostReason in the system's words; reads on a broken one
// return at once. No lock is taken: the server decides who may connect.
class TcpLine : public Line {
public:
    TcpLine() = default;
    ~TcpLine() override;

    // `path` is the network address (see PortAddress.h); baud and parity
    // are kept for the record (a raw port runs as its server is set up).
    bool OpenPortAt(int32_t port, const std::string& path, int32_t baud, char parity) override;
    void ClosePort() override;
    int32_t ReadChunk(int32_t maxBytes) override;
    void SendString(const std::string& data) override;
    bool InputWaiting() override;
    bool EndsRepliesWhenWhole() const override { return true; }
    int32_t FirstByteTimeout(int32_t) const override { return m_address.timeoutMs; }
    std::string Server() const override { return m_address.endpoint(); }
    bool WaitsOnceForFirstByte() const override { return true; }

    // The address of the port last opened (or tried).
    const PortAddress& Address() const { return m_address; }

protected:
    // After the connection is made: what this kind must agree with the
    // server before the port counts as open, within what is left of the
    // time-out the connect began with (msLeft). False with `reason` set when
    // it fails. Nothing for raw bytes.
    virtual bool startSession(int32_t baud, char parity, std::string& reason);
    // Bytes from the server into data; answers to the server may be sent.
    virtual std::string decode(std::string_view received);
    // Data into bytes for the server.
    virtual std::string encode(std::string_view data);

    // Writes `bytes` as they are; false when the connection failed.
    bool writeRaw(std::string_view bytes);
    // Waits once, up to `ms`, for bytes from the server and takes what came.
    void receiveFor(int ms);
    // Milliseconds left of the time-out the connect began with.
    int msLeft() const;
    bool lost() const { return !LostReason.empty(); }

private:
    bool connectAndStart(int32_t port, int32_t baud, char parity);
    // Takes what the socket holds, without waiting; true when data waits.
    bool takeReceived();
    // Waits up to `ms` until data waits; false after the time, or at once
    // when the connection is gone.
    bool awaitData(int ms);
    // Waits up to `ms` for the socket to be ready for `events`, letting the
    // window repaint between slices; false after the time or on a failure.
    bool waitFor(short events, int ms);
    void noteLoss(const std::string& reason);
    void acknowledgeAtOnce();

    int m_fd = -1;
    PortAddress m_address;
    std::string m_input;    // data received and decoded, not yet read
    int64_t m_deadline = 0; // of the connect and the session start, steady clock in ms
};
