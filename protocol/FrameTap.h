#pragma once

// The frames of one station client's transfers as they are on the line, for
// whoever wants to see them: a capture file, the traffic view. Each client
// has a tap of its own, and the protocol clients it makes (the port
// search's probes on their threads too) publish into it, so two stations
// read side by side never mix their frames. With nobody listening a client
// asks one atomic flag per frame and copies nothing.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <vector>

struct TappedFrame {
    enum class Direction : uint8_t { ToDevice, FromDevice };
    Direction direction = Direction::ToDevice;
    // The port as the user named it: "COM3 (/dev/ttyUSB0)", "tcp://gw1:4001".
    std::string_view port;
    int64_t timeUs = 0; // microseconds since 1970-01-01 UTC
    // The frame's bytes, any Telnet escaping already undone. A reply of no
    // bytes says that nothing came back.
    std::string_view bytes;
    // A reply only: the attempt it ends (1 for the first, more for a repeat)
    // and that attempt's result, one of Tvep's codes.
    int32_t attempt = 0;
    int32_t result = 0;
};

class FrameListener {
public:
    virtual ~FrameListener() = default;
    // Called on the thread of the transfer, one frame at a time for the
    // whole tap. It must neither block for long nor attach or detach.
    virtual void OnFrame(const TappedFrame& frame) = 0;
};

class FrameTap {
public:
    bool Listening() const { return m_listening.load(std::memory_order_relaxed) > 0; }
    void Publish(const TappedFrame& frame);
    // Once Detach returns, the listener is called no more.
    void Attach(FrameListener& listener);
    void Detach(FrameListener& listener);

    // Now, as a frame is stamped.
    static int64_t NowUs();

private:
    std::mutex m_mutex;
    std::vector<FrameListener*> m_listeners;
    std::atomic<int> m_listening{0};
};
