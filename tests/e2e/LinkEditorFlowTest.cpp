#include "sequences/DeviceNotices.h"
#include "editor/pages/EditorCell.h"
#include "model/Snapshots.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TypedKeys.h"
#include "tests/e2e/WindowUser.h"

#include <QPushButton>

#include <functional>

using LinkEditorFlow = WindowUser;

TEST_F(LinkEditorFlow, LinksMadeOnTheEditorAreWhatTheDeviceHoldsAfterTheTransfer)
{
    startDevice(kSmallDevice);
    window = std::make_unique<TF_Kalmoria_main>();
    window->show();
    press("ToolButton4"); // read the device
    ASSERT_EQ(window->station().DataState, 0);
    ASSERT_EQ(window->station().AnzBefehle, 3);
    openEditor();
    ASSERT_EQ(child<QTabWidget>(QStringLiteral("TabSheet"))->currentIndex(), 1);

    // Source: the bits of module 2 (box item 1); target: the bits of module 9 (item 2).
    choose("ComboBox1", 1);
    choose("ComboBox3", 2);
    clickCell(9); // register 100, bits 8..15
    clickCell(16);
    clickCell(169); // into register 300 from bit 8
    click(QStringLiteral("BtnUebernehmen"));
    click(QStringLiteral("STL2")); // register 101 as a whole
    clickCell(177);                // into register 301
    click(QStringLiteral("BtnUebernehmen"));
    ASSERT_EQ(window->station().AnzBefehle, 5);

    linkAction(9, "Label2"); // switch the first new link active
    linkAction(1, "Label3"); // delete the device's link on bits 0..7

    const std::vector<LinkFields> kept{{3, 42, 1, 2, 2, 300, 8, 0}, {3, 100, 2, 4, 5, 300, 7, 1}};
    std::vector<LinkFields> expected = kept;
    expected.push_back({2, 100, 8, 8, 9, 300, 8, 0});
    expected.push_back({2, 101, 0, 16, 9, 301, 0, 1});
    ASSERT_EQ(tableLinks(window->station()), expected);
    // The device's own link to module 5, which it does not carry, is asked
    // about; a snapshot of its links comes first.
    boxes.answer = idYes;
    boxes.shown.clear();
    press("ToolButton6"); // write the links
    const std::vector<std::string> snapshots = ListSnapshots(815);
    ASSERT_EQ(snapshots.size(), 1u);
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{messageWith(kMessageModulesMissing, {"SN 815, Adr. 20", "5"}),
                                                      messageWith(kMessageWrittenAndChecked,
                                                                  {"4", "2", "2", snapshots.front()})}));

    press("ToolButton4");
    EXPECT_EQ(tableLinks(window->station()), expected);
}

namespace {

// The requests the window sends, as they leave for the line.
class SentFrames : public FrameListener {
public:
    explicit SentFrames(FrameTap& tap)
        : m_tap(tap)
    {
        m_tap.Attach(*this);
    }
    ~SentFrames() override { m_tap.Detach(*this); }

    void OnFrame(const TappedFrame& frame) override
    {
        if (frame.direction == TappedFrame::Direction::ToDevice)
            requests.emplace_back(frame.bytes);
    }

    std::vector<std::string> requests;

private:
    FrameTap& m_tap;
};

} // namespace

// Bits 0..3 of register 101 of the first module, Pumpwerk Nord, to bit 8 of
// register 300 of Brunnen 9, taken over and written to the device: once with
// the mouse, once from the keyboard alone.
TEST_F(LinkEditorFlow, ALinkMadeWithTheKeyboardAloneIsWrittenByteForByteAsOneMadeWithClicks)
{
    const LinkFields made{2, 101, 0, 4, 9, 300, 8, 1};
    const auto writeMadeLink = [&](const std::function<void()>& make, const std::function<void()>& write) {
        startDevice(kSmallDevice);
        window = std::make_unique<TF_Kalmoria_main>();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        press("ToolButton4"); // read the device
        make();
        std::vector<LinkFields> links = tableLinks(station());
        EXPECT_EQ(links.size(), 4u);
        EXPECT_EQ(links.back(), made);
        boxes.answer = idYes;
        SentFrames sent(*window->ProtocolClient().FrameTapUsed());
        write();
        EXPECT_EQ(deviceLinks(), links);
        return sent.requests;
    };

    const std::vector<std::string> clicked = writeMadeLink(
        [&] {
            openEditor();
            choose("ComboBox1", 1);
            choose("ComboBox3", 2);
            clickCell(17);
            clickCell(20);
            clickCell(169);
            click(QStringLiteral("BtnUebernehmen"));
        },
        [&] { press("ToolButton6"); });

    const std::vector<std::string> typed = writeMadeLink(
        [&] {
            // The overview's second row is the first module; Enter opens the editor on its bits.
            window->findChild<QWidget*>(QStringLiteral("SG1"))->setFocus();
            TypeKeys("down enter");
            ASSERT_EQ(child<QTabWidget>(QStringLiteral("TabSheet"))->currentIndex(), 1);
            // The target module first: choosing it draws the source pane again.
            TypeKeys("f6 shift+tab shift+tab 2*down tab tab f6");
            TypeKeys("down space 3*right space");
            TypeKeys("f6 8*right space enter");
        },
        [] { TypeKeys("ctrl+t"); });

    ASSERT_FALSE(clicked.empty());
    EXPECT_EQ(typed, clicked);
}
