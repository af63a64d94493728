#pragma once

#include "transports/TcpLine.h"
#include "transports/Telnet.h"

#include <string>
#include <string_view>

// A port of a serial device server that speaks Telnet with the COM port
// option (rfc2217://HOST:PORT, ser2net's "telnet(rfc2217)" accepter). At
// connect the options are negotiated and the line is set to the open's baud
// rate and parity with 8 data bits, 1 stop bit and no flow control; the
// port opens only when the server has confirmed each setting. Each transfer
// begins with a purge of the server's buffers, so that nothing stale from
// the device or for it is left there. Data bytes 0xFF travel as IAC IAC.
// A subnegotiation longer than telnet::Session::LongestSubnegotiation ends
// the connection: the server would otherwise hold the line for ever.
class Rfc2217Line : public TcpLine {
public:
    Rfc2217Line() = default;
    ~Rfc2217Line() override = default;

    void BeginTransfer() override;

protected:
    bool startSession(std::string& reason) override;
    std::string decode(std::string_view received) override;
    std::string encode(std::string_view data) override;

private:
    telnet::Session m_session;
};
