#include "model/StationState.h"

#include "model/DeviceValues.h"

StationState CaptureStation()
{
    return {ModuleTable,  ModuleList,    ModulAnzahl,    DataState,       DeviceType, SerialNumber,
            DeviceAddress, OverviewOrigin, LinkTableOrigin, LinkTable,       AnzBefehle};
}

void RestoreStation(const StationState& state)
{
    ModuleTable = state.modules;
    ModuleList = state.moduleList;
    ModulAnzahl = state.moduleCount;
    DataState = state.dataState;
    DeviceType = state.deviceType;
    SerialNumber = state.serialNumber;
    DeviceAddress = state.deviceAddress;
    OverviewOrigin = state.overviewOrigin;
    LinkTableOrigin = state.linkTableOrigin;
    LinkTable = state.links;
    AnzBefehle = state.linkCount;
}
