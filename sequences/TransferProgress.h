#pragma once

class SequenceObserver;

// Counts the transfers of one device sequence for the view's progress
// display, which shows from construction on and goes away with this object,
// however the sequence ends. Without a view it counts for nobody. A sequence
// that learns its total only on the way starts with 0: the display then
// waits for SetTotal, so that it counts one total from its first figure.
class TransferProgress {
public:
    TransferProgress(SequenceObserver* view, int total);
    ~TransferProgress();
    TransferProgress(const TransferProgress&) = delete;
    TransferProgress& operator=(const TransferProgress&) = delete;

    // Once the sequence knows better how many transfers it will make.
    void SetTotal(int total);
    // One more transfer made, whatever its result.
    void Step();

private:
    void show();

    SequenceObserver* m_view;
    int m_done = 0;
    int m_total;
};
