#include "sim/LineServer.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace qmxsim {

namespace {

constexpr auto kNoDeadline = LineServer::Clock::time_point::max();
// How long a reply may wait for a client that does not read before it is dropped.
constexpr std::chrono::seconds kWriteStall{1};

timespec untilDeadline(LineServer::Clock::time_point deadline)
{
    const auto left = std::max(deadline - LineServer::Clock::now(), LineServer::Clock::duration::zero());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

} // namespace

LineServer::LineServer(int lineFd, int stopFd, Responder& responder, LineTiming timing, std::FILE* trace)
    : m_lineFd(lineFd)
    , m_stopFd(stopFd)
    , m_responder(responder)
    , m_timing(timing)
    , m_trace(trace)
{
}

LineServer::Wait LineServer::waitLine(short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd fds[2] = {{m_lineFd, events, 0}, {m_stopFd, POLLIN, 0}};
        timespec limit{};
        if (deadline != kNoDeadline)
            limit = untilDeadline(deadline);
        // Only the stop descriptor when just sleeping, so a hung-up line does not wake us.
        const nfds_t count = events != 0 ? 2 : 1;
        pollfd* watched = events != 0 ? fds : fds + 1;
        const int n = ppoll(watched, count, deadline == kNoDeadline ? nullptr : &limit, nullptr);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "qmx-sim: poll: %s\n", std::strerror(errno));
            return Wait::Failed;
        }
        if (fds[1].revents != 0) {
            m_stop = true;
            return Wait::Stop;
        }
        if (n == 0)
            return Wait::TimedOut;
        if (fds[0].revents & events)
            return Wait::Ready;
        std::fprintf(stderr, "qmx-sim: the line has gone away\n");
        return Wait::Failed;
    }
}

bool LineServer::run()
{
    Clock::time_point lastByte{};
    while (!m_stop) {
        const Clock::time_point deadline = m_framer.pending() > 0 ? lastByte + FrameGap : kNoDeadline;
        switch (waitLine(POLLIN, deadline)) {
        case Wait::Ready:
            if (!readLine())
                return false;
            lastByte = Clock::now();
            break;
        case Wait::TimedOut:
            m_framer.lineIdle();
            break;
        case Wait::Stop:
            return true;
        case Wait::Failed:
            return false;
        }
        if (!serveFrames())
            return false;
    }
    return true;
}

bool LineServer::readLine()
{
    char buffer[1024];
    const ssize_t n = read(m_lineFd, buffer, sizeof buffer);
    if (n > 0) {
        m_framer.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
        return true;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
        std::fprintf(stderr, "qmx-sim: read: %s\n", std::strerror(errno));
        return false;
    }
    return true;
}

bool LineServer::serveFrames()
{
    while (!m_stop) {
        const std::optional<Request> request = m_framer.next();
        if (m_trace && m_framer.discarded() != m_noiseReported) {
            std::fprintf(m_trace, "qmx-sim: skipped %zu bytes of noise\n", m_framer.discarded() - m_noiseReported);
            m_noiseReported = m_framer.discarded();
        }
        if (!request)
            return true;
        const Clock::time_point received = Clock::now();
        const std::optional<Answer> answer = m_responder.answer(*request);
        if (m_trace)
            std::fprintf(m_trace, "qmx-sim: #%d read %u+%u write %u+%zu -> %s%zu bytes\n", m_responder.transfers(),
                         request->readAddr, request->readCount, request->writeAddr, request->words.size(),
                         answer ? "" : "silent, ", answer ? answer->bytes.size() : 0);
        if (!answer) {
            recordFault();
            continue;
        }
        Clock::time_point start = received;
        if (m_timing.pacing) {
            if (m_timing.requestLineTime)
                start += ByteTime * static_cast<long>(RequestFramer::frameLength(static_cast<uint8_t>(request->words.size())));
            start += Turnaround;
        }
        if (!send(*answer, start))
            return false;
        recordFault();
    }
    return true;
}

void LineServer::recordFault()
{
    if (m_faultLog && !m_responder.lastFault().empty()) {
        std::fprintf(m_faultLog, "%d %s\n", m_responder.transfers(), m_responder.lastFault().c_str());
        std::fflush(m_faultLog);
    }
}

bool LineServer::send(const Answer& answer, Clock::time_point start)
{
    const std::string& bytes = answer.bytes;
    const auto pause = std::chrono::milliseconds(answer.pauseMs);
    // When byte i is due on the line.
    auto due = [&](std::size_t i) {
        Clock::time_point t = start;
        if (m_timing.pacing)
            t += ByteTime * static_cast<long>(i);
        return answer.pauseMs > 0 && i >= answer.pauseAfter ? t + pause : t;
    };

    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const Wait slept = waitLine(0, due(sent));
        if (slept == Wait::Stop)
            return true;
        if (slept == Wait::Failed)
            return false;
        // Everything due by now goes out in one write.
        const Clock::time_point now = Clock::now();
        std::size_t end = sent + 1;
        while (end < bytes.size() && due(end) <= now)
            ++end;
        switch (writeAll(bytes.data() + sent, end - sent)) {
        case Write::Done:
            break;
        case Write::Dropped:
        case Write::Stop:
            return true;
        case Write::Failed:
            return false;
        }
        sent = end;
    }
    return true;
}

LineServer::Write LineServer::writeAll(const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = write(m_lineFd, data, size);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            std::fprintf(stderr, "qmx-sim: write: %s\n", std::strerror(errno));
            return Write::Failed;
        }
        // The line is full because nobody reads it: give the client a moment,
        // then drop the rest of this reply rather than hang.
        switch (waitLine(POLLOUT, Clock::now() + kWriteStall)) {
        case Wait::Ready:
            break;
        case Wait::TimedOut:
            std::fprintf(stderr, "qmx-sim: nobody reads the line, reply dropped\n");
            return Write::Dropped;
        case Wait::Stop:
            return Write::Stop;
        case Wait::Failed:
            return Write::Failed;
        }
    }
    return Write::Done;
}

} // namespace qmxsim
