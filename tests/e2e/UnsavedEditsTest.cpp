#include "app/MainWindow.h"
#include "app/UnsavedLinksQuestion.h"
#include "model/LinkFile.h"
#include "model/LinkModel.h"
#include "model/UnsavedLinks.h"
#include "tests/common/ScriptedFileNames.h"
#include "tests/common/TableLinks.h"
#include "tests/e2e/DeviceTestBench.h"


#include <filesystem>
#include <functional>
#include <optional>

using UnsavedEdits = DeviceTestBench;

TEST_F(UnsavedEdits, ClosingAndReadingTheDeviceAskFirstAndGoOnAsTheUserSays)
{
    startDevice(kSmallDevice);
    struct Answer {
        const char* what;
        int answer;
        std::optional<std::string> chosen; // the save dialog's answer
        bool goesOn;
    };
    const std::vector<Answer> answers{
        {"cancel", idCancel, std::nullopt, false},
        {"discard", idNo, std::nullopt, true},
        {"save", idYes, "gesichert.ini", true},
        {"save, the dialog cancelled", idYes, std::nullopt, false},
    };
    struct Action {
        const char* what;
        std::function<void(TF_Kalmoria_main&)> run;
    };
    const std::vector<Action> actions{
        {"close", [](TF_Kalmoria_main& window) { window.close(); }},
        {"read the device", [](TF_Kalmoria_main& window) { window.ActionLadenQMXExecute(); }},
    };
    for (const Action& action : actions) {
        for (const Answer& a : answers) {
            const std::string what = std::string(action.what) + ", " + a.what;
            MarkLinksKept(); // what the last window left is not this one's
            TF_Kalmoria_main window; // its port search finds the simulator at COM1
            window.show();
            window.ActionLadenQMXExecute();
            const std::vector<LinkFields> fromDevice = tableLinks();
            ASSERT_EQ(fromDevice.size(), 3u) << what;
            LinkTable[2].deaktiv = 1; // switched off in the editor
            const std::vector<LinkFields> edited = tableLinks();
            boxes.shown.clear();
            boxes.answer = a.answer;
            ScriptedFileNames dialog(a.chosen ? std::optional(folder.file(*a.chosen)) : std::nullopt);

            action.run(window);

            ASSERT_FALSE(boxes.shown.empty()) << what;
            EXPECT_EQ(boxes.shown[0].text, messageWith(kMessageUnsavedLinks, {"3"})) << what;
            EXPECT_EQ(boxes.shown[0].buttons, mbSaveDiscardCancel) << what;
            const bool closing = action.what == actions[0].what;
            if (closing)
                EXPECT_EQ(window.isVisible(), !a.goesOn) << what;
            else
                EXPECT_EQ(tableLinks(), a.goesOn ? fromDevice : edited) << what;
            if (a.chosen) {
                EXPECT_EQ(linkFields(LoadLinkFile(folder.file(*a.chosen)).links), edited) << what;
                std::filesystem::remove(folder.file(*a.chosen));
            }
            // Closed, the window leaves the links as they were.
            EXPECT_EQ(HasUnsavedLinks(), !a.chosen && (closing || !a.goesOn)) << what;
        }
    }
}

TEST_F(UnsavedEdits, NothingIsAskedWhenNothingChangedOrOnceTheLinksAreSaved)
{
    startDevice(kSmallDevice);
    TF_Kalmoria_main window;
    window.show();
    window.ActionLadenQMXExecute();
    boxes.shown.clear();
    window.ActionLadenQMXExecute();
    EXPECT_TRUE(boxes.shown.empty()) << "read, and not changed";

    ASSERT_TRUE(AppendLink(2, 101, 0, 1, 9, 301, 0));
    ScriptedFileNames dialog(folder.file("gesichert.ini"));
    window.ActionSpeichernExecute();
    ASSERT_TRUE(folder.exists("gesichert.ini"));
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(boxes.shown.empty()) << "saved";
}
