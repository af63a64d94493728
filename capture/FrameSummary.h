#pragma once

// A register protocol frame in a few words, as the traffic view lists it:
// "read 1500 ×20", "write 30800 ×252", "read 2100 ×4, write 30800 ×4",
// "reply 1500 ×20", each followed by ", CRC ok" or ", CRC bad" where the
// frame carries a CRC. The words are the protocol's own and stay English,
// like the field names of the dissector. Windows-1252.

#include <string>
#include <string_view>

std::string FrameSummary(std::string_view frame);
