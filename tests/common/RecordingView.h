#pragma once

#include "comm/ShellView.h"

#include <string>
#include <vector>

// A main window stand-in for the model operations and device sequences:
// it records what they asked it to show.
class RecordingView : public ShellView {
public:
    void ShowStatus() override { calls.push_back("ShowStatus"); }
    void ZeigeStation() override { calls.push_back("ZeigeStation"); }
    void SelectPage(int index) override { calls.push_back("SelectPage " + std::to_string(index)); }
    void SetProgressText(const std::string& text) override { progress.push_back(text); }
    void Repaint() override { ++repaints; }
    void EnableLinkEditorPage() override { calls.push_back("EnableLinkEditorPage"); }
    void SetBusyCursor(bool busy) override { calls.push_back(busy ? "Busy" : "NotBusy"); }

    std::vector<std::string> calls;
    std::vector<std::string> progress;
    int repaints = 0;
};
