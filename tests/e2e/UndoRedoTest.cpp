#include "model/LinkFile.h"
#include "model/UnsavedLinks.h"
#include "tests/common/ScriptedFileNames.h"
#include "tests/e2e/WindowUser.h"

#include <QAction>

#include <functional>

namespace {

class UndoRedo : public WindowUser {
protected:
    // A fresh station read into a fresh window; every question is answered Yes.
    void openStation()
    {
        window.reset();
        startDevice(smallStation().DeviceImage());
        window = std::make_unique<TF_Kalmoria_main>();
        window->show();
        boxes.answer = idYes;
        press("ToolButton4");
        ASSERT_EQ(tableLinks(window->station()), kSmallStationLinks);
    }

    void keys(QKeyCombination combination)
    {
        // Shortcuts go to the active window; offscreen, a closed dialog leaves none.
        QApplication::setActiveWindow(window.get());
        QTest::keyClick(window.get(), combination.key(), combination.keyboardModifiers());
    }
    std::string caption(const char* item) { return child<QAction>(QLatin1String(item))->text().toStdString(); }

    // What the user sees of the links: the table, the status bar's count, whether they are unsaved.
    void expectShown(const std::vector<LinkFields>& links, bool unsaved, const std::string& when)
    {
        EXPECT_EQ(tableLinks(window->station()), links) << when;
        EXPECT_EQ(window->statusPanelText(7), "Links: " + std::to_string(links.size())) << when;
        EXPECT_EQ(HasUnsavedLinks(window->station()), unsaved) << when;
    }
    // Written to the device and read back from i
    std::vector<LinkFields> written()
    {
        press("ToolButton6");
        return deviceLinks();
    }
};

struct Step {
    const char* what;
    std::function<void()> take;
    const char* name; // behind "Rückgängig: "
    std::vector<LinkFields> after;
    bool unsavedAfter; // once the step is done
};

const std::vector<LinkFields> kFileLinks{{3, 42, 1, 2, 2, 300, 8, 0}, {2, 101, 0, 16, 9, 301, 0, 1}};

} // namespace

TEST_F(UndoRedo, TakeOverDeleteAndFileLoadAreUndoneAndRedoneAndWrittenAsShown)
{
    const std::string file = folder.file("anlage.ini");
    ASSERT_TRUE(SaveLinkFile(file, linkRecords(kFileLinks), std::nullopt, {}).ok());
    ScriptedFileNames dialog(file);
    const std::vector<Step> steps{
        {"take-over",
         [this] {
             openEditor();
             choose("ComboBox1", 1); // module 2
             choose("ComboBox3", 2); // module 9
             clickCell(9);           // register 100, bits 8..15
             clickCell(16);
             clickCell(169); // into register 300 from bit 8
             click(QStringLiteral("BtnUebernehmen"));
         },
         "Verkn\xC3\xBCpfung 3 \xC3\xBC" "bernehmen",
         {kSmallStationLinks[0], kSmallStationLinks[1], {2, 100, 8, 8, 9, 300, 8, 1}},
         true},
        {"delete in the link dialog",
         [this] {
             openEditor();
             choose("ComboBox1", 1);
             choose("ComboBox3", 2);    // its target end in view
             linkAction(1, "Label3"); // the link on bits 0..7 of register 100
         },
         "Verkn\xC3\xBCpfung 1 l\xC3\xB6schen",
         {kSmallStationLinks[1]},
         true},
        {"file load", [this] { window->ActionLesenExecute(); }, "Verkn\xC3\xBCpfungen aus anlage.ini laden",
         kFileLinks, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        openStation();
        EXPECT_EQ(caption("Rueckgaengig1"), "R\xC3\xBC" "ckg\xC3\xA4" "ngig: Aus QMX lesen");
        step.take();
        expectShown(step.after, step.unsavedAfter, "done");
        EXPECT_EQ(caption("Rueckgaengig1"), std::string("R\xC3\xBC" "ckg\xC3\xA4" "ngig: ") + step.name);

        keys(Qt::CTRL | Qt::Key_Z);
        expectShown(kSmallStationLinks, false, "undone");
        EXPECT_EQ(caption("Wiederholen1"), std::string("Wiederholen: ") + step.name);
        EXPECT_EQ(written(), kSmallStationLinks);

        // Written since, the step's links are not in the device: a file's are
        // in their file, but asking once too often loses nothing.
        keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        expectShown(step.after, true, "redone");
        EXPECT_EQ(written(), step.after);

        // The write stays done, and the step can still be undone and redone.
        keys(Qt::CTRL | Qt::Key_Z);
        expectShown(kSmallStationLinks, true, "undone after the write");
        keys(Qt::CTRL | Qt::Key_Y);
        expectShown(step.after, false, "redone after the write");
    }
}

TEST_F(UndoRedo, AnUndoneTakeOverLeavesNothingUnsavedAndTheTitleNamesWhatHoldsTheLinks)
{
    const std::string file = folder.file("anlage.ini");
    ASSERT_TRUE(SaveLinkFile(file, linkRecords(kFileLinks), std::nullopt, {}).ok());
    ScriptedFileNames dialog(file);
    openStation();
    const QString station = QStringLiteral(" Kalmoria 1.30 - Station 815[*]");
    EXPECT_EQ(window->windowTitle(), station);
    EXPECT_FALSE(window->isWindowModified());

    openEditor();
    choose("ComboBox1", 1);
    choose("ComboBox3", 2);
    clickCell(9);
    clickCell(16);
    clickCell(169);
    click(QStringLiteral("BtnUebernehmen"));
    EXPECT_TRUE(window->isWindowModified());
    keys(Qt::CTRL | Qt::Key_Z);
    EXPECT_FALSE(window->isWindowModified());

    boxes.shown.clear();
    window->ActionLesenExecute();
    ASSERT_EQ(tableLinks(window->station()), kFileLinks);
    for (const MessageBoxRequest& box : boxes.shown)
        EXPECT_EQ(box.text.find("weder gespeichert"), std::string::npos) << box.text;
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" Kalmoria 1.30 - anlage.ini[*]"));
    keys(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(window->windowTitle(), station);
}
