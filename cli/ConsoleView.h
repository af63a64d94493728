#pragma once

#include "comm/ShellView.h"

#include <string>

// What the device sequences show, on a console: there is no window to
// refresh, and the progress of a read ("lese: 12") is one line on standard
// error that rewrites itself, only when standard error is a terminal.
class ConsoleView : public ShellView {
public:
    explicit ConsoleView(bool quiet);
    ~ConsoleView() override;

    void ShowStatus() override {}
    void ZeigeStation() override {}
    void SelectPage(int) override {}
    void SetProgressText(const std::string& text) override;
    void Repaint() override {}
    void EnableLinkEditorPage() override {}
    void SetBusyCursor(bool) override {}

    // Clears the progress line, so that what follows starts on a clean line.
    void EndProgress();

private:
    bool m_showProgress;
    bool m_lineShown = false;
};
