#include "sequences/TransferProgress.h"

#include "sequences/SequenceObserver.h"

#include <algorithm>

TransferProgress::TransferProgress(SequenceObserver* view, int total)
    : m_view(view)
    , m_total(std::max(total, 0))
{
    show();
}

TransferProgress::~TransferProgress()
{
    if (m_view != nullptr)
        m_view->HideProgress();
}

void TransferProgress::SetTotal(int total)
{
    m_total = std::max(total, m_done);
    show();
}

void TransferProgress::Step()
{
    ++m_done;
    if (m_total == 0)
        return;
    // Never more done than there are in all.
    m_total = std::max(m_total, m_done);
    show();
}

void TransferProgress::show()
{
    if (m_view != nullptr && m_total > 0)
        m_view->SetProgress(m_done, m_total);
}
