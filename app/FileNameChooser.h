#pragma once

// The one place that asks the user for a file name. The program installs Qt's
// file dialog at start; tests install a scripted chooser.

#include <QString>

#include <functional>
#include <optional>
#include <string>

struct FileNameRequest {
    enum class Purpose { Open, Save };
    Purpose purpose = Purpose::Open;
    // Where the dialog starts: a folder, or the file it proposes in it. A
    // path in the file system's encoding, as the chosen name.
    std::string start;
    // The dialog's filters the Qt way ("PDF-Dokument (*.pdf)"); empty: link files and any file.
    QString filter;
};

// The chosen path, or nothing when the user cancelled.
using FileNameChooser = std::function<std::optional<std::string>(const FileNameRequest&)>;

// Installs the chooser and returns the previous one.
FileNameChooser SetFileNameChooser(FileNameChooser chooser);

// Asks the installed chooser; without one the question counts as cancelled.
std::optional<std::string> ChooseFileName(const FileNameRequest& request);

// Qt's open or save dialog, with the filters for link files and for any file,
// parented to the active window.
std::optional<std::string> ShowQtFileDialog(const FileNameRequest& request);

// The bytes of the file system for a path a Qt dialog gives back. Qt shows a
// name that is no UTF-8 (a Latin-1 name from an old stick) with replacement
// characters and returns it so; the file the user picked is found again in
// its folder by the name as shown.
std::string FileSystemPath(const QString& shown);
