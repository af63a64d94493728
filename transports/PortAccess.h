#pragma once

#include "transports/PortOpenProblem.h"

#include <QSerialPort>

#include <string>

// What stood behind a failed open of `path` that Qt answered with `error`
// and the system's words `reason`.
PortOpenProblem DiagnoseFailedOpen(const std::string& path, QSerialPort::SerialPortError error,
                                   const std::string& reason);
// The line opened, but another program holds its lock.
PortOpenProblem DiagnoseHeldLine(const std::string& path, const std::string& reason);
