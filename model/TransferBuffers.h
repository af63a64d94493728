#pragma once

// The transfer buffers of the client that talks to a station. A failed
// transfer leaves them as they were, so a sequence must not read a reply out
// of them after a failure.

#include <array>
#include <cstdint>
#include <span>

constexpr std::size_t kTransferBufferWords = 501;
constexpr std::size_t kTransferCapacity = 500;

struct TransferBuffers {
    std::array<uint16_t, kTransferBufferWords> SendBuffer{};
    std::array<uint16_t, kTransferBufferWords> ReceiveBuffer{};

    std::span<uint16_t> sendWords() { return std::span(SendBuffer).first(kTransferCapacity); }
    std::span<uint16_t> receiveWords() { return std::span(ReceiveBuffer).first(kTransferCapacity); }
};
