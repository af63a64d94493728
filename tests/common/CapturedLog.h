#pragma once

#include "diag/DiagnosticLog.h"
#include "tests/common/TempDir.h"

#include <memory>
#include <string>
#include <vector>

// A diagnostic log at the given debug level in a scratch folder, receiving
// every WriteErrLog of the process while it lives.
class CapturedLog {
public:
    explicit CapturedLog(int debugLevel);
    ~CapturedLog();

    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    // The messages written so far, without time stamps.
    std::vector<std::string> messages() const;
    bool contains(const std::string& message) const;

private:
    TempDir m_folder;
    std::unique_ptr<DiagnosticLog> m_log;
    DiagnosticLog* m_previous = nullptr;
};
