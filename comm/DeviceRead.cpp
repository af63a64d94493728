#include "comm/DeviceRead.h"

#include "comm/DeviceMessages.h"
#include "comm/DeviceRegisters.h"
#include "comm/PortSettings.h"
#include "comm/StationData.h"
#include "comm/TransferBuffers.h"
#include "comm/TransferProgress.h"
#include "comm/Tvep.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "i18n/MessageBoxEx.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "comm/ShellView.h"
#include "model/SignalGroups.h"

#include <algorithm>

namespace R = DeviceRegisters;

namespace {

// Transfers of a read besides the station data of the modules: existence,
// configuration, the four name blocks, the central device and the links.
constexpr int kTransfersBesideModules = 8;

// Working storage of the read, kept between runs like the transfer buffers.
std::array<bool, R::ModuleExistenceCount> ModuleExists{};
NameBlockWords NameBlock{};
StationWords StationBuffer{};

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

void communicationFailure(const std::string& line)
{
    logIf(stepTrace(), line);
    ShowDeviceMessage(13, mbInformation);
    DataState = 1;
}

class DeviceReadRun {
public:
    DeviceReadRun(Tvep& vep, ShellView& view)
        : m_vep(vep)
        , m_view(view)
        , m_progress(&view, kTransfersBesideModules + R::ModuleExistenceCount)
    {
    }

    void run()
    {
        ResetModel();
        m_view.SelectPage(0);
        m_view.ZeigeStation();
        m_view.Repaint();
        ModulAnzahl = 0;
        DataState = 0;
        logIf(DebugFlag(), "L01 - QMX-lesen - OpenComport:" + IntToText(ComPortNr) + ", " + IntToText(ComBaud)
                               + ", " + std::string(1, ComParity));
        readModuleExistence();
        m_view.Repaint();
        readModules();
        finishModules();
        if (ModulAnzahl > 0)
            readLinks();
        logIf(stepTrace(), "L24 - ClosePort");
        m_vep.ClosePort();
        logIf(DebugFlag(), "L25 - QMX-lesen ende - ModulAnzahl:" + IntToText(ModulAnzahl) + ", AnzBefehle:"
                               + IntToText(AnzBefehle));
        m_view.ShowStatus();
    }

private:
    bool openPort() { return m_vep.OpenPort(ComPortNr, ComBaud, ComParity); }

    int32_t read(int32_t first, int32_t count, std::span<uint16_t> into)
    {
        const int32_t result = readRegisters(m_vep, first, count, into);
        m_progress.Step();
        return result;
    }

    void readStation(int32_t address)
    {
        GetStationCom(m_vep, address);
        m_progress.Step();
    }

    void readModuleExistence()
    {
        // What an earlier run found says nothing about the device now.
        ModuleExists.fill(false);
        if (!openPort()) {
            // Without the existence words the module list cannot be complete.
            // Said once the next open shows whether the port works at all.
            logIf(stepTrace(), "L02 - Comport l\xE4sst sich nicht \xF6" "ffnen (Modul-Exist)");
            DataState = 1;
            m_existenceUnread = true;
            return;
        }
        logIf(readTrace(), "L03 - lese Modul-Exist ab 2100");
        m_vep.SetTimeouts(500, 50);
        m_lastResult = read(R::ModuleExistence, R::ModuleExistenceCount, receiveWords());
        if (m_lastResult < 0)
            communicationFailure("L12.1 - Kommunikationsfehler");
        // After a failed read the buffer holds an earlier reply: no module is taken from it.
        for (std::size_t i = 0; i < ModuleExists.size(); ++i)
            ModuleExists[i] = m_lastResult == 0 && ReceiveBuffer[i] < R::AbsentFrom;
        // Only the occupied addresses cost a transfer of their own.
        m_progress.SetTotal(kTransfersBesideModules
                            + static_cast<int>(std::count(ModuleExists.begin(), ModuleExists.end(), true)));
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
            DataState = 1;
            if (!ShowPortOpenProblem(ComPortNr, m_vep.Serial.OpenProblem))
                ShowDeviceMessage(10, mbError, IntToText(m_lastResult));
            logIf(stepTrace(), "L20 - Comport l\xE4sst sich nicht \xF6" "ffnen");
            return;
        }
        if (m_existenceUnread) {
            // The port opens now, but the modules cannot be known: a failed
            // read, not an empty device.
            communicationFailure("L05a - Modul-Exist nicht gelesen, erstes \xD6" "ffnen des Comport fehlgeschlagen");
            return;
        }
        if (!checkDevice())
            return;
        logIf(stepTrace(), "L11 - Lade ersten Namensblock 0");
        m_vep.SetTimeouts(1500, 50);
        if (read(R::NameBlocks, R::NameBlockCount, NameBlock) < 0) {
            communicationFailure("L12.2 - Kommunikationsfehler");
            return;
        }
        for (int32_t address = 1; address <= kMaxModuleAddress; ++address) {
            if (!readModule(address))
                return;
        }
        logIf(stepTrace(), "L18 - starte GetStationCom(64)");
        readStation(0);
        AppendToModuleList(0);
    }

