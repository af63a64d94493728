#include "diag/ErrLogCollector.h"

#include <utility>

namespace {

thread_local ErrLogCollector* t_collector = nullptr;

} // namespace

ErrLogCollector::ErrLogCollector()
    : m_outer(std::exchange(t_collector, this))
{
}

ErrLogCollector::~ErrLogCollector()
{
    t_collector = m_outer;
}

std::vector<std::string> ErrLogCollector::Take()
{
    return std::exchange(m_messages, {});
}

bool CollectErrLogMessage(const std::string& msg)
{
    if (t_collector == nullptr)
        return false;
    t_collector->m_messages.push_back(msg);
    return true;
}
