#pragma once

// What happens before the main window may open. Over an SSH session or in a
// script the program must answer plainly: print its help or version, refuse a
// mistake on the command line, or say that it needs a desktop, and end with
// an exit code instead of an abort. None of this writes a file.

#include <QApplication>

#include <memory>
#include <optional>

// The exit code to end with at once when the command line or a missing
// desktop ends the program before its window (help, version and a mistake
// printed here); nothing when the window may open. Runs before the log
// starts and before any Qt object exists.
std::optional<int> EndBeforeWindow(int argc, char** argv);

// The application on the desktop the environment names. When that desktop
// cannot be reached (a dead X server, a broken forwarding, a platform plugin
// that fails) the program ends here with one clear line and exit code 1,
// writing the log's end line when the log is on.
std::unique_ptr<QApplication> OpenDesktop(int& argc, char** argv);
