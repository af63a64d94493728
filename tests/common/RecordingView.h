#pragma once

#include "widgets/ShellView.h"

#include <string>
#include <utility>
#include <vector>

// A main window stand-in for the model operations and device sequences:
// it records what they asked it to show.
class RecordingView : public ShellView {
public:
    void ShowStatus() override { calls.push_back("ShowStatus"); }
    void ZeigeStation() override { calls.push_back("ZeigeStation"); }
    void ModulesChanged() override { calls.push_back("ModulesChanged"); }
    void SelectPage(int index) override { calls.push_back("SelectPage " + std::to_string(index)); }
    void SetProgressText(const std::string& text) override { progress.push_back(text); }
    void Repaint() override { ++repaints; }
    void EnableLinkEditorPage() override { calls.push_back("EnableLinkEditorPage"); }
    void SetBusyCursor(bool busy) override { calls.push_back(busy ? "Busy" : "NotBusy"); }
    void SetProgress(int done, int total) override
    {
        progressSteps.emplace_back(done, total);
        progressShown = true;
    }
    void HideProgress() override { progressShown = false; }

    std::vector<std::string> calls;
    std::vector<std::string> progress;       // texts of status panel 5
    std::vector<std::pair<int, int>> progressSteps; // transfers done, of how many
    bool progressShown = false;
    int repaints = 0;
};
