#pragma once

#include "core/StatusTexts.h"

#include <QObject>

#include <array>
#include <string>

class QLabel;
class QProgressBar;
class QStatusBar;

// The window's status bar: eight panels of text (texts in Windows-1252) and
// the progress bar of a running device sequence.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    explicit StatusPanels(QStatusBar* bar);

    void Show(const std::array<std::string, kStatusPanelCount>& texts);
    void SetPanel(int panel, const std::string& text);
    std::string PanelText(int panel) const;
    // Shows `done` of `total`; true when the bar has just appeared, so that
    // the caller lets the status bar make room for it.
    bool SetProgress(int done, int total);
    void HideProgress();

private:
    // The status bar asks for the room its panels need.
    void keepRoom();

    std::array<QLabel*, kStatusPanelCount> m_panels{};
    QProgressBar* ProgressBar1 = nullptr; // transfers of the running device sequence
};
