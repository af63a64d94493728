#include "core/StatusTexts.h"

#include "diag/TextHelpers.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "protocol/DeviceRegisters.h"
#include "sequences/PortSettings.h"

std::string AddressStatusText(int32_t address)
{
    return "QMX-Adr.: " + IntToText(address);
}

std::string TypeWordStatusText(uint16_t type)
{
    return "QMX-Type: " + WordToHex4(type);
}

std::string SerialStatusText(uint16_t serial)
{
    return "SerNr.: " + IntToText(serial);
}

std::array<std::string, kStatusPanelCount> StatusPanelTexts()
{
    std::string type = " ";
    if (DeviceType == DeviceRegisters::TypeQmx620)
        type = "QMX-620";
    else if (DeviceType != 0)
        type = TypeWordStatusText(DeviceType);
    return {AddressStatusText(DeviceAddress),
            type,
            SerialStatusText(SerialNumber),
            DataState == 0 ? "Data: OK" : "Data: Missing",
            "ComPort: " + IntToText(ComPortNr),
            std::string(),
            "Stations: " + IntToText(ModulAnzahl),
            "Links: " + IntToText(AnzBefehle)};
}
