#include "sim/DeviceImage.h"

#include "sim/NumberText.h"

#include "diag/AnsiText.h"

#include <QStringDecoder>

#include <SimpleIni.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

namespace qmxsim {

namespace {

constexpr int kNameChars = 2 * Registers::NameRegisters;
constexpr uint16_t kPresentWord = 0x0000;
constexpr uint16_t kAbsentWord = 0xFFFF;
constexpr int kCentralKind = 6;
constexpr int kMaxImageLinks = Registers::LinkAreaSlots - 1; // the end slot needs room

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}


std::string quoted(std::string_view text)
{
    std::string out(1, '"');
    out.append(text);
    out.push_back('"');
    return out;
}

std::vector<std::string> splitComma(std::string_view text)
{
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t comma = text.find(',');
        std::string_view part = text.substr(0, comma);
        while (!part.empty() && std::isspace(static_cast<unsigned char>(part.front())))
            part.remove_prefix(1);
        while (!part.empty() && std::isspace(static_cast<unsigned char>(part.back())))
            part.remove_suffix(1);
        parts.emplace_back(part);
        if (comma == std::string_view::npos)
            return parts;
        text.remove_prefix(comma + 1);
    }
}

// Reads one image, remembering the first mistake.
class ImageReader {
public:
    ImageReader(const CSimpleIniA& ini, RegisterMap& map)
        : m_ini(ini)
        , m_map(map)
    {
    }

    bool load();
    const std::string& error() const { return m_error; }

private:
    bool fail(const std::string& section, const std::string& key, const std::string& problem)
    {
        if (m_error.empty())
            m_error = "[" + section + "]" + (key.empty() ? "" : " " + key) + ": " + problem;
        return false;
    }
    // The value of `key` within [min, max], or `fallback` when the key is missing.
    std::optional<long> number(const char* section, const char* key, long fallback, long min, long max);
    void put(uint16_t reg, long value) { m_map.set(reg, static_cast<uint16_t>(value)); }

    bool loadDevice();
    bool loadModule(const char* section, int address);
    bool loadLinks(const char* section);
    bool loadRegisters(const char* section);
    bool checkKeys(const char* section, std::initializer_list<const char*> allowed);

    const CSimpleIniA& m_ini;
    RegisterMap& m_map;
    std::string m_error;
};

std::optional<long> ImageReader::number(const char* section, const char* key, long fallback, long min,
                                        long max)
{
    const char* text = m_ini.GetValue(section, key, nullptr);
    if (text == nullptr)
        return fallback;
    const std::optional<long> value = parseInteger(text);
    if (!value) {
        fail(section, key, quoted(text) + " is not a number");
        return std::nullopt;
    }
    if (*value < min || *value > max) {
        fail(section, key, std::string(text) + " is outside " + std::to_string(min) + ".." + std::to_string(max));
        return std::nullopt;
    }
    return value;
}

bool ImageReader::checkKeys(const char* section, std::initializer_list<const char*> allowed)
{
    CSimpleIniA::TNamesDepend keys;
    m_ini.GetAllKeys(section, keys);
    for (const auto& key : keys) {
        const std::string name = lower(key.pItem);
        if (std::none_of(allowed.begin(), allowed.end(), [&](const char* a) { return lower(a) == name; }))
            return fail(section, key.pItem, "unknown key");
    }
    return true;
}

