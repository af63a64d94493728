#include "transports/Telnet.h"

namespace telnet {

namespace {

constexpr char CR = '\r';
constexpr size_t MaxSubnegotiation = 256; // longer ones are cut: none we read is longer

char byte(uint8_t value)
{
    return static_cast<char>(value);
}

std::string parityValue(char parity)
{
    switch (parity) {
    case 'e':
    case 'E': return std::string(1, byte(PARITY_EVEN));
    case 'o':
    case 'O': return std::string(1, byte(PARITY_ODD));
    default: return std::string(1, byte(PARITY_NONE));
    }
}

std::string baudValue(int32_t baud)
{
    const auto b = static_cast<uint32_t>(baud);
    return {byte(static_cast<uint8_t>(b >> 24)), byte(static_cast<uint8_t>(b >> 16)),
            byte(static_cast<uint8_t>(b >> 8)), byte(static_cast<uint8_t>(b))};
}

} // namespace

bool Session::weWant(uint8_t option)
{
    return option == BINARY || option == SGA || option == COM_PORT_OPTION;
}

bool Session::weWantTheirs(uint8_t option)
{
    return option == BINARY || option == SGA;
}

void Session::answer(uint8_t verb, uint8_t option)
{
    m_answers += {byte(IAC), byte(verb), byte(option)};
}

void Session::request(uint8_t verb, uint8_t option)
{
    (verb == WILL ? m_ours : m_theirs)[option] = State::WantYes;
    answer(verb, option);
}

std::string Session::Opening()
{
    request(WILL, BINARY);
    request(DO, BINARY);
    request(WILL, SGA);
    request(DO, SGA);
    request(WILL, COM_PORT_OPTION);
    return TakeAnswers();
}

std::string Session::TakeAnswers()
{
    std::string answers;
    answers.swap(m_answers);
    return answers;
}

bool Session::Settled() const
{
    for (const uint8_t option : {BINARY, SGA, COM_PORT_OPTION}) {
        if (m_ours[option] == State::WantYes)
            return false;
    }
    return m_theirs[BINARY] != State::WantYes && m_theirs[SGA] != State::WantYes;
}

const std::optional<std::string>& Session::Answer(uint8_t command) const
{
    static const std::optional<std::string> none;
    return command < m_comPortAnswers.size() ? m_comPortAnswers[command] : none;
}

void Session::ForgetAnswers()
{
    m_comPortAnswers.fill(std::nullopt);
}

void Session::negotiate(uint8_t verb, uint8_t option)
{
    // RFC 1143: a request is answered only when it changes something, so two
    // ends that disagree never send each other the same refusal for ever.
    switch (verb) {
    case DO: {
        State& ours = m_ours[option];
        if (!weWant(option)) {
            answer(WONT, option);
        } else if (ours == State::No) {
            ours = State::Yes;
            answer(WILL, option);
        } else {
            ours = State::Yes; // the server agrees to what this end asked
        }
        break;
    }
    case DONT: {
        State& ours = m_ours[option];
        if (ours == State::Yes)
            answer(WONT, option);
        ours = State::No;
        break;
    }
    case WILL: {
        State& theirs = m_theirs[option];
        if (!weWantTheirs(option)) {
            answer(DONT, option);
        } else if (theirs == State::No) {
            theirs = State::Yes;
            answer(DO, option);
        } else {
            theirs = State::Yes;
        }
        break;
    }
    case WONT: {
        State& theirs = m_theirs[option];
        if (theirs == State::Yes)
            answer(DONT, option);
        theirs = State::No;
        break;
    }
    default: break;
    }
}

void Session::subnegotiation()
{
    // COM-PORT-OPTION, the server's code (command + 100), the value. Line and
    // modem state notices and a signature are of no use here.
    if (m_sub.size() < 2 || static_cast<uint8_t>(m_sub[0]) != COM_PORT_OPTION)
        return;
    const auto code = static_cast<uint8_t>(m_sub[1]);
    if (code > ServerOffset && code - ServerOffset < static_cast<int>(m_comPortAnswers.size()))
        m_comPortAnswers[code - ServerOffset] = m_sub.substr(2);
}

std::string Session::Receive(std::string_view bytes)
{
    std::string data;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        switch (m_parse) {
        case Parse::Cr:
            m_parse = Parse::Data;
            // CR NUL stands for a lone CR while the server does not send binary.
            if (b == 0)
                break;
            [[fallthrough]];
        case Parse::Data:
            if (b == IAC) {
                m_parse = Parse::Iac;
            } else {
                data += byte(b);
                if (b == static_cast<uint8_t>(CR) && m_theirs[BINARY] != State::Yes)
                    m_parse = Parse::Cr;
            }
            break;
        case Parse::Iac:
            if (b == IAC) {
                data += byte(IAC);
                m_parse = Parse::Data;
            } else if (b == WILL || b == WONT || b == DO || b == DONT) {
                m_verb = b;
                m_parse = Parse::Verb;
            } else if (b == SB) {
                m_sub.clear();
                m_subLength = 1;
                m_parse = Parse::Sub;
            } else {
                // NOP, data mark, go ahead and the like mean nothing here.
                m_parse = Parse::Data;
            }
            break;
        case Parse::Verb:
            negotiate(m_verb, b);
            m_parse = Parse::Data;
            break;
        case Parse::Sub:
            ++m_subLength;
            if (b == IAC)
                m_parse = Parse::SubIac;
            else if (m_sub.size() < MaxSubnegotiation)
                m_sub += byte(b);
            break;
        case Parse::SubIac:
            ++m_subLength;
            if (b == IAC) {
                if (m_sub.size() < MaxSubnegotiation)
                    m_sub += byte(IAC);
                m_parse = Parse::Sub;
            } else {
                // SE ends it; any other command ends it as well, and counts.
                subnegotiation();
                m_subLength = 0;
                m_parse = Parse::Data;
                if (b != SE) {
                    m_parse = Parse::Iac;
                    --i;
                }
            }
            break;
        }
    }
    return data;
}

