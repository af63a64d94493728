#include "app/TF_rs232.h"
#include "sequences/ConnectionDoctor.h"
#include "sequences/DeviceNotices.h"
#include "transports/TTavorobject.h"
#include "tests/common/PtyPeer.h"
#include "tests/common/DeviceTestBench.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>

#include <cerrno>
#include <cstring>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// A system of the test's own making: no kernel log to read, and the user
// given, so that the checks do not depend on the machine running them.
DoctorSystem preparedSystem(const TempDir& folder)
{
    DoctorSystem system;
    system.kernelLog = folder.file("no-kernel-log");
    system.groupFile = folder.file("group");
    system.user = DoctorUser{4242, 4242, "feldtechniker", {4242}};
    return system;
}

std::vector<int> numbers(const std::vector<Notice>& findings)
{
    std::vector<int> found;
    for (const Notice& notice : findings)
        found.push_back(notice.number);
    return found;
}

// A program ("sleep") that holds `path` open until it is ended, with the
// device's lock taken when `locked`, as a terminal program takes it.
class Holder {
public:
    explicit Holder(const std::string& path, bool locked = false)
    {
        const QString lock = locked ? QStringLiteral("flock --nonblock 3 || exit 9;") : QString();
        m_process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"),
                                                    QStringLiteral("exec 3<>\"$0\"; %1 exec sleep 30").arg(lock),
                                                    QString::fromStdString(path)});
        m_process.waitForStarted();
        // Ready once the shell has become the program, the file open.
        const std::string comm = "/proc/" + std::to_string(pid()) + "/comm";
        for (int i = 0; i < 500; ++i) {
            std::ifstream file(comm);
            std::string name;
            if (std::getline(file, name) && name == "sleep")
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~Holder()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    int pid() const { return static_cast<int>(m_process.processId()); }

private:
    QProcess m_process;
};

using ConnectionDoctor = DeviceTestBench;

} // namespace

TEST_F(ConnectionDoctor, NamesWhatStandsBetweenTheUserAndTheDeviceFile)
{
    // The simulator's line: its far end is no program in the way.
    const std::string line = startDevice(kSmallDevice).path();
    folder.write("not-a-device", "just text");
    folder.write("group", "dialout:x:20:feldtechniker\nplugdev:x:46:\n");
    const DoctorSystem system = preparedSystem(folder);

    // A file that is no device, and one that is not there.
    EXPECT_EQ(CheckPortSetup(folder.file("not-a-device"), system).front().arguments,
              (std::vector<std::string>{folder.file("not-a-device"), std::strerror(ENODEV)}));
    EXPECT_EQ(CheckPortSetup("/dev/no-such-serial-port", system).front().arguments,
              (std::vector<std::string>{"/dev/no-such-serial-port", std::strerror(ENOENT)}));

    // A device file for group 20 or 46 only: listed in /etc/group but not in
    // this session, or not in the group at all.
    struct GroupCase {
        gid_t group;
        int message;
        std::vector<std::string> arguments;
    };
    const GroupCase groups[] = {{20, kMessageGroupNotYetActive, {line, "dialout"}},
                                {46, kMessageJoinGroup, {line, "plugdev", "plugdev"}}};
    for (const GroupCase& c : groups) {
        ASSERT_EQ(::chown(line.c_str(), 0, c.group), 0) << std::strerror(errno);
        ASSERT_EQ(::chmod(line.c_str(), 0660), 0);
        const std::vector<Notice> found = CheckPortSetup(line, system);
        ASSERT_EQ(numbers(found), std::vector<int>{c.message});
        EXPECT_EQ(found.front().arguments, c.arguments);
    }
    ASSERT_EQ(::chmod(line.c_str(), 0666), 0);
    EXPECT_TRUE(CheckPortSetup(line, system).empty());

    // Another program holding the line, by name and process id.
    const Holder holder(line);
    const std::vector<Notice> held = CheckPortSetup(line, system);
    ASSERT_EQ(numbers(held), std::vector<int>{kMessagePortHeldBy});
    EXPECT_EQ(held.front().arguments, (std::vector<std::string>{line, "sleep", std::to_string(holder.pid())}));
}

