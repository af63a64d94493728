#include "diag/TextHelpers.h"

#include <filesystem>
#include <fstream>

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
    std::error_code error;
    if (name.empty() || std::filesystem::is_directory(name, error))
        return false;
    std::ifstream probe(name, std::ios::binary);
    return probe.is_open();
}
