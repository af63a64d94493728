#pragma once

// A capture file in pcapng, the form Wireshark and tshark read: one section,
// an interface per port (link type USER0, named as the user named the port),
// one enhanced packet block per frame with its direction and, where given,
// a comment. Each block goes to the file in one write as soon as it is
// complete, so a program that dies leaves a file readable up to its last
// whole block; one that cannot write a block whole takes its part back out.

#include "io/NewFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

class PcapngWriter {
public:
    // The private link type the frames of the register protocol travel under.
    static constexpr uint16_t LinkTypeUser0 = 147;

    enum class Direction : uint8_t { Inbound, Outbound }; // as seen from the PC

    // Writes the section header naming `application` into `file`, which it
    // owns from now on. ok() tells whether the file was made and that
    // worked; error() why not.
    PcapngWriter(NewFile file, std::string_view application);
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
    const std::string& path() const { return m_path; }
    // The packets the file holds whole.
    int64_t packets() const { return m_packets; }

private:
    bool writeBlock(const std::string& block);

    int m_fd = -1;
    std::string m_path;
    uint32_t m_interfaces = 0;
    int64_t m_packets = 0;
    off_t m_size = 0; // where the last whole block ends
    std::string m_error;
};
