#include "transports/Rfc2217Line.h"

#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"

#include <algorithm>

bool Rfc2217Line::startSession(std::string& reason)
{
    m_session = telnet::Session();
    // The server must agree to the options before any subnegotiation.
    if (!writeRaw(m_session.Opening()))
        return false;
    while (!m_session.Settled() && !lost() && msLeft() > 0)
        receiveFor(msLeft());
    if (lost())
        return false;
    if (!m_session.Settled()) {
        reason = "the server does not answer the Telnet negotiation (a raw TCP port is tcp://)";
        return false;
    }
    if (m_session.Ours(telnet::COM_PORT_OPTION) != telnet::Session::State::Yes) {
        reason = "the server refuses the COM port option of RFC 2217";
        return false;
    }

    if (!writeRaw(telnet::Session::LineSettings(Baud, Dcb.Parity)))
        return false;
    const auto expected = telnet::Session::ExpectedLineAnswers(Baud, Dcb.Parity);
    const auto allAnswered = [&] {
        return std::all_of(expected.begin(), expected.end(),
                           [this](const auto& setting) { return m_session.Answer(setting.first).has_value(); });
    };
    while (!allAnswered() && !lost() && msLeft() > 0)
        receiveFor(msLeft());
    if (lost())
        return false;
    for (const auto& [command, value] : expected) {
        const std::optional<std::string>& answer = m_session.Answer(command);
        if (!answer) {
            reason = "the server does not confirm the line settings (RFC 2217)";
            return false;
        }
        if (*answer != value) {
            reason = "the server does not take the line settings " + Dcb.ModeString + " (RFC 2217 command "
                + std::to_string(command) + " answered " + HexDump(*answer) + ")";
            return false;
        }
    }
    return true;
}

void Rfc2217Line::BeginTransfer()
{
    if (PortNumber > 0)
        writeRaw(telnet::Session::Purge(telnet::PURGE_BOTH));
}

std::string Rfc2217Line::decode(std::string_view received)
{
    std::string data = m_session.Receive(received);
    if (m_session.Overrun()) {
        noteLoss("the server sends a Telnet subnegotiation without end");
        return {};
    }
    // Whatever the server asks is answered at once.
    if (const std::string answers = m_session.TakeAnswers(); !answers.empty())
        writeRaw(answers);
    return data;
}

std::string Rfc2217Line::encode(std::string_view data)
{
    return m_session.Escape(data);
}
