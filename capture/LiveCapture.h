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
    LiveCapture(FrameTap& tap, NewFile file);
    ~LiveCapture() override;
    LiveCapture(const LiveCapture&) = delete;
    LiveCapture& operator=(const LiveCapture&) = delete;

    bool ok() const { return m_file.ok(); }
    const std::string& error() const { return m_file.error(); }
    const std::string& path() const { return m_file.path(); }
    int64_t frames() const { return m_file.frames(); }

    void OnFrame(const TappedFrame& frame) override { m_file.Write(frame); }

private:
    FrameTap& m_tap;
    CaptureFile m_file;
};
