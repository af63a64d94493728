#pragma once

// What a device read replaces, as values: the module overview with the
// device's values and the data state, and the link table. A read that got
// nothing to put in their place puts them back, so the window keeps what it
// showed; undoing a read puts the overview back beside the links.

#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/StationIdentity.h"

#include <array>
#include <cstdint>
#include <optional>

struct Station;

struct OverviewState {
    std::array<ModuleRecord, kModuleSlots> modules;
    std::array<int32_t, kModuleListSize> moduleList{};
    int32_t moduleCount = 0;
    int32_t dataState = 99;
    uint16_t deviceType = 0;
    uint16_t serialNumber = 0;
    int32_t deviceAddress = 0;
    std::optional<StationIdentity> overviewOrigin;

    bool operator==(const OverviewState&) const = default;
};

OverviewState CaptureOverview(const Station& station);
void RestoreOverview(Station& station, const OverviewState& state);

struct StationState {
    OverviewState overview;
    std::optional<StationIdentity> linkTableOrigin;
    std::array<LinkRecord, kLinkTableSlots> links;
    int32_t linkCount = 0;
};

StationState CaptureStation(const Station& station);
void RestoreStation(Station& station, const StationState& state);
