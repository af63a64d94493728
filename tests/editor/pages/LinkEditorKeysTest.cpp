#include "tests/editor/pages/EditorPageFixture.h"

#include "diag/AnsiText.h"
#include "editor/pages/BitPane.h"
#include "editor/pages/CellCursorFrame.h"
#include "editor/pages/ChoiceLabel.h"
#include "editor/pages/EditorCell.h"
#include "editor/pages/TF_PDauswahl.h"
#include "editor/drawing/ContrastColour.h"
#include "i18n/LanguageTexts.h"
#include "tests/common/DarkPalette.h"
#include "tests/common/ModalScript.h"
#include "tests/common/ScriptedMessageBoxes.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TypedKeys.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

namespace {

// The editor worked with the keyboard alone: every key goes where the
// keyboard's focus is, as it does for a user.
class LinkEditorKeys : public EditorPageTest {
protected:
    void SetUp() override
    {
        EditorPageTest::SetUp();
        useModulesOfEveryKind(station());
    }

    void show(int32_t source, int sourceGroup, int32_t target, int targetGroup,
              const std::vector<LinkFields>& links = {})
    {
        setTableLinks(station(), links);
        openPage();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        choose("ComboBox1", sourceItem(station(), source));
        choose("ComboBox2", sourceGroup);
        choose("ComboBox3", targetItem(station(), target));
        choose("ComboBox4", targetGroup);
        pane("GQuelle")->setFocus();
    }

    static void type(const std::string& keys) { TypeKeys(keys); }

    // Types `keys` that open the link action dialog, then `inDialog` into it.
    void typeIntoDialog(const std::string& keys, const std::string& inDialog)
    {
        auto* dialog = window->findChild<TF_PDauswahl*>();
        ASSERT_NE(dialog, nullptr);
        WhileModal(*dialog, [&] { type(keys); }, [&] { type(inDialog); });
        // The desktop gives the window back its activation, and with it the focus.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }));
    }

    BitPane* pane(const char* name) const { return child<BitPane>(QLatin1String(name)); }
    std::pair<int, int> cursor(const char* name) const { return {pane(name)->cursorRow(), pane(name)->cursorBit()}; }

    std::string selection() const
    {
        return labelText("LRegQ") + "/" + labelText("LBitQ") + " " + labelText("LAnzBit") + " -> " +
               labelText("LRegZ") + "/" + labelText("LBitZ");
    }

    std::vector<int> refusals() const
    {
        std::vector<int> numbers;
        for (const MessageBoxRequest& box : boxes.shown) {
            for (const int n : {1, 2, 26})
                if (box.text == GetMessageText(n, {" - "}, 0))
                    numbers.push_back(n);
        }
        return numbers;
    }

    static QString spoken(QWidget* widget, QAccessible::Text text)
    {
        QAccessibleInterface* about = QAccessible::queryAccessibleInterface(widget);
        return about != nullptr ? about->text(text) : QStringLiteral("(none)");
    }

    ScriptedMessageBoxes boxes;
};

struct KeysCase {
    const char* name;
    int32_t source;
    int sourceGroup;
    std::vector<LinkFields> links;
    const char* keys;
    const char* selection;
    std::vector<int> refusals = {};
    std::vector<LinkFields> added = {};
};

class KeysAsClicks : public LinkEditorKeys, public testing::WithParamInterface<KeysCase> {};

} // namespace

