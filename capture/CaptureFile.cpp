#include "capture/CaptureFile.h"

#include "diag/AnsiText.h"

#include <utility>

namespace {

// pcapng holds its names and comments in UTF-8; ours are Windows-1252.
std::string utf8(std::string_view ansi)
{
    return ansiToQString(ansi).toStdString();
}

} // namespace

CaptureFile::CaptureFile(NewFile file)
    : m_writer(std::move(file), "Kalmoria " KALMORIA_VERSION)
{
}

void CaptureFile::Write(const TappedFrame& frame)
{
    auto interface = m_interfaces.find(frame.port);
    if (interface == m_interfaces.end())
        interface = m_interfaces.emplace(std::string(frame.port), m_writer.AddInterface(utf8(frame.port))).first;
    if (frame.direction == TappedFrame::Direction::ToDevice) {
        m_writer.AddPacket(interface->second, frame.timeUs, frame.bytes, PcapngWriter::Direction::Outbound);
        return;
    }
    if (frame.attempt <= 1)
        ++m_transfers;
    m_writer.AddPacket(interface->second, frame.timeUs, frame.bytes, PcapngWriter::Direction::Inbound,
                       utf8(m_words.Comment(m_transfers, frame.attempt, frame.result)));
}
