#include "tests/editor/pages/EditorPageFixture.h"

#include "diag/AnsiText.h"
#include "editor/pages/ChoiceLabel.h"
#include "editor/pages/EditorCell.h"
#include "editor/pages/LinkEditorPage.h"
#include "editor/pages/TF_PDauswahl.h"
#include "i18n/LanguageTexts.h"
#include "model/LinkModel.h"
#include "tests/common/ModalScript.h"
#include "tests/common/ScriptedMessageBoxes.h"
#include "tests/common/TableLinks.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

struct Bit {
    int row; // row of the visible window, 0..9
    int bit; // 0..15
};

int cellOf(Pane pane, Bit b)
{
    return CellNumber(pane, b.row * kPaneColumns + b.bit);
}

class LinkEditorClicks : public EditorPageTest {
protected:
    void SetUp() override
    {
        EditorPageTest::SetUp();
        useModulesOfEveryKind(station());
    }

    // Source module and group, target module and group, as a user picks them.
    void show(int32_t source, int sourceGroup, int32_t target, int targetGroup)
    {
        openPage();
        choose("ComboBox1", sourceItem(station(), source));
        choose("ComboBox2", sourceGroup);
        choose("ComboBox3", targetItem(station(), target));
        choose("ComboBox4", targetGroup);
    }

    void click(int cellNumber, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(cell(cellNumber), button);
    }
    void clickSource(Bit b) { click(cellOf(Pane::Source, b)); }
    void clickTarget(Bit b) { click(cellOf(Pane::Target, b)); }

    // Right-clicks a cell; once the link action dialog is up, `user` acts on it.
    // A dialog the script leaves open is closed after a while.
    void rightClick(int cellNumber, const std::function<void(TF_PDauswahl&)>& user)
    {
        auto* dialog = window->findChild<TF_PDauswahl*>();
        ASSERT_NE(dialog, nullptr);
        WhileModal(
            *dialog, [&] { click(cellNumber, Qt::RightButton); }, [&] { user(*dialog); });
    }

    static void choose(TF_PDauswahl& dialog, const char* label)
    {
        auto* choice = dialog.findChild<ChoiceLabel*>(QLatin1String(label));
        ASSERT_NE(choice, nullptr) << label;
        QTest::mouseClick(choice, Qt::LeftButton);
    }
    using EditorPageTest::choose;

    int selectionMarks(Pane pane) const
    {
        int marks = 0;
        for (int r = 0; r < kPaneRows; ++r) {
            const std::string text = row(pane, r);
            marks += static_cast<int>(std::count(text.begin(), text.end(), '*'));
        }
        return marks;
    }

    std::string selection() const
    {
        return labelText("LRegQ") + "/" + labelText("LBitQ") + " " + labelText("LAnzBit") + " -> " +
               labelText("LRegZ") + "/" + labelText("LBitZ");
    }

    QPushButton* takeOver() const { return child<QPushButton>(QStringLiteral("BtnUebernehmen")); }

    static std::string message(int n) { return GetMessageText(n, {" - "}, 0); }

    std::vector<std::string> shown() const
    {
        std::vector<std::string> texts;
        for (const MessageBoxRequest& box : boxes.shown) {
            EXPECT_EQ(box.kind, mbError);
            texts.push_back(box.text);
        }
        return texts;
    }

    ScriptedMessageBoxes boxes;
};

} // namespace

// --- Choosing a source range ---------------------------------------------------

struct SourceRangeCase {
    const char* name;
    int32_t module;
    int group;
    std::vector<Bit> clicks;
    std::string selection; // LRegQ/LBitQ LAnzBit
    int marks;
    bool refused; // message 2 was shown
};

class SourceRange : public LinkEditorClicks, public testing::WithParamInterface<SourceRangeCase> {};

TEST_P(SourceRange, FollowsTheClicksWithinTheDevicesLimits)
{
    const SourceRangeCase& c = GetParam();
    show(c.module, c.group, 5, 0);
    for (const Bit& b : c.clicks)
        clickSource(b);
    EXPECT_EQ(labelText("LRegQ") + "/" + labelText("LBitQ") + " " + labelText("LAnzBit"), c.selection);
    EXPECT_EQ(selectionMarks(Pane::Source), c.marks);
    EXPECT_EQ(shown(), c.refused ? std::vector<std::string>{message(2)} : std::vector<std::string>{});
}

