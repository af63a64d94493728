#include "transports/TcpLine.h"

#include "transports/NameLookup.h"
#include "transports/Telnet.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr size_t ReceiveBlock = Line::MaxBufferedBytes;

std::string withinText(int ms)
{
    return "no connection within " + std::to_string(ms) + " ms";
}

} // namespace

TcpLine::~TcpLine()
{
    // Members of a derived kind are gone by now; what is left is the socket.
    ClosePort();
}

int TcpLine::msLeft() const
{
    return static_cast<int>(std::clamp<int64_t>(m_deadline - NowMs(), 0, PortAddress::MaxTimeoutMs));
}

bool TcpLine::openLine(const std::string& path)
{
    m_address = ParsePortAddress(path);
    OpenProblem.path = m_address.text;
    if (!m_address.network() || !m_address.valid()) {
        OpenProblem.cause = PortOpenProblem::Cause::BadAddress;
        OpenProblem.reason = m_address.network() ? m_address.error : "not a network address";
        return false;
    }
    OpenProblem.server = m_address.endpoint();
    m_deadline = NowMs() + m_address.timeoutMs;
    std::string sessionProblem;
    if (connect() && startSession(sessionProblem))
        return true;
    OpenProblem.cause = PortOpenProblem::Cause::NoConnection;
    if (OpenProblem.reason.empty())
        OpenProblem.reason = lost() ? LostReason : sessionProblem;
    if (DebugFlag())
        WriteErrLog("OpenPort: " + m_address.text + ": " + OpenProblem.reason);
    return false;
}

bool TcpLine::connect()
{
    // The name is looked up within the time-out too.
    const NameLookup lookup = LookUpWithin(m_address.host, m_address.port, msLeft());
    if (!lookup.addresses) {
        OpenProblem.reason = lookup.error;
        return false;
    }
    // Each address the name has, in turn, while time is left.
    std::string reason = withinText(m_address.timeoutMs);
    for (const addrinfo* a = lookup.addresses.get(); a != nullptr && m_fd < 0 && msLeft() > 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            reason = std::strerror(errno);
            continue;
        }
        int error = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
        if (error == EINPROGRESS) {
            const Wait waited = waitInSlices(msLeft(), [fd](int slice) { return pollFor(fd, POLLOUT, slice); });
            socklen_t length = sizeof error;
            if (waited != Wait::Ready)
                error = ETIMEDOUT;
            else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = errno;
        }
        if (error == 0) {
            m_fd = fd;
        } else {
            reason = error == ETIMEDOUT && msLeft() == 0 ? withinText(m_address.timeoutMs) : std::strerror(error);
            ::close(fd);
        }
    }
    if (m_fd < 0) {
        OpenProblem.reason = reason;
        return false;
    }
    // A request leaves at once, not when the next one comes along.
    const int on = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    acknowledgeAtOnce();
    return true;
}

bool TcpLine::startSession(std::string&)
{
    return true;
}

std::string TcpLine::decode(std::string_view received)
{
    // A Telnet server greets with a negotiation (IAC and a command), which a
    // raw line would take for data.
    if (m_greeting.size() < 2) {
        m_greeting += received.substr(0, 2 - m_greeting.size());
        if (m_greeting.size() == 2 && static_cast<uint8_t>(m_greeting[0]) == telnet::IAC
            && static_cast<uint8_t>(m_greeting[1]) >= telnet::SB && static_cast<uint8_t>(m_greeting[1]) < telnet::IAC) {
            noteLoss("the server speaks Telnet (an RFC 2217 port is rfc2217://)");
            return {};
        }
    }
    return std::string(received);
}

std::string TcpLine::encode(std::string_view data)
{
    return std::string(data);
}

void TcpLine::closeLine()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_input.clear();
    m_greeting.clear();
}

void TcpLine::acknowledgeAtOnce()
{
    // A server that holds back the rest of a long reply until its first part
    // is acknowledged (Nagle's rule, ser2net's default) would otherwise wait
    // for the delayed acknowledgement, some 40 ms, in the middle of each
    // reply. The system forgets this now and then, so it is said after
    // every read.
    const int on = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}

void TcpLine::noteLoss(const std::string& reason)
{
    if (!lost()) {
        LostReason = reason;
        if (DebugFlag())
            WriteErrLog("COM" + IntToText(PortNumber) + " " + m_address.endpoint() + ": " + reason);
    }
}

Line::Wait TcpLine::pollFor(int fd, short events, int ms)
{
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, ms);
    if (ready > 0)
        return Wait::Ready;
    return ready < 0 && errno != EINTR ? Wait::Failed : Wait::TimedOut;
}

Line::Wait TcpLine::waitReadable(int ms)
{
    if (takeReceived())
        return Wait::Ready;
    if (m_fd < 0 || lost())
        return Wait::Failed;
    const Wait waited = pollFor(m_fd, POLLIN, ms);
    if (waited != Wait::Ready)
        return waited;
    return takeReceived() ? Wait::Ready : lost() ? Wait::Failed : Wait::TimedOut;
}

bool TcpLine::takeReceived()
{
    // As a serial driver's input queue: what does not fit stays with the
    // server. Bytes that carry no data (a Telnet negotiation) are taken in
    // the same measure, so that this always returns.
    char block[ReceiveBlock];
    for (size_t taken = 0; m_fd >= 0 && !lost() && taken < ReceiveBlock && m_input.size() < MaxBufferedBytes;) {
        const size_t room = std::min(ReceiveBlock - taken, MaxBufferedBytes - m_input.size());
        const ssize_t got = ::recv(m_fd, block, room, 0);
        if (got > 0) {
            taken += static_cast<size_t>(got);
            acknowledgeAtOnce();
            m_input += decode(std::string_view(block, static_cast<size_t>(got)));
        } else if (got == 0) {
            noteLoss("the server closed the connection");
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            break;
        } else if (errno != EINTR) {
            noteLoss(std::strerror(errno));
        }
    }
    return !m_input.empty();
}

void TcpLine::receiveFor(int ms)
{
    if (m_fd < 0 || lost())
        return;
    waitInSlices(ms, [this](int slice) { return pollFor(m_fd, POLLIN, slice); });
    takeReceived();
    m_input.clear();
}

void TcpLine::readWaiting(int32_t most)
{
    const size_t taken = std::min(static_cast<size_t>(most), m_input.size());
    RxBuffer.append(m_input, 0, taken);
    m_input.erase(0, taken);
}

bool TcpLine::writeRaw(std::string_view bytes)
{
    if (m_fd < 0 || lost())
        return false;
    // A request is small; this only guards against a server that takes nothing.
    const int64_t end = NowMs() + m_address.timeoutMs;
    while (!bytes.empty()) {
        const ssize_t sent = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int64_t left = end - NowMs();
            if (left <= 0
                || waitInSlices(static_cast<int>(left), [this](int slice) { return pollFor(m_fd, POLLOUT, slice); })
                    != Wait::Ready) {
                noteLoss("the server takes no data");
                return false;
            }
        } else if (sent < 0 && errno != EINTR) {
            noteLoss(std::strerror(errno));
            return false;
        }
    }
    return true;
}

void TcpLine::writeBytes(const std::string& data)
{
    writeRaw(encode(data));
}