TEST_P(KeysAsClicks, SelectRefuseAndTakeOverAsTheMouseDoes)
{
    const KeysCase& c = GetParam();
    show(c.source, c.sourceGroup, 5, 0, c.links);
    type(c.keys);
    EXPECT_EQ(selection(), c.selection);
    EXPECT_EQ(refusals(), c.refusals);
    std::vector<LinkFields> links = c.links;
    links.insert(links.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(tableLinks(station()), links);
}

// Module 8 shows its source bits with bit 0 leftmost, module 2 its registers
// from 150 with bit 0 rightmost; the target pane shows module 5's bits from 300.
INSTANTIATE_TEST_SUITE_P(
    Keys, KeysAsClicks,
    testing::Values(
        KeysCase{"SpaceStartsAndEndsARange", 8, 0, {}, "right space 3*right space", "100/1 4 -> 0/0"},
        KeysCase{"TheStartTwiceDropsIt", 8, 0, {}, "space space", "0/0 0 -> 0/0"},
        KeysCase{"ThirtyThreeBitsAreRefused", 8, 0, {}, "4*right space 2*down space", "0/0 0 -> 0/0", {2}},
        KeysCase{"LeftOfTheFirstBitIsTheRegisterLabel", 8, 0, {}, "down 3*left space", "101/0 16 -> 0/0"},
        KeysCase{"RegistersReadFromTheRight", 2, 1, {}, "2*right space left space", "150/0 2 -> 0/0"},
        KeysCase{"ATakenTargetBitIsRefused", 8, 0, {{12, 100, 0, 2, 5, 300, 4, 0}}, "space 7*right space f6 space",
                 "100/0 8 -> 300/0", {1}},
        KeysCase{"EnterTakesTheLinkOver", 8, 0, {}, "space 3*right space f6 down space enter", "0/0 0 -> 0/0", {},
                 {{8, 100, 0, 4, 5, 301, 0, 1}}},
        KeysCase{"EnterWithoutATargetAddsNothing", 8, 0, {}, "space enter", "100/0 1 -> 0/0"}),
    [](const testing::TestParamInfo<KeysCase>& info) { return info.param.name; });

TEST_F(LinkEditorKeys, ScrollKeysStopAtTheGroupsEndsAndKeepTheSelectionWhereNothingScrolls)
{
    show(8, 0, 5, 0); // 200 source bits: the window scrolls two registers
    // A Space held down clicks once.
    type("space");
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(pane("GQuelle"), &held);
    struct Step {
        const char* keys;
        int scroll;
        int row;
        const char* selection;
    };
    const std::vector<Step> steps{
        {"up pgup home", 0, 0, "100/0 1 -> 0/0"}, {"9*down", 0, 9, "100/0 1 -> 0/0"},
        {"down", 1, 9, "0/0 0 -> 0/0"},                 {"pgdn", 2, 9, "0/0 0 -> 0/0"},
        {"space pgdn down end", 2, 9, "111/0 1 -> 0/0"}, {"home", 0, 0, "0/0 0 -> 0/0"},
        {"end pgup", 0, 9, "0/0 0 -> 0/0"},              {"pgup", 0, 0, "0/0 0 -> 0/0"}};
    for (const Step& step : steps) {
        type(step.keys);
        EXPECT_EQ(scrollBar("ScrollBarQ")->value(), step.scroll) << step.keys;
        EXPECT_EQ(rowLabel(1)->text(), std::to_string(100 + step.scroll)) << step.keys;
        EXPECT_EQ(pane("GQuelle")->cursorRow(), step.row) << step.keys;
        EXPECT_EQ(selection(), step.selection) << step.keys;
    }
}

TEST_F(LinkEditorKeys, TheLinkActionDialogIsWorkedWithKeys)
{
    show(8, 0, 5, 0, {{8, 100, 0, 4, 5, 300, 0, 1}});
    ASSERT_EQ(row(Pane::Source, 0), "AAAA............");

    // Down goes to the first choice there is, skipping the grey one; Enter takes it.
    typeIntoDialog("shift+f10", "down enter");
    EXPECT_EQ(station().LinkTable[1].deaktiv, 0);
    // Up from nothing is "abbrechen"; so is Escape.
    typeIntoDialog("right menu", "up enter");
    typeIntoDialog("shift+f10", "escape");
    EXPECT_EQ(tableLinks(station()), (std::vector<LinkFields>{{8, 100, 0, 4, 5, 300, 0, 0}}));
    // On the target pane the link is only shown: up from "abbrechen" goes round to it.
    typeIntoDialog("f6 shift+f10", "up up enter");
    EXPECT_EQ(station().AnzBefehle, 1);
    typeIntoDialog("f6 shift+f10", "down down enter");
    EXPECT_EQ(station().AnzBefehle, 0);
    EXPECT_EQ(boxes.shown.size(), 0u);
    // Keys on a free cell open nothing, as a right click there does.
    type("3*right shift+f10 menu");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(LinkEditorKeys, FocusStartsOnTheFirstSourceBitAndF6ChangesPanesKeepingEachCursor)
{
    openPage();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), pane("GQuelle"));
    EXPECT_EQ(cursor("GQuelle"), std::make_pair(0, 0));
    EXPECT_TRUE(cell(1)->hasKeyFocus());
    const auto* ring = pane("GQuelle")->findChild<CellCursorFrame*>();
    ASSERT_TRUE(ring != nullptr && ring->isVisible());
    EXPECT_TRUE(ring->geometry().contains(cell(1)->geometry()));

    type("down 2*left f6 right f6");
    EXPECT_EQ(QApplication::focusWidget(), pane("GQuelle"));
    EXPECT_EQ(cursor("GQuelle"), std::make_pair(1, 2));
    EXPECT_EQ(cursor("GZiehl"), std::make_pair(0, 1));
    EXPECT_TRUE(ring->isVisible());
    EXPECT_FALSE(pane("GZiehl")->findChild<CellCursorFrame*>()->isVisible());

    // Tab reaches a pane after the boxes that choose what it shows.
    box("ComboBox4")->setFocus();
    type("tab");
    EXPECT_EQ(QApplication::focusWidget(), pane("GZiehl"));
    type("shift+tab");
    EXPECT_EQ(QApplication::focusWidget(), box("ComboBox4"));
    // A click puts the focus and the cursor where it went, and does what it did before.
    QTest::mouseClick(cell(CellNumber(Pane::Source, 2 * kPaneColumns + 5)), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), pane("GQuelle"));
    EXPECT_EQ(cursor("GQuelle"), std::make_pair(2, 5));
    EXPECT_EQ(selection(), "0/0 0 -> 0/0") << "the central device's bits: nothing to choose";
}

