#include "protocol/FrameTap.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <vector>

namespace {

std::mutex& listenersMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<FrameListener*>& listeners()
{
    static std::vector<FrameListener*> all;
    return all;
}

} // namespace

void FrameTap::Publish(const TappedFrame& frame)
{
    // One lock for all: the frames of the concurrent port probes reach each
    // listener one after the other, in the order they were published.
    const std::lock_guard lock(listenersMutex());
    for (FrameListener* listener : listeners())
        listener->OnFrame(frame);
}

void FrameTap::Attach(FrameListener& listener)
{
    const std::lock_guard lock(listenersMutex());
    listeners().push_back(&listener);
    s_listeners.store(static_cast<int>(listeners().size()), std::memory_order_relaxed);
}

void FrameTap::Detach(FrameListener& listener)
{
    const std::lock_guard lock(listenersMutex());
    std::erase(listeners(), &listener);
    s_listeners.store(static_cast<int>(listeners().size()), std::memory_order_relaxed);
}

int64_t FrameTap::NowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}