// Module 8 has 200 source bits from register 100, module 2 twelve source registers from 150.
INSTANTIATE_TEST_SUITE_P(
    Clicks, SourceRange,
    testing::Values(SourceRangeCase{"ThirtyTwoBitsAccepted", 8, 0, {{0, 4}, {2, 3}}, "100/4 32", 32, false},
                    SourceRangeCase{"ThirtyThreeBitsRefused", 8, 0, {{0, 4}, {2, 4}}, "0/0 0", 0, true},
                    SourceRangeCase{"ThreeRegistersFromBitZero", 2, 1, {{0, 0}, {2, 15}}, "150/0 48", 48, false},
                    SourceRangeCase{"ThreeRegistersLessOneBitRefused", 2, 1, {{0, 1}, {2, 15}}, "0/0 0", 0, true},
                    SourceRangeCase{"FourRegistersFromBitZero", 2, 1, {{1, 0}, {4, 15}}, "151/0 64", 64, false},
                    SourceRangeCase{"StartClickedTwiceDropsIt", 8, 0, {{3, 5}, {3, 5}}, "0/0 0", 0, false},
                    SourceRangeCase{"ClickBeforeTheStartMovesIt", 8, 0, {{3, 5}, {4, 2}, {1, 9}}, "101/9 1", 1, false},
                    SourceRangeCase{"EndMovedBack", 8, 0, {{0, 0}, {1, 15}, {0, 7}}, "100/0 8", 8, false},
                    SourceRangeCase{"LastCellOfThePane", 8, 0, {{9, 15}}, "109/15 1", 1, false}),
    [](const testing::TestParamInfo<SourceRangeCase>& info) { return info.param.name; });

TEST_F(LinkEditorClicks, ARegisterLabelChoosesItsSixteenBitsAndOffersTargets)
{
    addLink(2, 151, 0, 4, 12, 350, 0);
    show(2, 1, 5, 0);
    ASSERT_EQ(row(Pane::Source, 1), "aaaa............");
    EXPECT_EQ(offeredCells(Pane::Target), 0);

    clickSource({0, 3});
    QTest::mouseClick(rowLabel(2), Qt::LeftButton);

    EXPECT_EQ(selection(), "151/0 16 -> 0/0");
    EXPECT_EQ(row(Pane::Source, 0), "................");
    EXPECT_EQ(row(Pane::Source, 1), std::string(16, '*'));
    // 32 target bits: a range of 16 may start on the first 17.
    EXPECT_EQ(offeredCells(Pane::Target), 17);
    // Another button on a register label chooses nothing.
    QTest::mouseClick(rowLabel(1), Qt::RightButton);
    EXPECT_EQ(selection(), "151/0 16 -> 0/0");
}

TEST_F(LinkEditorClicks, TargetRangeOverATakenBitIsRefusedOnceAndLeavesNoMark)
{
    addLink(12, 100, 0, 2, 5, 300, 4); // "x" on target bits 4 and 5
    show(8, 0, 5, 0);
    ASSERT_EQ(row(Pane::Target, 0), "....xx..........");
    clickSource({0, 0});
    clickSource({0, 7});

    clickTarget({0, 0});

    EXPECT_EQ(shown(), std::vector<std::string>{message(1)});
    EXPECT_EQ(selectionMarks(Pane::Target), 0);
    EXPECT_EQ(row(Pane::Target, 0), "....xx..........");
    EXPECT_EQ(selection(), "100/0 8 -> 300/0");
    EXPECT_FALSE(takeOver()->isEnabled());

    // A free place afterwards is taken as usual.
    clickTarget({0, 6});
    EXPECT_EQ(row(Pane::Target, 0), "....xx********..");
    EXPECT_TRUE(takeOver()->isEnabled());
}

