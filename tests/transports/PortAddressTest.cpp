#include "transports/PortAddress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = PortAddress::Kind;

struct Good {
    const char* text;
    Kind kind;
    const char* host;
    uint16_t port;
    int32_t timeoutMs;
    const char* endpoint;
};

const std::vector<Good> kGood{
    {"tcp://10.0.0.7:4001", Kind::Tcp, "10.0.0.7", 4001, 1500, "10.0.0.7:4001"},
    {"rfc2217://10.0.0.7:4001", Kind::Rfc2217, "10.0.0.7", 4001, 1500, "10.0.0.7:4001"},
    {"TCP://Station-7.example.org:1", Kind::Tcp, "Station-7.example.org", 1, 1500, "Station-7.example.org:1"},
    {"RFC2217://localhost:65535", Kind::Rfc2217, "localhost", 65535, 1500, "localhost:65535"},
    {"tcp://10.0.0.7:4001?timeout=800", Kind::Tcp, "10.0.0.7", 4001, 800, "10.0.0.7:4001"},
    {"rfc2217://h:2?TIMEOUT=60000", Kind::Rfc2217, "h", 2, 60000, "h:2"},
    {"tcp://[::1]:4001", Kind::Tcp, "::1", 4001, 1500, "[::1]:4001"},
    {"rfc2217://[fe80::1%eth0]:4001?timeout=100", Kind::Rfc2217, "fe80::1%eth0", 4001, 100, "[fe80::1%eth0]:4001"},
    {"tcp://my_box:0004001", Kind::Tcp, "my_box", 4001, 1500, "my_box:4001"},
};

struct Bad {
    const char* text;
    const char* errorPart; // a part of the reason that names what is wrong
};

const std::vector<Bad> kBad{
    {"tcp://10.0.0.7", "port number is missing"},
    {"tcp://10.0.0.7:", "port number is missing"},
    {"tcp://:4001", "host is missing"},
    {"tcp://", "host is missing"},
    {"tcp://10.0.0.7:0", "from 1 to 65535"},
    {"tcp://10.0.0.7:65536", "from 1 to 65535"},
    {"tcp://10.0.0.7:40a1", "from 1 to 65535, not \"40a1\""},
    {"tcp://10.0.0.7:-1", "from 1 to 65535"},
    {"tcp://10.0.0.7:4001/", "nothing but ?timeout=MS"},
    {"tcp://10.0.0.7:4001/dev/ttyS0", "nothing but ?timeout=MS"},
    {"tcp://fe80::1:4001", "IPv6 address goes in brackets"},
    {"tcp://[::1:4001", "closing bracket"},
    {"tcp://[::1]4001", "port number is missing"},
    {"tcp://user@host:4001", "not a name or an address"},
    {"tcp://my host:4001", "not a name or an address"},
    {"tcp://h:4001?", "an option must follow"},
    {"tcp://h:4001?timeout=", "milliseconds from 1 to 60000, not \"\""},
    {"tcp://h:4001?timeout=0", "milliseconds from 1 to 60000"},
    {"tcp://h:4001?timeout=60001", "milliseconds from 1 to 60000"},
    {"tcp://h:4001?timeout=1.5s", "not \"1.5s\""},
    {"tcp://h:2?timeout=1&timeout=250", "the time-out is given twice"},
    {"tcp://h:4001?baud=9600", "unknown option \"baud=9600\""},
    {"udp://h:4001", "unknown kind of port \"udp://\""},
    {"telnet://h:4001", "tcp:// or rfc2217://"},
    {"://h:4001", "unknown kind of port"},
};

} // namespace

TEST(PortAddress, DeviceFilesStayDeviceFiles)
{
    for (const char* text : {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "/dev/pts/3", "", "COM3"}) {
        const PortAddress address = ParsePortAddress(text);
        EXPECT_EQ(address.kind, Kind::DeviceFile) << text;
        EXPECT_FALSE(address.network()) << text;
        EXPECT_TRUE(address.valid()) << text;
        EXPECT_EQ(address.text, text);
        EXPECT_FALSE(IsNetworkPort(text)) << text;
    }
}

TEST(PortAddress, NetworkAddressesGiveKindHostPortAndTimeOut)
{
    for (const Good& good : kGood) {
        const PortAddress address = ParsePortAddress(good.text);
        EXPECT_TRUE(address.valid()) << good.text << ": " << address.error;
        EXPECT_TRUE(address.network()) << good.text;
        EXPECT_TRUE(IsNetworkPort(good.text)) << good.text;
        EXPECT_EQ(address.kind, good.kind) << good.text;
        EXPECT_EQ(address.host, good.host) << good.text;
        EXPECT_EQ(address.port, good.port) << good.text;
        EXPECT_EQ(address.timeoutMs, good.timeoutMs) << good.text;
        EXPECT_EQ(address.endpoint(), good.endpoint) << good.text;
        EXPECT_EQ(address.text, good.text);
    }
}

TEST(PortAddress, AMistypedNetworkAddressSaysWhatIsWrong)
{
    for (const Bad& bad : kBad) {
        const PortAddress address = ParsePortAddress(bad.text);
        EXPECT_TRUE(address.network()) << bad.text << ": taken for a network address, not a file";
        EXPECT_TRUE(IsNetworkPort(bad.text)) << bad.text;
        EXPECT_FALSE(address.valid()) << bad.text;
        EXPECT_NE(address.error.find(bad.errorPart), std::string::npos)
            << bad.text << ": \"" << address.error << "\" lacks \"" << bad.errorPart << "\"";
    }
}

TEST(PortAddress, TheDefaultTimeOutIsOneAndAHalfSeconds)
{
    EXPECT_EQ(PortAddress::DefaultTimeoutMs, 1500);
    EXPECT_EQ(ParsePortAddress("tcp://h:1").timeoutMs, 1500);
}
