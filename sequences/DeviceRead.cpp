#include "sequences/DeviceRead.h"

#include "sequences/DeviceConfiguration.h"
#include "sequences/DeviceNotices.h"
#include "protocol/DeviceRegisters.h"
#include "protocol/LinkArea.h"
#include "sequences/ModuleExistence.h"
#include "sequences/StationData.h"
#include "sequences/TransferProgress.h"
#include "protocol/Tvep.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "model/Station.h"
#include "sequences/SequenceObserver.h"

#include <algorithm>

namespace R = DeviceRegisters;

namespace {

// Transfers of a read besides the station data of the modules: existence,
// configuration, the four name blocks, the central device and the links.
constexpr int kTransfersBesideModules = 8;

void logIf(bool condition, const std::string& line)
{
    if (condition)
        WriteErrLog(line);
}

bool readTrace() { return DebugBit(16) || DebugBit(32); }
bool stepTrace() { return DebugBit(32); }

int32_t readRegisters(Tvep& vep, int32_t first, int32_t count, std::span<uint16_t> into)
{
    return vep.Transfer(0, 0, {}, first, count, into, true);
}

// Message 13: the read stopped at a transfer that failed.
Notice communicationNotice()
{
    return DeviceNotice(kMessageReadFailed, Notice::Severity::Information);
}

class DeviceReadRun {
public:
    DeviceReadRun(Tvep& vep, Station& station, SequenceObserver& view)
        : m_vep(vep)
        , m_station(station)
        , m_view(view)
        // The total is known once the existence words tell the occupied addresses.
        , m_progress(&view, 0)
    {
    }

    DeviceReadResult run()
    {
        m_station.ResetModel();
        m_view.ModulesChanged();
        m_view.Repaint();
        m_station.ModulAnzahl = 0;
        m_station.DataState = 0;
        // What is read from here on belongs to the device now on the line.
        m_station.LinkTableOrigin.reset();
        m_station.OverviewOrigin.reset();
        logIf(DebugFlag(), "L01 - QMX-lesen - OpenComport:" + IntToText(m_station.ComPortNr) + ", " + IntToText(m_station.ComBaud)
                               + ", " + std::string(1, m_station.ComParity));
        readModuleExistence();
        m_view.Repaint();
        readModules();
        finishModules();
        if (m_station.ModulAnzahl > 0)
            readLinks();
        logIf(stepTrace(), "L24 - ClosePort");
        m_vep.ClosePort();
        logIf(DebugFlag(), "L25 - QMX-lesen ende - ModulAnzahl:" + IntToText(m_station.ModulAnzahl) + ", AnzBefehle:"
                               + IntToText(m_station.AnzBefehle));
        m_view.ShowStatus();
        m_result.modules = m_station.ModulAnzahl;
        m_result.links = m_station.AnzBefehle;
        return std::move(m_result);
    }

private:
    bool openPort() { return m_vep.OpenPort(m_station.ComPortNr, m_station.ComBaud, m_station.ComParity); }

    // A step failed: the data are incomplete, and what stopped the read is
    // the last thing the user is told.
    void fail(Outcome outcome, int32_t transferResult, Notice notice)
    {
        m_station.DataState = 1;
        m_result.outcome = outcome;
        m_result.transferResult = transferResult;
        m_result.notices.push_back(std::move(notice));
        AddConnectionLost(m_result.notices, m_vep.Serial());
    }

    void communicationFailure(const std::string& line, int32_t transferResult)
    {
        logIf(stepTrace(), line);
        fail(Outcome::TransferFailed, transferResult, communicationNotice());
    }

    int32_t read(int32_t first, int32_t count, std::span<uint16_t> into)
    {
        const int32_t result = readRegisters(m_vep, first, count, into);
        m_progress.Step();
        return result;
    }

    void readStation(int32_t address)
    {
        if (const int32_t result = GetStationCom(m_vep, m_station, address); result < 0)
            fail(Outcome::TransferFailed, result, communicationNotice());
        m_progress.Step();
    }

    void readModuleExistence()
    {
        // What an earlier run found says nothing about the device now.
        m_moduleExists.fill(false);
        if (!openPort()) {
            // Without the existence words the module list cannot be complete.
            // Said once the next open shows whether the port works at all.
            logIf(stepTrace(), "L02 - Comport l\xE4sst sich nicht \xF6" "ffnen (Modul-Exist)");
            m_station.DataState = 1;
            m_existenceUnread = true;
            return;
        }
        logIf(readTrace(), "L03 - lese Modul-Exist ab 2100");
        const ModuleExistence existence = ReadModuleExistence(m_vep, m_station);
        m_progress.Step();
        m_lastResult = existence.transferResult;
        if (m_lastResult < 0)
            communicationFailure("L12.1 - Kommunikationsfehler", m_lastResult);
        m_moduleExists = existence.occupied;
        // Only the occupied addresses cost a transfer of their own.
        m_progress.SetTotal(kTransfersBesideModules
                            + static_cast<int>(std::count(m_moduleExists.begin(), m_moduleExists.end(), true)));
        logIf(stepTrace(), "L04 - lese Modul-Exist ab 2100 - ende");
    }

