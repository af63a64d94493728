#include "diag/ArgumentBytes.h"

namespace {

constexpr char16_t kFirstEscape = 0xDC80; // stands for the byte 0x80
constexpr char16_t kLastEscape = 0xDCFF;

} // namespace

QString ArgumentText(std::string_view bytes)
{
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const QString text = QString::fromUtf8(raw);
    if (text.toUtf8() == raw)
        return text;
    QString escaped;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        escaped += byte < 0x80 ? QChar(byte) : QChar(static_cast<char16_t>(kFirstEscape - 0x80 + byte));
    }
    return escaped;
}

std::string ArgumentBytes(const QString& text)
{
    // Qt turns a lone surrogate into a replacement character when it
    // converts: the escapes are taken out before the rest is converted.
    std::string bytes;
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < kFirstEscape || unit > kLastEscape || (i > 0 && text[i - 1].isHighSurrogate()))
            continue;
        bytes += text.mid(from, i - from).toStdString();
        bytes += static_cast<char>(unit - kFirstEscape + 0x80);
        from = i + 1;
    }
    return bytes + text.mid(from).toStdString();
}
