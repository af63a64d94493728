#include "comm/DeviceMessages.h"
#include "comm/DeviceRead.h"
#include "comm/LinkWrite.h"
#include "model/ModuleModel.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/OrdinaryUser.h"
#include "tests/e2e/DeviceTestBench.h"

#include <QFileInfo>
#include <QProcess>

#include <grp.h>
#include <sys/stat.h>

namespace {

// The read still fails as any port that will not open: nothing read, the
// data marked incomplete, the step logged; only the message says more.
void expectTheReadFailedAsBefore(const CapturedLog& log)
{
    EXPECT_EQ(ModulAnzahl, 0);
    EXPECT_EQ(DataState, 1);
    EXPECT_TRUE(log.contains("L20 - Comport l\xE4sst sich nicht \xF6" "ffnen"));
}

} // namespace

using PortAccess = DeviceTestBench;

TEST_F(PortAccess, ALineHeldByAnotherProgramIsCalledBusyByReadAndWrite)
{
    const std::string path = startDevice(kSmallDevice).path();
    TTavorobject otherProgram;
    ASSERT_TRUE(otherProgram.OpenPort(1, 9600, 'n'));

    CapturedLog log(32);
    ReadDevice(vep, view);
    expectTheReadFailedAsBefore(log);
    DataState = 0;
    WriteLinksToDevice(vep);

    const std::string busy = messageWith(kMessagePortInUse, {"COM1", path});
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{busy, busy}));
    EXPECT_NE(busy.find(path), std::string::npos);
}

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
        ASSERT_EQ(::chmod(path.c_str(), 0), 0);
        group = QFileInfo(QString::fromStdString(path)).group().toStdString();
    }

    QProcess probe;
    RunAsOrdinaryUser(probe);
    probe.start(QString::fromStdString(QmxSim::binDir() + "/e2e_port_access_probe"), {QString::fromStdString(path)});
    ASSERT_TRUE(probe.waitForFinished(20000));
    ASSERT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();

    const std::string lockedAway = messageWith(kMessagePortAccessDenied, {"COM1", path, group, group});
    EXPECT_EQ(probe.readAllStandardOutput().toStdString(), lockedAway + '\0' + lockedAway + '\0');
    EXPECT_NE(lockedAway.find("sudo usermod -aG " + group + " $USER"), std::string::npos) << lockedAway;
    EXPECT_NE(lockedAway.find(path), std::string::npos);
}

TEST_F(PortAccess, APortThatIsNotThereKeepsTheGeneralMessage)
{
    mapPorts({"/dev/no-such-serial-port"});
    CapturedLog log(32);
    ReadDevice(vep, view);
    expectTheReadFailedAsBefore(log);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{message(10, "0")});
    boxes.shown.clear();
    DataState = 0;
    WriteLinksToDevice(vep);
    EXPECT_TRUE(shownTexts().empty());
}
