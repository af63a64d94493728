#pragma once

#include "sequences/SequenceObserver.h"

#include <string>

// What the device sequences show, on a console: there is no window to
// refresh. The progress of a sequence (transfers done of its total, and a
// read's "lese: 12") is one line on standard error that rewrites itself,
// shown only when standard error is a terminal.
class ConsoleView : public SequenceObserver {
public:
    explicit ConsoleView(bool quiet);
    ~ConsoleView() override;

    void ShowStatus() override {}
    void SetProgressText(const std::string& text) override;
    void Repaint() override {}
    void SetBusyCursor(bool) override {}
    void SetProgress(int done, int total) override;
    void HideProgress() override { EndProgress(); }

    // Clears the progress line, so that what follows starts on a clean line.
    void EndProgress();

private:
    void showLine();

    bool m_showProgress;
    bool m_lineShown = false;
    int m_done = 0;
    int m_total = 0;
    std::string m_text; // Windows-1252
};
