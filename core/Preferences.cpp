#include "core/Preferences.h"

#include "io/ProfileFile.h"
#include "io/SettingsFile.h"
#include "protocol/Tvep.h"

#include <string>

namespace {

constexpr const char* kSection = "Kalmoria";
constexpr const char* kFastReplyEndKey = "SchnellesAntwortende";
constexpr const char* kRetriesKey = "Wiederholungen";
constexpr const char* kWriteCheckKey = "SchreibenPruefen";

std::string stored(const char* key, const char* fallback)
{
    return ReadProfileString(settingsFilePath(), kSection, key, fallback);
}

bool store(const char* key, const std::string& value)
{
    return WriteProfileString(settingsFilePath(), kSection, key, value);
}

int32_t storedRetries()
{
    const std::string text = stored(kRetriesKey, "");
    if (text.size() == 1 && text[0] >= '0' && text[0] - '0' <= Tvep::MaxRetries)
        return text[0] - '0';
    return Tvep::DefaultRetries;
}

} // namespace

Preferences Preferences::Stored()
{
    return {.fastReplyEnd = stored(kFastReplyEndKey, "0") == "1",
            .retries = storedRetries(),
            .writeCheck = stored(kWriteCheckKey, "1") != "0"};
}

bool Preferences::StoreFastReplyEnd(bool on)
{
    return store(kFastReplyEndKey, on ? "1" : "0");
}

bool Preferences::StoreRetries(int32_t retries)
{
    if (retries < 0 || retries > Tvep::MaxRetries)
        return false;
    return store(kRetriesKey, std::to_string(retries));
}

bool Preferences::StoreWriteCheck(bool on)
{
    return store(kWriteCheckKey, on ? "1" : "0");
}