bool ImageReader::load()
{
    // Every slot starts empty with its factory name; the sections fill in the rest.
    for (int address = 1; address <= Registers::Modules; ++address) {
        put(Registers::existence(address), kAbsentWord);
        std::string name;
        EncodeModuleName(DefaultModuleName(address), name);
        for (int i = 0; i < Registers::NameRegisters; ++i)
            put(static_cast<uint16_t>(Registers::name(address) + i),
                static_cast<uint8_t>(name[2 * i]) << 8 | static_cast<uint8_t>(name[2 * i + 1]));
    }
    put(Registers::station(0) + Registers::StationKindWord, kCentralKind);
    // The configuration has its defaults also when the image leaves [Device] out.
    if (!loadDevice())
        return false;

    CSimpleIniA::TNamesDepend sections;
    m_ini.GetAllSections(sections);
    sections.sort(CSimpleIniA::Entry::LoadOrder());
    std::optional<std::string> links;
    std::optional<std::string> registers;
    for (const auto& entry : sections) {
        const std::string name = lower(entry.pItem);
        if (name == "device") {
            // read above, with its defaults
        } else if (name == "links") {
            links = entry.pItem;
        } else if (name == "registers") {
            registers = entry.pItem;
        } else if (name.starts_with("module")) {
            const std::optional<long> address = parseInteger(std::string_view(name).substr(6));
            if (!address || *address < 1 || *address > Registers::Modules)
                return fail(entry.pItem, "", "module addresses run from 1 to 64");
            if (!loadModule(entry.pItem, static_cast<int>(*address)))
                return false;
        } else {
            return fail(entry.pItem, "", "unknown section");
        }
    }
    if (links && !loadLinks(links->c_str()))
        return false;
    // Raw registers come last, so they can bend anything the sections built.
    return !registers || loadRegisters(registers->c_str());
}

bool ImageReader::loadDevice()
{
    if (!checkKeys("Device", {"Type", "Serial", "Address"}))
        return false;
    const auto type = number("Device", "Type", 0x3301, 0, 0xFFFF);
    const auto serial = number("Device", "Serial", 0, 0, 0xFFFF);
    const auto address = number("Device", "Address", 1, 0, 0xFFFF);
    if (!type || !serial || !address)
        return false;
    put(Registers::DeviceType, *type);
    put(Registers::SerialNumber, *serial);
    put(Registers::DeviceAddress, *address);
    return true;
}

bool ImageReader::loadModule(const char* section, int address)
{
    if (!checkKeys(section, {"Kind", "SrcBits", "SrcRegs", "DstBits", "DstRegs", "Src2Regs", "Name", "Exists"}))
        return false;
    const auto exists = number(section, "Exists", kPresentWord, 0, 0xFFFF);
    const auto kind = number(section, "Kind", 0, 0, 0xFFFF);
    if (!exists || !kind)
        return false;
    put(Registers::existence(address), *exists);
    const uint16_t station = Registers::station(address);
    put(station + Registers::StationKindWord, *kind);

    int word = Registers::StationCountsWord;
    for (const char* key : {"SrcBits", "SrcRegs", "DstBits", "DstRegs", "Src2Regs"}) {
        const auto count = number(section, key, 0, 0, 0xFFFF);
        if (!count)
            return false;
        put(static_cast<uint16_t>(station + word++), *count);
    }

    if (const char* text = m_ini.GetValue(section, "Name", nullptr)) {
        std::string bytes;
        if (!EncodeModuleName(text, bytes))
            return fail(section, "Name", "longer than " + std::to_string(kNameChars) + " characters");
        for (int i = 0; i < Registers::NameRegisters; ++i)
            put(static_cast<uint16_t>(Registers::name(address) + i),
                static_cast<uint8_t>(bytes[2 * i]) << 8 | static_cast<uint8_t>(bytes[2 * i + 1]));
    }
    return true;
}

