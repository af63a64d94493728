#include "app/FileNameChooser.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>

namespace {

FileNameChooser& installedChooser()
{
    static FileNameChooser chooser;
    return chooser;
}

} // namespace

FileNameChooser SetFileNameChooser(FileNameChooser chooser)
{
    return std::exchange(installedChooser(), std::move(chooser));
}

std::optional<std::string> ChooseFileName(const FileNameRequest& request)
{
    const FileNameChooser& chooser = installedChooser();
    return chooser ? chooser(request) : std::nullopt;
}

std::optional<std::string> ShowQtFileDialog(const FileNameRequest& request)
{
    const QString filters = QStringLiteral("Konfig ini-Dateien (*.ini);;alle (*)");
    const QString start = QFile::decodeName(request.start.c_str());
    QWidget* parent = QApplication::activeWindow();
    const QString chosen = request.purpose == FileNameRequest::Purpose::Open
                               ? QFileDialog::getOpenFileName(parent, QString(), start, filters)
                               : QFileDialog::getSaveFileName(parent, QString(), start, filters);
    if (chosen.isEmpty())
        return std::nullopt;
    return QFile::encodeName(chosen).toStdString();
}