TEST_F(LinkEditorKeys, CellsTellAScreenReaderTheirPlaceAndLinksInTheChosenLanguage)
{
    show(2, 0, 5, 0,
         {{2, 100, 4, 1, 5, 300, 0, 0}, {2, 100, 4, 2, 12, 350, 0, 1}, {12, 100, 0, 1, 5, 300, 1, 0}});
    EditorCell* linked = cell(5);    // register 100, bit 4
    EditorCell* free = cell(1);      // register 100, bit 0
    EditorCell* target = cell(162);  // register 300, bit 1: link 3 of another source module
    const auto texts = [&](QWidget* widget) {
        return qStringToAnsi(spoken(widget, QAccessible::Name)) + " | " +
               qStringToAnsi(spoken(widget, QAccessible::Description));
    };
    EXPECT_EQ(texts(linked), "Modul 3 Pumpwerk Nord, Register 100, Bit 4: Verkn\xFCpfung A, aktiv; "
                             "Verkn\xFCpfung b, inaktiv | w\xE4hlbar");
    EXPECT_EQ(texts(free), "Modul 3 Pumpwerk Nord, Register 100, Bit 0: keine Verkn\xFCpfung | w\xE4hlbar");
    EXPECT_EQ(texts(target), "Modul 6 Kl\xE4ranlage S\xFC" "d, Register 300, Bit 1: Verkn\xFCpfung 3 von Modul 13 "
                             "local IO, aktiv | nicht w\xE4hlbar");
    type("space");
    EXPECT_EQ(texts(free), "Modul 3 Pumpwerk Nord, Register 100, Bit 0: keine Verkn\xFCpfung | ausgew\xE4hlt");
    EXPECT_EQ(texts(rowLabel(2)), "Register 101 | w\xE4hlt alle 16 Bits des Registers");

    for (QAction* item : child<QMenu>(QStringLiteral("mSprachwahl"))->actions()) {
        if (item->text() == QStringLiteral("English"))
            item->trigger();
    }
    EXPECT_EQ(texts(linked), "Module 3 Pumpwerk Nord, register 100, bit 4: link A, active; link b, inactive | "
                             "can be selected");
    EXPECT_EQ(texts(free), "Module 3 Pumpwerk Nord, register 100, bit 0: no link | selected");
    EXPECT_TRUE(spoken(box("ComboBox3"), QAccessible::Description).startsWith(QStringLiteral("Target: Module. ")));
    EXPECT_FALSE(spoken(pane("GQuelle"), QAccessible::Description).contains(QLatin1Char('@')));
    ASSERT_TRUE(ActivateLanguage(""));

    QAccessibleInterface* about = QAccessible::queryAccessibleInterface(free);
    EXPECT_EQ(about->role(), QAccessible::Cell);
    EXPECT_TRUE(about->state().focused);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(linked)->state().focused);
}

TEST(CellCursor, TheRingStandsOutAroundEitherPaneInLightAndDarkPalettes)
{
    for (const QPalette& palette : {QApplication::style()->standardPalette(), DarkDesktopPalette(), QtctDarkerPalette()}) {
        const QColor ring = CellCursorFrame::ringColour(palette);
        for (const QColor& around : {palette.color(QPalette::Window), palette.color(QPalette::Mid),
                                     EditorCell::background(palette, CellColour::Offered),
                                     EditorCell::background(palette, CellColour::OutsideData)})
            EXPECT_GE(ContrastRatio(ring, around), 3.0)
                << ring.name().toStdString() << " on " << around.name().toStdString();
        EXPECT_GE(ContrastRatio(ring, CellCursorFrame::keylineColour(palette)), 4.5);
    }
}
