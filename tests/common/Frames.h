#pragma once

#include "protocol/Crc16.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Hand-made frames, written out byte by byte the way a device would send them.

inline std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (const int v : values)
        out += static_cast<char>(v);
    return out;
}

inline std::string withCrc(std::string frame)
{
    const uint16_t crc = Crc16(frame);
    frame += static_cast<char>(crc & 0xFF);
    frame += static_cast<char>(crc >> 8);
    return frame;
}

// A device reply carrying `words` from register `addr`, with the device's
// own byte 1 and any tail it appends before the CRC.
inline std::string replyFrame(int addr, const std::vector<uint16_t>& words, const std::string& tail = {},
                              int byte1 = 0, int start = 0xE1)
{
    std::string frame = bytes({start, byte1, 0, 0, 0, (addr >> 8) & 0xFF, addr & 0xFF,
                               static_cast<int>(words.size())});
    for (const uint16_t w : words)
        frame += bytes({w >> 8, w & 0xFF});
    return withCrc(frame + tail);
}
