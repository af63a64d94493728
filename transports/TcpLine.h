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
// name must be looked up and the connection made within the same time. A
// connection that is refused, not made in time, or that breaks while the
// port is open is told in OpenProblem / LostReason in the system's words;
// reads on a broken one return at once. A server that greets with a Telnet
// negotiation is a Telnet port, and the connection is lost with that word.
// At most Line::MaxBufferedBytes of what the server sends wait here unread;
// what it sends beyond that waits in the network until they are read.
// No lock is taken: the server decides who may connect.
class TcpLine : public Line {
public:
    TcpLine() = default;
    ~TcpLine() override;

    bool EndsRepliesWhenWhole() const override { return true; }
    int32_t FirstByteTimeout(int32_t) const override { return m_address.timeoutMs; }
    std::string Server() const override { return m_address.endpoint(); }
    bool WaitsOnceForFirstByte() const override { return true; }

    // The address of the port last opened (or tried).
    const PortAddress& Address() const { return m_address; }

protected:
    // `path` is the network address (see PortAddress.h); Baud and Dcb are
    // kept for the record (a raw port runs as its server is set up).
    bool openLine(const std::string& path) override;
    std::string openLogNote(const std::string& path) const override { return "  " + path; }
    void closeLine() override;
    // Readable is not yet data: bytes that carry none (a Telnet
    // negotiation) are taken, and the wait goes on.
    Wait waitReadable(int ms) override;
    void readWaiting(int32_t most) override;
    void writeBytes(const std::string& data) override;

    // After the connection is made: what this kind must agree with the
    // server before the port counts as open, within what is left of the
    // time-out the connect began with (msLeft). False with `reason` set when
    // it fails. Nothing for raw bytes.
    virtual bool startSession(std::string& reason);
    // Bytes from the server into data; answers to the server may be sent.
    virtual std::string decode(std::string_view received);
    // Data into bytes for the server.
    virtual std::string encode(std::string_view data);

    // Writes `bytes` as they are; false when the connection failed.
    bool writeRaw(std::string_view bytes);
    // While the session begins: waits once, up to `ms`, for bytes from the
    // server and takes what came; data before the port is open is dropped.
    void receiveFor(int ms);
    // Milliseconds left of the time-out the connect began with.
    int msLeft() const;
    bool lost() const { return !LostReason.empty(); }
    // The connection counts as gone from now on, for `reason`.
    void noteLoss(const std::string& reason);

private:
    bool connect();
    // Takes what the socket holds, without waiting, as far as there is room;
    // true when data waits.
    bool takeReceived();
    // One wait of up to `ms` for `fd` to be ready for `events`.
    static Wait pollFor(int fd, short events, int ms);
    void acknowledgeAtOnce();

    int m_fd = -1;
    PortAddress m_address;
    std::string m_input;    // data received and decoded, not yet read
    std::string m_greeting; // the first two bytes of the connection
    int64_t m_deadline = 0; // of the lookup, the connect and the session start, steady clock in ms
};
