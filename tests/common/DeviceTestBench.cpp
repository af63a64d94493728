#include "tests/common/DeviceTestBench.h"

#include "sequences/LinkAreaRead.h"
#include "i18n/LanguageTexts.h"

const std::vector<LinkFields> kSmallStationLinks{{2, 100, 0, 8, 9, 300, 0, 0}, {3, 42, 1, 2, 2, 300, 8, 0}};

StationBuilder smallStation()
{
    return StationBuilder()
        .Serial(815)
        .Address(20)
        .Module(2, 0, {.srcBits = 32, .srcRegs = 12, .dstBits = 24, .dstRegs = 8}, "Pumpwerk Nord")
        .Module(3, 1, {}, "Hochbehaelter")
        .Module(9, 5, {.srcBits = 44, .srcRegs = 4, .dstBits = 44, .dstRegs = 4}, "Brunnen 9")
        .Links(kSmallStationLinks);
}

StationBuilder smallDevice()
{
    return smallStation().LinkWords({0x8305, 0x0064, 0x012C, 0x2704});
}

// Made from kSmallStationLinks above as the tests start.
const std::string kSmallDevice = smallDevice().DeviceImage();

void DeviceTestBench::SetUp()
{
    mapPorts({});
    station.ComBaud = 9600;
    station.ComParity = 'n';
}

QmxSim& DeviceTestBench::startDevice(const std::string& image, const QStringList& options)
{
    devices.push_back(std::make_unique<QmxSim>(writeImage(image), options));
    QmxSim& device = *devices.back();
    EXPECT_FALSE(device.path().empty()) << "qmx-sim did not start";
    mapPorts({device.path()});
    return device;
}

void DeviceTestBench::mapPorts(const std::vector<std::string>& paths)
{
    std::string ini = "[Schnittstellen]\r\n";
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!paths[i].empty())
            ini += "COM" + std::to_string(i + 1) + "=" + paths[i] + "\r\n";
    }
    config.writeSettings(ini);
}

std::vector<LinkFields> DeviceTestBench::deviceLinks()
{
    const LinkAreaRead area = ReadLinkArea(vep, station);
    EXPECT_EQ(area.transferResult, 0);
    return linkFields(DecodeLinkArea(area.words).links);
}

std::vector<int32_t> DeviceTestBench::shownModuleList(const Station& station)
{
    return {station.ModuleList.begin(), station.ModuleList.begin() + station.ModulAnzahl + 1};
}

std::string DeviceTestBench::writeImage(const std::string& image)
{
    const std::string name = "image" + std::to_string(devices.size()) + ".ini";
    folder.write(name, image);
    return folder.file(name);
}

std::string DeviceTestBench::message(int n, const std::string& appended)
{
    return GetMessageText(n, {" - "}, 0) + appended;
}

std::string DeviceTestBench::messageWith(int n, const std::vector<std::string>& arguments)
{
    return GetMessageText(n, arguments, static_cast<int>(arguments.size()) - 1);
}

std::vector<std::string> DeviceTestBench::shownTexts() const
{
    std::vector<std::string> texts;
    for (const MessageBoxRequest& box : boxes.shown)
        texts.push_back(box.text);
    return texts;
}
