// Pictures of the comparison with the device, of the link editor's frames and
// its keyboard's cell cursor, and of the link plan, in a light and a dark
// palette, for people to look at:
//
//   KALMORIA_SCREENSHOT_DIR=/tmp/shots QT_QPA_PLATFORM=xcb
//   xvfb-run -a -s "-screen 0 1400x1000x24" build/bin/e2e_screenshots
//
// Not a test: without KALMORIA_SCREENSHOT_DIR every case is skipped, and CTest
// does not run it.

#include "app/MainWindow.h"
#include "editor/pages/LinkPlanDialog.h"
#include "editor/drawing/LinkPlanPainter.h"
#include "editor/pages/LinkTablePage.h"
#include "model/LinkModel.h"
#include "tests/common/DarkPalette.h"
#include "tests/common/DeviceTestBench.h"
#include "tests/common/TypedKeys.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

class Screenshots : public DeviceTestBench, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        const char* folder = std::getenv("KALMORIA_SCREENSHOT_DIR");
        if (folder == nullptr)
            GTEST_SKIP() << "KALMORIA_SCREENSHOT_DIR is not set";
        m_folder = QString::fromLocal8Bit(folder);
        QDir().mkpath(m_folder);
        DeviceTestBench::SetUp();
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        m_previous = QApplication::palette();
        QApplication::setPalette(dark() ? DarkDesktopPalette() : QApplication::style()->standardPalette());
    }

    void TearDown() override
    {
        if (!m_folder.isEmpty())
            QApplication::setPalette(m_previous);
    }

    static bool dark() { return GetParam(); }

    void save(QWidget& widget, const char* name) const
    {
        QTest::qWait(200);
        const QString path =
            m_folder + QStringLiteral("/%1-%2.png").arg(QLatin1String(name), dark() ? "dark" : "light");
        EXPECT_TRUE(widget.grab().save(path)) << path.toStdString();
    }

    // The demo device read, its first link deleted, its second switched
    // inactive and one added, and compared with the device.
    void readEditAndCompare(TF_Kalmoria_main& window)
    {
        devices.push_back(std::make_unique<QmxSim>(std::string()));
        mapPorts({devices.back()->path()});
        window.resize(900, 640);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.ActionLadenQMXExecute();
        ASSERT_EQ(station.AnzBefehle, 4);
        station.DeleteLink(1);
        station.LinkTable[1].deaktiv = 1;
        ASSERT_TRUE(station.AppendLink(2, 101, 0, 4, 12, 301, 0));
        window.findChild<QTabWidget*>(QStringLiteral("TabSheet"))->setCurrentIndex(2);
        window.findChild<QPushButton*>(QStringLiteral("BtnVergleichen"))->click();
    }

    static void choose(TF_Kalmoria_main& window, const char* boxName, const QString& startsWith)
    {
        auto* box = window.findChild<QComboBox*>(QLatin1String(boxName));
        for (int i = 0; i < box->count(); ++i) {
            if (box->itemText(i).startsWith(startsWith)) {
                box->setCurrentIndex(i);
                emit box->activated(i);
                return;
            }
        }
        ADD_FAILURE() << boxName << " has no " << startsWith.toStdString();
    }

    QString m_folder;
    QPalette m_previous;
};

} // namespace

TEST_P(Screenshots, TheComparisonAndTheFramesInTheEditor)
{
    TF_Kalmoria_main window;
    readEditAndCompare(window);
    save(window, "compare");

    window.findChild<QTabWidget*>(QStringLiteral("TabSheet"))->setCurrentIndex(1);
    choose(window, "ComboBox1", QStringLiteral("Pumpwerk Nord"));
    choose(window, "ComboBox3", QString::fromUtf8("Druckerh\xC3\xB6hung"));
    save(window, "editor-frames");
}

TEST_P(Screenshots, TheCellCursorOfTheKeyboard)
{
    TF_Kalmoria_main window;
    devices.push_back(std::make_unique<QmxSim>(std::string()));
    mapPorts({devices.back()->path()});
    window.resize(900, 640);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.ActionLadenQMXExecute();
    window.findChild<QTabWidget*>(QStringLiteral("TabSheet"))->setCurrentIndex(1);
    choose(window, "ComboBox1", QStringLiteral("Pumpwerk Nord"));
    choose(window, "ComboBox3", QString::fromUtf8("Kl\xC3\xA4ranlage"));
    window.findChild<QWidget*>(QStringLiteral("GQuelle"))->setFocus();
    // A range of four bits chosen with the keys, the cursor on its last bit.
    TypeKeys("down space 3*right space");
    save(*window.findChild<QWidget*>(QStringLiteral("TabSheet2")), "editor-cursor");
}

TEST_P(Screenshots, TheLinkPlan)
{
    TF_Kalmoria_main window;
    readEditAndCompare(window);
    // A station with a little of everything: both directions, a pair active
    // and inactive, a module reading into itself.
    ASSERT_TRUE(window.station().AppendLink(5, 110, 0, 8, 2, 310, 0));
    ASSERT_TRUE(window.station().AppendLink(5, 111, 0, 2, 5, 302, 0));
    ASSERT_TRUE(window.station().AppendLink(5, 111, 2, 2, 5, 302, 2));
    ASSERT_TRUE(window.station().AppendLink(0, 1621, 0, 8, 4, 300, 0));
    ASSERT_TRUE(window.station().AppendLink(0, 1621, 8, 8, 8, 300, 0));
    ASSERT_TRUE(window.station().AppendLink(2, 102, 0, 8, 12, 302, 0));
    ASSERT_TRUE(window.station().AppendLink(2, 103, 0, 4, 5, 304, 0));
    for (const int n : {5, 6, 7, 8, 9, 10, 11})
        window.station().LinkTable[static_cast<std::size_t>(n)].deaktiv = 0;

    LinkPlanDialog plan(window.station(), &window);
    plan.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plan));
    save(plan, "plan-dialog");
    const QString printed = m_folder + QStringLiteral("/plan-print.png");
    EXPECT_TRUE(SaveLinkPlanPng(plan.plan(), plan.texts(), LinkPlanDialog::printPalette(), printed));
    EXPECT_TRUE(SaveLinkPlanSvg(plan.plan(), plan.texts(), LinkPlanDialog::printPalette(),
                                m_folder + QStringLiteral("/plan-print.svg")));
}

TEST_P(Screenshots, APlanOfSixtyFourModules)
{
    std::ifstream image(QmxSim::binDir() + "/qmx-full64.ini");
    std::stringstream text;
    text << image.rdbuf();
    startDevice(text.str());
    TF_Kalmoria_main window;
    window.show();
    window.ActionLadenQMXExecute();
    // And a link to a module the station lacks, from a file.
    window.station().LinkTable[static_cast<std::size_t>(++window.station().AnzBefehle)] = LinkRecord{3, 100, 0, 1, 70, 300, 0, 1, {}};
    LinkPlanDialog plan(window.station(), &window);
    plan.resize(1300, 950);
    plan.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plan));
    save(plan, "plan64-dialog");
    const QPalette colours = dark() ? DarkDesktopPalette() : LinkPlanDialog::printPalette();
    EXPECT_TRUE(SaveLinkPlanPng(plan.plan(), plan.texts(), colours,
                                m_folder + QStringLiteral("/plan64-%1.png").arg(dark() ? "dark" : "light")));
}

INSTANTIATE_TEST_SUITE_P(Palettes, Screenshots, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Dark" : "Light"; });
