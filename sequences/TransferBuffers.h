#pragma once

// The transfer buffers the device sequences share. A failed transfer leaves
// them as they were, so a sequence must not read a reply out of them after a
// failure.

#include <array>
#include <cstdint>
#include <span>

constexpr std::size_t kTransferBufferWords = 501;
constexpr std::size_t kTransferCapacity = 500;

extern std::array<uint16_t, kTransferBufferWords> SendBuffer;
extern std::array<uint16_t, kTransferBufferWords> ReceiveBuffer;

inline std::span<uint16_t> sendWords() { return std::span(SendBuffer).first(kTransferCapacity); }
inline std::span<uint16_t> receiveWords() { return std::span(ReceiveBuffer).first(kTransferCapacity); }
