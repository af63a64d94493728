#include "cli/CaptureOption.h"

#include "capture/LiveCapture.h"
#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "io/NewFile.h"

#include <string>

CommandCapture::CommandCapture(const CliOptions& options, ConsoleMessages& messages, FrameTap& tap)
    : m_messages(messages)
{
    // backup's --capture names a folder: each station's read captures its
    // own traffic (fleet/BackupCaptures.h).
    if (options.capture.empty() || options.command == Command::Backup)
        return;
    m_capture = std::make_unique<LiveCapture>(tap, CreateNamedFile(options.capture));
    if (!m_capture->ok()) {
        messages.error(CliMessage(kMessageCaptureNotWritten, {pathText(options.capture), m_capture->error()}));
        m_failure = ExitCode::File;
    }
}

CommandCapture::~CommandCapture() = default;

ExitCode CommandCapture::Finish(ExitCode command)
{
    if (!m_capture || m_failure || m_capture->ok())
        return command;
    m_messages.error(CliMessage(kMessageCaptureIncomplete, {pathText(m_capture->path()), m_capture->error(),
                                                             std::to_string(m_capture->frames())}));
    return command == ExitCode::Interrupted ? command : ExitCode::File;
}
