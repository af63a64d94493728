#include "transports/TcpLine.h"

#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <exception>
#include <memory>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int32_t SerialTrace = 8;  // debug bit of the frame trace
constexpr int32_t LowestBaud = 300; // below this the line runs at the default
constexpr int32_t DefaultBaud = 9600;
constexpr int32_t MaxChunk = 254;   // the most one read may ask for
constexpr int WaitSliceMs = 20;     // how often a waiting read lets the window repaint
constexpr size_t ReceiveBlock = 4096;

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string withinText(int ms)
{
    return "no connection within " + std::to_string(ms) + " ms";
}

struct AddressList {
    addrinfo* first = nullptr;
    ~AddressList()
    {
        if (first != nullptr)
            ::freeaddrinfo(first);
    }
};

} // namespace

TcpLine::~TcpLine()
{
    // Members of a derived kind are gone by now; what is left is the socket.
    TcpLine::ClosePort();
}

int TcpLine::msLeft() const
{
    return static_cast<int>(std::clamp<int64_t>(m_deadline - nowMs(), 0, PortAddress::MaxTimeoutMs));
}

bool TcpLine::OpenPortAt(int32_t port, const std::string& path, int32_t baud, char parity)
{
    bool result = false;
    try {
        if (DebugBit(SerialTrace))
            WriteErrLog("+ReOpenPort");
        ClosePort();
        OpenProblem = {};
        LostReason.clear();
        if (baud < LowestBaud)
            baud = DefaultBaud;
        m_address = ParsePortAddress(path);
        result = connectAndStart(port, baud, parity);
        if (DebugFlag())
            WriteErrLog("Com=" + IntToText(port) + ": " + BoolText(result) + "  Baud=" + IntToText(baud) + "  "
                        + path);
    } catch (const std::exception& e) {
        WriteErrLog(std::string("OpenPort: Exception ") + e.what());
        result = false;
    } catch (...) {
        WriteErrLog("OpenPort: Exception unknown");
        result = false;
    }
    if (!result && m_fd >= 0)
        ClosePort();
    // A session that broke while it began is a port that did not open, not
    // one whose connection was lost.
    if (!result)
        LostReason.clear();
    if (!result && OpenProblem.cause == PortOpenProblem::Cause::None)
        OpenProblem.cause = PortOpenProblem::Cause::Unknown;
    return result;
}

bool TcpLine::connectAndStart(int32_t port, int32_t baud, char parity)
{
    if (port < 1)
        return false;
    OpenProblem.path = m_address.text;
    if (!m_address.network() || !m_address.valid()) {
        OpenProblem.cause = PortOpenProblem::Cause::BadAddress;
        OpenProblem.reason = m_address.network() ? m_address.error : "not a network address";
        return false;
    }
    OpenProblem.server = m_address.endpoint();
    const auto failed = [this](const std::string& reason) {
        OpenProblem.cause = PortOpenProblem::Cause::NoConnection;
        OpenProblem.reason = reason;
        if (DebugFlag())
            WriteErrLog("OpenPort: " + m_address.text + ": " + reason);
        return false;
    };

    m_deadline = nowMs() + m_address.timeoutMs;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    AddressList addresses;
    if (const int found = ::getaddrinfo(m_address.host.c_str(), std::to_string(m_address.port).c_str(), &hints,
                                        &addresses.first);
        found != 0)
        return failed(found == EAI_SYSTEM ? std::strerror(errno) : ::gai_strerror(found));

    // Each address the name has, in turn, while time is left.
    std::string reason = withinText(m_address.timeoutMs);
    for (const addrinfo* a = addresses.first; a != nullptr && m_fd < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            reason = std::strerror(errno);
            continue;
        }
        int error = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
        if (error == EINPROGRESS) {
            m_fd = fd; // waitFor looks at it
            const bool ready = waitFor(POLLOUT, msLeft());
            m_fd = -1;
            socklen_t length = sizeof error;
            if (!ready)
                error = ETIMEDOUT;
            else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = errno;
        }
        if (error == 0) {
            m_fd = fd;
        } else {
            reason = error == ETIMEDOUT && msLeft() == 0 ? withinText(m_address.timeoutMs) : std::strerror(error);
            ::close(fd);
            if (msLeft() == 0)
                break;
        }
    }
    if (m_fd < 0)
        return failed(reason);
    // A request leaves at once, not when the next one comes along.
    const int on = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    acknowledgeAtOnce();

    PortNumber = port;
    setLineSettings(baud, parity);
    std::string sessionProblem;
    if (!startSession(baud, parity, sessionProblem)) {
        PortNumber = 0;
        Baud = 0;
        return failed(lost() ? LostReason : sessionProblem);
    }
    SetReadTimeout(0);
    return true;
}