std::string Session::Escape(std::string_view data) const
{
    const bool binary = m_ours[BINARY] == State::Yes;
    std::string escaped;
    escaped.reserve(data.size() + 8);
    for (const char c : data) {
        escaped += c;
        if (static_cast<uint8_t>(c) == IAC)
            escaped += byte(IAC);
        else if (c == CR && !binary)
            escaped += '\0';
    }
    return escaped;
}

std::string Session::ComPortCommand(uint8_t command, std::string_view value)
{
    std::string frame{byte(IAC), byte(SB), byte(COM_PORT_OPTION), byte(command)};
    for (const char c : value) {
        frame += c;
        if (static_cast<uint8_t>(c) == IAC)
            frame += byte(IAC);
    }
    frame += {byte(IAC), byte(SE)};
    return frame;
}

std::array<std::pair<uint8_t, std::string>, 5> Session::ExpectedLineAnswers(int32_t baud, char parity)
{
    return {{
        {SET_BAUDRATE, baudValue(baud)},
        {SET_DATASIZE, std::string(1, byte(8))},
        {SET_PARITY, parityValue(parity)},
        {SET_STOPSIZE, std::string(1, byte(STOPSIZE_1))},
        {SET_CONTROL, std::string(1, byte(CONTROL_NO_FLOW))},
    }};
}

std::string Session::LineSettings(int32_t baud, char parity)
{
    std::string commands;
    for (const auto& [command, value] : ExpectedLineAnswers(baud, parity))
        commands += ComPortCommand(command, value);
    return commands;
}

std::string Session::Purge(uint8_t which)
{
    return ComPortCommand(PURGE_DATA, std::string(1, byte(which)));
}

} // namespace telnet
