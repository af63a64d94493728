#pragma once

// A TCP server of a few lines for the network-port tests: listens on a free
// local port and hands each connection, one after another, to a behaviour on
// its own thread: close at once, hold it silently, answer as scripted.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

class TinyServer {
public:
    // What to do with one accepted connection; the server closes it afterwards.
    // `stopping` turns true when the server ends: a behaviour that waits must
    // look at it.
    using Behaviour = std::function<void(int fd, const std::atomic<bool>& stopping)>;

    explicit TinyServer(Behaviour behaviour)
        : m_behaviour(std::move(behaviour))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
            || ::listen(m_listener, 8) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }

    ~TinyServer()
    {
        m_stopping = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            ::close(m_listener);
    }

    TinyServer(const TinyServer&) = delete;
    TinyServer& operator=(const TinyServer&) = delete;

    uint16_t port() const { return m_port; }
    // "tcp://127.0.0.1:PORT" and the like, for `scheme`.
    std::string address(const std::string& scheme = "tcp", const std::string& options = {}) const
    {
        return scheme + "://127.0.0.1:" + std::to_string(m_port) + options;
    }
    int connections() const { return m_connections; }

    // Behaviours.
    static void CloseAtOnce(int, const std::atomic<bool>&) {}
    // Keeps the connection open, reads and drops what comes, says nothing.
    static void HoldSilently(int fd, const std::atomic<bool>& stopping)
    {
        char sink[256];
        while (!stopping) {
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, 20) > 0 && ::recv(fd, sink, sizeof sink, 0) <= 0)
                return;
        }
    }

private:
    void serve()
    {
        while (!m_stopping) {
            pollfd entry{m_listener, POLLIN, 0};
            if (::poll(&entry, 1, 20) <= 0)
                continue;
            const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            ++m_connections;
            m_behaviour(fd, m_stopping);
            ::close(fd);
        }
    }

    Behaviour m_behaviour;
    int m_listener = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_connections{0};
    std::thread m_thread;
};