bool ImageReader::loadLinks(const char* section)
{
    CSimpleIniA::TNamesDepend keys;
    m_ini.GetAllKeys(section, keys);
    std::map<long, std::string> byNumber;
    for (const auto& key : keys) {
        const std::optional<long> n = parseInteger(key.pItem);
        if (!n || *n < 1 || *n > kMaxImageLinks)
            return fail(section, key.pItem, "links are numbered 1 to " + std::to_string(kMaxImageLinks));
        byNumber[*n] = m_ini.GetValue(section, key.pItem, "");
    }
    // A gap would leave a slot of the list undefined on the device.
    long expected = 1;
    for (const auto& entry : byNumber) {
        if (entry.first != expected)
            return fail(section, std::to_string(expected), "missing; links are numbered without gaps");
        ++expected;
    }

    for (const auto& [n, text] : byNumber) {
        const std::string key = std::to_string(n);
        const std::vector<std::string> parts = splitComma(text);
        std::array<uint16_t, 4> words{};
        if (parts.size() == 4) {
            // The four device words in hex, as the program's link file shows them.
            for (std::size_t i = 0; i < 4; ++i) {
                const std::optional<long> w = parseInteger("0x" + parts[i]);
                if (parts[i].size() > 4 || !w)
                    return fail(section, key, quoted(parts[i]) + " is not a hex word");
                words[i] = static_cast<uint16_t>(*w);
            }
        } else if (parts.size() == 8) {
            // ModulQ, RegVon, BitVon, AnzBit, ModulZ, RegZ, BitZ, deaktiv.
            static constexpr std::array<long, 8> kMax = {127, 0xFFFF, 15, 255, 127, 0xFFFF, 15, 1};
            std::array<long, 8> f{};
            for (std::size_t i = 0; i < 8; ++i) {
                const std::optional<long> v = parseInteger(parts[i]);
                if (!v || *v < 0 || *v > kMax[i])
                    return fail(section, key, "field " + std::to_string(i + 1) + " " + quoted(parts[i]) +
                                                  " is outside 0.." + std::to_string(kMax[i]));
                f[i] = *v;
            }
            words = {static_cast<uint16_t>(f[7] << 15 | f[0] << 8 | f[4]), static_cast<uint16_t>(f[1]),
                     static_cast<uint16_t>(f[5]), static_cast<uint16_t>(f[2] << 12 | f[6] << 8 | f[3])};
        } else {
            return fail(section, key, "expected four hex words or eight fields");
        }
        const uint16_t slot = static_cast<uint16_t>(Registers::LinkFirst + 4 * (n - 1));
        for (int i = 0; i < 4; ++i)
            put(static_cast<uint16_t>(slot + i), words[i]);
    }
    // The rest of the area stays erased, so the slot behind the last link ends the list.
    return true;
}

bool ImageReader::loadRegisters(const char* section)
{
    CSimpleIniA::TNamesDepend keys;
    m_ini.GetAllKeys(section, keys);
    for (const auto& key : keys) {
        const std::string name = key.pItem;
        std::optional<long> reg;
        if (name.size() > 1 && (name[0] == 'R' || name[0] == 'r'))
            reg = parseInteger(std::string_view(name).substr(1));
        if (!reg || *reg < 0 || *reg > 0xFFFF)
            return fail(section, name, "keys are R followed by a register number");
        if (!m_map.exists(static_cast<uint16_t>(*reg)))
            return fail(section, name, "the device has no such register");
        const auto value = number(section, key.pItem, 0, 0, 0xFFFF);
        if (!value)
            return false;
        put(static_cast<uint16_t>(*reg), *value);
    }
    return true;
}

} // namespace

std::string DefaultModuleName(int address)
{
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", address);
    return std::string("Modul-Adresse:") + digits;
}

bool EncodeModuleName(std::string_view text, std::string& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString unicode = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    bytes = utf8.hasError() ? std::string(text) : qStringToAnsi(unicode);
    if (bytes.size() > static_cast<std::size_t>(kNameChars))
        return false;
    // Blanks, not zeros: a zero high byte marks a register without a name.
    bytes.resize(kNameChars, ' ');
    return true;
}

bool LoadDeviceImage(std::string_view iniText, RegisterMap& map, std::string& error)
{
    CSimpleIniA ini;
    if (ini.LoadData(iniText.data(), iniText.size()) < 0) {
        error = "not a readable INI text";
        return false;
    }
    ImageReader reader(ini, map);
    const bool ok = reader.load();
    error = reader.error();
    return ok;
}

bool LoadDeviceImageFile(const std::string& path, RegisterMap& map, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be opened";
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!LoadDeviceImage(text, map, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace qmxsim
