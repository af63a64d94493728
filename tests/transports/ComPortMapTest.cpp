#include "transports/ComPortMap.h"
#include "tests/common/ScopedConfigHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(ComPortMap, TakesThePortTableOfTheSettingsFile)
{
    ScopedConfigHome config;
    config.writeSettings("[schnittstellen]\r\nCOM3=/dev/ttyUSB7\r\n");
    EXPECT_EQ(comPortPath(3), "/dev/ttyUSB7");
    EXPECT_EQ(comPortPath(4), "");  // a table without the key maps nothing
    EXPECT_EQ(comPortPath(17), ""); // beyond COM16
}

TEST(ComPortMap, AFifoInPlaceOfTheSettingsFileDoesNotHoldUpTheStart)
{
    ScopedConfigHome config;
    ASSERT_EQ(::mkfifo(config.settingsPath().c_str(), 0600), 0);
    // Reading a FIFO with no writer would block for ever; the guarded reader
    // treats it as no settings file, so the system's own port list applies.
    (void)comPortPath(1);
    SUCCEED();
}
