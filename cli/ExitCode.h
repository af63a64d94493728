#pragma once

// What kalmoria-cli tells the script that called it.
enum class ExitCode {
    Success = 0,
    Usage = 1,         // the command line is wrong
    Device = 2,        // no device, or the communication failed
    File = 3,          // a link file cannot be read or written
    WriteRefused = 4,  // the links were not written: they do not fit, or nobody confirmed
    Mismatch = 5,      // the device's links differ from what was written or from the file
    Interrupted = 130, // SIGINT, SIGTERM or SIGHUP, held until the write had ended
};

inline int toInt(ExitCode code)
{
    return static_cast<int>(code);
}
