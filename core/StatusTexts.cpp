#include "core/StatusTexts.h"

#include "diag/TextHelpers.h"
#include "model/Station.h"
#include "protocol/DeviceRegisters.h"

std::string AddressStatusText(int32_t address, const StatusWords& words)
{
    return words.address + " " + IntToText(address);
}

std::string TypeWordStatusText(uint16_t type)
{
    return "QMX-Type: " + WordToHex4(type);
}

std::string SerialStatusText(uint16_t serial, const StatusWords& words)
{
    return words.serial + " " + IntToText(serial);
}

std::array<std::string, kStatusPanelCount> StatusPanelTexts(const Station& station, const StatusWords& words)
{
    std::string type = " ";
    if (station.DeviceType == DeviceRegisters::TypeQmx620)
        type = "QMX-620";
    else if (station.DeviceType != 0)
        type = TypeWordStatusText(station.DeviceType);
    return {AddressStatusText(station.DeviceAddress, words),
            type,
            SerialStatusText(station.SerialNumber, words),
            station.DataState == 0 ? "Data: OK" : "Data: Missing",
            "ComPort: " + IntToText(station.ComPortNr),
            std::string(),
            "Stations: " + IntToText(station.ModulAnzahl),
            "Links: " + IntToText(station.AnzBefehle)};
}
