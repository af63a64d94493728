#include "model/SignalGroups.h"

#include "diag/ProgramFolder.h"
#include "diag/TextHelpers.h"
#include "io/IniBytes.h"

const char* SignalGroupSection(int kind)
{
    static constexpr std::array<const char*, kSignalGroupKinds> sections{"KRA", "SK40", "XTQ", "LIO", "QMX"};
    return kind >= 0 && kind < kSignalGroupKinds ? sections[static_cast<std::size_t>(kind)] : "";
}

std::string SignalGroupFile()
{
    const std::string name = "QMXFO.ini";
    return FileExistsIO(name) ? name : programFolder() + name;
}

void SignalGroupSet::LoadSignalGroups(const std::string& fileName)
{
    // A missing or unreadable file reads as empty.
    const std::unique_ptr<CSimpleIniA> ini = LoadIniFile(fileName);
    const CSimpleIniA& file = *ini;

    for (int kind = 0; kind < kSignalGroupKinds; ++kind) {
        const char* section = SignalGroupSection(kind);
        auto& groups = SignalGroupTable[static_cast<std::size_t>(kind)];
        int count = 0;
        for (int n = 1; n <= kSignalGroupEntries; ++n) {
            const auto key = [n](int field) { return std::to_string(n * 10 + field); };
            SignalGroup& group = groups[static_cast<std::size_t>(n)];
            group.firstRegister = static_cast<int32_t>(file.GetLongValue(section, key(0).c_str(), 0));
            group.registerCount = static_cast<int32_t>(file.GetLongValue(section, key(1).c_str(), 0));
            group.name = file.GetValue(section, key(2).c_str(), "");
            if (group.registerCount == 0)
                break;
            ++count;
        }
        SignalGroupCount[static_cast<std::size_t>(kind)] = count;
    }
}
