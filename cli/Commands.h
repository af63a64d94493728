#pragma once

// The subcommands of kalmoria-cli.

#include "cli/ExitCode.h"
#include "model/LinkFile.h"

#include <optional>
#include <variant>

class ConsoleMessages;
class DeviceSession;
struct CliOptions;

struct CommandContext {
    const CliOptions& options;
    DeviceSession& session;
    ConsoleMessages& messages;
    // The links of the command's link file (options.file), read before
    // anything is opened for writing and before any device traffic.
    std::optional<LinkFileLoad> file;
};

ExitCode RunSearch(CommandContext& context);
ExitCode RunInfo(CommandContext& context);
ExitCode RunRead(CommandContext& context);
ExitCode RunWrite(CommandContext& context);
ExitCode RunDiff(CommandContext& context);
ExitCode RunRestore(CommandContext& context);
ExitCode RunDoctor(CommandContext& context);
ExitCode RunBackup(CommandContext& context);
ExitCode RunReport(CommandContext& context);

// The links of the command's link file; or, told on the console, the exit
// code of a file that cannot be read, or that numbers links behind a gap
// (without --force: those would be left out without a word).
std::variant<LinkFileLoad, ExitCode> LoadCommandLinkFile(CommandContext& context);
