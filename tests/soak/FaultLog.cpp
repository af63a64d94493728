#include "tests/soak/FaultLog.h"

#include <chrono>
#include <sstream>
#include <thread>

FaultLog::FaultLog(std::string path)
    : m_path(std::move(path))
{
}

FaultLog::~FaultLog()
{
    if (m_file)
        std::fclose(m_file);
}

std::optional<FaultRecord> FaultLog::next(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (!m_file)
            m_file = std::fopen(m_path.c_str(), "r");
        if (m_file) {
            int c = 0;
            while ((c = std::fgetc(m_file)) != EOF && c != '\n')
                m_partial += static_cast<char>(c);
            if (c == '\n') {
                FaultRecord record;
                record.line = m_partial;
                m_partial.clear();
                std::istringstream fields(record.line);
                fields >> record.transfer >> record.kind >> record.amount;
                return record;
            }
            std::clearerr(m_file); // the writer may add more
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}
