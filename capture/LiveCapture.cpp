#include "capture/LiveCapture.h"

#include <utility>

LiveCapture::LiveCapture(FrameTap& tap, NewFile file)
    : m_tap(tap)
    , m_file(std::move(file))
{
    if (m_file.ok())
        m_tap.Attach(*this);
}

LiveCapture::~LiveCapture()
{
    m_tap.Detach(*this);
}
