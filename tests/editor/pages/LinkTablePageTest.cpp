#include "app/MainWindow.h"
#include "widgets/StringGrid.h"
#include "diag/AnsiText.h"
#include "editor/pages/LinkTablePage.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/common/TableLinks.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kLinkTablePage = 2;

// The page inside the real main window, with a device of three modules read.
class LinkTablePageTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_config.writeSettings("[Schnittstellen]\r\n");
        window = std::make_unique<TF_Kalmoria_main>();
        for (const int address : {0, 2, 9}) {
            station().ModuleTable[static_cast<std::size_t>(address)].present = 1;
            station().ModuleTable[static_cast<std::size_t>(address)].name = address == 0 ? "Zentrale" : "Station " + std::to_string(address);
            station().ModuleTable[static_cast<std::size_t>(address)].typeText = "PDX-44";
            if (address != 0) {
                // The bits a PDX-44 offers, so that the links below are ones the editor could make.
                ModuleRecord& module = station().ModuleTable[static_cast<std::size_t>(address)];
                module.srcBitCount = module.dstBitCount = 44;
                module.srcRegCount = module.dstRegCount = 4;
                station().AppendToModuleList(address);
            }
        }
        station().AppendToModuleList(0);
        window->ZeigeStation();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Shows the page anew, as a user does by clicking its tab.
    StringGrid& showTable()
    {
        pages().setCurrentIndex(0);
        pages().setCurrentIndex(kLinkTablePage);
        return page().grid();
    }

    QTabWidget& pages() const { return *window->findChild<QTabWidget*>(QStringLiteral("TabSheet")); }
    LinkTablePage& page() const { return *window->findChild<LinkTablePage*>(QStringLiteral("TabSheet3")); }

    static std::vector<std::string> row(const StringGrid& grid, int r)
    {
        std::vector<std::string> cells;
        for (int col = 0; col < LinkTablePage::kColumns; ++col)
            cells.push_back(grid.cell(col, r));
        return cells;
    }

    static std::vector<LinkFields> numberedLinks(int count)
    {
        std::vector<LinkFields> links;
        for (int n = 1; n <= count; ++n)
            links.push_back({2, 100 + n, 0, 1, 9, 300, 0, n % 2});
        return links;
    }

    // Every heading shows whole, and the source and target columns keep the
    // widths of the design, under "von Quelle" and "nach Ziel".
    static void expectHeadingsFit(const StringGrid& grid)
    {
        int source = 0;
        int target = 0;
        for (int col = 1; col < LinkTablePage::kColumns; ++col) {
            EXPECT_GE(grid.columnWidth(col), grid.horizontalHeader()->sectionSizeHint(col)) << grid.cell(col, 0);
            (col <= 5 ? source : target) += grid.columnWidth(col);
        }
        EXPECT_EQ(grid.columnWidth(0), 40);
        EXPECT_EQ(source, 42 + 173 + 56 + 44 + 49);
        EXPECT_EQ(target, 43 + 176 + 53 + 43 + 34);
    }

    // The station the window shows.
    Station& station() { return window->station(); }

    ScopedConfigHome m_config;
    std::unique_ptr<TF_Kalmoria_main> window;
};

} // namespace

TEST_F(LinkTablePageTest, ListsEveryLinkBelowTheHeadingsOfTheTextTable)
{
    setTableLinks(station(), {{0, 1621, 3, 4, 9, 300, 12, 0}, {2, 100, 0, 8, 9, 301, 0, 1}, {200, 5, 0, 1, -1, 6, 0, 0}});
    StringGrid& grid = showTable();

    const std::vector<std::string> headings{"",
                                            window->MemTabLine(1), window->MemTabLine(2), window->MemTabLine(3),
                                            window->MemTabLine(4), window->MemTabLine(5), window->MemTabLine(1),
                                            window->MemTabLine(2), window->MemTabLine(3), window->MemTabLine(4),
                                            window->MemTabLine(6)};
    EXPECT_EQ(row(grid, 0), headings);
    EXPECT_EQ(row(grid, 1), (std::vector<std::string>{"1", "1", "Zentrale", "1621", "3", "4", "10", "Station 9",
                                                      "300", "12", "A"}));
    EXPECT_EQ(row(grid, 2), (std::vector<std::string>{"2", "3", "Station 2", "100", "0", "8", "10", "Station 9",
                                                      "301", "0", "D"}));
    // Module numbers from a file that name no module: shown, but without a name.
    EXPECT_EQ(row(grid, 3), (std::vector<std::string>{"3", "201", "", "5", "0", "1", "0", "", "6", "0", "A"}));

    expectHeadingsFit(grid);
    for (const char* name : {"Label1", "Label2"}) {
        auto* label = page().findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr);
        EXPECT_FALSE(label->text().startsWith(QLatin1Char('@'))) << name << " is translated";
        EXPECT_EQ(label->size(), QSize(321, 17));
    }
}

TEST_F(LinkTablePageTest, EnglishHeadingsAreShownWhole)
{
    QMenu* languages = window->findChild<QMenu*>(QStringLiteral("mSprachwahl"));
    for (QAction* item : languages->actions()) {
        if (item->text() == QStringLiteral("English"))
            item->trigger();
    }
    StringGrid& grid = showTable();
    ASSERT_EQ(grid.cell(3, 0), "From reg.");
    expectHeadingsFit(grid);
}

