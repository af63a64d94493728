#include "diag/TextHelpers.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr std::size_t kMaxNumberText = 10;

std::string cut(std::string text)
{
    if (text.size() > kMaxNumberText)
        text.resize(kMaxNumberText);
    return text;
}

std::string hexDigits(uint32_t value, int count)
{
    std::string text(static_cast<std::size_t>(count), '0');
    for (int i = count - 1; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = kHexDigits[value & 0xF];
    return text;
}

} // namespace

std::string IntToText(int32_t value)
{
    return cut(std::to_string(value));
}

std::string IntToTextZero(int32_t value, int width)
{
    // No caller asks for more than 10 places; a wider field would push the
    // digits past the 10-character cut and leave only zeros.
    width = std::min(width, static_cast<int>(kMaxNumberText));
    std::string text = std::to_string(value);
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    text = cut(std::move(text));
    for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(width) && i < text.size(); ++i) {
        if (text[i] == ' ')
            text[i] = '0';
    }
    return text;
}

std::string NibbleToHex(uint32_t value)
{
    return std::string(1, kHexDigits[value & 0xF]);
}

std::string ByteToHex2(uint32_t value)
{
    return hexDigits(value, 2);
}

std::string WordToHex4(uint16_t value)
{
    return hexDigits(value, 4);
}

std::string IntToHex6(uint32_t value)
{
    return hexDigits(value, 6);
}

std::string HexDump(std::string_view data)
{
    std::string text;
    text.reserve(data.size() * 3);
    for (const char byte : data) {
        text += ByteToHex2(static_cast<unsigned char>(byte));
        text += ' ';
    }
    return text;
}

std::string BoolText(bool flag)
{
    return flag ? "TRUE " : "FALSE";
}

bool FileExistsIO(const std::string& name)
{
    if (name.empty())
        return false;
    // The probe must not disturb the caller's error state, and must not hang
    // on a named pipe that nobody writes to.
    const int savedErrno = errno;
    bool readable = false;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        struct stat info {};
        readable = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
        ::close(fd);
    }
    errno = savedErrno;
    return readable;
}
