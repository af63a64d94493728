#include "protocol/FrameTap.h"

#include <algorithm>
#include <chrono>

void FrameTap::Publish(const TappedFrame& frame)
{
    // One lock for all: the frames of the concurrent port probes reach each
    // listener one after the other, in the order they were published.
    const std::lock_guard lock(m_mutex);
    for (FrameListener* listener : m_listeners)
        listener->OnFrame(frame);
}

void FrameTap::Attach(FrameListener& listener)
{
    const std::lock_guard lock(m_mutex);
    m_listeners.push_back(&listener);
    m_listening.store(static_cast<int>(m_listeners.size()), std::memory_order_relaxed);
}

void FrameTap::Detach(FrameListener& listener)
{
    const std::lock_guard lock(m_mutex);
    std::erase(m_listeners, &listener);
    m_listening.store(static_cast<int>(m_listeners.size()), std::memory_order_relaxed);
}

int64_t FrameTap::NowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}