    // Configuration, names and station data; returns early where the run
    // cannot go on with the modules.
    void readModules()
    {
        logIf(stepTrace(), "L05 - if OpenComport");
        if (!openPort()) {
            // Nothing was read: writing now would replace the device's links
            // with an empty list.
            fail(Outcome::PortNotOpen, Tvep::ErrPortClosed,
                 PortOpenNotice(m_station.ComPortNr, m_vep.Serial().OpenProblem)
                     .value_or(DeviceNoticeFollowedBy(kMessagePortWillNotOpen, Notice::Severity::Error,
                                                      IntToText(m_lastResult))));
            logIf(stepTrace(), "L20 - Comport l\xE4sst sich nicht \xF6" "ffnen");
            return;
        }
        if (m_existenceUnread) {
            // The port opens now, but the modules cannot be known: a failed
            // read, not an empty device.
            communicationFailure("L05a - Modul-Exist nicht gelesen, erstes \xD6" "ffnen des Comport fehlgeschlagen",
                                 Tvep::ErrPortClosed);
            return;
        }
        if (!checkDevice())
            return;
        logIf(stepTrace(), "L11 - Lade ersten Namensblock 0");
        m_vep.SetTimeouts(1500, 50);
        if (const int32_t result = read(R::NameBlocks, R::NameBlockCount, m_nameBlock); result < 0) {
            communicationFailure("L12.2 - Kommunikationsfehler", result);
            return;
        }
        for (int32_t address = 1; address <= kMaxModuleAddress; ++address) {
            if (!readModule(address))
                return;
        }
        logIf(stepTrace(), "L18 - starte GetStationCom(64)");
        readStation(0);
        m_station.AppendToModuleList(0);
    }

    bool checkDevice()
    {
        logIf(stepTrace(), "L06 - lese QMX_config ab 1500");
        const DeviceConfiguration configuration = ReadConfiguration(m_vep, m_station.receiveWords());
        m_progress.Step();
        // Without a reply there is no device type.
        m_station.DeviceType = configuration.type;
        logIf(stepTrace(), "L07 - QMX_Typ(1506) = " + IntToText(m_station.DeviceType));
        if (configuration.answered()) {
            m_station.DeviceAddress = configuration.address;
        } else {
            logIf(stepTrace(), "L08 - keine Modul = " + IntToText(m_station.DeviceType));
            m_station.DeviceAddress = configuration.transferResult;
        }
        if (!configuration.accepted()) {
            // No device of ours: nothing read may be written back.
            fail(configuration.answered() ? Outcome::NoDevice : Outcome::TransferFailed,
                 configuration.transferResult,
                 DeviceNoticeFollowedBy(kMessageNoDeviceOfOurs, Notice::Severity::Error, IntToText(m_station.DeviceType)));
            logIf(stepTrace(), "L09 - Falsches oder kein Ger\xE4t - Modultyp: " + IntToText(m_station.DeviceType));
            return false;
        }
        logIf(stepTrace(), "L10 - QMX_Typ(1506) ist OK " + IntToText(m_station.DeviceType));
        m_view.SetBusyCursor(true);
        m_busy = true;
        m_station.SerialNumber = configuration.serialNumber;
        m_station.OverviewOrigin = m_station.LinkTableOrigin = m_station.Identity();
        logIf(stepTrace(), "L10 - QMX ist OK - SN " + IntToText(m_station.SerialNumber));
        return true;
    }

    bool readModule(int32_t address)
    {
        m_vep.SetTimeouts(1500, 50);
        const int32_t index = address - 1;
        if (index == 16 || index == 32 || index == 48) {
            const int32_t block = index / 16;
            const int32_t result = read(R::NameBlocks + R::NameBlockCount * block, R::NameBlockCount, m_nameBlock);
            if (result < 0) {
                communicationFailure("L12." + IntToText(block + 2) + " - Kommunikationsfehler", result);
                return false;
            }
            logIf(stepTrace(), "L11-" + IntToText(block + 1) + " - Lade Namensblock " + IntToText(index));
        }
        ClearModule(m_station, address);
        logIf(stepTrace(), "L15-" + IntToText(address) + " -bedingter Aufruf GetStationCom");
        if (m_moduleExists[static_cast<std::size_t>(index)])
            readStation(address);
        if (m_station.DataState > 0)
            return false;
        m_view.SetProgressText("lese: " + IntToText(address));
        ModuleRecord& module = m_station.ModuleTable[static_cast<std::size_t>(address)];
        if (module.present != 0) {
            m_station.AppendToModuleList(address);
            logIf(stepTrace(), "L17 - ModulAnzahl = " + IntToText(m_station.ModulAnzahl));
        }
        module.name = ModuleDisplayName(DecodeModuleName(m_nameBlock, index), address);
        logIf(DebugBit(128), "B-Name: " + module.name);
        return true;
    }

