#include "app/MainWindow.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/ScriptedFileNames.h"
#include "tests/common/TableLinks.h"
#include "tests/common/DeviceTestBench.h"

namespace {

// The section of an INI text from its header to the empty line that ends it.
std::string section(const std::string& bytes, const std::string& name)
{
    const auto begin = bytes.find("[" + name + "]\r\n");
    if (begin == std::string::npos)
        return {};
    const auto end = bytes.find("\r\n\r\n", begin);
    return bytes.substr(begin, end == std::string::npos ? std::string::npos : end + 4 - begin);
}

} // namespace

using LinkFileRoundTrip = DeviceTestBench;

TEST_F(LinkFileRoundTrip, LinksGoFromTheDeviceThroughAFileBackToTheDevice)
{
    startDevice(kSmallDevice);
    TF_Kalmoria_main window; // its port search finds the simulator at COM1
    boxes.answer = idYes;
    ScriptedFileNames dialog(folder.file("anlage.ini"));

    window.ActionLadenQMXExecute();
    ASSERT_EQ(window.station().DataState, 0);
    const std::vector<LinkFields> fromDevice = tableLinks(window.station());
    ASSERT_EQ(fromDevice.size(), 3u);

    window.ActionSpeichernExecute();
    const std::string saved = folder.read("anlage.ini");
    // The overview as the window shows it: headings, the central device at the
    // device's address, then the modules at address + their slot.
    EXPECT_EQ(section(saved, "Info_Modulliste"),
              "[Info_Modulliste]\r\n"
              "00=Adr., Typ, Modulname, Q-Bits, Q-Reg., Z-Bits, Z-Reg., Q2-Reg., \r\n"
              "01=20, QMX-240.100, Zentrale, 0, 0, 0, 0, 0, \r\n"
              "02=22, KRA-520/DA1, Pumpwerk Nord, 32, 12, 24, 8, 16, \r\n"
              "03=23, SK40F, Hochbehaelter, 4, 2, 2, 0, 4, \r\n"
              "04=29, PDX-44, Brunnen 9, 44, 4, 44, 4, 8, \r\n"
              "\r\n");

    window.ActionAlleVerknLoeschenExecute();
    ASSERT_EQ(window.station().AnzBefehle, 0);
    window.ActionSpeichernQMXExecute();
    window.ActionLadenQMXExecute();
    ASSERT_EQ(window.station().AnzBefehle, 0) << "the device holds no link now";

    boxes.shown.clear();
    window.ActionLesenExecute();
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{message(14), messageWith(21, {"3"})}));
    EXPECT_EQ(tableLinks(window.station()), fromDevice);

    window.ActionSpeichernQMXExecute();
    window.ActionLadenQMXExecute();
    EXPECT_EQ(tableLinks(window.station()), fromDevice);
}
