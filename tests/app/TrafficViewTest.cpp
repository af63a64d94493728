// The traffic view as a real widget: frames of a real transfer against
// qmx-sim appear, pause holds the list, copy gives the hex, save writes a
// capture tshark reads, and the list keeps only the newest frames.

#include "app/MainWindow.h"
#include "app/TrafficView.h"
#include "tests/common/ScopedConfigHome.h"
#include "capture/FrameListModel.h"
#include "protocol/Tvep.h"
#include "tests/common/QmxSim.h"
#include "tests/common/TempDir.h"
#include "tests/common/Tshark.h"
#include "transports/LineFactory.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace {

class TrafficViewTest : public testing::Test {
protected:
    TrafficViewTest() { client.TapFramesInto(&tap); }

    // The configuration read the port search makes: 1500 ×20.
    void readConfiguration()
    {
        std::array<uint16_t, 20> words{};
        ASSERT_EQ(client.Transfer(0, 0, {}, 1500, 20, words, true), Tvep::Ok);
        QApplication::processEvents();
    }
    QString cell(int row, int column) { return view.Frames().index(row, column).data().toString(); }

    QmxSim device{std::string()};
    FrameTap tap;
    Tvep client{SystemLines()};
    TrafficView view{tap};
};

} // namespace

TEST_F(TrafficViewTest, FramesAppearPauseHoldsThemAndSaveWritesACapture)
{
    ASSERT_TRUE(client.OpenPortAt(1, device.path(), 9600, 'n'));
    view.show();
    readConfiguration();
    ASSERT_EQ(view.Frames().rowCount(), 2);
    EXPECT_EQ(cell(0, FrameListModel::PortColumn), QString::fromStdString("COM1 (" + device.path() + ")"));
    EXPECT_EQ(cell(0, FrameListModel::LengthColumn), QStringLiteral("13"));
    EXPECT_EQ(cell(0, FrameListModel::SummaryColumn), QStringLiteral("read 1500 \u00D720, CRC ok"));
    EXPECT_EQ(cell(1, FrameListModel::SummaryColumn), QStringLiteral("reply 1500 \u00D720, CRC ok"));
    EXPECT_EQ(cell(1, FrameListModel::ResultColumn), QStringLiteral("\u00DCbertragung 1: 0 ok"));
    EXPECT_NE(cell(0, FrameListModel::DirectionColumn), cell(1, FrameListModel::DirectionColumn));

    view.Table().selectRow(0);
    QTest::mouseClick(&view.CopyButton(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("61 00 00 00 00 05 DC 14 00 00 00 28 6F\n"));

    QTest::mouseClick(&view.PauseButton(), Qt::LeftButton);
    readConfiguration();
    EXPECT_EQ(view.Frames().rowCount(), 2) << "paused";
    QTest::mouseClick(&view.PauseButton(), Qt::LeftButton);
    readConfiguration();
    EXPECT_EQ(view.Frames().rowCount(), 4);

    TempDir folder;
    const std::string saved = folder.file("saved.pcapng");
    view.SetSaveChooser([&saved] { return saved; });
    QTest::mouseClick(&view.SaveButton(), Qt::LeftButton);
    if (!QStandardPaths::findExecutable(QStringLiteral("tshark")).isEmpty()) {
        const TsharkRun read = Tshark(saved, {QStringLiteral("qmx.kind"), QStringLiteral("qmx.read_addr")});
        EXPECT_EQ(read.exitCode, 0) << read.err;
        EXPECT_EQ(read.rows, (std::vector<std::vector<std::string>>{
                                 {"request", "1500"}, {"reply", "1500"}, {"request", "1500"}, {"reply", "1500"}}));
    }

    // The README's picture: KALMORIA_SCREENSHOT_DIR=... under xvfb-run.
    if (const char* folder = std::getenv("KALMORIA_SCREENSHOT_DIR"))
        view.grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/traffic-view.png"));

    QTest::mouseClick(&view.ClearButton(), Qt::LeftButton);
    EXPECT_EQ(view.Frames().rowCount(), 0);
}

TEST_F(TrafficViewTest, KeepsOnlyTheNewestFrames)
{
    const std::string frame("\x61\x00\x00\x00\x00\x05\xDC\x14\x00\x00\x00\x28\x6F", 13);
    for (int64_t n = 1; n <= FrameListModel::MaxFrames + 5; ++n) {
        tap.Publish({TappedFrame::Direction::ToDevice, "COM1 (/dev/null)", n, frame, 0, 0});
        if (n % 40000 == 0 || n == FrameListModel::MaxFrames + 5)
            QApplication::processEvents();
    }
    ASSERT_EQ(view.Frames().rowCount(), FrameListModel::MaxFrames);
    EXPECT_EQ(cell(0, FrameListModel::TimeColumn).right(3), QStringLiteral("006")) << "the five oldest are gone";
}

TEST(WindowTraffic, TheViewShowsTheWindowsOwnFramesAndGoesBeforeItsClient)
{
    const QmxSim device{std::string()};
    const ScopedConfigHome config;
    config.writeSettings("[Schnittstellen]\r\nCOM1=" + device.path() + "\r\n");
    auto window = std::make_unique<TF_Kalmoria_main>();
    window->findChild<QAction*>(QStringLiteral("Datenverkehr1"))->trigger();
    auto* view = window->findChild<TrafficView*>();
    ASSERT_NE(view, nullptr);
    window->StartUpSearch();
    QApplication::processEvents();
    // The search's probe of COM1: its request and the device's reply.
    EXPECT_GE(view->Frames().rowCount(), 2);
    // The view listens to the window's client: it must go first.
    window.reset();
}

TEST(WindowTraffic, TheViewOpensWhollyOnTheScreenOfItsWindow)
{
    const ScopedConfigHome config;
    config.writeSettings("[Schnittstellen]\r\n");
    TF_Kalmoria_main window;
    window.show();
    const QRect room = window.screen()->availableGeometry();
    window.move(room.right() - 200, room.bottom() - 150);
    window.findChild<QAction*>(QStringLiteral("Datenverkehr1"))->trigger();
    const auto* view = window.findChild<TrafficView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(room.contains(view->frameGeometry())) << view->x() << "," << view->y() << " " << view->width() << "x"
                                                      << view->height();
}