    bool checkDevice()
    {
        logIf(stepTrace(), "L06 - lese QMX_config ab 1500");
        m_vep.SetTimeouts(500, 50);
        const int32_t result = read(R::Configuration, R::ConfigurationCount, receiveWords());
        // Without a reply there is no device type: the buffer holds an earlier one.
        DeviceType = result == 0 ? ReceiveBuffer[R::TypeWord] : 0;
        logIf(stepTrace(), "L07 - QMX_Typ(1506) = " + IntToText(DeviceType));
        if (result == 0) {
            DeviceAddress = ReceiveBuffer[R::AddressWord];
        } else {
            logIf(stepTrace(), "L08 - keine Modul = " + IntToText(DeviceType));
            DeviceAddress = result;
        }
        if (result != 0 || !R::IsAcceptedDevice(DeviceType, DeviceAddress)) {
            // No device of ours: nothing read may be written back.
            DataState = 1;
            ShowDeviceMessage(11, mbError, IntToText(DeviceType));
            logIf(stepTrace(), "L09 - Falsches oder kein Ger\xE4t - Modultyp: " + IntToText(DeviceType));
            return false;
        }
        logIf(stepTrace(), "L10 - QMX_Typ(1506) ist OK " + IntToText(DeviceType));
        m_view.SetBusyCursor(true);
        m_busy = true;
        SerialNumber = ReceiveBuffer[R::SerialWord];
        logIf(stepTrace(), "L10 - QMX ist OK - SN " + IntToText(SerialNumber));
        return true;
    }

    bool readModule(int32_t address)
    {
        m_vep.SetTimeouts(1500, 50);
        const int32_t index = address - 1;
        if (index == 16 || index == 32 || index == 48) {
            const int32_t block = index / 16;
            if (read(R::NameBlocks + R::NameBlockCount * block, R::NameBlockCount, NameBlock) < 0) {
                communicationFailure("L12." + IntToText(block + 2) + " - Kommunikationsfehler");
                return false;
            }
            logIf(stepTrace(), "L11-" + IntToText(block + 1) + " - Lade Namensblock " + IntToText(index));
        }
        ClearModule(address);
        logIf(stepTrace(), "L15-" + IntToText(address) + " -bedingter Aufruf GetStationCom");
        if (ModuleExists[static_cast<std::size_t>(index)])
            readStation(address);
        if (DataState > 0)
            return false;
        m_view.SetProgressText("lese: " + IntToText(address));
        ModuleRecord& module = ModuleTable[static_cast<std::size_t>(address)];
        if (module.present != 0) {
            AppendToModuleList(address);
            logIf(stepTrace(), "L17 - ModulAnzahl = " + IntToText(ModulAnzahl));
        }
        module.name = ModuleDisplayName(DecodeModuleName(NameBlock, index), address);
        logIf(DebugBit(128), "B-Name: " + module.name);
        return true;
    }

