#include "core/ReplyEndSetting.h"

#include "io/ProfileFile.h"
#include "io/SettingsFile.h"

namespace {

constexpr const char* kSection = "Kalmoria";
constexpr const char* kKey = "SchnellesAntwortende";

} // namespace

bool StoredFastReplyEnd()
{
    return ReadProfileString(settingsFilePath(), kSection, kKey, "0") == "1";
}

bool StoreFastReplyEnd(bool on)
{
    return WriteProfileString(settingsFilePath(), kSection, kKey, on ? "1" : "0");
}
