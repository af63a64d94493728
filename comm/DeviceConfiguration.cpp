#include "comm/DeviceConfiguration.h"

#include "comm/TransferBuffers.h"
#include "comm/Tvep.h"

namespace R = DeviceRegisters;

DeviceConfiguration ReadConfiguration(Tvep& vep)
{
    vep.SetTimeouts(500, 50);
    DeviceConfiguration configuration;
    configuration.transferResult =
        vep.Transfer(0, 0, sendWords(), R::Configuration, R::ConfigurationCount, receiveWords(), true);
    if (configuration.answered()) {
        configuration.type = ReceiveBuffer[R::TypeWord];
        configuration.serialNumber = ReceiveBuffer[R::SerialWord];
        configuration.address = ReceiveBuffer[R::AddressWord];
    }
    return configuration;
}
