#pragma once

#include <gtest/gtest.h>

#include <string>

// Suites that check replies and faults run once for each way a transfer may
// end a reply: on the quiet line (the default) and as soon as it is whole.
// Their parameter is the value of Tvep::FastReplyEnd.
inline const auto kBothReplyEnds = testing::Values(false, true);

inline std::string replyEndName(const testing::TestParamInfo<bool>& info)
{
    return info.param ? "FastReplyEnd" : "QuietLineEnd";
}
