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
    // The frames of `tap`, the command's client.
    CommandCapture(const CliOptions& options, ConsoleMessages& messages, FrameTap& tap);
    ~CommandCapture();
    CommandCapture(const CommandCapture&) = delete;
    CommandCapture& operator=(const CommandCapture&) = delete;

    // File when the capture was asked for and its file cannot be made (said
    // as an error): the command then does not run.
    std::optional<ExitCode> failure() const { return m_failure; }

private:
    std::unique_ptr<LiveCapture> m_capture;
    std::optional<ExitCode> m_failure;
};
