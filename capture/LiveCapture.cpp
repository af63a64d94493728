#include "capture/LiveCapture.h"

LiveCapture::LiveCapture(FrameTap& tap, const std::string& path)
    : m_tap(tap)
    , m_file(path)
{
    if (m_file.ok())
        m_tap.Attach(*this);
}

LiveCapture::~LiveCapture()
{
    m_tap.Detach(*this);
}
