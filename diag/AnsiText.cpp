#include "diag/AnsiText.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

QString ansiToQString(std::string_view ansi)
{
    QStringDecoder decode("windows-1252");
    if (!decode.isValid())
        return QString::fromLatin1(ansi.data(), static_cast<qsizetype>(ansi.size()));
    return decode(QByteArrayView(ansi.data(), static_cast<qsizetype>(ansi.size())));
}

std::string qStringToAnsi(const QString& text)
{
    QStringEncoder encode("windows-1252", QStringConverter::Flag::Default);
    if (!encode.isValid())
        return text.toLatin1().toStdString();
    const QByteArray bytes = encode(text);
    return bytes.toStdString();
}

std::string fileNameToAnsi(const std::string& path)
{
    return qStringToAnsi(QFile::decodeName(QByteArray::fromStdString(path)));
}
