#include "app/MainWindow.h"
#include "editor/pages/EditorCell.h"
#include "editor/pages/LinkTablePage.h"
#include "model/LinkModel.h"
#include "tests/common/DeviceTestBench.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include <string>

namespace {

// After "Mit QMX vergleichen" against the simulated device, the link editor
// frames the bits of the links that differ, on both panes.
class DeviceDifferences : public DeviceTestBench {
protected:
    // The small device read, its first link deleted, its second switched and one added.
    void compareEditedTable()
    {
        startDevice(kSmallDevice);
        window.ActionLadenQMXExecute();
        ASSERT_EQ(window.station().AnzBefehle, 3);
        window.station().DeleteLink(1);
        window.station().LinkTable[1].deaktiv = 1;
        ASSERT_TRUE(window.station().AppendLink(9, 101, 3, 12, 2, 300, 12));
        page().findChild<QPushButton*>(QStringLiteral("BtnVergleichen"))->click();
    }

    LinkTablePage& page() const { return *window.findChild<LinkTablePage*>(QStringLiteral("TabSheet3")); }

    void openEditor(int sourcePosition, int targetItem)
    {
        window.findChild<QTabWidget*>(QStringLiteral("TabSheet"))->setCurrentIndex(1);
        for (const auto& [name, index] : {std::pair{"ComboBox1", sourcePosition}, std::pair{"ComboBox3", targetItem}}) {
            auto* box = window.findChild<QComboBox*>(QLatin1String(name));
            box->setCurrentIndex(index);
            emit box->activated(index);
        }
    }

    // One pane row as "#" (framed) and "." (not), bit 0 first.
    std::string framedRow(int firstCell, int row) const
    {
        std::string text;
        for (int bit = 0; bit < 16; ++bit) {
            const int n = firstCell + row * 16 + bit;
            const auto* cell = window.findChild<EditorCell*>(QStringLiteral("StaticText%1").arg(n));
            text += cell != nullptr && cell->isDiffering() ? "#" : ".";
        }
        return text;
    }

    int framedCells() const
    {
        int count = 0;
        for (int n = 1; n <= 320; ++n) {
            const auto* cell = window.findChild<EditorCell*>(QStringLiteral("StaticText%1").arg(n));
            count += cell != nullptr && cell->isDiffering() ? 1 : 0;
        }
        return count;
    }

    TF_Kalmoria_main window;
};

} // namespace

TEST_F(DeviceDifferences, TheEditorFramesTheChangedTheAddedAndTheRemovedLinkOnBothPanes)
{
    compareEditedTable();
    // Source: module 2 (after the central device); target: module 2 (the first target).
    openEditor(1, 0);
    // The device's first link, which the table lacks, read bits 0..7 of register 100.
    EXPECT_EQ(framedRow(1, 0), "########........");
    // Register 300 of module 2 on the target pane: the switched link writes
    // bits 8 and 9, the added one bits 12 to 15 and the next register's 0 to 7.
    EXPECT_EQ(framedRow(161, 0), "........##..####");
    EXPECT_EQ(framedRow(161, 1), "########........");
    EXPECT_EQ(framedCells(), 8 + 2 + 4 + 8);

    // Source module 9, whose added link reads 12 bits from bit 3 of register 101.
    openEditor(3, 0);
    EXPECT_EQ(framedRow(1, 0), "................");
    EXPECT_EQ(framedRow(1, 1), "...############.");
    // Target module 9: the device's first link wrote bits 0..7 of its register 300.
    openEditor(3, 2);
    EXPECT_EQ(framedRow(161, 0), "########........");
}

TEST_F(DeviceDifferences, TheFramesFollowEditsAndGoWhenTheComparisonIsForgotten)
{
    compareEditedTable();
    openEditor(1, 0);
    ASSERT_EQ(framedRow(1, 0), "########........");
    // The device's first link made again, the same: no longer different.
    ASSERT_TRUE(window.station().AppendLink(2, 100, 0, 8, 9, 300, 0));
    window.station().LinkTable[static_cast<std::size_t>(window.station().AnzBefehle)].deaktiv = 0;
    openEditor(1, 0);
    EXPECT_EQ(framedRow(1, 0), "................");

    // Read again: the table is the device's, the comparison gone.
    boxes.answer = idNo;
    window.ActionLadenQMXExecute();
    openEditor(1, 0);
    EXPECT_EQ(framedCells(), 0);
}
