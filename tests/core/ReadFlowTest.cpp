#include "core/StationClient.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/LinkTableState.h"
#include "tests/common/DeviceTestBench.h"

// A read that cannot even open the port has nothing to put in the table's
// place: the modules, their overview and the links stay as they were.
TEST_F(DeviceTestBench, AReadThatCannotOpenThePortKeepsTheTable)
{
    StationClient client(Preferences{});
    Station& station = client.State();
    startDevice(kSmallDevice);
    ASSERT_TRUE(client.Read(view).ok());
    const LinkTableState before = CaptureLinkTable(station);

    mapPorts({"/dev/kalmoria-no-such-port"});
    EXPECT_EQ(client.Read(view).outcome, Outcome::PortNotOpen);
    const LinkTableState after = CaptureLinkTable(station);
    EXPECT_TRUE(after.overview == before.overview);
    EXPECT_EQ(tableLinks(station).size(), 3u);
    EXPECT_EQ(station.DataState, 0);
    EXPECT_EQ(station.SerialNumber, 815);
}

// Undoing a read puts back the overview it replaced, not only the links.
TEST_F(DeviceTestBench, UndoingAReadPutsTheOverviewBack)
{
    StationClient client(Preferences{});
    Station& station = client.State();
    startDevice(kSmallDevice);
    const LinkTableState empty = CaptureLinkTable(station);
    ASSERT_TRUE(client.Read(view).ok());
    const LinkTableState read = CaptureLinkTable(station);

    RestoreLinkTable(station, read, empty);
    EXPECT_EQ(station.ModulAnzahl, 0);
    EXPECT_EQ(station.DataState, 99);
    RestoreLinkTable(station, empty, read);
    EXPECT_EQ(station.SerialNumber, 815);
    EXPECT_EQ(station.DataState, 0);
}
