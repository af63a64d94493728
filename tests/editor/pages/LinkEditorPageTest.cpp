#include "tests/editor/pages/EditorPageFixture.h"

#include "widgets/StringGrid.h"
#include "diag/AnsiText.h"
#include "editor/pages/EditorCell.h"
#include "editor/pages/LinkEditorPage.h"
#include "i18n/LanguageTexts.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/SignalGroups.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>

namespace {

// One module of every kind; see useModulesOfEveryKind.
class LinkEditorPage_ : public EditorPageTest {
protected:
    void SetUp() override
    {
        EditorPageTest::SetUp();
        useModulesOfEveryKind(station());
    }
};

} // namespace

TEST_F(LinkEditorPage_, OpensWithTheFirstModuleOnEachSideAtTheStartOfItsGroup)
{
    openPage();

    EXPECT_EQ(child<QTabWidget>(QStringLiteral("TabSheet"))->currentIndex(), 1);
    EXPECT_EQ(box("ComboBox1")->count(), 7);
    EXPECT_EQ(box("ComboBox3")->count(), 6);
    EXPECT_EQ(items("ComboBox1")[1], "Pumpwerk Nord (T0) - Adr:12");
    EXPECT_EQ(items("ComboBox3")[0], "Pumpwerk Nord (T0) - Adr:12");
    EXPECT_EQ(labelText("LQuelleName"), "Zentrale");
    EXPECT_EQ(labelText("LZielName"), "Pumpwerk Nord");
    EXPECT_EQ(labelText("LModulQ"), "0");
    EXPECT_EQ(labelText("LModulZ"), "2");
    EXPECT_EQ(qStringToAnsi(box("ComboBox2")->currentText()), groupLabel(4));
    EXPECT_EQ(qStringToAnsi(box("ComboBox4")->currentText()), groupLabel(11));
    EXPECT_EQ(scrollBar("ScrollBarQ")->value(), 0);
    EXPECT_EQ(rowLabel(1)->text(), "1502");
    EXPECT_EQ(rowLabel(11)->text(), "300");
    for (const char* selection : {"LRegQ", "LBitQ", "LAnzBit", "LRegZ", "LBitZ"})
        EXPECT_EQ(labelText(selection), "0") << selection;
    EXPECT_FALSE(child<QPushButton>(QStringLiteral("BtnUebernehmen"))->isEnabled());
}

TEST_F(LinkEditorPage_, WithoutModulesTheOverviewStaysInFront)
{
    station().ResetModel();
    openPage();
    EXPECT_EQ(child<QTabWidget>(QStringLiteral("TabSheet"))->currentIndex(), 0);
    EXPECT_EQ(box("ComboBox1")->count(), 0);
}

TEST_F(LinkEditorPage_, SourceScrollOpensAtTheFirstRegisterEachTime)
{
    openPage();
    choose("ComboBox1", sourceItem(station(), 8));
    scrollBar("ScrollBarQ")->setValue(2);
    ASSERT_EQ(rowLabel(1)->text(), "102");

    window->SelectPage(0);
    window->SelectPage(1);
    choose("ComboBox1", sourceItem(station(), 8));
    EXPECT_EQ(scrollBar("ScrollBarQ")->value(), 0);
    EXPECT_EQ(rowLabel(1)->text(), "100");
}

// --- Cells in both column orders ----------------------------------------------

struct ColumnOrderCase {
    const char* name;
    Pane pane;
    int groupItem; // item of the pane's group box for the KRA module
    CellLayout layout;
};

class ColumnOrder : public LinkEditorPage_, public testing::WithParamInterface<ColumnOrderCase> {};

