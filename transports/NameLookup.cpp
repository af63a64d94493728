#include "transports/NameLookup.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// One lookup, shared by the thread that does it and the one that waits for
// it, whichever is the last to let go.
struct Pending {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    NameLookup result;
};

NameLookup lookUp(const std::string& host, uint16_t port, int flags)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    addrinfo* first = nullptr;
    const int found = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &first);
    NameLookup lookup;
    if (found == 0)
        lookup.addresses.reset(first, ::freeaddrinfo);
    else
        lookup.error = found == EAI_SYSTEM ? std::strerror(errno) : ::gai_strerror(found);
    return lookup;
}

} // namespace

NameLookup LookUpWithin(const std::string& host, uint16_t port, int ms)
{
    if (NameLookup numeric = lookUp(host, port, AI_NUMERICHOST); numeric.addresses)
        return numeric;
    auto pending = std::make_shared<Pending>();
    try {
        std::thread([pending, host, port] {
            NameLookup lookup = lookUp(host, port, 0);
            const std::lock_guard lock(pending->mutex);
            pending->result = std::move(lookup);
            pending->finished = true;
            pending->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the lookup takes the time it takes.
        return lookUp(host, port, 0);
    }
    std::unique_lock lock(pending->mutex);
    if (!pending->done.wait_for(lock, std::chrono::milliseconds(ms), [&pending] { return pending->finished; }))
        return {nullptr, "no address for " + host + " within " + std::to_string(ms) + " ms"};
    return std::move(pending->result);
}
