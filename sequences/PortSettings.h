#pragma once

#include <cstdint>

// The serial line the device sequences open: set by the port search and the
// "RS232 Einstellung" dialog.
extern int32_t ComPortNr; // 1 = COM1
extern int32_t ComBaud;   // 0 before the first search; OpenPort makes it 9600
extern char ComParity;    // NUL before the first search; OpenPort makes it 'n'