TEST_P(ColumnOrder, PlacesEveryCellAndHeaderInsideThePane)
{
    const ColumnOrderCase& c = GetParam();
    openPage();
    const bool source = c.pane == Pane::Source;
    choose(source ? "ComboBox1" : "ComboBox3", source ? sourceItem(station(), 2) : targetItem(station(), 2));
    choose(source ? "ComboBox2" : "ComboBox4", c.groupItem);

    auto* pane = child<QGroupBox>(QLatin1String(source ? "GQuelle" : "GZiehl"));
    EXPECT_EQ(pane->geometry(), QRect(source ? 0 : 389, 8, 388, 369));
    const QRect scrollBarArea = scrollBar(source ? "ScrollBarQ" : "ScrollBarZ")->geometry();
    for (int index = 0; index < kPaneCells; ++index) {
        const int row = index / kPaneColumns;
        const int column = index % kPaneColumns + 1;
        const QRect place = cell(CellNumber(c.pane, index))->geometry();
        ASSERT_EQ(place, QRect(ColumnLeft(c.layout, column), RowTop(row), 20, 20)) << "cell index " << index;
        ASSERT_TRUE(pane->rect().contains(place));
        ASSERT_FALSE(place.intersects(scrollBarArea));
    }
    const int firstHeader = source ? 1 : 17;
    for (int column = 1; column <= kPaneColumns; ++column) {
        auto* header = child<EditorCell>(QStringLiteral("STsp%1").arg(firstHeader + column - 1));
        EXPECT_EQ(header->x(), ColumnLeft(c.layout, column));
        EXPECT_EQ(header->text(), std::to_string(column - 1));
    }
    EXPECT_EQ(rowLabel(source ? 1 : 11)->geometry(), QRect(4, 112, 45, 20));
}

INSTANTIATE_TEST_SUITE_P(BothPanes, ColumnOrder,
                         testing::Values(ColumnOrderCase{"SourceBits", Pane::Source, 0, CellLayout::Bit},
                                         ColumnOrderCase{"SourceRegisters", Pane::Source, 1, CellLayout::Register},
                                         ColumnOrderCase{"TargetBits", Pane::Target, 0, CellLayout::Bit},
                                         ColumnOrderCase{"TargetRegisters", Pane::Target, 1, CellLayout::Register}),
                         [](const testing::TestParamInfo<ColumnOrderCase>& info) { return info.param.name; });

// --- Offered cells and scroll ranges --------------------------------------------

struct BitGroupCase {
    int srcBits;
    int offeredCells;
    int offeredRowLabels;
    int scrollMaximum;
};

class SourceBitGroup : public LinkEditorPage_, public testing::WithParamInterface<BitGroupCase> {};

