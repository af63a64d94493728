#include "transports/SerialDeviceNames.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(SerialDeviceNames, TheStableNameIsTheByIdLinkThatLeadsToTheDevice)
{
    namespace fs = std::filesystem;
    TempDir dev; // stands in for /dev
    for (const char* device : {"ttyUSB0", "ttyUSB1", "ttyACM0"})
        dev.write(device, "");
    fs::create_directories(dev.file("serial/by-id"));
    const std::string byId = dev.file("serial/by-id");
    // udev writes its links relative to their folder.
    fs::create_symlink("../../ttyUSB0", byId + "/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    fs::create_symlink(dev.file("ttyUSB1"), byId + "/usb-Prolific_USB-Serial_Controller-if00-port0");
    // Two names for one adapter: always the same one is shown.
    fs::create_symlink("../../ttyACM0", byId + "/usb-Maker_Bridge_2-if00");
    fs::create_symlink("../../ttyACM0", byId + "/usb-Maker_Bridge_1-if00");
    fs::create_symlink("../../gone", byId + "/usb-Unplugged-if00-port0");

    const struct {
        std::string device;
        std::string name;
    } cases[] = {
        {dev.file("ttyUSB0"), "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
        {dev.file("ttyUSB1"), "usb-Prolific_USB-Serial_Controller-if00-port0"},
        {dev.file("ttyACM0"), "usb-Maker_Bridge_1-if00"},
        // A COM number mapped to the stable name itself.
        {byId + "/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
        {dev.file("ttyS0"), ""}, // no such device
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StableDeviceName(c.device, byId), c.name) << c.device;

    // No USB adapter plugged in: udev has not made the folder at all.
    EXPECT_EQ(StableDeviceName(dev.file("ttyUSB0"), dev.file("serial/none")), "");
}
