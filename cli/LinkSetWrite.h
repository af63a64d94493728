#pragma once

// Writing a set of links to the device, as write and restore do: after the
// device was read, with the question (or --yes), the station check, a
// snapshot, and the read-back unless --no-verify.

#include "cli/ExitCode.h"
#include "model/LinkFile.h"

#include <string>

struct CommandContext;

// `file` is the set to write as loaded from `path`, shown in the question.
ExitCode WriteLinkSet(CommandContext& context, const LinkFileLoad& file, const std::string& path);
