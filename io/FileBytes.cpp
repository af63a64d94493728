#include "io/FileBytes.h"

#include "diag/AnsiText.h"

#include <QFile>
#include <QSaveFile>

#include <filesystem>

namespace {

FileBytes failed(std::string reason)
{
    FileBytes result;
    result.reason = std::move(reason);
    return result;
}

bool fail(std::string* reason, const QString& text)
{
    if (reason != nullptr)
        *reason = qStringToAnsi(text);
    return false;
}

} // namespace

FileBytes ReadWholeFile(const std::string& path, std::size_t maxBytes)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        FileBytes result = failed("No such file or directory");
        result.status = FileBytes::Status::Missing;
        return result;
    }
    if (error)
        return failed(error.message());
    if (status.type() != std::filesystem::file_type::regular)
        return failed("Not a regular file");

    QFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::ReadOnly))
        return failed(qStringToAnsi(file.errorString()));
    // One byte more than allowed tells a file that is too large, also one
    // that grew after its size was taken.
    const QByteArray bytes = file.read(static_cast<qint64>(maxBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return failed(qStringToAnsi(file.errorString()));
    if (static_cast<std::size_t>(bytes.size()) > maxBytes)
        return failed("Larger than " + std::to_string(maxBytes) + " bytes");

    FileBytes result;
    result.status = FileBytes::Status::Read;
    result.bytes = bytes.toStdString();
    return result;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* reason)
{
    QSaveFile file(QFile::decodeName(path.c_str()));
    // Unbuffered: a write that fails must fail here. A buffered one fails only
    // while the file is closed, and Qt 6.4's commit renames over the old file
    // all the same.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(reason, file.errorString());
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        const QString text = file.errorString();
        file.cancelWriting();
        return fail(reason, text);
    }
    if (!file.commit())
        return fail(reason, file.errorString());
    return true;
}
