#include "tests/common/OrdinaryUser.h"
#include "tests/common/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// An installed program: its folder holds the probe, and the user who runs it
// may not write there.
class InstalledProbe {
public:
    InstalledProbe()
    {
        fs::copy_file(KALMORIA_LOG_PROBE, m_programFolder.file("probe"));
        fs::permissions(m_programFolder.path(), fs::perms(0555));
        // Everything below the user's home is the user's to write.
        fs::permissions(m_home.path(), fs::perms(0777));
    }
    ~InstalledProbe()
    {
        // Lets the scratch folders go again, whoever made their contents.
        fs::permissions(m_programFolder.path(), fs::perms(0700));
    }
    InstalledProbe(const InstalledProbe&) = delete;
    InstalledProbe& operator=(const InstalledProbe&) = delete;

    std::string home() const { return m_home.path(); }
    // The test's own environment (sanitizer settings and all) with the
    // scratch home as HOME and no XDG_STATE_HOME.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XDG_STATE_HOME"));
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(home()));
        return environment;
    }
    std::string programFolder() const { return m_programFolder.path(); }

    // A folder the user may write, made ahead as the user would make it.
    void makeUserFolder(const std::string& path) const
    {
        fs::create_directories(path);
        for (fs::path p = path; p.string().size() > home().size(); p = p.parent_path())
            fs::permissions(p, fs::perms(0777));
    }

    void run(const QProcessEnvironment& environment) const
    {
        QProcess process;
        RunAsOrdinaryUser(process);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(home()));
        process.start(QString::fromStdString(m_programFolder.file("probe")), {});
        ASSERT_TRUE(process.waitForFinished(10000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    }

private:
    TempDir m_programFolder;
    TempDir m_home;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct StateSetting {
    const char* name;
    const char* xdgStateHome; // nullptr: not set; relative to the home unless it starts with '/'
    const char* folder;       // where the log must land, relative to the home
};

class LogFolder : public testing::TestWithParam<StateSetting> {};

} // namespace

TEST_P(LogFolder, AProgramFolderTheUserMayNotWriteSendsTheLogToTheStateFolder)
{
    const InstalledProbe probe;
    const StateSetting setting = GetParam();
    const std::string folder = probe.home() + "/" + setting.folder;
    probe.makeUserFolder(folder);
    std::ofstream(folder + "/DEBUG") << "2";

    QProcessEnvironment environment = probe.environment();
    if (setting.xdgStateHome != nullptr) {
        const std::string value = setting.xdgStateHome[0] == '/' ? probe.home() + setting.xdgStateHome
                                                                 : std::string(setting.xdgStateHome);
        environment.insert(QStringLiteral("XDG_STATE_HOME"), QString::fromStdString(value));
    }
    probe.run(environment);

    const std::string log = readFile(folder + "/Problem2.TXT");
    EXPECT_NE(log.find("Neustart"), std::string::npos) << folder;
    EXPECT_NE(log.find("probe running"), std::string::npos);
    EXPECT_FALSE(fs::exists(probe.programFolder() + "/Problem2.TXT"));
}

INSTANTIATE_TEST_SUITE_P(Data, LogFolder,
                         testing::Values(StateSetting{"StateHomeSet", "/state", "state/kalmoria"},
                                         StateSetting{"StateHomeUnset", nullptr, ".local/state/kalmoria"},
                                         // A relative XDG_STATE_HOME is not valid and counts as unset.
                                         StateSetting{"StateHomeRelative", "state", ".local/state/kalmoria"}),
                         [](const testing::TestParamInfo<StateSetting>& info) { return info.param.name; });

TEST(LogFolder, TheStateFolderIsMadeForTheUserToPutTheMarkerIn)
{
    const InstalledProbe probe;
    probe.run(probe.environment());

    const std::string folder = probe.home() + "/.local/state/kalmoria";
    EXPECT_TRUE(fs::is_directory(folder));
    // Without a marker the log stays off: the folder is all there is.
    EXPECT_TRUE(fs::is_empty(folder));
}
