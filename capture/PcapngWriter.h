#pragma once

// A capture file in pcapng, the form Wireshark and tshark read: one section,
// an interface per port (link type USER0, named as the user named the port),
// one enhanced packet block per frame with its direction and, where given,
// a comment. Each block goes to the file in one write as soon as it is
// complete, so a program that dies leaves a file readable up to its last
// whole block.

#include <cstdint>
#include <string>
#include <string_view>

class PcapngWriter {
public:
    // The private link type the frames of the register protocol travel under.
    static constexpr uint16_t LinkTypeUser0 = 147;

    enum class Direction : uint8_t { Inbound, Outbound }; // as seen from the PC

    // Creates or empties `path` and writes the section header naming
    // `application`. ok() tells whether that worked; error() why not.
    PcapngWriter(const std::string& path, std::string_view application);
    ~PcapngWriter();
    PcapngWriter(const PcapngWriter&) = delete;
    PcapngWriter& operator=(const PcapngWriter&) = delete;

    // A new interface named `name` (UTF-8); its number for AddPacket.
    uint32_t AddInterface(std::string_view name);
    // One frame on interface `interface` at `timeUs` (microseconds since
    // 1970), with a comment (UTF-8) unless it is empty.
    void AddPacket(uint32_t interface, int64_t timeUs, std::string_view bytes, Direction direction,
                   std::string_view comment = {});

    // False once the file could not be created or a block not written; no
    // more blocks are written then.
    bool ok() const { return m_fd >= 0 && m_error.empty(); }
    const std::string& error() const { return m_error; }

private:
    void writeBlock(const std::string& block);

    int m_fd = -1;
    uint32_t m_interfaces = 0;
    std::string m_error;
};
