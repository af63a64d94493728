#pragma once

// The client's end of a Telnet connection with the COM port option (RFC 854,
// RFC 855, RFC 856, RFC 2217), as bytes only: no socket here, so every rule
// can be tested on its own. The RFC 2217 line (Rfc2217Line.h) puts it on a
// TCP connection.
//
// Data bytes 0xFF travel doubled (IAC IAC) both ways; a CR travels as CR NUL
// while that direction is not binary. Options are negotiated the RFC 1143
// way, so that no answer ever loops: this end wants to send binary, to
// suppress go-ahead and to control the COM port, and wants the server to send
// binary and suppress go-ahead; every other option either side offers or asks
// for is refused once.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace telnet {

constexpr uint8_t IAC = 255;
constexpr uint8_t DONT = 254;
constexpr uint8_t DO = 253;
constexpr uint8_t WONT = 252;
constexpr uint8_t WILL = 251;
constexpr uint8_t SB = 250;
constexpr uint8_t SE = 240;

constexpr uint8_t BINARY = 0;
constexpr uint8_t ECHO = 1;
constexpr uint8_t SGA = 3;
constexpr uint8_t COM_PORT_OPTION = 44;

// RFC 2217 commands, client to server; the server answers each with the
// same code plus 100 and the value it now uses.
constexpr uint8_t SET_BAUDRATE = 1;
constexpr uint8_t SET_DATASIZE = 2;
constexpr uint8_t SET_PARITY = 3;
constexpr uint8_t SET_STOPSIZE = 4;
constexpr uint8_t SET_CONTROL = 5;
constexpr uint8_t PURGE_DATA = 12;
constexpr uint8_t ServerOffset = 100;

constexpr uint8_t PARITY_NONE = 1;
constexpr uint8_t PARITY_ODD = 2;
constexpr uint8_t PARITY_EVEN = 3;
constexpr uint8_t STOPSIZE_1 = 1;
constexpr uint8_t CONTROL_NO_FLOW = 1;
// PURGE_DATA: the server's buffer of bytes from the device, of bytes to the
// device, or both.
constexpr uint8_t PURGE_RECEIVE = 1;
constexpr uint8_t PURGE_TRANSMIT = 2;
constexpr uint8_t PURGE_BOTH = 3;

class Session {
public:
    enum class State : uint8_t { No, WantYes, Yes };

    // The requests that open the negotiation: WILL and DO BINARY, WILL and DO
    // SGA, WILL COM-PORT-OPTION.
    std::string Opening();

    // Takes bytes as they came from the server, in any pieces: returns the
    // data among them. Answers the negotiation wants sent go to Answers().
    std::string Receive(std::string_view bytes);
    // The negotiation answers gathered since the last call, to be sent now.
    std::string TakeAnswers();

    // `data` as it must go on the connection: IAC doubled, and CR followed by
    // NUL while this end does not send binary.
    std::string Escape(std::string_view data) const;

    // IAC SB COM-PORT-OPTION command value IAC SE, the value escaped.
    static std::string ComPortCommand(uint8_t command, std::string_view value);
    // The five commands that set `baud` bps, 8 data bits, `parity` ('e'/'E'
    // even, 'o'/'O' odd, else none), 1 stop bit and no flow control.
    static std::string LineSettings(int32_t baud, char parity);
    // The values the server must confirm for LineSettings: by command.
    static std::array<std::pair<uint8_t, std::string>, 5> ExpectedLineAnswers(int32_t baud, char parity);
    // Purges the server's buffers (PURGE_RECEIVE, PURGE_TRANSMIT, PURGE_BOTH).
    static std::string Purge(uint8_t which);

    // Where an option stands: on this end (WILL/WONT), or on the server's (DO/DONT).
    State Ours(uint8_t option) const { return m_ours[option]; }
    State Theirs(uint8_t option) const { return m_theirs[option]; }
    // Every request of Opening() answered, one way or the other.
    bool Settled() const;
    // The server's last answer to COM port command `command` (1..12): the
    // value it sent, or nothing yet.
    const std::optional<std::string>& Answer(uint8_t command) const;
    void ForgetAnswers();

    // No subnegotiation a client needs is longer: a server that sends one
    // that is has none to end it, and is not listened to further.
    static constexpr size_t LongestSubnegotiation = 4096;
    // Whether the subnegotiation now open has gone on for more than
    // LongestSubnegotiation bytes.
    bool Overrun() const { return m_subLength > LongestSubnegotiation; }

private:
    enum class Parse : uint8_t { Data, Cr, Iac, Verb, Sub, SubIac };

    static bool weWant(uint8_t option);
    static bool weWantTheirs(uint8_t option);
    void request(uint8_t verb, uint8_t option);
    void negotiate(uint8_t verb, uint8_t option);
    void subnegotiation();
    void answer(uint8_t verb, uint8_t option);

    std::array<State, 256> m_ours{};
    std::array<State, 256> m_theirs{};
    Parse m_parse = Parse::Data;
    uint8_t m_verb = 0;
    std::string m_sub;
    size_t m_subLength = 0; // bytes of the open subnegotiation, 0 when none is
    std::string m_answers;
    std::array<std::optional<std::string>, 13> m_comPortAnswers{};
};

} // namespace telnet