TEST_F(LinkTablePageTest, HasRoomForEighteenRowsOrARowForEveryLink)
{
    struct Case {
        int links;
        int rows;
    };
    for (const Case c : {Case{0, 18}, Case{17, 18}, Case{18, 19}, Case{25, 26}, Case{kMaxLinks, kMaxLinks + 1}}) {
        setTableLinks(station(), numberedLinks(c.links));
        StringGrid& grid = showTable();
        EXPECT_EQ(grid.gridRowCount(), c.rows) << c.links << " links";
        if (c.links > 0) {
            EXPECT_EQ(grid.cell(3, c.links), std::to_string(100 + c.links)) << c.links << " links";
        }
        for (int r = c.links + 1; r < grid.gridRowCount(); ++r)
            EXPECT_EQ(row(grid, r), std::vector<std::string>(LinkTablePage::kColumns)) << c.links << " links, row " << r;
    }
}

TEST_F(LinkTablePageTest, RowsOfDeletedLinksAreEmptied)
{
    setTableLinks(station(), numberedLinks(17));
    showTable();
    while (station().AnzBefehle > 2)
        station().DeleteLink(1);
    StringGrid& grid = showTable();
    EXPECT_EQ(grid.cell(3, 2), "117");
    for (int r = 3; r < grid.gridRowCount(); ++r)
        EXPECT_EQ(row(grid, r), std::vector<std::string>(LinkTablePage::kColumns)) << "row " << r;
}

TEST_F(LinkTablePageTest, TheMouseOverAnInactiveLinkShowsHowToActivateIt)
{
    setTableLinks(station(), {{2, 100, 0, 8, 9, 300, 0, 0}, {2, 101, 0, 8, 9, 301, 0, 1}});
    StringGrid& grid = showTable();
    QWidget* viewport = grid.viewport();
    const auto moveTo = [&](int r) {
        const QPoint at(grid.columnViewportPosition(2) + 5, grid.rowViewportPosition(r - 1) + 5);
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        return at;
    };
    const QString hint = ansiToQString(window->Memo2Line(1));
    ASSERT_FALSE(hint.isEmpty());

    moveTo(1);
    EXPECT_EQ(grid.toolTip(), QString());
    const QPoint overInactive = moveTo(2);
    EXPECT_EQ(grid.toolTip(), hint);

    QHelpEvent pause(QEvent::ToolTip, overInactive, viewport->mapToGlobal(overInactive));
    QApplication::sendEvent(viewport, &pause);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), grid.toolTip());

    moveTo(3);
    EXPECT_EQ(grid.toolTip(), QString());
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); })) << "the hint of the other row is gone";
}

TEST_F(LinkTablePageTest, TheKeysBringUpARowsHintAndEnterLeadsToTheEditor)
{
    setTableLinks(station(), {{2, 100, 0, 8, 9, 300, 0, 0}, {2, 101, 0, 8, 9, 301, 0, 1}});
    StringGrid& grid = showTable();
    const QString hint = ansiToQString(window->Memo2Line(1));
    // A screen reader reads the hint with any cell of the row.
    EXPECT_EQ(grid.item(1, 3)->data(Qt::AccessibleDescriptionRole).toString(), hint);
    EXPECT_EQ(grid.item(0, 3)->data(Qt::AccessibleDescriptionRole).toString(), QString());

    grid.setFocus();
    grid.setCurrentGridRow(1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::isVisible() && QToolTip::text() == hint; }));
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));

    QTest::keyClick(&grid, Qt::Key_Enter);
    EXPECT_EQ(pages().currentIndex(), 1);
}

TEST_F(LinkTablePageTest, DoubleClickLeadsToTheEditorWithTheOverviewsModule)
{
    setTableLinks(station(), {{9, 100, 0, 8, 2, 300, 0, 0}});
    StringGrid& grid = showTable();
    QWidget* viewport = grid.viewport();
    const QPoint cell(grid.columnViewportPosition(2) + 5, grid.rowViewportPosition(0) + 5);
    // A double click as the platform delivers it: a click, then the second press.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, cell);
    EXPECT_EQ(pages().currentIndex(), 1);
}

TEST_F(LinkTablePageTest, DoubleClickShowsTheOverviewsModuleNotTheClickedRowsOrTheLinksModule)
{
    // Link 3 lies in table row 3 and reads from the central device, overview row 1;
    // the overview's current row, 2, decides.
    setTableLinks(station(), {{2, 100, 0, 8, 9, 300, 0, 0}, {9, 100, 0, 8, 2, 300, 0, 0}, {0, 1621, 0, 4, 9, 301, 0, 0}});
    StringGrid& overview = *window->findChild<StringGrid*>(QStringLiteral("SG1"));
    overview.setCurrentGridRow(2);
    const std::string chosen = overview.cell(2, 2);
    ASSERT_NE(chosen, overview.cell(2, 3));
    ASSERT_NE(chosen, overview.cell(2, 1));

    StringGrid& grid = showTable();
    ASSERT_EQ(grid.cell(2, 3), "Zentrale");
    const QPoint cell(grid.columnViewportPosition(2) + 5, grid.rowViewportPosition(2) + 5);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell);

    EXPECT_EQ(pages().currentIndex(), 1);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("LQuelleName"))->text().toStdString(), chosen);
    EXPECT_EQ(window->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->currentIndex(), 1);
}
