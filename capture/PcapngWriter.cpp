#include "capture/PcapngWriter.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {

constexpr uint32_t SectionHeaderBlock = 0x0A0D0D0A;
constexpr uint32_t InterfaceDescriptionBlock = 1;
constexpr uint32_t EnhancedPacketBlock = 6;
constexpr uint32_t ByteOrderMagic = 0x1A2B3C4D;

constexpr uint16_t OptEndOfOptions = 0;
constexpr uint16_t OptComment = 1;
constexpr uint16_t ShbUserApplication = 4;
constexpr uint16_t IfName = 2;
constexpr uint16_t IfTimestampResolution = 9;
constexpr uint8_t MicrosecondResolution = 6;
constexpr uint16_t EpbFlags = 2;
constexpr uint32_t FlagInbound = 1;  // bits 0-1 of the packet flags: the direction
constexpr uint32_t FlagOutbound = 2;

// The file is written in the machine's byte order; the section header's
// byte-order magic tells readers which one it is.
template <typename T>
void append(std::string& block, T value)
{
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    block.append(bytes, sizeof(T));
}

void pad(std::string& block)
{
    block.append((4 - block.size() % 4) % 4, '\0');
}

void appendOption(std::string& block, uint16_t code, std::string_view value)
{
    append<uint16_t>(block, code);
    append<uint16_t>(block, static_cast<uint16_t>(value.size()));
    block.append(value);
    pad(block);
}

// Type and both length fields around `body`, which must be padded already.
std::string framed(uint32_t type, const std::string& body)
{
    const auto length = static_cast<uint32_t>(body.size() + 12);
    std::string block;
    block.reserve(length);
    append(block, type);
    append(block, length);
    block += body;
    append(block, length);
    return block;
}

} // namespace

PcapngWriter::PcapngWriter(NewFile file, std::string_view application)
    : m_fd(file.fd)
    , m_path(std::move(file.path))
    , m_error(std::move(file.reason))
{
    if (m_fd < 0)
        return;
    std::string body;
    append(body, ByteOrderMagic);
    append<uint16_t>(body, 1); // version 1.0
    append<uint16_t>(body, 0);
    append<int64_t>(body, -1); // section length not given: it grows as frames come
    appendOption(body, ShbUserApplication, application);
    appendOption(body, OptEndOfOptions, {});
    writeBlock(framed(SectionHeaderBlock, body));
}

PcapngWriter::~PcapngWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

uint32_t PcapngWriter::AddInterface(std::string_view name)
{
    std::string body;
    append(body, LinkTypeUser0);
    append<uint16_t>(body, 0);
    append<uint32_t>(body, 0); // no snapshot length: frames are kept whole
    appendOption(body, IfName, name);
    appendOption(body, IfTimestampResolution, std::string_view(reinterpret_cast<const char*>(&MicrosecondResolution), 1));
    appendOption(body, OptEndOfOptions, {});
    writeBlock(framed(InterfaceDescriptionBlock, body));
    return m_interfaces++;
}

void PcapngWriter::AddPacket(uint32_t interface, int64_t timeUs, std::string_view bytes, Direction direction,
                             std::string_view comment)
{
    std::string body;
    append(body, interface);
    append(body, static_cast<uint32_t>(static_cast<uint64_t>(timeUs) >> 32));
    append(body, static_cast<uint32_t>(static_cast<uint64_t>(timeUs) & 0xFFFFFFFF));
    append(body, static_cast<uint32_t>(bytes.size()));
    append(body, static_cast<uint32_t>(bytes.size()));
    body.append(bytes);
    pad(body);
    std::string flags;
    append(flags, direction == Direction::Inbound ? FlagInbound : FlagOutbound);
    appendOption(body, EpbFlags, flags);
    if (!comment.empty())
        appendOption(body, OptComment, comment);
    appendOption(body, OptEndOfOptions, {});
    if (writeBlock(framed(EnhancedPacketBlock, body)))
        ++m_packets;
}

bool PcapngWriter::writeBlock(const std::string& block)
{
    if (!ok())
        return false;
    // Straight to the system, no buffer of ours: what has been written
    // survives the program being killed.
    size_t done = 0;
    while (done < block.size()) {
        const ssize_t n = ::write(m_fd, block.data() + done, block.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = n < 0 ? std::strerror(errno) : "nothing written";
            // A full disk or a size limit cuts a block short: the part of it
            // goes, so that the file still opens up to its last whole frame.
            if (::ftruncate(m_fd, m_size) != 0)
                m_error += ", " + std::string(std::strerror(errno));
            return false;
        }
        done += static_cast<size_t>(n);
    }
    m_size += static_cast<off_t>(block.size());
    return true;
}
