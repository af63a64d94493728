#pragma once

#include <string>

// The stable name of serial device file `devicePath` in `byIdFolder`: the
// name of the link there that leads to it ("usb-FTDI_FT232R_USB_UART_A50285BI-
// if00-port0"). Unlike /dev/ttyUSB0 it stays the same whichever number the
// adapter gets when it is plugged in. Empty when there is none.
std::string StableDeviceName(const std::string& devicePath, const std::string& byIdFolder = "/dev/serial/by-id");
