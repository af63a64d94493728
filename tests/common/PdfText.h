#pragma once

// What a PDF says, read by poppler's own tools as a reader of the file would:
// pdftotext for the text (UTF-8), pdfinfo for pages and paper.

#include <QProcess>
#include <QStringList>

#include <string>

inline std::string popplerOutput(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput().toStdString();
}

// The text of pages `first`..`last` (0: to the end): its lines laid out as on
// the page, or (not `layout`) each block of text whole, in reading order.
inline std::string PdfText(const std::string& path, int first = 1, int last = 0, bool layout = true)
{
    QStringList arguments{QStringLiteral("-f"), QString::number(first)};
    if (layout)
        arguments << QStringLiteral("-layout");
    if (last > 0)
        arguments << QStringLiteral("-l") << QString::number(last);
    return popplerOutput(QStringLiteral("pdftotext"),
                         arguments << QString::fromStdString(path) << QStringLiteral("-"));
}

// pdfinfo's "Key: value" lines.
inline std::string PdfInfo(const std::string& path)
{
    return popplerOutput(QStringLiteral("pdfinfo"), {QString::fromStdString(path)});
}
