#include "sequences/ModuleExistence.h"

#include "model/TransferBuffers.h"
#include "protocol/Tvep.h"

namespace R = DeviceRegisters;

ModuleExistence ReadModuleExistence(Tvep& vep, TransferBuffers& buffers)
{
    vep.SetTimeouts(500, 50);
    ModuleExistence existence;
    existence.transferResult =
        vep.Transfer(0, 0, {}, R::ModuleExistence, R::ModuleExistenceCount, buffers.receiveWords(), true);
    // After a failed read the buffer holds an earlier reply: no module is taken from it.
    for (std::size_t i = 0; i < existence.occupied.size(); ++i)
        existence.occupied[i] = existence.transferResult == 0 && buffers.ReceiveBuffer[i] < R::AbsentFrom;
    return existence;
}
