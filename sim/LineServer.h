#pragma once

// Serves requests from a line: reads bytes, finds request frames, and sends
// each answer back paced like a 9600 bps line.

#include "sim/FrameCodec.h"
#include "sim/Responder.h"

#include <chrono>
#include <cstdio>

namespace qmxsim {

struct LineTiming {
    bool pacing = true;
    // A pseudo-terminal delivers a request at once; a real line takes its
    // byte time. With this set, the reply waits as long as the request would
    // have taken on the line, so a client sees 9600 bps both ways.
    bool requestLineTime = false;
};

class LineServer {
public:
    using Clock = std::chrono::steady_clock;
    // Ten bits per byte (start, 8 data, stop) at 9600 bps.
    static constexpr std::chrono::nanoseconds ByteTime{1'041'667};
    // Time from the end of a request to the first reply byte.
    static constexpr std::chrono::milliseconds Turnaround{2};
    // Quiet time after which an unfinished frame counts as noise; a client
    // writes a request in one go, so a real one never stalls this long.
    static constexpr std::chrono::milliseconds FrameGap{50};

    // `stopFd` becomes readable when the simulator is to end.
    LineServer(int lineFd, int stopFd, Responder& responder, LineTiming timing, std::FILE* trace);

    // Where the random faults are recorded, one line per transfer ("12 drop 7"),
    // written once its reply is on the line.
    void setFaultLog(std::FILE* log) { m_faultLog = log; }

    // Serves until stopFd is readable (true) or the line fails (false, with
    // a message on standard error).
    bool run();

private:
    enum class Wait { Ready, TimedOut, Stop, Failed };
    enum class Write { Done, Dropped, Stop, Failed };
    // Waits until the line has the asked event or the deadline passes.
    Wait waitLine(short events, Clock::time_point deadline);
    bool readLine();
    bool serveFrames();
    void recordFault();
    bool send(const Answer& answer, Clock::time_point start);
    Write writeAll(const char* data, std::size_t size);

    int m_lineFd;
    int m_stopFd;
    Responder& m_responder;
    LineTiming m_timing;
    std::FILE* m_trace;
    std::FILE* m_faultLog = nullptr;
    RequestFramer m_framer;
    std::size_t m_noiseReported = 0;
    bool m_stop = false;
};

} // namespace qmxsim
