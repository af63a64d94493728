#include "core/StationClient.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/LinkTableState.h"
#include "tests/e2e/DeviceTestBench.h"

// A read that cannot even open the port has nothing to put in the table's
// place: the modules, their overview and the links stay as they were.
TEST_F(DeviceTestBench, AReadThatCannotOpenThePortKeepsTheTable)
{
    StationClient station(Preferences{});
    startDevice(kSmallDevice);
    ASSERT_TRUE(station.Read(view).ok());
    const LinkTableState before = CaptureLinkTable();

    mapPorts({"/dev/kalmoria-no-such-port"});
    EXPECT_EQ(station.Read(view).outcome, DeviceOutcome::PortNotOpen);
    const LinkTableState after = CaptureLinkTable();
    EXPECT_TRUE(after.overview == before.overview);
    EXPECT_EQ(tableLinks().size(), 3u);
    EXPECT_EQ(DataState, 0);
    EXPECT_EQ(SerialNumber, 815);
}

// Undoing a read puts back the overview it replaced, not only the links.
TEST_F(DeviceTestBench, UndoingAReadPutsTheOverviewBack)
{
    StationClient station(Preferences{});
    startDevice(kSmallDevice);
    const LinkTableState empty = CaptureLinkTable();
    ASSERT_TRUE(station.Read(view).ok());
    const LinkTableState read = CaptureLinkTable();

    RestoreLinkTable(read, empty);
    EXPECT_EQ(ModulAnzahl, 0);
    EXPECT_EQ(DataState, 99);
    RestoreLinkTable(empty, read);
    EXPECT_EQ(SerialNumber, 815);
    EXPECT_EQ(DataState, 0);
}
