#pragma once

#include "widgets/ShellView.h"

// A main window that shows nothing: benchmarks time the work, not a display.
class SilentView : public ShellView {
public:
    void ShowStatus() override {}
    void ZeigeStation() override {}
    void SelectPage(int) override {}
    void EnableLinkEditorPage() override {}
    void SetProgressText(const std::string&) override {}
    void Repaint() override {}
    void SetBusyCursor(bool) override {}
};
