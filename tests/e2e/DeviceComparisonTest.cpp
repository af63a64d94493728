#include "app/MainWindow.h"
#include "editor/pages/ChangedMark.h"
#include "editor/pages/LinkTablePage.h"
#include "model/LinkModel.h"
#include "tests/common/TableLinks.h"
#include "tests/common/DeviceTestBench.h"
#include "widgets/StringGrid.h"

#include <QLabel>
#include <QPushButton>

namespace {

class DeviceComparison : public DeviceTestBench {};

} // namespace

TEST_F(DeviceComparison, MarksAChangedAnAddedAndARemovedLinkAgainstTheDevice)
{
    startDevice(kSmallDevice);
    TF_Kalmoria_main window;
    window.ActionLadenQMXExecute();
    ASSERT_EQ(window.station().AnzBefehle, 3);
    // The device's first link goes, its second is switched, one is added behind its third.
    window.station().DeleteLink(1);
    window.station().LinkTable[1].deaktiv = 1;
    ASSERT_TRUE(window.station().AppendLink(9, 150, 3, 12, 2, 350, 4));
    auto* page = window.findChild<LinkTablePage*>(QStringLiteral("TabSheet3"));
    ASSERT_NE(page, nullptr);
    page->findChild<QPushButton*>(QStringLiteral("BtnVergleichen"))->click();

    const StringGrid& grid = page->grid();
    const auto cell = [&grid](int col, int row) { return grid.item(row - 1, col); };
    const QPalette colours = page->palette();
    // Row 1, the switched link: only its A/D cell is marked, not in the selection's colour.
    EXPECT_EQ(cell(10, 1)->background(), QBrush(kChangedFieldFill));
    EXPECT_NE(cell(3, 1)->background(), QBrush(kChangedFieldFill));
    // Row 2, the same on both sides: plain.
    EXPECT_EQ(cell(3, 2)->foreground(), QBrush());
    // Row 3, only here: the link colour.
    EXPECT_EQ(cell(3, 3)->foreground(), colours.link());
    // Row 4, the device's first link, which the table lacks: struck through.
    EXPECT_EQ(grid.cell(0, 4), "- 1") << "the device's slot, as kalmoria-cli diff names it";
    EXPECT_EQ(grid.cell(3, 4), "100");
    EXPECT_TRUE(cell(3, 4)->font().strikeOut());
    const QString summary = page->findChild<QLabel*>(QStringLiteral("LVergleich"))->text();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("Verglichen mit der QMX: 1 gleich, 1 ge\u00E4ndert"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("1 nur hier"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("1 nur in der QMX"))) << summary.toStdString();

    // Read again, the edits discarded, the table is the device's: the marks go.
    boxes.answer = idNo;
    window.ActionLadenQMXExecute();
    EXPECT_EQ(grid.cell(0, 4), "");
    EXPECT_NE(cell(10, 2)->background(), QBrush(kChangedFieldFill));
    EXPECT_FALSE(cell(3, 3)->font().strikeOut());
}

TEST_F(DeviceComparison, AComparisonWhoseReadFailsSaysSoAndThatNothingChanged)
{
    startDevice(kSmallDevice);
    TF_Kalmoria_main window;
    window.ActionLadenQMXExecute();
    ASSERT_EQ(window.station().AnzBefehle, 3);
    startDevice(kSmallDevice, {QStringLiteral("--silent")}); // COM1 now
    boxes.shown.clear();
    window.findChild<QPushButton*>(QStringLiteral("BtnVergleichen"))->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("lie\xDF" "en sich nicht lesen"), std::string::npos) << boxes.shown[0].text;
    EXPECT_EQ(boxes.shown[0].text.find("bertragen werden"), std::string::npos) << boxes.shown[0].text;
    EXPECT_EQ(window.station().AnzBefehle, 3);
}
