#include "diag/AnsiText.h"

#include <QList>
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
    const QByteArray encoded = encode(text);
    std::string bytes = encoded.toStdString();
    // The converter puts its substitute, the control character SUB, in
    // place of a character it has no byte for: one byte a character.
    const QList<uint> characters = text.toUcs4();
    if (bytes.size() == static_cast<std::size_t>(characters.size())) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\x1A' && characters[static_cast<qsizetype>(i)] != 0x1A)
                bytes[i] = '?';
        }
    }
    return bytes;
}

namespace {

// How many bytes from `at` make one UTF-8 character; 0 when the byte there
// starts none (a lone continuation byte, an overlong form, a surrogate, a
// code point beyond U+10FFFF, a character cut short).
std::size_t utf8CharacterAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80; // the range the second byte must fall in
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = at + 2; i < at + length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

QString fileNameShown(std::string_view path)
{
    QString shown;
    std::size_t at = 0;
    while (at < path.size()) {
        std::size_t run = at;
        for (std::size_t length; run < path.size() && (length = utf8CharacterAt(path, run)) != 0;)
            run += length;
        shown += QString::fromUtf8(path.data() + at, static_cast<qsizetype>(run - at));
        if (run < path.size())
            shown += QString::asprintf("\\x%02x", static_cast<unsigned char>(path[run++]));
        at = run;
    }
    return shown;
}

std::string fileNameToAnsi(std::string_view path)
{
    return qStringToAnsi(fileNameShown(path));
}
