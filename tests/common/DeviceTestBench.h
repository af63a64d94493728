#pragma once

#include "model/Station.h"
#include "protocol/Tvep.h"
#include "tests/common/QmxSim.h"
#include "tests/common/RecordingView.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/common/ScriptedMessageBoxes.h"
#include "tests/common/StationBuilder.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"
#include "transports/LineFactory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A clean model, a settings file of its own that maps COM numbers to the
// simulators' pseudo-terminals, and a user who answers every box with OK.
class DeviceTestBench : public testing::Test {
protected:
    void SetUp() override;

    // Starts a simulator on the image text and maps COM1 to it.
    QmxSim& startDevice(const std::string& image, const QStringList& options = {});
    // Maps COM1, COM2, ... to the given paths (empty: that COM number has no port).
    void mapPorts(const std::vector<std::string>& paths);
    std::string writeImage(const std::string& image);

    // The text of numbered message n as the sequences show it.
    static std::string message(int n, const std::string& appended = {});
    static std::string messageWith(int n, const std::vector<std::string>& arguments);
    std::vector<std::string> shownTexts() const;
    // The station's module list up to and with the entry behind the last module.
    static std::vector<int32_t> shownModuleList(const Station& station);
    // The links the simulator at COM1 holds, read in one transfer.
    std::vector<LinkFields> deviceLinks();

    TempDir folder; // device images
    ScopedConfigHome config;
    std::vector<std::unique_ptr<QmxSim>> devices;
    ScriptedMessageBoxes boxes;
    RecordingView view;
    Tvep vep{SystemLines()};
    // The station the sequences work on: COM1 at 9600 8N1.
    Station station;
};

// A small device, a QMX-240.100 with serial number 815 at bus address 20: a
// KRA-520/DA1 at 2, an SK40F at 3 and a PDX-44 at 9, three links, the third
// inactive and to a module 5 the device does not carry.
StationBuilder smallDevice();
extern const std::string kSmallDevice; // its image
// The small device without its third link: a station whose links use only
// its own modules, kSmallStationLinks.
StationBuilder smallStation();
extern const std::vector<LinkFields> kSmallStationLinks;
