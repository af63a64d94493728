#include "sequences/TransferBuffers.h"

std::array<uint16_t, kTransferBufferWords> SendBuffer{};
std::array<uint16_t, kTransferBufferWords> ReceiveBuffer{};
