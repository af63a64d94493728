#pragma once

// The subcommands of kalmoria-cli.

#include "cli/ExitCode.h"

class ConsoleMessages;
class DeviceSession;
struct CliOptions;

struct CommandContext {
    const CliOptions& options;
    DeviceSession& session;
    ConsoleMessages& messages;
};

ExitCode RunSearch(CommandContext& context);
ExitCode RunInfo(CommandContext& context);
ExitCode RunRead(CommandContext& context);
ExitCode RunWrite(CommandContext& context);
ExitCode RunDiff(CommandContext& context);
ExitCode RunRestore(CommandContext& context);
ExitCode RunDoctor(CommandContext& context);
ExitCode RunBackup(CommandContext& context);
ExitCode RunBackupStation(CommandContext& context);
