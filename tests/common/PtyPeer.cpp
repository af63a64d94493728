#include "tests/common/PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace {

constexpr int PollMs = 10;         // how often the peer looks at its stop flag
constexpr int RequestGapMs = 5;    // a request arrives as one burst; this closes it
constexpr size_t FloodChunk = 64;
// Bytes written to the pseudo-terminal are handed to the program's side by
// the kernel a moment later; this bounds the wait for them.
constexpr int DeliveryMs = 100;

} // namespace

PtyPeer::PtyPeer()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    m_path = ptsname(m_master);
    m_slaveKeeper = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
    m_thread = std::thread([this] { run(); });
}

PtyPeer::~PtyPeer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_slaveKeeper);
    ::close(m_master);
}

void PtyPeer::answer(std::vector<Piece> pieces)
{
    std::lock_guard lock(m_mutex);
    m_scripts.push_back({false, std::move(pieces)});
}

void PtyPeer::flood()
{
    std::lock_guard lock(m_mutex);
    m_scripts.push_back({true, {}});
}

void PtyPeer::send(const std::string& bytes)
{
    writeAll(bytes);
}

std::vector<std::string> PtyPeer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

bool PtyPeer::waitForRequests(size_t count, int timeoutMs) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (requests().size() < count) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool PtyPeer::waitIdle(int timeoutMs) const
{
    {
        std::unique_lock lock(m_mutex);
        if (!m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return m_scripts.empty() && !m_playing; }))
            return false;
    }
    // Returns at once when the last bytes are waiting; when the program has
    // taken them already, nothing more comes and the wait runs out.
    pollfd in{m_slaveKeeper, POLLIN, 0};
    ::poll(&in, 1, DeliveryMs);
    return true;
}

void PtyPeer::writeAll(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size() && !m_stop) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        pollfd out{m_master, POLLOUT, 0};
        ::poll(&out, 1, PollMs);
    }
}

void PtyPeer::play(const Script& script)
{
    if (script.flood) {
        const std::string chunk(FloodChunk, '\xE1');
        while (!m_stop) {
            writeAll(chunk);
            m_flooded += chunk.size();
        }
        return;
    }
    for (const Piece& piece : script.pieces) {
        std::this_thread::sleep_for(std::chrono::milliseconds(piece.pauseMs));
        writeAll(piece.bytes);
    }
}

void PtyPeer::run()
{
    while (!m_stop) {
        pollfd in{m_master, POLLIN, 0};
        if (::poll(&in, 1, PollMs) <= 0 || !(in.revents & POLLIN))
            continue;
        std::string request;
        char buffer[512];
        do {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                request.append(buffer, static_cast<size_t>(n));
            in.revents = 0;
        } while (::poll(&in, 1, RequestGapMs) > 0 && (in.revents & POLLIN));
        if (request.empty())
            continue;

        Script script;
        bool scripted = false;
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
            if (!m_scripts.empty()) {
                script = std::move(m_scripts.front());
                m_scripts.pop_front();
                scripted = m_playing = true;
            }
        }
        if (!scripted)
            continue;
        play(script);
        {
            std::lock_guard lock(m_mutex);
            m_playing = false;
        }
        m_idle.notify_all();
    }
}
