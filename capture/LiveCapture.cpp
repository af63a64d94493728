#include "capture/LiveCapture.h"

LiveCapture::LiveCapture(const std::string& path)
    : m_file(path)
{
    if (m_file.ok())
        FrameTap::Attach(*this);
}

LiveCapture::~LiveCapture()
{
    FrameTap::Detach(*this);
}
