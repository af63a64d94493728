#pragma once

// The frames of every transfer as they are on the line, for whoever wants to
// see them: a capture file, the traffic view. Every protocol client of the
// process publishes here, the port search's probes on their threads too.
// With nobody listening a client asks one atomic flag per frame and
// copies nothing.

#include <atomic>
#include <cstdint>
#include <string_view>

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
    // whole process. It must neither block for long nor attach or detach.
    virtual void OnFrame(const TappedFrame& frame) = 0;
};

class FrameTap {
public:
    static bool Listening() { return s_listeners.load(std::memory_order_relaxed) > 0; }
    static void Publish(const TappedFrame& frame);
    // Once Detach returns, the listener is called no more.
    static void Attach(FrameListener& listener);
    static void Detach(FrameListener& listener);

    // Now, as a frame is stamped.
    static int64_t NowUs();

private:
    static inline std::atomic<int> s_listeners{0};
};
