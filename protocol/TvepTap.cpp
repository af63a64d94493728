// The protocol client's side of the frame tap: what a transfer puts on the
// line and takes from it, handed to FrameTap as it happens.

#include "protocol/FrameTap.h"
#include "protocol/Tvep.h"
#include "diag/AnsiText.h"

void Tvep::tapPort(int32_t port, const std::string& path)
{
    // A network port is named by its address, as the user wrote it; a device
    // file by its COM number, with the file it maps to. The name is a text
    // of the program, as the traffic view and the capture show it.
    const std::string shown = fileNameToAnsi(path);
    const bool named = port <= 0 || path.find("://") != std::string::npos;
    m_tap.port = named ? shown : "COM" + std::to_string(port) + " (" + shown + ")";
}

bool Tvep::tapListening() const
{
    return m_frameTap != nullptr && m_frameTap->Listening();
}

void Tvep::tapRequest(std::string_view request)
{
    m_tap.reply.clear();
    m_tap.replyUs = 0;
    if (tapListening())
        m_frameTap->Publish({TappedFrame::Direction::ToDevice, m_tap.port, FrameTap::NowUs(), request, 0, 0});
}

void Tvep::tapReply(std::string_view reply)
{
    // Kept until the attempt's result is known, which the reply then carries.
    if (tapListening()) {
        m_tap.reply.assign(reply);
        m_tap.replyUs = FrameTap::NowUs();
    }
}

void Tvep::tapAttemptEnd(int32_t attempt, int32_t result)
{
    if (tapListening())
        m_frameTap->Publish({TappedFrame::Direction::FromDevice, m_tap.port,
                           m_tap.replyUs != 0 ? m_tap.replyUs : FrameTap::NowUs(), m_tap.reply, attempt, result});
    m_tap.reply.clear();
    m_tap.replyUs = 0;
}