    void finishModules()
    {
        if (m_busy)
            m_view.SetBusyCursor(false);
        logIf(stepTrace(), "L21 - aufruf ZeigeStation");
        m_view.ModulesChanged();
        m_station.LoadSignalGroups();
        m_view.ShowStatus();
    }

    void readLinks()
    {
        logIf(stepTrace(), "L22 - start Verkn\xFCpfungen lesen ab 30800");
        m_vep.SetTimeouts(500, 50);
        const std::span<const uint16_t> area = m_station.receiveWords().first(R::LinkAreaCount);
        if (const int32_t result = read(R::LinkArea, R::LinkAreaCount, m_station.receiveWords()); result < 0) {
            communicationFailure("L12.6 - Kommunikationsfehler", result);
            return;
        }
        const DecodedLinkArea decoded = DecodeLinkArea(area);
        for (int32_t n = 1; n <= decoded.slotsRead; ++n) {
            const DeviceLinkWords words = LinkAreaSlot(area, n);
            logIf(DebugBit(16), "L23-" + IntToText(n) + " - Verkn\xFCpfungen lesen. R1=" + IntToText(words.r1)
                                    + ", R2=" + IntToText(words.r2) + ", R3=" + IntToText(words.r3)
                                    + ", R4=" + IntToText(words.r4));
        }
        m_station.ReplaceLinks(decoded.links);
        if (!decoded.terminated)
            m_result.notices.push_back(DeviceNotice(kMessageLinkListNotTerminated, Notice::Severity::Warning,
                                                    {IntToText(decoded.slotsRead)}));
    }

    Tvep& m_vep;
    Station& m_station;
    SequenceObserver& m_view;
    // Working storage of the read.
    std::array<bool, R::ModuleExistenceCount> m_moduleExists{};
    NameBlockWords m_nameBlock{};
    TransferProgress m_progress;
    DeviceReadResult m_result;
    int32_t m_lastResult = 0;
    bool m_busy = false;
    bool m_existenceUnread = false;
};

} // namespace

DeviceReadResult ReadDevice(Tvep& vep, Station& station, SequenceObserver& view)
{
    return DeviceReadRun(vep, station, view).run();
}

void ClearModule(ModuleModel& station, int32_t address)
{
    if (!IsModuleAddress(address))
        return;
    ModuleRecord& module = station.ModuleTable[static_cast<std::size_t>(address)];
    module.present = 0;
    module.name.clear();
    module.typeText.clear();
    module.srcBitCount = 0;
    module.dstBitCount = 0;
    module.srcRegCount = 0;
    module.dstRegCount = 0;
    module.src2RegCount = 0;
}

int32_t GetStationCom(Tvep& vep, Station& station, int32_t address)
{
    if (!IsModuleAddress(address))
        return Tvep::Ok;
    logIf(readTrace(), "L17-" + IntToText(address) + " - function GetStationCom (Stationsdaten - lesen) "
                           + IntToText(address));
    vep.SetTimeouts(500, 50);
    const int32_t first = StationDataRegister(address);
    StationWords stationData{};
    if (const int32_t result = readRegisters(vep, first, R::StationDataCount, stationData); result < 0) {
        logIf(stepTrace(), "L12.0 - Kommunikationsfehler");
        station.DataState = 1;
        return result;
    }
    logIf(stepTrace(), "L17a - Stationsdaten gelesen " + IntToText(address));
    if (stepTrace()) {
        std::string dump = "    ab Adr." + IntToText(first) + ": ";
        for (std::size_t w = 0; w < stationData.size(); ++w)
            dump += IntToText(static_cast<int32_t>(w)) + ":" + IntToText(stationData[w]) + " ";
        WriteErrLog(dump);
    }
    ModuleRecord& module = station.ModuleTable[static_cast<std::size_t>(address)];
    if (address >= 1) {
        logIf(readTrace(), "L17b - iModulKennNr = " + IntToText(stationData[2]));
        ApplyStationData(module, stationData);
        if (module.present == 0)
            logIf(stepTrace(), "L17c - iModulKennNr error" + IntToText(address));
    } else {
        ApplyCentralDeviceRecord(module, station.DeviceType);
    }
    logIf(readTrace(), "L17d - ModulTyp: " + module.typeText);
    return Tvep::Ok;
}
