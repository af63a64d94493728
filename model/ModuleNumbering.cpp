#include "model/ModuleNumbering.h"

#include "model/Station.h"

int64_t LinkTableModuleNumber(int32_t address)
{
    return static_cast<int64_t>(address) + 1;
}

int32_t OverviewAddress(const Station& station, int32_t address)
{
    return address < kMaxModuleAddress ? station.DeviceAddress + address : station.DeviceAddress;
}

ModuleNaming NameModule(const Station& station, int32_t address)
{
    ModuleNaming naming;
    naming.number = LinkTableModuleNumber(address);
    const ModuleRecord& module = station.Module(address);
    if (!IsModuleAddress(address) || module.present == 0)
        return naming;
    naming.address = OverviewAddress(station, address);
    naming.name = module.name;
    naming.name.erase(naming.name.find_last_not_of(' ') + 1);
    return naming;
}
