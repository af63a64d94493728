#include "cli/ArgumentBytes.h"

#include <QList>

namespace {

constexpr char32_t kFirstEscape = 0xDC80; // stands for the byte 0x80
constexpr char32_t kLastEscape = 0xDCFF;

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
    std::string bytes;
    for (const uint code : text.toUcs4()) {
        const auto c = static_cast<char32_t>(code);
        if (c >= kFirstEscape && c <= kLastEscape)
            bytes += static_cast<char>(c - kFirstEscape + 0x80);
        else
            bytes += QString::fromUcs4(&c, 1).toStdString();
    }
    return bytes;
}