TEST_P(SourceBitGroup, OffersItsBitsAndScrollsOverTheRest)
{
    const BitGroupCase& c = GetParam();
    addModule(station(), 2, 0, {c.srcBits, 1, 0, 0, 8, 1}, "Bits");
    openPage();
    choose("ComboBox1", sourceItem(station(), 2));
    EXPECT_EQ(qStringToAnsi(box("ComboBox2")->currentText()), groupLabel(1));
    EXPECT_EQ(offeredCells(Pane::Source), c.offeredCells);
    int labels = 0;
    for (int i = 1; i <= kPaneRows; ++i)
        labels += rowLabel(i)->colour() == CellColour::SkyBlue ? 1 : 0;
    EXPECT_EQ(labels, c.offeredRowLabels);
    EXPECT_EQ(scrollBar("ScrollBarQ")->maximum(), c.scrollMaximum);
    // With nothing selected on the source pane no target bit is offered.
    EXPECT_EQ(offeredCells(Pane::Target), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SourceBitGroup,
                         testing::Values(BitGroupCase{8, 8, 1, 0}, BitGroupCase{24, 16, 2, 0},
                                         BitGroupCase{160, 160, 10, 0}, BitGroupCase{200, 160, 10, 2}));

// --- The groups each kind offers ----------------------------------------------

struct SourceItemsCase {
    const char* name;
    int32_t address;
    bool signalGroups;          // with the shipped signal-group file
    std::vector<int> labels;    // group labels, in order
    std::vector<std::string> names; // then these signal groups
};

class SourceGroupBox : public LinkEditorPage_, public testing::WithParamInterface<SourceItemsCase> {};

TEST_P(SourceGroupBox, ListsTheKindsGroupsInTheActiveLanguage)
{
    const SourceItemsCase& c = GetParam();
    if (c.signalGroups)
        station().LoadSignalGroups("QMXFO.ini");
    openPage();
    choose("ComboBox1", sourceItem(station(), c.address));

    std::vector<std::string> expected;
    for (const int label : c.labels)
        expected.push_back(groupLabel(label));
    expected.insert(expected.end(), c.names.begin(), c.names.end());
    expected.resize(9, " ");
    EXPECT_EQ(items("ComboBox2"), expected);
    EXPECT_EQ(box("ComboBox2")->currentIndex(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, SourceGroupBox,
    testing::Values(
        SourceItemsCase{"Kra", 2, true, {1, 2, 3, 4}, {"Z\xE4hlerst\xE4nde", "Analogwerte", "Grenzwertmeldungen"}},
        SourceItemsCase{"KraWithoutFile", 2, false, {1, 2, 3, 4}, {}},
        SourceItemsCase{"Sk40", 3, true, {1, 2, 3, 4}, {"Schaltzust\xE4nde", "St\xF6rmeldungen"}},
        SourceItemsCase{"Xtq", 4, true, {4}, {"Empfangstelegramme", "Sendetelegramme"}},
        SourceItemsCase{"Vln", 5, true, {1, 2, 3, 4}, {"Systemmerker", "Uhrzeit und Datum"}},
        SourceItemsCase{"Pdx", 8, true, {1, 2, 3, 4}, {}},
        SourceItemsCase{"Lio", 12, true, {1, 2, 3}, {"Klemmenstatus"}},
        SourceItemsCase{"Central", 0, true, {4, 5, 6, 7, 8, 9}, {}},
        SourceItemsCase{"CentralWithoutFile", 0, false, {4, 5, 6, 7, 8, 9}, {}}),
    [](const testing::TestParamInfo<SourceItemsCase>& info) { return info.param.name; });

TEST_F(LinkEditorPage_, ATargetWithoutGroupsOffersNothing)
{
    openPage();
    choose("ComboBox1", sourceItem(station(), 2));
    choose("ComboBox3", targetItem(station(), 4)); // XTQ: no target bits or registers
    EXPECT_EQ(items("ComboBox4"), (std::vector<std::string>{" ", " "}));
    for (int r = 0; r < kPaneRows; ++r)
        EXPECT_EQ(row(Pane::Target, r), std::string(16, '.'));
    EXPECT_EQ(offeredCells(Pane::Target), 0);
    EXPECT_EQ(cell(161)->colour(), CellColour::OutsideData);
}

// --- Links drawn into the cells -------------------------------------------------

TEST_F(LinkEditorPage_, DrawsLettersSharedBitsInactiveLinksAndForeignTargets)
{
    addLink(2, 100, 0, 4, 3, 300, 0);    // a: to another module
    addLink(2, 100, 4, 4, 5, 300, 0);    // B: to the module in the target pane
    addLink(2, 101, 0, 2, 8, 300, 0);    // c
    addLink(2, 100, 2, 1, 3, 301, 0, 1); // d: reads a bit of a as well, inactive
    addLink(8, 150, 0, 3, 5, 300, 8);    // another source module into the target module
    addLink(2, 149, 8, 16, 12, 350, 0);  // e: starts above the register window
    openPage();
    choose("ComboBox1", sourceItem(station(), 2));
    choose("ComboBox3", targetItem(station(), 5));

    EXPECT_EQ(row(Pane::Source, 0), "aadaBBBB........");
    EXPECT_EQ(row(Pane::Source, 1), "cc..............");
    EXPECT_TRUE(cell(3)->isBold());
    EXPECT_TRUE(cell(3)->isInactive());
    EXPECT_FALSE(cell(1)->isBold());
    EXPECT_FALSE(cell(5)->isInactive());
    EXPECT_EQ(row(Pane::Target, 0), "BBBB....xxx.....");
    // A taken target bit is sky blue, a free one of the group is not offered without a selection.
    EXPECT_EQ(cell(161)->colour(), CellColour::SkyBlue);
    EXPECT_EQ(cell(169)->colour(), CellColour::SkyBlue);

    choose("ComboBox2", 1); // source registers from 150
    EXPECT_EQ(row(Pane::Source, 0), "eeeeeeee........");
}

TEST_F(LinkEditorPage_, ChoosingAGroupResetsOnlyThatPanesScrollBar)
{
    openPage();
    choose("ComboBox1", sourceItem(station(), 2));
    choose("ComboBox2", 1);
    scrollBar("ScrollBarQ")->setValue(2);
    choose("ComboBox3", targetItem(station(), 5));
    choose("ComboBox4", 1);
    scrollBar("ScrollBarZ")->setValue(3);
    ASSERT_EQ(rowLabel(11)->text(), "353");

    choose("ComboBox2", 0);
    EXPECT_EQ(scrollBar("ScrollBarQ")->value(), 0);
    EXPECT_EQ(scrollBar("ScrollBarZ")->value(), 3);
    EXPECT_EQ(rowLabel(11)->text(), "353");

    choose("ComboBox2", 1);
    scrollBar("ScrollBarQ")->setValue(2);
    choose("ComboBox4", 1);
    EXPECT_EQ(scrollBar("ScrollBarZ")->value(), 0);
    EXPECT_EQ(scrollBar("ScrollBarQ")->value(), 2);
    EXPECT_EQ(rowLabel(1)->text(), "152");

    // Another module keeps the position as far as its first group reaches.
    choose("ComboBox1", sourceItem(station(), 8));
    EXPECT_EQ(scrollBar("ScrollBarQ")->value(), 2);
    EXPECT_EQ(rowLabel(1)->text(), "102");
}

TEST_F(LinkEditorPage_, OverviewDoubleClickShowsThatModuleAsSource)
{
    window->ZeigeStation();
    window->EnableLinkEditorPage();
    child<StringGrid>(QStringLiteral("SG1"))->setCurrentGridRow(sourceItem(station(), 5) + 1);
    window->SG1DblClick();
    EXPECT_EQ(child<QTabWidget>(QStringLiteral("TabSheet"))->currentIndex(), 1);
    EXPECT_EQ(box("ComboBox1")->currentIndex(), sourceItem(station(), 5));
    EXPECT_EQ(labelText("LQuelleName"), "Kl\xE4ranlage S\xFC" "d");
    EXPECT_EQ(labelText("LModulQ"), "5");
    EXPECT_EQ(rowLabel(1)->text(), "100");
}

TEST_F(LinkEditorPage_, ModuleListEntriesOutsideTheTableIndexNothing)
{
    station().ModuleList[2] = 1000;
    station().ModuleList[3] = -7;
    station().ModulAnzahl = 500;
    addLink(1000, 100, 0, 8, 2, 300, 0);
    openPage();
    EXPECT_EQ(box("ComboBox1")->count(), kModuleListSize);
    for (const int item : {2, 3, kModuleListSize - 1}) {
        choose("ComboBox1", item);
        EXPECT_EQ(row(Pane::Source, 0), std::string(16, '.'));
    }
    choose("ComboBox3", 1);
    EXPECT_EQ(labelText("LZielName"), "");
}

// --- Languages -------------------------------------------------------------------

struct PageLanguage {
    const char* file;
    const char* bitGroup; // group label 1 as the file words it
};

class LinkEditorPageLanguage : public LinkEditorPage_, public testing::WithParamInterface<PageLanguage> {};

TEST_P(LinkEditorPageLanguage, ShowsNoTextPlaceholder)
{
    // The same station, in a window started in the language of the file.
    const Station read = station();
    window.reset();
    config.writeSettings(std::string("[Kalmoria]\r\nSprache=") + GetParam().file + "\r\n[Schnittstellen]\r\n");
    window = std::make_unique<TF_Kalmoria_main>();
    station() = read;
    page = window->findChild<LinkEditorPage*>(QStringLiteral("TabSheet2"));
    openPage();
    choose("ComboBox1", sourceItem(station(), 2));

    QStringList texts;
    for (const QLabel* label : page->findChildren<QLabel*>())
        texts << label->text();
    for (const QGroupBox* group : page->findChildren<QGroupBox*>())
        texts << group->title();
    for (const QPushButton* button : page->findChildren<QPushButton*>())
        texts << button->text() << button->toolTip();
    for (const QComboBox* combo : page->findChildren<QComboBox*>()) {
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    }
    const auto* pages = child<QTabWidget>(QStringLiteral("TabSheet"));
    texts << pages->tabText(1);
    const QRegularExpression placeholder(QStringLiteral("@\\d"));
    for (const QString& text : texts)
        EXPECT_FALSE(text.contains(placeholder)) << text.toStdString();
    EXPECT_EQ(box("ComboBox2")->itemText(0), QString::fromUtf8(GetParam().bitGroup));
}

INSTANTIATE_TEST_SUITE_P(EveryLanguageFile, LinkEditorPageLanguage,
                         testing::Values(PageLanguage{"", "Quell-Bits"}, PageLanguage{"KalmoriaDE.TXT", "Quell-Bits"},
                                         PageLanguage{"KalmoriaEN.TXT", "Source bits"}));

TEST_F(LinkEditorPage_, GroupNamesFollowALanguageSwitchAndTheChoiceStays)
{
    addLink(2, 150, 0, 4, 5, 350, 0);
    openPage();
    choose("ComboBox1", sourceItem(station(), 2));
    choose("ComboBox2", 1);
    choose("ComboBox3", targetItem(station(), 5));
    ASSERT_EQ(row(Pane::Source, 0), "AAAA............");

    QAction* english = nullptr;
    for (QAction* item : child<QMenu>(QStringLiteral("mSprachwahl"))->actions()) {
        if (item->text() == QStringLiteral("English"))
            english = item;
    }
    ASSERT_NE(english, nullptr);
    english->trigger();

    EXPECT_EQ(box("ComboBox2")->currentText(), QStringLiteral("Source registers"));
    EXPECT_EQ(box("ComboBox4")->itemText(0), QStringLiteral("Target bits"));
    // The group is still recognised by its new name.
    scrollBar("ScrollBarQ")->setValue(1);
    scrollBar("ScrollBarQ")->setValue(0);
    EXPECT_EQ(rowLabel(1)->text(), "150");
    EXPECT_EQ(row(Pane::Source, 0), "AAAA............");
}

TEST_F(LinkEditorPage_, TheSourcePaneShowsTheBorderColourBehindItsCellsInLightAndDarkThemes)
{
    // The style tints a group box's inside a little.
    const auto near = [](const QColor& a, const QColor& b) {
        return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                         std::abs(a.blue() - b.blue())}) <= 8;
    };
    // Between the cells of bits 7 and 8 of the first row, in either column order.
    const QPoint gap(207, RowTop(0) + kCellSize / 2);
    const QPalette theme = QApplication::palette();
    for (const QPalette& palette : {QApplication::style()->standardPalette(), QPalette(QColor(0x35, 0x35, 0x35))}) {
        // The program started on a desktop with this theme.
        QApplication::setPalette(palette);
        window = std::make_unique<TF_Kalmoria_main>();
        const QColor border = palette.color(QPalette::Mid);
        const QColor background = palette.color(QPalette::Window);
        ASSERT_FALSE(near(border, background)) << border.name().toStdString();
        const QColor source = child<QGroupBox>(QStringLiteral("GQuelle"))->grab().toImage().pixelColor(gap);
        const QColor target = child<QGroupBox>(QStringLiteral("GZiehl"))->grab().toImage().pixelColor(gap);
        EXPECT_TRUE(near(source, border)) << source.name().toStdString() << " " << border.name().toStdString();
        EXPECT_TRUE(near(target, background)) << target.name().toStdString() << " " << background.name().toStdString();
        // The pane's title stays readable on it.
        EXPECT_GE(std::abs(qGray(palette.color(QPalette::WindowText).rgb()) - qGray(border.rgb())), 100);
    }
    QApplication::setPalette(theme);
}
