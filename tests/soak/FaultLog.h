#pragma once

// The simulator's record of the fault it picked for each transfer, read line
// by line while it is being written.

#include <cstdio>
#include <optional>
#include <string>

struct FaultRecord {
    int transfer = 0;
    std::string kind;   // "clean", "drop", "pause", ...
    int amount = 0;     // the number after the kind, if any
    std::string line;   // the whole line, for messages
};

class FaultLog {
public:
    explicit FaultLog(std::string path);
    ~FaultLog();
    FaultLog(const FaultLog&) = delete;
    FaultLog& operator=(const FaultLog&) = delete;

    // The next record, waiting up to `timeoutMs` for the simulator to write it.
    std::optional<FaultRecord> next(int timeoutMs);

private:
    std::string m_path;
    std::FILE* m_file = nullptr;
    std::string m_partial;
};
