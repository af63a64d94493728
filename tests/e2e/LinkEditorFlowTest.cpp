#include "sequences/DeviceNotices.h"
#include "editor/pages/EditorCell.h"
#include "model/Snapshots.h"
#include "tests/common/TableLinks.h"
#include "tests/e2e/WindowUser.h"

#include <QPushButton>

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
