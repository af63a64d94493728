#pragma once

// The numbered messages of the command-line program, in the language files
// beside the device sequences' own. A link file that cannot be read or
// written is told with the link file's own messages (model/LinkFile.h).

#include "diag/MessageNumbers.h"
#include "diag/Result.h"

#include <cstdint>
#include <string>
#include <vector>

// Message n with its arguments; without any it gets the " - " every message
// without arguments of its own gets.
std::string CliMessage(int n, const std::vector<std::string>& arguments = {});

// Why a read of the device stopped at a transfer that failed, for a
// console: the cause, and whether --retries repeated it (`retries` times).
// Empty when no transfer failed.
std::string TransferFailureText(const Result& result, int retries);

// A number of links with the word in the right number: "1 Verknüpfung", "3 Verknüpfungen".
std::string LinkCountText(int64_t count);
