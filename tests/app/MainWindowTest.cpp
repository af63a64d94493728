#include "app/MainWindow.h"
#include "widgets/StringGrid.h"
#include "protocol/Tvep.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/QmxSim.h"
#include "tests/common/ScopedConfigHome.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Every window gets a settings file of its own whose port table names no
// port, so start-up probes nothing on this machine.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_config.writeSettings("[Schnittstellen]\r\n");
        window = std::make_unique<TF_Kalmoria_main>();
    }

    template <typename T>
    T* child(const char* name) const
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    StringGrid& overview() const { return *child<StringGrid>("SG1"); }

    // Present modules at the given addresses, as a device read leaves them.
    void presentModules(std::initializer_list<int> addresses)
    {
        station().ResetModel();
        for (const int address : addresses) {
            ModuleRecord& module = station().ModuleTable[static_cast<std::size_t>(address)];
            module.present = 1;
            module.name = "Station " + std::to_string(address);
            module.typeText = "PDX-44";
            module.srcBitCount = address;
            module.srcRegCount = 2;
            module.dstBitCount = 3;
            module.dstRegCount = 4;
            module.src2RegCount = 8;
            station().AppendToModuleList(address);
        }
        station().AppendToModuleList(0);
    }

    ScopedConfigHome m_config;
    // The station the window shows.
    Station& station() { return window->station(); }

    std::unique_ptr<TF_Kalmoria_main> window;
};

} // namespace

TEST_F(MainWindowTest, StartsWithItsCaptionAnEmptyOverviewAndNothingLoaded)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" Kalmoria 1.30"));
    auto* pages = child<QTabWidget>("TabSheet");
    EXPECT_FALSE(pages->isEnabled());
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_FALSE(pages->isTabEnabled(1));
    EXPECT_EQ(station().DataState, 99);
    EXPECT_EQ(station().LinkFileName, "QMXverk");

    const std::vector<std::string> panels{"QMX-Adr.: 0", " ",         "SerNr.: 0",   "Data: Missing",
                                          "ComPort: 1",  "",          "Stations: 0", "Links: 0"};
    for (int i = 0; i < TF_Kalmoria_main::kStatusPanelCount; ++i)
        EXPECT_EQ(window->statusPanelText(i), panels[static_cast<std::size_t>(i)]) << "panel " << i;

    // Only the heading row carries text.
    EXPECT_FALSE(overview().cell(2, 0).empty());
    for (int col = 0; col < TF_Kalmoria_main::kOverviewColumns; ++col)
        EXPECT_EQ(overview().cell(col, 1), "");
}

TEST_F(MainWindowTest, OverviewGridHasItsShapeAndColumnWidths)
{
    StringGrid& grid = overview();
    EXPECT_EQ(grid.columnCount(), 8);
    EXPECT_EQ(grid.gridRowCount(), 66);
    const std::vector<int> widths{40, 162, 255, 56, 60, 58, 59, 58};
    for (int col = 0; col < 8; ++col)
        EXPECT_EQ(grid.columnWidth(col), widths[static_cast<std::size_t>(col)]);
    EXPECT_EQ(grid.cell(2, 0), window->MemTabLine(2));
}