TEST_F(LinkEditorClicks, TargetRangeOverATakenBitBeyondTheWindowIsRefused)
{
    addModule(station(), 8, 5, {200, 4, 8, 2, 200, 4}, "Brunnen");
    addLink(12, 100, 0, 4, 8, 310, 2); // below the visible target registers 300..309
    show(2, 0, 8, 0);
    clickSource({0, 0});
    clickSource({1, 15});

    clickTarget({9, 8}); // 309 bit 8: the 32 bits reach into register 311

    EXPECT_EQ(shown(), std::vector<std::string>{message(1)});
    EXPECT_EQ(selectionMarks(Pane::Target), 0);
    EXPECT_FALSE(takeOver()->isEnabled());
}

TEST_F(LinkEditorClicks, TakeOverAddsAnInactiveLinkDrawnGrey)
{
    show(8, 0, 5, 0);
    clickSource({0, 4});
    clickSource({0, 7});
    clickTarget({1, 0});
    ASSERT_TRUE(takeOver()->isEnabled());

    QTest::mouseClick(takeOver(), Qt::LeftButton);

    ASSERT_EQ(station().AnzBefehle, 1);
    EXPECT_EQ(linkFields(station().LinkTable[1]), (LinkFields{8, 100, 4, 4, 5, 301, 0, 1}));
    EXPECT_EQ(row(Pane::Source, 0), "....AAAA........");
    EXPECT_TRUE(cell(5)->isInactive());
    EXPECT_EQ(row(Pane::Target, 1), "AAAA............");
    EXPECT_EQ(selection(), "0/0 0 -> 0/0");
    EXPECT_FALSE(takeOver()->isEnabled());
    EXPECT_EQ(offeredCells(Pane::Target), 0);
    EXPECT_EQ(window->statusPanelText(7), "Links: 1");
}

TEST_F(LinkEditorClicks, AFullTableRefusesTheTakeOverAndKeepsTheSelection)
{
    while (station().AnzBefehle < kMaxLinks)
        addLink(12, 200, 0, 1, 2, 350, 0);
    show(8, 0, 5, 0);
    clickSource({0, 0});
    clickTarget({0, 0});

    QTest::mouseClick(takeOver(), Qt::LeftButton);

    EXPECT_EQ(shown(), std::vector<std::string>{message(26)});
    EXPECT_NE(message(26).find("299"), std::string::npos);
    EXPECT_EQ(station().AnzBefehle, kMaxLinks);
    EXPECT_EQ(selection(), "100/0 1 -> 300/0");
    EXPECT_EQ(row(Pane::Target, 0), "*...............");
    EXPECT_TRUE(takeOver()->isEnabled());
}

// --- The link actions ------------------------------------------------------------

TEST_F(LinkEditorClicks, TheLastCellOfEachPaneOpensTheActionsOfItsLinks)
{
    addModule(station(), 8, 5, {200, 4, 8, 2, 200, 4}, "Brunnen");
    addLink(8, 109, 12, 4, 12, 300, 0);
    addLink(2, 150, 0, 4, 8, 309, 14);
    show(8, 0, 8, 0);

    int rows = -1;
    rightClick(160, [&](TF_PDauswahl& dialog) {
        rows = dialog.rowCount();
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Auswahl f\xC3\xBCr  M:5 R:109 B:15"));
        dialog.reject();
    });
    EXPECT_EQ(rows, 1);

    rightClick(320, [&](TF_PDauswahl& dialog) {
        rows = dialog.rowCount();
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Auswahl f\xC3\xBCr  M:5 R:309 B:15"));
        dialog.reject();
    });
    EXPECT_EQ(rows, 1);
}

TEST_F(LinkEditorClicks, TheDialogOpensBesideTheCellAndListsEveryLinkOnIt)
{
    for (int i = 0; i < 5; ++i)
        addLink(2, 100, 0, 4 + i, 5, 300, static_cast<int32_t>(4 * i) % 16);
    show(2, 0, 5, 0);
    int rows = 0;
    QPoint placed;
    rightClick(1, [&](TF_PDauswahl& dialog) {
        rows = dialog.rowCount();
        placed = dialog.pos();
        dialog.reject();
    });
    EXPECT_EQ(rows, 5);
    const QPoint cellRight = cell(1)->mapToGlobal(QPoint(cell(1)->width(), 0));
    EXPECT_LE(std::abs(placed.x() - cellRight.x()), 8);
    EXPECT_EQ(station().AnzBefehle, 5);
}

