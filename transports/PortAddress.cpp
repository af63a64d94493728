#include "transports/PortAddress.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

constexpr std::string_view SchemeEnd = "://";

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// A decimal number of digits only, within [low, high].
bool parseNumber(std::string_view digits, int64_t low, int64_t high, int64_t& value)
{
    if (digits.empty() || digits.size() > 9
        || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value >= low && value <= high;
}

bool hostCharacter(char c, bool bracketed)
{
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) || c == '.' || c == '-' || c == '_')
        return true;
    // An IPv6 address, with a zone ("fe80::1%eth0") where it needs one.
    return bracketed && (c == ':' || c == '%');
}

// HOST:PORT or [HOST]:PORT into the address; false with the error set.
bool parseEndpoint(std::string_view authority, PortAddress& address)
{
    std::string_view host;
    std::string_view rest;
    const bool bracketed = !authority.empty() && authority.front() == '[';
    if (bracketed) {
        const size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            address.error = "the IPv6 address lacks its closing bracket";
            return false;
        }
        host = authority.substr(1, close - 1);
        rest = authority.substr(close + 1);
    } else {
        const size_t colon = authority.rfind(':');
        host = authority.substr(0, colon == std::string_view::npos ? authority.size() : colon);
        rest = colon == std::string_view::npos ? std::string_view() : authority.substr(colon);
        if (host.find(':') != std::string_view::npos) {
            address.error = "an IPv6 address goes in brackets, as in [fe80::1]:4001";
            return false;
        }
    }
    if (host.empty()) {
        address.error = "the host is missing";
        return false;
    }
    if (!std::all_of(host.begin(), host.end(), [bracketed](char c) { return hostCharacter(c, bracketed); })) {
        address.error = "the host \"" + std::string(host) + "\" is not a name or an address";
        return false;
    }
    if (rest.empty() || rest.front() != ':' || rest.size() == 1) {
        address.error = "the port number is missing (HOST:PORT)";
        return false;
    }
    int64_t port = 0;
    if (!parseNumber(rest.substr(1), 1, 65535, port)) {
        address.error = "the port number must be a number from 1 to 65535, not \"" + std::string(rest.substr(1)) + "\"";
        return false;
    }
    address.host = std::string(host);
    address.port = static_cast<uint16_t>(port);
    return true;
}

// "timeout=MS", the only option there is, once.
bool parseOptions(std::string_view query, PortAddress& address)
{
    constexpr std::string_view Timeout = "timeout=";
    bool given = false;
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view option = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (option.size() < Timeout.size() || !equalsIgnoringCase(option.substr(0, Timeout.size()), Timeout)) {
            address.error = "unknown option \"" + std::string(option) + "\" (only timeout=MS)";
            return false;
        }
        if (given) {
            address.error = "the time-out is given twice";
            return false;
        }
        given = true;
        int64_t ms = 0;
        if (!parseNumber(option.substr(Timeout.size()), 1, PortAddress::MaxTimeoutMs, ms)) {
            address.error = "the time-out must be a number of milliseconds from 1 to "
                + std::to_string(PortAddress::MaxTimeoutMs) + ", not \"" + std::string(option.substr(Timeout.size()))
                + "\"";
            return false;
        }
        address.timeoutMs = static_cast<int32_t>(ms);
    }
    return true;
}

} // namespace

std::string PortAddress::endpoint() const
{
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

bool IsNetworkPort(std::string_view text)
{
    return text.find(SchemeEnd) != std::string_view::npos;
}

PortAddress ParsePortAddress(std::string_view text)
{
    PortAddress address;
    address.text = std::string(text);
    const size_t schemeEnd = text.find(SchemeEnd);
    if (schemeEnd == std::string_view::npos)
        return address;

    const std::string_view scheme = text.substr(0, schemeEnd);
    if (equalsIgnoringCase(scheme, "tcp")) {
        address.kind = PortAddress::Kind::Tcp;
    } else if (equalsIgnoringCase(scheme, "rfc2217")) {
        address.kind = PortAddress::Kind::Rfc2217;
    } else {
        // Still a network address, one that cannot be served.
        address.kind = PortAddress::Kind::Tcp;
        address.error = "unknown kind of port \"" + std::string(scheme) + "://\" (tcp:// or rfc2217://)";
        return address;
    }
    std::string_view rest = text.substr(schemeEnd + SchemeEnd.size());
    const size_t question = rest.find('?');
    const std::string_view query = question == std::string_view::npos ? std::string_view() : rest.substr(question + 1);
    rest = rest.substr(0, question);
    if (rest.find('/') != std::string_view::npos) {
        address.error = "nothing but ?timeout=MS may follow HOST:PORT";
        return address;
    }
    if (!parseEndpoint(rest, address))
        return address;
    if (question != std::string_view::npos && query.empty()) {
        address.error = "an option must follow the \"?\" (timeout=MS)";
        return address;
    }
    parseOptions(query, address);
    return address;
}
