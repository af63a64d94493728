#pragma once

// A capture file that takes every frame a client's frame tap sees, from the
// moment it is made until it is destroyed.

#include "capture/CaptureFile.h"
#include "protocol/FrameTap.h"

#include <string>

class LiveCapture : public FrameListener {
public:
    // Listens to `tap`, which must outlive the capture, only when the file
    // could be made (ok()).
    LiveCapture(FrameTap& tap, const std::string& path);
    ~LiveCapture() override;
    LiveCapture(const LiveCapture&) = delete;
    LiveCapture& operator=(const LiveCapture&) = delete;

    bool ok() const { return m_file.ok(); }
    const std::string& error() const { return m_file.error(); }

    void OnFrame(const TappedFrame& frame) override { m_file.Write(frame); }

private:
    FrameTap& m_tap;
    CaptureFile m_file;
};