TEST_F(LinkEditorClicks, RightClicksOnFreeOrSelectedCellsOpenNothing)
{
    show(8, 0, 5, 0);
    clickSource({0, 0});
    bool opened = false;
    for (const int number : {1, 2, 161}) {
        rightClick(number, [&](TF_PDauswahl& dialog) {
            opened = true;
            dialog.reject();
        });
    }
    EXPECT_FALSE(opened);
    EXPECT_EQ(selection(), "100/0 1 -> 0/0");
}

TEST_F(LinkEditorClicks, ShowingTheSourceEndOfAForeignTargetSwitchesTheSourcePane)
{
    addLink(2, 100, 0, 2, 5, 300, 0);
    addLink(3, 44, 0, 2, 5, 302, 8); // SK40's second source register
    show(2, 0, 5, 0);
    ASSERT_EQ(row(Pane::Target, 2), "........xx......");

    std::string offered;
    rightClick(cellOf(Pane::Target, {2, 9}), [&](TF_PDauswahl& dialog) {
        offered = qStringToAnsi(dialog.findChild<ChoiceLabel*>(QStringLiteral("Label1"))->text());
        choose(dialog, "Label1");
    });

    EXPECT_EQ(offered, "Verkn\xFCpfung - 2 anzeigen");
    EXPECT_EQ(box("ComboBox1")->currentIndex(), sourceItem(station(), 3));
    EXPECT_EQ(qStringToAnsi(box("ComboBox2")->currentText()), groupLabel(2));
    EXPECT_EQ(rowLabel(1)->text(), "43");
    EXPECT_EQ(row(Pane::Source, 1), "AA..............");
    EXPECT_EQ(row(Pane::Target, 2), "........AA......");
}

TEST_F(LinkEditorClicks, ShowingTheTargetEndBringsItsRegisterIntoView)
{
    addLink(2, 100, 0, 2, 5, 365, 4);
    show(2, 0, 8, 0);
    ASSERT_EQ(row(Pane::Source, 0), "aa..............");

    rightClick(1, [&](TF_PDauswahl& dialog) { choose(dialog, "Label1"); });

    EXPECT_EQ(box("ComboBox3")->currentIndex(), targetItem(station(), 5));
    EXPECT_EQ(qStringToAnsi(box("ComboBox4")->currentText()), groupLabel(12));
    EXPECT_EQ(scrollBar("ScrollBarZ")->value(), 6);
    EXPECT_EQ(row(Pane::Target, 9), "....AA..........");
    EXPECT_EQ(row(Pane::Source, 0), "AA..............");
}

TEST_F(LinkEditorClicks, SwitchAndDeleteReachLinksBeyondTheHundredth)
{
    for (int n = 1; n < 120; ++n)
        addLink(12, 200, 0, 1, 2, 350, 0);
    addLink(2, 100, 0, 4, 5, 300, 0, 1); // link 120
    addLink(12, 200, 1, 1, 2, 350, 1);   // link 121
    show(2, 0, 5, 0);
    ASSERT_EQ(row(Pane::Source, 0), "AAAA............");

    std::vector<std::string> offered;
    rightClick(2, [&](TF_PDauswahl& dialog) {
        for (const char* name : {"Label1", "Label2", "Label3"})
            offered.push_back(qStringToAnsi(dialog.findChild<ChoiceLabel*>(QLatin1String(name))->text()));
        choose(dialog, "Label2");
    });
    EXPECT_EQ(offered[1], "Verkn\xFCpfung - A aktivieren");
    EXPECT_EQ(offered[2], "Verkn\xFCpfung - A l\xF6schen");
    EXPECT_EQ(station().LinkTable[120].deaktiv, 0);
    EXPECT_FALSE(cell(1)->isInactive());

    rightClick(cellOf(Pane::Target, {0, 3}), [&](TF_PDauswahl& dialog) { dialog.reject(); });
    rightClick(3, [&](TF_PDauswahl& dialog) { choose(dialog, "Label3"); });
    EXPECT_EQ(station().AnzBefehle, 120);
    EXPECT_EQ(station().LinkTable[120].ModulQ, 12);
    EXPECT_EQ(station().LinkTable[120].BitVon, 1);
    EXPECT_EQ(row(Pane::Source, 0), "................");
    EXPECT_EQ(row(Pane::Target, 0), "................");
}
