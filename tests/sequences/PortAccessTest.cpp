#include "sequences/DeviceNotices.h"
#include "sequences/DeviceRead.h"
#include "sequences/LinkWrite.h"
#include "transports/TTavorobject.h"
#include "model/ModuleModel.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/OrdinaryUser.h"
#include "tests/common/ShownNotices.h"
#include "tests/common/DeviceTestBench.h"

#include <QFileInfo>
#include <QProcess>

#include <grp.h>
#include <sys/stat.h>

namespace {

// The read still fails as any port that will not open: nothing read, the
// data marked incomplete, the step logged; only the message says more.
void expectTheReadFailedAsBefore(const Station& station, const CapturedLog& log)
{
    EXPECT_EQ(station.ModulAnzahl, 0);
    EXPECT_EQ(station.DataState, 1);
    EXPECT_TRUE(log.contains("L20 - Comport l\xE4sst sich nicht \xF6" "ffnen"));
}

} // namespace

using PortAccess = DeviceTestBench;

TEST_F(PortAccess, ALineHeldByAnotherProgramIsCalledBusyByReadAndWrite)
{
    const std::string path = startDevice(kSmallDevice).path();
    TTavorobject otherProgram;
    ASSERT_TRUE(otherProgram.OpenPortAt(1, path, 9600, 'n'));

    CapturedLog log(32);
    shown(ReadDevice(vep, station, view));
    expectTheReadFailedAsBefore(station, log);
    station.DataState = 0;
    shown(WriteLinksToDevice(vep, station));

    const std::string busy = messageWith(kMessagePortInUse, {"COM1", path});
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{busy, busy}));
    EXPECT_NE(busy.find(path), std::string::npos);
}

namespace {

// The texts a device read and a link write over COM1 = `path` show to an
// ordinary user, each ended by a NUL byte.
std::string shownToAnOrdinaryUser(const std::string& path)
{
    QProcess probe;
    RunAsOrdinaryUser(probe);
    probe.start(QString::fromStdString(QmxSim::binDir() + "/e2e_port_access_probe"), {QString::fromStdString(path)});
    EXPECT_TRUE(probe.waitForFinished(20000));
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    return probe.readAllStandardOutput().toStdString();
}

} // namespace

TEST_F(PortAccess, ADeviceFileLockedAwayFromTheUserNamesItsGroupAndHowToJoinIt)
{
    const std::string path = startDevice(kSmallDevice).path();
    std::string group;
    if (RunningAsRoot()) {
        // As a USB adapter comes on Debian: root's, read and write for dialout.
        const ::group* dialout = ::getgrnam("dialout");
        if (dialout == nullptr)
            GTEST_SKIP() << "this system has no group dialout to give the device file";
        ASSERT_EQ(::chown(path.c_str(), 0, dialout->gr_gid), 0);
        ASSERT_EQ(::chmod(path.c_str(), 0660), 0);
        group = "dialout";
    } else {
        // The owner is shut out, the group may read and write.
        ASSERT_EQ(::chmod(path.c_str(), 0060), 0);
        group = QFileInfo(QString::fromStdString(path)).group().toStdString();
    }

    const std::string lockedAway = messageWith(kMessagePortAccessDenied, {"COM1", path, group, group});
    EXPECT_EQ(shownToAnOrdinaryUser(path), lockedAway + '\0' + lockedAway + '\0');
    EXPECT_NE(lockedAway.find("sudo usermod -aG " + group + " $USER"), std::string::npos) << lockedAway;
    EXPECT_NE(lockedAway.find(path), std::string::npos);
}

TEST_F(PortAccess, WithoutAGroupToJoinThePortKeepsTheGeneralMessage)
{
    // A device file only its owner may use, and one that is not there: the
    // read shows message 10, the write stays silent, as for any port that
    // will not open.
    const std::string path = startDevice(kSmallDevice).path();
    ASSERT_EQ(::chmod(path.c_str(), RunningAsRoot() ? 0600 : 0), 0);
    for (const std::string& device : {path, std::string("/dev/no-such-serial-port")})
        EXPECT_EQ(shownToAnOrdinaryUser(device), message(10, "0") + '\0') << device;
}
