#include "app/FileNameChooser.h"

#include "app/WindowWords.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>

#include <filesystem>

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
    const QString filters = request.filter.isEmpty() ? LinkFileFilters() : request.filter;
    const QString start = QFile::decodeName(request.start.c_str());
    QWidget* parent = QApplication::activeWindow();
    const QString chosen = request.purpose == FileNameRequest::Purpose::Open
                               ? QFileDialog::getOpenFileName(parent, QString(), start, filters)
                               : QFileDialog::getSaveFileName(parent, QString(), start, filters);
    if (chosen.isEmpty())
        return std::nullopt;
    return FileSystemPath(chosen);
}

std::string FileSystemPath(const QString& shown)
{
    if (!shown.contains(QChar::ReplacementCharacter))
        return QFile::encodeName(shown).toStdString();
    std::filesystem::path path = shown.startsWith(QLatin1Char('/')) ? "/" : "";
    for (const QString& part : shown.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        std::filesystem::path next = path / QFile::encodeName(part).toStdString();
        std::error_code error;
        if (part.contains(QChar::ReplacementCharacter) && !std::filesystem::exists(next, error)) {
            // Only a name that means this one entry and no other is taken.
            int matches = 0;
            for (auto entry = std::filesystem::directory_iterator(path.empty() ? "." : path, error);
                 !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
                const std::string name = entry->path().filename().string();
                if (QFile::decodeName(QByteArray::fromStdString(name)) == part && ++matches == 1)
                    next = path / name;
            }
            if (matches != 1)
                next = path / QFile::encodeName(part).toStdString();
        }
        path = std::move(next);
    }
    return path.string();
}
