#pragma once

// --capture FILE: the register traffic of the command, frame by frame, in a
// pcapng file for Wireshark.

#include "cli/ExitCode.h"

#include <memory>
#include <optional>

class ConsoleMessages;
class FrameTap;
class LiveCapture;
struct CliOptions;

class CommandCapture {
public:
    // The frames of `tap`, the command's client. Make it once the command's
    // inputs are read, and before it talks to the device.
    CommandCapture(const CliOptions& options, ConsoleMessages& messages, FrameTap& tap);
    ~CommandCapture();
    CommandCapture(const CommandCapture&) = delete;
    CommandCapture& operator=(const CommandCapture&) = delete;

    // File when the capture was asked for and its file cannot be made (said
    // as an error): the command then does not run.
    std::optional<ExitCode> failure() const { return m_failure; }

    // Ends the capture after the command that ended with `command`. A capture
    // that lost frames on the way (a full disk, a size limit) is said as an
    // error naming the frames it holds, and the command ends with File: its
    // messages and data stand, but a script must not take the capture for
    // whole. An interrupt stays the interrupt.
    ExitCode Finish(ExitCode command);

private:
    ConsoleMessages& m_messages;
    std::unique_ptr<LiveCapture> m_capture;
    std::optional<ExitCode> m_failure;
};