TEST_F(MainWindowTest, ToolBarAndMenuCarryEveryCommand)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto* bar = child<QToolBar>("ToolBar1");
    EXPECT_EQ(bar->height(), 49);
    const std::vector<const char*> buttons{"ToolButton1", "ToolButton7", "ToolButton2",
                                           "ToolButton3", "ToolButton4", "ToolButton6"};
    int previousLeft = -1;
    for (const char* name : buttons) {
        auto* button = child<QToolButton>(name);
        EXPECT_EQ(button->size(), QSize(47, 46));
        EXPECT_FALSE(button->icon().isNull()) << name;
        EXPECT_GT(button->pos().x(), previousLeft) << name << " is out of order";
        previousLeft = button->pos().x();
    }
    for (const char* item : {"neu1", "Oeffnen1", "N14speichern1", "ende1", "ComPort1", "ComPortsuchen",
                             "SchnellesAntwortende1"})
        child<QAction>(item);
    child<QMenu>("mSprachwahl");
    // The desktop's keys where the window has none of its own; redo shows Ctrl+Y.
    EXPECT_EQ(child<QAction>("Oeffnen1")->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(child<QAction>("N14speichern1")->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(child<QAction>("Wiederholen1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    // Every tool button's command is in the menu too, reachable and shown with its key.
    const std::vector<std::pair<const char*, const char*>> menuItems{
        {"ende1", "ToolButton1"}, {"neu1", "ToolButton7"},          {"Oeffnen1", "ToolButton2"},
        {"N14speichern1", "ToolButton3"}, {"LadenQMX1", "ToolButton4"}, {"SpeichernQMX1", "ToolButton6"}};
    const QList<QAction*> datei = child<QMenu>("Datei1")->actions();
    for (const auto& [item, button] : menuItems) {
        QAction* entry = child<QAction>(item);
        EXPECT_TRUE(datei.contains(entry)) << item;
        EXPECT_EQ(entry->text(), child<QToolButton>(button)->text()) << item;
    }
    EXPECT_EQ(child<QAction>("LadenQMX1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(child<QAction>("SpeichernQMX1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_EQ(child<QAction>("ende1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
}

TEST_F(MainWindowTest, StatusBarNamesTheDeviceType)
{
    station().DeviceType = 0x3301;
    window->ShowStatus();
    EXPECT_EQ(window->statusPanelText(1), "QMX-Type: 3301");
    station().DeviceType = 0x0900;
    window->ShowStatus();
    EXPECT_EQ(window->statusPanelText(1), "QMX-620");
    station().DeviceType = 0;
    window->ShowStatus();
    EXPECT_EQ(window->statusPanelText(1), " ");

    station().DeviceAddress = 12;
    station().SerialNumber = 4711;
    station().DataState = 0;
    station().AnzBefehle = 7;
    window->ShowStatus();
    EXPECT_EQ(window->statusPanelText(0), "QMX-Adr.: 12");
    EXPECT_EQ(window->statusPanelText(2), "SerNr.: 4711");
    EXPECT_EQ(window->statusPanelText(3), "Data: OK");
    EXPECT_EQ(window->statusPanelText(7), "Links: 7");
    station().AnzBefehle = 0;
}

TEST_F(MainWindowTest, NoStatusPanelClipsItsTextWhileTheProgressBarShows)
{
    window->show();
    station().DeviceType = 0x3301;
    station().SerialNumber = 65535;
    station().DeviceAddress = 255;
    window->ShowStatus();
    window->ShowSearchingPort(16);
    window->SetProgress(1999, 2000);
    QApplication::processEvents();
    for (int i = 0; i + 1 < TF_Kalmoria_main::kStatusPanelCount; ++i) {
        const auto* panel = window->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
        ASSERT_NE(panel, nullptr);
        EXPECT_GE(panel->width(), panel->sizeHint().width()) << panel->text().toStdString();
    }
    window->HideProgress();
    station().DeviceType = 0;
    station().SerialNumber = 0;
    station().DeviceAddress = 0;
}

TEST(WindowSearch, TheStatusBarSaysNoQmxWasFoundUntilASearchFindsOne)
{
    const QmxSim silent(std::string(), {QStringLiteral("--silent")});
    const QmxSim device{std::string()};
    const ScopedConfigHome config;
    config.writeSettings("[Schnittstellen]\r\nCOM3=" + silent.path() + "\r\n");
    TF_Kalmoria_main window;
    window.StartUpSearch();
    EXPECT_EQ(window.statusPanelText(kFreePanel), "keine QMX gefunden");
    window.ShowStatus(); // any later refresh keeps it
    EXPECT_EQ(window.statusPanelText(kFreePanel), "keine QMX gefunden");

    config.writeSettings("[Schnittstellen]\r\nCOM3=" + device.path() + "\r\n");
    window.ActionComSucheExecute();
    EXPECT_EQ(window.statusPanelText(kFreePanel), "");
    EXPECT_EQ(window.statusPanelText(4), "ComPort: 3");
}

TEST_F(MainWindowTest, OverviewListsModulesRelativeToTheDeviceAddress)
{
    station().DeviceAddress = 100;
    presentModules({5, 64});
    window->ZeigeStation();

    StringGrid& grid = overview();
    EXPECT_EQ(grid.cell(0, 1), "100"); // the central device at position 0
    EXPECT_EQ(grid.cell(0, 2), "105");
    EXPECT_EQ(grid.cell(1, 2), "PDX-44");
    EXPECT_EQ(grid.cell(2, 2), "Station 5");
    EXPECT_EQ(grid.cell(3, 2), "5");
    EXPECT_EQ(grid.cell(4, 2), "2");
    EXPECT_EQ(grid.cell(5, 2), "3");
    EXPECT_EQ(grid.cell(6, 2), "4");
    EXPECT_EQ(grid.cell(7, 2), "8");
    EXPECT_EQ(grid.cell(0, 3), "100"); // the last address shows the device's own
    EXPECT_EQ(grid.cell(2, 4), "");    // the trailing central entry is not shown
    EXPECT_EQ(window->statusPanelText(6), "Stations: 3");
    EXPECT_TRUE(child<QTabWidget>("TabSheet")->isEnabled());
}

TEST_F(MainWindowTest, OverviewEmptiesRowsOfModulesThatWentAway)
{
    std::initializer_list<int> all{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                   17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
                                   33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48,
                                   49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64};
    presentModules(all);
    window->ZeigeStation();
    EXPECT_EQ(overview().cell(2, 65), "Station 64");

    presentModules({2, 3, 9});
    window->ZeigeStation();
    EXPECT_EQ(overview().cell(2, 4), "Station 9");
    for (int row = 5; row <= 65; ++row)
        EXPECT_EQ(overview().cell(2, row), "") << "row " << row;
}

TEST_F(MainWindowTest, DoubleClickOpensTheEditorWithTheOverviewsModule)
{
    presentModules({2, 3, 9});
    window->ZeigeStation();
    auto* sourceBox = child<QComboBox>("ComboBox1");
    sourceBox->addItems({"Zentrale", "Station 2", "Station 3", "Station 9"});
    overview().setCurrentGridRow(3);

    window->SG1DblClick();

    EXPECT_EQ(child<QTabWidget>("TabSheet")->currentIndex(), 1);
    EXPECT_EQ(sourceBox->currentIndex(), 2);
}

TEST_F(MainWindowTest, EnterOnAnOverviewRowOpensTheEditorAsADoubleClickDoes)
{
    presentModules({2, 3, 9});
    window->ZeigeStation();
    window->EnableLinkEditorPage();
    window->show();
    overview().setFocus();
    QTest::keyClick(&overview(), Qt::Key_Down);
    QTest::keyClick(&overview(), Qt::Key_Down);
    QTest::keyClick(&overview(), Qt::Key_Return);
    EXPECT_EQ(child<QTabWidget>("TabSheet")->currentIndex(), 1);
    EXPECT_EQ(child<QComboBox>("ComboBox1")->currentIndex(), 2);
    // Tab leaves the grid instead of walking its cells.
    child<QTabWidget>("TabSheet")->setCurrentIndex(0);
    overview().setFocus();
    const int column = overview().currentColumn();
    QTest::keyClick(&overview(), Qt::Key_Tab);
    EXPECT_EQ(overview().currentColumn(), column);
}

TEST_F(MainWindowTest, DoubleClickBeforeAnyRowWasChosenTakesTheFirstModule)
{
    presentModules({2, 3});
    auto* sourceBox = child<QComboBox>("ComboBox1");
    sourceBox->addItems({"Zentrale", "Station 2", "Station 3"});
    overview().setCurrentCell(-1, -1);
    window->SG1DblClick();
    EXPECT_EQ(sourceBox->currentIndex(), 0);
}

TEST_F(MainWindowTest, QuitClosesTheWindowWithoutAsking)
{
    window->show();
    ASSERT_TRUE(window->isVisible());
    child<QToolButton>("ToolButton1")->click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, TextTablesGiveTheirLinesWithoutTheDesignNumbering)
{
    EXPECT_EQ(window->MemTabLine(0), "@91MemoTabelle");
    EXPECT_FALSE(window->MemTabLine(2).empty());
    EXPECT_EQ(window->MemTabLine(2).find("2="), std::string::npos);
    EXPECT_FALSE(window->Memo2Line(1).empty());
    EXPECT_EQ(window->MemTabLine(99), "");
}

TEST_F(MainWindowTest, TheFastReplyEndIsOffUntilChosenAndTheChoiceOutlivesTheWindow)
{
    const auto fastReplyEnd = [this] { return child<QAction>("SchnellesAntwortende1"); };
    EXPECT_TRUE(fastReplyEnd()->isCheckable());
    EXPECT_FALSE(fastReplyEnd()->isChecked());
    EXPECT_FALSE(window->ProtocolClient().FastReplyEnd);

    fastReplyEnd()->trigger();
    EXPECT_TRUE(window->ProtocolClient().FastReplyEnd);
    EXPECT_NE(m_config.settings().find("SchnellesAntwortende=1"), std::string::npos);
    EXPECT_NE(m_config.settings().find("[Schnittstellen]"), std::string::npos) << "the port table must stay";

    // The start-up port search makes a new client: it keeps the choice.
    window = std::make_unique<TF_Kalmoria_main>();
    EXPECT_TRUE(fastReplyEnd()->isChecked());
    EXPECT_TRUE(window->ProtocolClient().FastReplyEnd);
    child<QAction>("ComPortsuchen")->trigger();
    EXPECT_TRUE(window->ProtocolClient().FastReplyEnd);

    fastReplyEnd()->trigger();
    window = std::make_unique<TF_Kalmoria_main>();
    EXPECT_FALSE(fastReplyEnd()->isChecked());
    EXPECT_FALSE(window->ProtocolClient().FastReplyEnd);
}

TEST_F(MainWindowTest, TheLanguageMenusHintGoesWhenTheMenuIsClosedWithEscape)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QMenuBar* bar = window->menuBar();
    auto* languages = child<QMenu>("mSprachwahl");
    const QPoint title = bar->actionGeometry(languages->menuAction()).center();
    ASSERT_FALSE(languages->menuAction()->statusTip().isEmpty());

    QTest::mouseMove(bar, title);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, title);
    ASSERT_TRUE(QTest::qWaitFor([languages] { return languages->isVisible(); }));
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(), languages->menuAction()->statusTip().toStdString());
    // Over an item the hint goes; Esc brings the menu bar back to the title.
    QTest::mouseMove(languages, languages->actionGeometry(languages->actions().at(0)).center());

    QTest::keyClick(languages, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([languages] { return !languages->isVisible(); }));
    QTest::qWait(20);
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(), "");
    EXPECT_TRUE(child<QLabel>("StatusPanel0")->isVisible());
}

