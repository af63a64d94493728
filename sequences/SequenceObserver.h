#pragma once

#include <cstdint>
#include <string>

// What a device sequence lets a front end show while it runs: progress,
// repaints, the busy cursor, the status, and that the module table changed.
// It never says which page to show: the front end decides that from the
// result. The main window and the console implement it; tests record it.
class SequenceObserver {
public:
    virtual ~SequenceObserver() = default;

    virtual void ShowStatus() = 0;
    // The module table changed (emptied at the start of a read, filled once
    // the modules are read): a front end that shows it shows it anew.
    virtual void ModulesChanged() {}
    // Status panel 5 carries the progress of a device read ("lese: " + address).
    virtual void SetProgressText(const std::string& text) = 0;
    // Lets the window repaint while a device sequence blocks the GUI thread.
    virtual void Repaint() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // The progress of a device sequence: `done` of `total` transfers. Shown
    // from the first call until HideProgress, which every sequence calls when
    // it ends, whatever the outcome. A front end without a progress display
    // leaves both alone.
    virtual void SetProgress(int done, int total)
    {
        (void)done;
        (void)total;
    }
    virtual void HideProgress() {}
    // The automatic search waits for the probe of COM `port`; the status
    // bar's progress panel says so until ShowStatus.
    virtual void ShowSearchingPort(int32_t port) { (void)port; }
};

// For a sequence nobody watches: a station of a fleet's backup, read on a
// thread of its own.
class UnwatchedSequence final : public SequenceObserver {
public:
    void ShowStatus() override {}
    void SetProgressText(const std::string&) override {}
    void Repaint() override {}
    void SetBusyCursor(bool) override {}
};
