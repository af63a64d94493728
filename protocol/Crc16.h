#pragma once

#include <cstdint>
#include <string_view>

// CRC-16/MODBUS: start 0xFFFF, reflected polynomial 0xA001, no final XOR.
// The frame carries it low byte first. "123456789" gives 0x4B37.
uint16_t Crc16(std::string_view bytes);
