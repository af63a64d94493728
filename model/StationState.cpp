#include "model/StationState.h"

#include "model/DeviceValues.h"

OverviewState CaptureOverview()
{
    return {ModuleTable, ModuleList, ModulAnzahl, DataState, DeviceType, SerialNumber, DeviceAddress, OverviewOrigin};
}

void RestoreOverview(const OverviewState& state)
{
    ModuleTable = state.modules;
    ModuleList = state.moduleList;
    ModulAnzahl = state.moduleCount;
    DataState = state.dataState;
    DeviceType = state.deviceType;
    SerialNumber = state.serialNumber;
    DeviceAddress = state.deviceAddress;
    OverviewOrigin = state.overviewOrigin;
}

StationState CaptureStation()
{
    return {CaptureOverview(), LinkTableOrigin, LinkTable, AnzBefehle};
}

void RestoreStation(const StationState& state)
{
    RestoreOverview(state.overview);
    LinkTableOrigin = state.linkTableOrigin;
    LinkTable = state.links;
    AnzBefehle = state.linkCount;
}
