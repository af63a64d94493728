#pragma once

#include <cstdint>
#include <string>

// What the model operations and device sequences show in the main window.
// The main window implements it; tests use a recording one.
class ShellView {
public:
    virtual ~ShellView() = default;

    virtual void ShowStatus() = 0;
    virtual void ZeigeStation() = 0;
    virtual void SelectPage(int index) = 0;
    // Status panel 5 carries the progress of a device read ("lese: " + address).
    virtual void SetProgressText(const std::string& text) = 0;
    // Lets the window repaint while a device sequence blocks the GUI thread.
    virtual void Repaint() = 0;
    virtual void EnableLinkEditorPage() = 0;
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
