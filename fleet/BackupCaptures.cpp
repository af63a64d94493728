#include "fleet/BackupCaptures.h"

#include "io/FileBytes.h"
#include "model/Snapshots.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int kNameTries = 1000;

} // namespace

std::string PortFileName(const std::string& port)
{
    std::string name = port;
    for (char& c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
                           || c == '.';
        if (!plain)
            c = '_';
    }
    return name;
}

StationCaptures::StationCaptures(std::string dir)
    : m_dir(std::move(dir))
{
}

NewFile StationCaptures::CreateTemporary() const
{
    return CreateTemporaryFile(m_dir, ".kalmoria-capture-", ".pcapng");
}

CapturePlacing StationCaptures::place(const std::string& temporary, const std::string& port,
                                      const std::string& stationFolder, const std::string& savedFile) const
{
    CapturePlacing placing;
    if (temporary.empty())
        return placing;
    std::error_code error;
    placing.path = temporary;
    fs::path folder = m_dir;
    std::string stem = savedFile.empty() ? TimeNameStamp(WallClock::now()) : fs::path(savedFile).stem().string();
    if (!stationFolder.empty())
        folder /= stationFolder;
    else
        stem = PortFileName(port) + "_" + stem;
    fs::create_directories(folder, error);
    if (error) {
        placing.outcome = Outcome::FileNotWritten;
        placing.reason = error.message();
        return placing;
    }
    for (int n = 1; n <= kNameTries; ++n) {
        const std::string name = (folder / (stem + (n > 1 ? "_" + std::to_string(n) : "") + ".pcapng")).string();
        switch (MoveFileExclusively(temporary, name, &placing.reason)) {
        case FileCreation::Created: placing.path = name; return placing;
        case FileCreation::Taken: continue;
        case FileCreation::Failed: placing.outcome = Outcome::FileNotWritten; return placing;
        }
    }
    placing.outcome = Outcome::FileNotWritten;
    placing.reason = "File exists";
    return placing;
}
