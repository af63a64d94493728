#include "tests/common/StationBuilder.h"

#include "diag/TextHelpers.h"

#include <stdexcept>

namespace {

constexpr uint16_t kQmx620 = 0x0900;
constexpr std::size_t kDeviceNameChars = 16;

std::string hexWord(uint16_t value)
{
    return "0x" + WordToHex4(value);
}

} // namespace

StationBuilder& StationBuilder::Type(uint16_t type)
{
    m_type = type;
    return *this;
}

StationBuilder& StationBuilder::Serial(uint16_t serialNumber)
{
    m_serial = serialNumber;
    return *this;
}

StationBuilder& StationBuilder::Address(int32_t address)
{
    m_address = address;
    return *this;
}

ModuleRecord moduleOf(int kind, ModuleCounts counts)
{
    ModuleRecord module;
    module.present = 1;
    module.iModulKennNr = kind;
    module.srcBitCount = counts.srcBits;
    module.srcRegCount = counts.srcRegs;
    module.src2RegCount = counts.src2Regs;
    module.src4Count = counts.src4;
    module.dstBitCount = counts.dstBits;
    module.dstRegCount = counts.dstRegs;
    return module;
}

StationBuilder& StationBuilder::Module(int32_t address, int kind, const ModuleCounts& counts,
                                       const std::string& name, const std::string& typeText)
{
    if (address < 1 || address > kMaxModuleAddress)
        throw std::invalid_argument("module addresses run from 1 to 64, not " + std::to_string(address));
    ModuleRecord& module = m_modules[address];
    module = moduleOf(kind, counts);
    module.name = name;
    module.typeText = typeText;
    return *this;
}

StationBuilder& StationBuilder::Link(const LinkFields& fields)
{
    m_links.push_back({linkRecord(fields), std::nullopt});
    return *this;
}

StationBuilder& StationBuilder::Links(const std::vector<LinkFields>& links)
{
    for (const LinkFields& fields : links)
        Link(fields);
    return *this;
}

StationBuilder& StationBuilder::LinkWords(const DeviceLinkWords& words)
{
    LinkRecord fields;
    DecodeLink(words, fields);
    m_links.push_back({fields, words});
    return *this;
}

StationBuilder& StationBuilder::Register(uint16_t reg, uint16_t value)
{
    m_registers.emplace_back(reg, value);
    return *this;
}

StationBuilder& StationBuilder::Read()
{
    m_read = true;
    return *this;
}

Station StationBuilder::Build() const
{
    Station station;
    station.DeviceType = m_type;
    station.SerialNumber = m_serial;
    station.DeviceAddress = m_address;

    // The central device's own record, as every read fills it.
    ModuleRecord& central = station.ModuleTable[0];
    central.present = 1;
    central.iModulKennNr = kCentralDeviceKind;
    central.name = "Zentrale";
    central.typeText = m_type == kQmx620 ? "QMX-620" : "QMX-240.100";
    central.src4Count = 1;
    for (const auto& [address, module] : m_modules)
        station.ModuleTable[static_cast<std::size_t>(address)] = module;

    std::vector<LinkRecord> links;
    for (const ImageLink& l : m_links)
        links.push_back(l.fields);
    station.ReplaceLinks(links);

    if (m_read) {
        for (const auto& [address, module] : m_modules)
            station.AppendToModuleList(address);
        station.AppendToModuleList(0);
        station.DataState = 0;
        station.OverviewOrigin = station.LinkTableOrigin = station.Identity();
    }
    return station;
}

std::string StationBuilder::DeviceImage() const
{
    std::string image = "[Device]\nType=" + hexWord(m_type) + "\nSerial=" + std::to_string(m_serial)
                        + "\nAddress=" + std::to_string(m_address) + "\n";
    for (const auto& [address, module] : m_modules) {
        image += "\n[Module" + std::to_string(address) + "]\nKind=" + std::to_string(module.iModulKennNr)
                 + "\nSrcBits=" + std::to_string(module.srcBitCount) + "\nSrcRegs=" + std::to_string(module.srcRegCount)
                 + "\nDstBits=" + std::to_string(module.dstBitCount) + "\nDstRegs=" + std::to_string(module.dstRegCount)
                 + "\nSrc2Regs=" + std::to_string(module.src2RegCount) + "\n";
        if (module.name.empty())
            continue;
        // The image reader drops blanks around a value, and the device has
        // room for sixteen characters: such a name would come back otherwise.
        if (module.name.size() > kDeviceNameChars || module.name.front() == ' ')
            throw std::invalid_argument("the device cannot hold the name \"" + module.name + "\"");
        image += "Name=" + module.name + "\n";
    }
    if (!m_links.empty()) {
        image += "\n[Links]\n";
        for (std::size_t n = 0; n < m_links.size(); ++n) {
            const ImageLink& l = m_links[n];
            image += std::to_string(n + 1) + "=";
            if (l.words) {
                image += LinkWordsText(*l.words);
            } else {
                const LinkFields f = linkFields(l.fields);
                for (std::size_t i = 0; i < f.size(); ++i)
                    image += (i > 0 ? "," : "") + std::to_string(f[i]);
            }
            image += "\n";
        }
    }
    if (!m_registers.empty()) {
        image += "\n[Registers]\n";
        for (const auto& [reg, value] : m_registers)
            image += "R" + std::to_string(reg) + "=" + hexWord(value) + "\n";
    }
    return image;
}
