#pragma once

// While it lives, SIGINT, SIGTERM and SIGHUP wait: a write to the device
// broken off in the middle would leave the device with part of a link area
// and the line with the rest of a reply. Once the transfer has ended, the
// command looks whether one came and ends as an interrupted program does.
// A system call the signal lands in is taken up again, so that no write
// to a file or to standard output breaks off; what waits for input (a
// station list from a pipe) therefore waits in short slices and asks
// arrived() between them.
class HeldSignals {
public:
    HeldSignals();
    ~HeldSignals(); // the signals act as before again
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

    bool arrived() const;
};
