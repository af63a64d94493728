#include "app/MainWindow.h"
#include "model/LinkFile.h"
#include "model/LinkModel.h"
#include "model/UnsavedLinks.h"
#include "tests/common/ScriptedFileNames.h"
#include "tests/common/TableLinks.h"
#include "tests/common/DeviceTestBench.h"


#include <optional>

using UnsavedEdits = DeviceTestBench;

TEST_F(UnsavedEdits, ClosingAndReadingTheDeviceAskFirstAndGoOnAsTheUserSays)
{
    startDevice(kSmallDevice);
    struct Answer {
        const char* what;
        int answer;
        std::optional<std::string> saveAs; // the save dialog's answer
        bool goesOn;
    };
    const std::vector<Answer> answers{{"cancel", idCancel, std::nullopt, false},
                                      {"discard", idNo, std::nullopt, true},
                                      {"save", idYes, "gesichert.ini", true},
                                      {"save, the dialog cancelled", idYes, std::nullopt, false}};
    for (const bool closing : {true, false}) {
        for (const Answer& a : answers) {
            const std::string what = std::string(closing ? "close, " : "read, ") + a.what;
            MarkLinksKept(station); // what the last window left is not this one's
            TF_Kalmoria_main window; // its port search finds the simulator at COM1
            window.show();
            boxes.shown.clear();
            window.ActionLadenQMXExecute();
            ASSERT_TRUE(boxes.shown.empty()) << what << ": nothing changed, nothing asked";
            const std::vector<LinkFields> fromDevice = tableLinks(window.station());
            window.station().LinkTable[2].deaktiv = 1; // switched off in the editor
            const std::vector<LinkFields> edited = tableLinks(window.station());
            boxes.answer = a.answer;
            ScriptedFileNames dialog(a.saveAs ? std::optional(folder.file(*a.saveAs)) : std::nullopt);

            closing ? void(window.close()) : window.ActionLadenQMXExecute();

            ASSERT_FALSE(boxes.shown.empty()) << what;
            EXPECT_EQ(boxes.shown[0].text, messageWith(kMessageUnsavedLinks, {"3"})) << what;
            EXPECT_EQ(boxes.shown[0].buttons, mbSaveDiscardCancel) << what;
            EXPECT_EQ(closing ? window.isVisible() : tableLinks(window.station()) == edited, !a.goesOn) << what;
            EXPECT_EQ(tableLinks(window.station()), closing || !a.goesOn ? edited : fromDevice) << what;
            if (a.saveAs) {
                EXPECT_EQ(linkFields(LoadLinkFile(folder.file(*a.saveAs)).links), edited) << what;
                // Saved, nothing is asked any more.
                boxes.shown.clear();
                EXPECT_TRUE(window.close() && boxes.shown.empty()) << what;
            }
        }
    }
}
