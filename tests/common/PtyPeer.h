#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The far end of a pseudo-terminal, standing in for a device: it collects
// each request the program writes and answers it from a script of hand-made
// byte pieces, each sent after its own pause. A request with no answer queued
// goes unanswered.
class PtyPeer {
public:
    struct Piece {
        int pauseMs = 0;
        std::string bytes;
    };

    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    // The path the program opens.
    const std::string& path() const { return m_path; }

    void answer(std::string reply) { answer(std::vector<Piece>{{0, std::move(reply)}}); }
    void answer(std::vector<Piece> pieces);
    // Answers the next request with bytes that never stop coming.
    void flood();
    size_t floodedBytes() const { return m_flooded; }
    // Puts bytes on the line now, unasked.
    void send(const std::string& bytes);

    // Every request seen so far, one string per burst of bytes.
    std::vector<std::string> requests() const;
    // Waits up to `timeoutMs` until `count` requests have been seen.
    bool waitForRequests(size_t count, int timeoutMs) const;
    // Waits up to `timeoutMs` until every queued answer has been played out
    // and its last bytes can be read on the program's side of the line.
    // Call it while the program does not read.
    bool waitIdle(int timeoutMs) const;

private:
    struct Script {
        bool flood = false;
        std::vector<Piece> pieces;
    };

    void run();
    void play(const Script& script);
    void writeAll(const std::string& bytes);

    int m_master = -1;
    int m_slaveKeeper = -1; // keeps the line up while the program has it closed
    std::string m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<size_t> m_flooded{0};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_idle;
    bool m_playing = false;
    std::deque<Script> m_scripts;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};
