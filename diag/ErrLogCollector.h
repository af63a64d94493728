#pragma once

#include <string>
#include <vector>

// True when a collector of this thread took the message (WriteErrLog asks).
bool CollectErrLogMessage(const std::string& msg);

// While it lives, WriteErrLog on the thread that made it keeps its messages
// here instead of writing them: work done on several threads at once can
// then be logged afterwards in a fixed order, as if done one after another.
// The debug switches are read as usual.
class ErrLogCollector {
public:
    ErrLogCollector();
    ~ErrLogCollector();
    ErrLogCollector(const ErrLogCollector&) = delete;
    ErrLogCollector& operator=(const ErrLogCollector&) = delete;

    // The messages kept so far, in order; the collector starts empty again.
    std::vector<std::string> Take();

private:
    friend bool CollectErrLogMessage(const std::string& msg);

    std::vector<std::string> m_messages;
    ErrLogCollector* m_outer;
};
