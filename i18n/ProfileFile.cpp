#include "i18n/ProfileFile.h"

#include "i18n/IniBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

// Names in the order they stand in the file, so a rewrite moves nothing.
template <typename Names>
Names inFileOrder(Names names)
{
    names.sort(CSimpleIniA::Entry::LoadOrder());
    return names;
}

std::string serialise(const CSimpleIniA& ini)
{
    std::string out;
    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const auto& section : inFileOrder(sections)) {
        const std::string name = section.pItem;
        // Keys above the first section header have no header of their own.
        if (!name.empty())
            out += "[" + name + "]\r\n";
        CSimpleIniA::TNamesDepend keys;
        ini.GetAllKeys(section.pItem, keys);
        for (const auto& key : inFileOrder(keys)) {
            const char* value = ini.GetValue(section.pItem, key.pItem, "");
            out += std::string(key.pItem) + "=" + value + "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

} // namespace

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& fallback)
{
    const auto ini = LoadIniFile(path);
    return ini->GetValue(section.c_str(), key.c_str(), fallback.c_str());
}

bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value)
{
    // A line break in a name or value would split the line and change the
    // meaning of the file; the private-profile functions cannot store one either.
    const auto hasLineBreak = [](const std::string& text) {
        return text.find_first_of("\r\n") != std::string::npos;
    };
    if (section.empty() || key.empty() || hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return false;

    auto ini = LoadIniFile(path);
    if (ini->SetValue(section.c_str(), key.c_str(), value.c_str()) < 0)
        return false;
    const std::string bytes = serialise(*ini);

    const QString target = QString::fromLocal8Bit(path.c_str());
    QDir().mkpath(QFileInfo(target).absolutePath());
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
