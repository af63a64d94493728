#include "core/WriteCheckSetting.h"

#include "io/ProfileFile.h"
#include "io/SettingsFile.h"

namespace {

constexpr const char* kSection = "Kalmoria";
constexpr const char* kKey = "SchreibenPruefen";

} // namespace

bool StoredWriteCheck()
{
    return ReadProfileString(settingsFilePath(), kSection, kKey, "1") != "0";
}

bool StoreWriteCheck(bool on)
{
    return WriteProfileString(settingsFilePath(), kSection, kKey, on ? "1" : "0");
}
