#pragma once

// Frames of the register traffic written to a pcapng file as they are
// given: each port an interface of its own, the frame that ends a
// transfer's attempt commented with its result. A reply of no bytes marks an
// attempt that got none. LiveCapture feeds it from the frame tap; the
// traffic view from the frames it lists.

#include "capture/PcapngWriter.h"
#include "capture/TransferWords.h"
#include "protocol/FrameTap.h"

#include <map>
#include <string>

class CaptureFile {
public:
    // Starts the capture into `file` (io/NewFile.h). ok() tells whether the
    // file could be made. Make it on the thread of the language texts: the
    // comments' words are read here.
    explicit CaptureFile(NewFile file);
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    // False once the file could not be made, or a frame not written: the
    // file then holds the frames() before that one, and no more.
    bool ok() const { return m_writer.ok(); }
    // Why the file could not be made or written, in the system's words.
    const std::string& error() const { return m_writer.error(); }
    const std::string& path() const { return m_writer.path(); }
    int64_t frames() const { return m_writer.packets(); }

    void Write(const TappedFrame& frame);

private:
    PcapngWriter m_writer;
    const TransferWords m_words;
    std::map<std::string, uint32_t, std::less<>> m_interfaces; // port name -> interface
    int64_t m_transfers = 0;
};