TEST_F(ConnectionDoctor, KnowsTheAdapterThatBrlttyAndModemManagerWouldTake)
{
    // An FTDI adapter as sysfs shows one, ModemManager running, no udev rule.
    const PtyPeer line;
    namespace fs = std::filesystem;
    const std::string tty = fs::path(line.path()).filename().string();
    const fs::path usb = folder.file("sys/devices/usb1/1-1");
    fs::create_directories(usb / "1-1:1.0/ttyUSB0");
    folder.write("sys/devices/usb1/1-1/idVendor", "0403\n");
    folder.write("sys/devices/usb1/1-1/1-1:1.0/ttyUSB0/latency_timer", "16\n");
    fs::create_directories(folder.file("sys/class/tty/" + tty));
    fs::create_directory_symlink(usb / "1-1:1.0/ttyUSB0", folder.file("sys/class/tty/" + tty + "/device"));
    fs::create_directories(folder.file("proc/77/fd"));
    folder.write("proc/77/comm", "ModemManager\n");

    DoctorSystem system = preparedSystem(folder);
    system.sysRoot = folder.file("sys");
    system.procRoot = folder.file("proc");
    system.udevDataRoot = folder.file("udev");
    fs::create_directories(system.udevDataRoot);
    ::chmod(line.path().c_str(), 0666);
    EXPECT_EQ(numbers(CheckPortSetup(line.path(), system)),
              (std::vector<int>{kMessageModemManagerProbes, kMessageLatencyTimer}));

    // With the example udev rule in place ModemManager leaves the port alone.
    struct stat info {};
    ASSERT_EQ(::stat(line.path().c_str(), &info), 0);
    folder.write("udev/c" + std::to_string(major(info.st_rdev)) + ":" + std::to_string(minor(info.st_rdev)),
                 "E:ID_MM_DEVICE_IGNORE=1\n");
    EXPECT_EQ(numbers(CheckPortSetup(line.path(), system)), std::vector<int>{kMessageLatencyTimer});
}

TEST_F(ConnectionDoctor, AsksTheDeviceAndSaysHowLongItTookToAnswer)
{
    const std::string answering = startDevice(kSmallDevice).path();
    const std::string silent = startDevice(kSmallDevice, {"--silent"}).path();
    const std::vector<PortCheckup> checked =
        CheckPorts({{3, answering}, {5, silent}, {0, "/dev/no-such-port"}, {6, ""}});
    ASSERT_EQ(checked.size(), 4u);

    EXPECT_TRUE(checked[0].answered);
    ASSERT_EQ(numbers(checked[0].findings), std::vector<int>{kMessageDeviceAnswers});
    const std::vector<std::string>& answer = checked[0].findings.front().arguments;
    EXPECT_EQ(std::vector<std::string>(answer.begin(), answer.end() - 1),
              (std::vector<std::string>{"COM3 (" + answering + ")", "3301", "815", "20"}));
    EXPECT_FALSE(checked[1].answered);
    EXPECT_EQ(checked[1].findings.back().arguments, (std::vector<std::string>{"COM5 (" + silent + ")", "-10"}));
    EXPECT_EQ(numbers(checked[2].findings), std::vector<int>{kMessageDeviceFileMissing}) << "no transfer to no file";
    EXPECT_EQ(checked[2].findings.front().arguments.front(), "/dev/no-such-port");
    // A number without a file is named by its number.
    EXPECT_EQ(numbers(checked[3].findings), std::vector<int>{kMessageNoDeviceFileForPort});
    EXPECT_EQ(checked[3].findings.front().arguments, std::vector<std::string>{"COM6"});
}

TEST_F(ConnectionDoctor, ThePortDialogShowsWhatItFound)
{
    startDevice(kSmallDevice);
    TF_rs232 dialog(station);
    dialog.show();
    dialog.findChild<QPushButton*>(QStringLiteral("Btn_pruefen"))->click();
    EXPECT_TRUE(dialog.CheckResult().startsWith(QStringLiteral("COM1 (") + QString::fromStdString(devices[0]->path())))
        << dialog.CheckResult().toStdString();
    EXPECT_TRUE(dialog.CheckResult().contains(QStringLiteral("3301"))) << dialog.CheckResult().toStdString();
    // Every finding in sight, none behind a scroll bar.
    QApplication::processEvents();
    const auto* box = dialog.findChild<QPlainTextEdit*>(QStringLiteral("MemoPruefung"));
    EXPECT_EQ(box->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(box->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ConnectionDoctor, NoSecondProgramGetsALineKalmoriaHolds)
{
    const std::string path = startDevice(kSmallDevice).path();
    TTavorobject kalmoria;
    ASSERT_TRUE(kalmoria.OpenPortAt(1, path, 9600, 'n'));
    // A terminal program's way: the lock on the device.
    EXPECT_EQ(QProcess::execute(QStringLiteral("flock"),
                                {QStringLiteral("--nonblock"), QString::fromStdString(path), QStringLiteral("true")}),
              1);
    kalmoria.ClosePort();
    EXPECT_EQ(QProcess::execute(QStringLiteral("flock"),
                                {QStringLiteral("--nonblock"), QString::fromStdString(path), QStringLiteral("true")}),
              0);

    // The other way round: a line another program locked is busy, by name.
    const Holder holder(path, true);
    EXPECT_FALSE(kalmoria.OpenPortAt(1, path, 9600, 'n'));
    EXPECT_EQ(kalmoria.OpenProblem.cause, PortOpenProblem::Cause::InUse);
    ASSERT_TRUE(kalmoria.OpenProblem.holder.has_value());
    EXPECT_EQ(kalmoria.OpenProblem.holder->pid, holder.pid());
}
