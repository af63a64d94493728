#include "app/MainWindow.h"
#include "editor/ChoiceLabel.h"
#include "editor/EditorCell.h"
#include "editor/TF_PDauswahl.h"
#include "tests/common/ModalScript.h"
#include "tests/common/TableLinks.h"
#include "tests/e2e/DeviceTestBench.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

// Two modules and one link from module 9 into module 2.
const char* const kTwoModules = R"(
[Device]
Type=0x3301
Serial=815
Address=20

[Module2]
Kind=0
SrcBits=32
SrcRegs=12
DstBits=24
DstRegs=8
Name=Pumpwerk Nord

[Module9]
Kind=5
SrcBits=44
SrcRegs=4
DstBits=44
DstRegs=4
Name=Brunnen 9

[Links]
1=9,100,0,4,2,300,8,0
)";

// The user at the real main window: tool buttons, tabs, boxes, cells, the link dialog.
class LinkEditorFlow : public DeviceTestBench {
protected:
    template <typename T>
    T* child(const QString& name) const
    {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    void press(const char* toolButton) { QTest::mouseClick(child<QToolButton>(QLatin1String(toolButton)), Qt::LeftButton); }

    void openEditor()
    {
        auto* tabs = child<QTabWidget>(QStringLiteral("TabSheet"))->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    }

    void choose(const char* boxName, int index)
    {
        auto* box = child<QComboBox>(QLatin1String(boxName));
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    void click(const QString& name, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(child<QWidget>(name), button);
    }
    void clickCell(int n, Qt::MouseButton button = Qt::LeftButton) { click(QStringLiteral("StaticText%1").arg(n), button); }

    // Right-clicks cell n and picks the dialog's label `choice`.
    void linkAction(int n, const char* choice)
    {
        auto* dialog = window->findChild<TF_PDauswahl*>();
        ASSERT_NE(dialog, nullptr);
        WhileModal(
            *dialog, [&] { clickCell(n, Qt::RightButton); },
            [&] { QTest::mouseClick(dialog->findChild<ChoiceLabel*>(QLatin1String(choice)), Qt::LeftButton); });
    }

    std::unique_ptr<TF_Kalmoria_main> window;
};

} // namespace

TEST_F(LinkEditorFlow, LinksMadeOnTheEditorAreWhatTheDeviceHoldsAfterTheTransfer)
{
    startDevice(kTwoModules);
    window = std::make_unique<TF_Kalmoria_main>();
    window->show();
    press("ToolButton4"); // read the device
    ASSERT_EQ(DataState, 0);
    ASSERT_EQ(AnzBefehle, 1);
    openEditor();
    ASSERT_EQ(child<QTabWidget>(QStringLiteral("TabSheet"))->currentIndex(), 1);

    // Source: module 2's bits; target: module 9's bits.
    choose("ComboBox1", 1);
    choose("ComboBox3", 1);
    clickCell(1);
    clickCell(8);
    clickCell(161);
    click(QStringLiteral("BtnUebernehmen"));
    // Register 101 as a whole into register 301.
    click(QStringLiteral("STL2"));
    clickCell(177);
    click(QStringLiteral("BtnUebernehmen"));
    ASSERT_EQ(AnzBefehle, 3);

    linkAction(1, "Label2"); // switch the first new link active
    // The link that was there: module 9 into module 2.
    choose("ComboBox1", 2);
    choose("ComboBox3", 0);
    linkAction(1, "Label3"); // delete it

    const std::vector<LinkFields> made{{2, 100, 0, 8, 9, 300, 0, 0}, {2, 101, 0, 16, 9, 301, 0, 1}};
    ASSERT_EQ(tableLinks(), made);
    press("ToolButton6"); // write the links
    EXPECT_EQ(shownTexts().back(), messageWith(20, {"2", "1", "1"}));

    press("ToolButton4");
    EXPECT_EQ(tableLinks(), made);
}
