#pragma once

// While it lives, SIGINT, SIGTERM and SIGHUP wait: a write to the device
// broken off in the middle would leave the device with part of a link area
// and the line with the rest of a reply. Once the transfer has ended, the
// command looks whether one came and ends as an interrupted program does.
class HeldSignals {
public:
    HeldSignals();
    ~HeldSignals(); // the signals act as before again
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

    bool arrived() const;
};
