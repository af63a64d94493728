#include "model/StationState.h"

#include "model/Station.h"

OverviewState CaptureOverview(const Station& s)
{
    return {s.ModuleTable, s.ModuleList, s.ModulAnzahl, s.DataState, s.DeviceType, s.SerialNumber, s.DeviceAddress,
            s.OverviewOrigin};
}

void RestoreOverview(Station& s, const OverviewState& state)
{
    s.ModuleTable = state.modules;
    s.ModuleList = state.moduleList;
    s.ModulAnzahl = state.moduleCount;
    s.DataState = state.dataState;
    s.DeviceType = state.deviceType;
    s.SerialNumber = state.serialNumber;
    s.DeviceAddress = state.deviceAddress;
    s.OverviewOrigin = state.overviewOrigin;
}

StationState CaptureStation(const Station& s)
{
    return {CaptureOverview(s), s.LinkTableOrigin, s.LinkTable, s.AnzBefehle};
}

void RestoreStation(Station& s, const StationState& state)
{
    RestoreOverview(s, state.overview);
    s.LinkTableOrigin = state.linkTableOrigin;
    s.LinkTable = state.links;
    s.AnzBefehle = state.linkCount;
}
