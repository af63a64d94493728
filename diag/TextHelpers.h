#pragma once

// Fixed-format number and byte texts for log lines, file keys and the status
// bar. Hex digits are always upper case; numeric texts never exceed 10
// characters (a longer result is cut, as the log and file keys expect).

#include <cstdint>
#include <string>
#include <string_view>

std::string IntToText(int32_t value);
// Right-aligned in a field of `width` (1..10); blanks before the last position
// become "0", so (-5, 3) gives "0-5" and (7, 2) gives "07".
std::string IntToTextZero(int32_t value, int width);
std::string NibbleToHex(uint32_t value);
std::string ByteToHex2(uint32_t value);
std::string WordToHex4(uint16_t value);
std::string IntToHex6(uint32_t value);
// "E1 00 05 " for the bytes E1 00 05: every byte followed by one blank.
std::string HexDump(std::string_view data);
// Always five characters: "TRUE " or "FALSE".
std::string BoolText(bool flag);
// True when `name` is a file that can be opened for reading (folders give false).
bool FileExistsIO(const std::string& name);
