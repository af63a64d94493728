#pragma once

#include <cstdint>

// The serial line a station is reached on, as the device sequences open it:
// set by the port search and the "RS232 Einstellung" dialog.
struct PortSettings {
    int32_t ComPortNr = 1; // 1 = COM1
    int32_t ComBaud = 0;   // 0 before the first search; OpenPort makes it 9600
    char ComParity = '\0'; // NUL before the first search; OpenPort makes it 'n'
};