    void finishModules()
    {
        if (m_busy)
            m_view.SetBusyCursor(false);
        logIf(stepTrace(), "L21 - aufruf ZeigeStation");
        m_view.ZeigeStation();
        if (ModulAnzahl > 0)
            m_view.EnableLinkEditorPage();
        LoadSignalGroups();
        m_view.ShowStatus();
    }

    void readLinks()
    {
        logIf(stepTrace(), "L22 - start Verkn\xFCpfungen lesen ab 30800");
        m_vep.SetTimeouts(500, 50);
        if (read(R::LinkArea, R::LinkAreaCount, receiveWords()) < 0) {
            communicationFailure("L12.6 - Kommunikationsfehler");
            return;
        }
        // The area read holds 63 slots; a device list without an end slot
        // must not be followed past them.
        bool terminated = false;
        int32_t n = 0;
        for (int32_t slot = 0; slot < R::DeviceLinkSlots && !terminated; ++slot) {
            const auto word = [slot](int i) { return ReceiveBuffer[static_cast<std::size_t>(4 * slot + i)]; };
            const DeviceLinkWords words{word(0), word(1), word(2), word(3)};
            n = slot + 1;
            logIf(DebugBit(16), "L23-" + IntToText(n) + " - Verkn\xFCpfungen lesen. R1=" + IntToText(words.r1)
                                    + ", R2=" + IntToText(words.r2) + ", R3=" + IntToText(words.r3)
                                    + ", R4=" + IntToText(words.r4));
            DecodeLink(words, LinkTable[static_cast<std::size_t>(n)]);
            terminated = words.r1 == kEndSlotWord;
        }
        AnzBefehle = terminated ? n - 1 : n;
        if (!terminated)
            ShowDeviceMessage(kMessageLinkListNotTerminated, mbWarning, std::vector<std::string>{IntToText(n)});
    }

    Tvep& m_vep;
    ShellView& m_view;
    TransferProgress m_progress;
    int32_t m_lastResult = 0;
    bool m_busy = false;
    bool m_existenceUnread = false;
};

} // namespace

void ReadDevice(Tvep& vep, ShellView& view)
{
    DeviceReadRun(vep, view).run();
}

void ClearModule(int32_t address)
{
    if (!IsModuleAddress(address))
        return;
    ModuleRecord& module = ModuleTable[static_cast<std::size_t>(address)];
    module.present = 0;
    module.name.clear();
    module.typeText.clear();
    module.srcBitCount = 0;
    module.dstBitCount = 0;
    module.srcRegCount = 0;
    module.dstRegCount = 0;
    module.src2RegCount = 0;
}

void GetStationCom(Tvep& vep, int32_t address)
{
    if (!IsModuleAddress(address))
        return;
    logIf(readTrace(), "L17-" + IntToText(address) + " - function GetStationCom (Stationsdaten - lesen) "
                           + IntToText(address));
    vep.SetTimeouts(500, 50);
    const int32_t first = StationDataRegister(address);
    if (readRegisters(vep, first, R::StationDataCount, StationBuffer) < 0) {
        logIf(stepTrace(), "L12.0 - Kommunikationsfehler");
        ShowDeviceMessage(13, mbInformation);
        DataState = 1;
        return;
    }
    logIf(stepTrace(), "L17a - Stationsdaten gelesen " + IntToText(address));
    if (stepTrace()) {
        std::string dump = "    ab Adr." + IntToText(first) + ": ";
        for (std::size_t w = 0; w < StationBuffer.size(); ++w)
            dump += IntToText(static_cast<int32_t>(w)) + ":" + IntToText(StationBuffer[w]) + " ";
        WriteErrLog(dump);
    }
    ModuleRecord& module = ModuleTable[static_cast<std::size_t>(address)];
    if (address >= 1) {
        logIf(readTrace(), "L17b - iModulKennNr = " + IntToText(StationBuffer[2]));
        ApplyStationData(module, StationBuffer);
        if (module.present == 0)
            logIf(stepTrace(), "L17c - iModulKennNr error" + IntToText(address));
    } else {
        ApplyCentralDeviceRecord(module, DeviceType);
    }
    logIf(readTrace(), "L17d - ModulTyp: " + module.typeText);
}
