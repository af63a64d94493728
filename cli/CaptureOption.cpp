#include "cli/CaptureOption.h"

#include "capture/LiveCapture.h"
#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"

CommandCapture::CommandCapture(const CliOptions& options, ConsoleMessages& messages, FrameTap& tap)
{
    // backup's --capture names a folder: each station's process captures
    // its own traffic (cli/BackupCaptures.h).
    if (options.capture.empty() || options.command == Command::Backup)
        return;
    m_capture = std::make_unique<LiveCapture>(tap, options.capture);
    if (!m_capture->ok()) {
        messages.error(CliMessage(kMessageCaptureNotWritten, {pathText(options.capture), m_capture->error()}));
        m_failure = ExitCode::File;
    }
}

CommandCapture::~CommandCapture() = default;