bool TcpLine::startSession(int32_t, char, std::string&)
{
    return true;
}

std::string TcpLine::decode(std::string_view received)
{
    return std::string(received);
}

std::string TcpLine::encode(std::string_view data)
{
    return std::string(data);
}

void TcpLine::ClosePort()
{
    if (PortNumber > 0 && DebugFlag())
        WriteErrLog("CLOSE COM" + IntToText(PortNumber));
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_input.clear();
    PortNumber = 0;
    Baud = 0;
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

bool TcpLine::waitFor(short events, int ms)
{
    const int64_t end = nowMs() + std::max(ms, 0);
    for (;;) {
        const int64_t left = end - nowMs();
        const int slice = m_waitHook ? static_cast<int>(std::clamp<int64_t>(left, 0, WaitSliceMs))
                                     : static_cast<int>(std::max<int64_t>(left, 0));
        pollfd entry{m_fd, events, 0};
        const int ready = ::poll(&entry, 1, slice);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
        if (nowMs() >= end)
            return false;
        if (m_waitHook)
            m_waitHook();
    }
}

bool TcpLine::takeReceived()
{
    if (m_fd < 0)
        return !m_input.empty();
    char block[ReceiveBlock];
    while (!lost()) {
        const ssize_t got = ::recv(m_fd, block, sizeof block, 0);
        if (got > 0) {
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
    waitFor(POLLIN, ms);
    takeReceived();
}

bool TcpLine::awaitData(int ms)
{
    const int64_t end = nowMs() + ms;
    while (!takeReceived()) {
        const int64_t left = end - nowMs();
        if (m_fd < 0 || lost() || left <= 0)
            return false;
        waitFor(POLLIN, static_cast<int>(left));
    }
    return true;
}

bool TcpLine::writeRaw(std::string_view bytes)
{
    if (m_fd < 0 || lost())
        return false;
    // A request is small; this only guards against a server that takes nothing.
    const int64_t end = nowMs() + m_address.timeoutMs;
    while (!bytes.empty()) {
        const ssize_t sent = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int64_t left = end - nowMs();
            if (left <= 0 || !waitFor(POLLOUT, static_cast<int>(left))) {
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

int32_t TcpLine::ReadChunk(int32_t maxBytes)
{
    if (PortNumber <= 0 || m_fd < 0)
        return 0;
    const int32_t wanted = std::min(maxBytes, MaxChunk);
    if (wanted < 1 || !awaitData(readWaitMs(wanted)))
        return 0;
    const size_t taken = std::min(static_cast<size_t>(wanted), m_input.size());
    RxBuffer.append(m_input, 0, taken);
    m_input.erase(0, taken);
    return static_cast<int32_t>(taken);
}

void TcpLine::SendString(const std::string& data)
{
    if (PortNumber <= 0 || m_fd < 0)
        return;
    RxBuffer.clear();
    if (DebugBit(SerialTrace))
        WriteErrLog("  RS+: " + HexDump(data));
    writeRaw(encode(data));
}

bool TcpLine::InputWaiting()
{
    if (PortNumber <= 0)
        return false;
    return takeReceived();
}
