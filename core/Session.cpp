#include "core/Session.h"

#include "sequences/PortSettings.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/SignalGroups.h"
#include "model/UnsavedLinks.h"

void ResetSession()
{
    ResetModel();
    LinkTable.fill(LinkRecord{});
    AnzBefehle = 0;
    MarkLinksKept();
    DataState = 99;

    DeviceType = 0;
    SerialNumber = 0;
    DeviceAddress = 0;
    StartDirectory.clear();
    LinkFileName.clear();
    DefaultMessageArgument.clear();
    LinkTableOrigin.reset();
    OverviewOrigin.reset();

    for (auto& kind : SignalGroupTable)
        kind.fill(SignalGroup{});
    SignalGroupCount.fill(0);

    ComPortNr = 1;
    ComBaud = 0;
    ComParity = '\0';
}
