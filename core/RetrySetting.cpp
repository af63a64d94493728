#include "core/RetrySetting.h"

#include "protocol/Tvep.h"
#include "io/ProfileFile.h"
#include "io/SettingsFile.h"

#include <string>

namespace {

constexpr const char* kSection = "Kalmoria";
constexpr const char* kKey = "Wiederholungen";

} // namespace

int32_t StoredRetries()
{
    const std::string text = ReadProfileString(settingsFilePath(), kSection, kKey, "");
    if (text.size() == 1 && text[0] >= '0' && text[0] - '0' <= Tvep::MaxRetries)
        return text[0] - '0';
    return Tvep::DefaultRetries;
}

bool StoreRetries(int32_t retries)
{
    if (retries < 0 || retries > Tvep::MaxRetries)
        return false;
    return WriteProfileString(settingsFilePath(), kSection, kKey, std::to_string(retries));
}
