#pragma once

// The window "Datenverkehr": the frames on the line as they pass, with
// pause, clear, copy as hex and save as a pcapng capture.

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class FrameListModel;
class FrameTap;
class QPushButton;
class QMenu;
class QTableView;

class TrafficView : public QWidget {
    Q_OBJECT
public:
    // Shows the frames of `tap`, which must outlive the view.
    explicit TrafficView(FrameTap& tap, QWidget* parent = nullptr);

    FrameListModel& Frames() { return *m_frames; }
    QTableView& Table() { return *m_table; }

    // Where "save" writes: Qt's save dialog by default; tests give a name.
    using SaveChooser = std::function<std::optional<std::string>()>;
    void SetSaveChooser(SaveChooser chooser) { m_chooseSaveFile = std::move(chooser); }

    // The buttons, by what they do.
    QPushButton& PauseButton() { return *m_pause; }
    QPushButton& ClearButton() { return *m_clear; }
    QPushButton& CopyButton() { return *m_copy; }
    QPushButton& SaveButton() { return *m_save; }

private:
    void copySelection();
    void save();
    // Keeps the newest frame in sight, unless the user scrolled up to read.
    void followNewRows(bool wasAtEnd);

    FrameListModel* m_frames;
    QTableView* m_table;
    QPushButton* m_pause;
    QPushButton* m_clear;
    QPushButton* m_copy;
    QPushButton* m_save;
    SaveChooser m_chooseSaveFile;
};

// Adds "Datenverkehr" to `menu`: it shows the traffic view of `window`,
// made the first time it is asked for.
void AddTrafficViewEntry(QMenu& menu, QWidget& window, FrameTap& tap);
