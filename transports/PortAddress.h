#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Where a port leads, as the port table (Kalmoria.ini, [Schnittstellen]) or
// kalmoria-cli --port gives it: a device file ("/dev/ttyUSB0"), or a port of
// a serial device server such as ser2net:
//   tcp://HOST:PORT       raw bytes
//   rfc2217://HOST:PORT   Telnet with the COM port option (RFC 2217)
// either with an optional "?timeout=MS" (once), the time-out to the first
// byte of a reply (and of the name lookup and the connection). HOST is a name, an IPv4 address or an IPv6
// address in brackets ("[fe80::1]").
struct PortAddress {
    enum class Kind {
        DeviceFile,
        Tcp,
        Rfc2217,
    };

    // The first-byte time-out of a network port without "?timeout=".
    static constexpr int32_t DefaultTimeoutMs = 1500;
    static constexpr int32_t MaxTimeoutMs = 60000;

    Kind kind = Kind::DeviceFile;
    std::string text;  // as given
    std::string host;  // without brackets
    uint16_t port = 0;
    int32_t timeoutMs = DefaultTimeoutMs;
    // Why a network address cannot be used, in a few English words ("the
    // port number is missing"); empty when it can. A device file always can.
    std::string error;

    bool network() const { return kind != Kind::DeviceFile; }
    bool valid() const { return error.empty(); }
    // "10.0.0.7:4001", "[fe80::1]:4001": the server, as messages name it.
    std::string endpoint() const;
};

// What `text` names. Anything with "://" is taken for a network address, so
// a mistyped one is told as such instead of being looked for as a file.
PortAddress ParsePortAddress(std::string_view text);

// Whether `text` is meant as a network port (it has "scheme://"), valid or not.
bool IsNetworkPort(std::string_view text);
