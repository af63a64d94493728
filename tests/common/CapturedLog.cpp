#include "tests/common/CapturedLog.h"

#include "diag/ErrLog.h"

#include <algorithm>
#include <sstream>

CapturedLog::CapturedLog(int debugLevel)
{
    m_folder.write("DEBUG", std::to_string(debugLevel));
    m_log = std::make_unique<DiagnosticLog>(DiagnosticLog::Setup{m_folder.path() + "/", m_folder.path(), {}, {}});
    m_log->startup();
    m_previous = RouteErrLogForTesting(m_log.get());
}

CapturedLog::~CapturedLog()
{
    RouteErrLogForTesting(m_previous);
}

std::vector<std::string> CapturedLog::messages() const
{
    std::vector<std::string> result;
    std::istringstream lines(m_folder.read("Problem2.TXT"));
    for (std::string line; std::getline(lines, line);) {
        const auto open = line.find('>');
        const auto close = line.rfind('<');
        if (open != std::string::npos && close != std::string::npos && close > open)
            result.push_back(line.substr(open + 1, close - open - 1));
    }
    return result;
}

bool CapturedLog::contains(const std::string& message) const
{
    const auto all = messages();
    return std::find(all.begin(), all.end(), message) != all.end();
}
