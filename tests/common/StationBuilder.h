#pragma once

// One central device for the tests, told once and given either as the
// Station a unit test works on or as the device image qmx-sim starts from.
// Both carry the same registers: configuration, module kinds and counts,
// names and links.
//
//   StationBuilder().Serial(815).Address(20)
//       .Module(2, 0, {.srcBits = 32, .srcRegs = 12, .dstBits = 24, .dstRegs = 8}, "Pumpwerk Nord")
//       .Link({2, 100, 0, 8, 2, 300, 0, 0})
//       .Read().Build();

#include "model/Station.h"
#include "tests/common/TableLinks.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The six counts of a module record, its source's first. The device keeps
// all but src4 in the module's station data.
struct ModuleCounts {
    int srcBits = 0;
    int srcRegs = 0;
    int src2Regs = 0;
    int src4 = 0;
    int dstBits = 0;
    int dstRegs = 0;
};

// A present module of `kind` with the given counts.
ModuleRecord moduleOf(int kind, ModuleCounts counts);

class StationBuilder {
public:
    // Unless told otherwise a QMX-240.100 (type 0x3301) with serial number 0
    // at bus address 1: what qmx-sim makes of an image that leaves them out.
    StationBuilder& Type(uint16_t type);
    StationBuilder& Serial(uint16_t serialNumber);
    StationBuilder& Address(int32_t address);

    // A present module at `address` (1..64) of `kind`; a later one at the
    // same address takes its place. The name is Windows-1252; without one the
    // device keeps its factory name, and DeviceImage() refuses one the device
    // cannot hold as given (over sixteen characters, a blank first). The type
    // text is only the Station's: the device has none.
    StationBuilder& Module(int32_t address, int kind, const ModuleCounts& counts = {}, const std::string& name = {},
                           const std::string& typeText = {});

    // The next link by its eight fields, the last one 1 for an inactive link.
    StationBuilder& Link(const LinkFields& fields);
    StationBuilder& Links(const std::vector<LinkFields>& links);
    // The next link as the four words the device holds: for words the
    // fields cannot give, or a test that shows them as they are.
    StationBuilder& LinkWords(const DeviceLinkWords& words);

    // A register the image sets last, bending what the rest made of it (a
    // name the device garbled, an odd existence word). Build() ignores it.
    StationBuilder& Register(uint16_t reg, uint16_t value);

    // Build() gives the station as a complete device read leaves it: the
    // central device listed first and again behind the present modules, the
    // data complete, the module overview and the links this station's.
    StationBuilder& Read();

    // The central device's record at 0 as a read fills it, each module's
    // record as given and the links; with Read() also listed. A read of the
    // image would take an SK40F's or an XTQ's counts from its kind, pad the
    // names to sixteen characters and name the types itself. Port, signal
    // groups and kept links stay as a new Station has them.
    Station Build() const;
    // qmx-sim's image of the device (see sim/DeviceImage.h).
    std::string DeviceImage() const;

private:
    struct ImageLink {
        LinkRecord fields;
        std::optional<DeviceLinkWords> words; // as written in the image
    };

    uint16_t m_type = 0x3301;
    uint16_t m_serial = 0;
    int32_t m_address = 1;
    std::map<int32_t, ModuleRecord> m_modules;
    std::vector<ImageLink> m_links;
    std::vector<std::pair<uint16_t, uint16_t>> m_registers;
    bool m_read = false;
};
