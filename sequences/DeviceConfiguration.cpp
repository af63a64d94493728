#include "sequences/DeviceConfiguration.h"

#include "protocol/Tvep.h"

namespace R = DeviceRegisters;

DeviceConfiguration ReadConfiguration(Tvep& vep, std::span<uint16_t> words)
{
    vep.SetTimeouts(500, 50);
    DeviceConfiguration configuration;
    configuration.transferResult = vep.Transfer(0, 0, {}, R::Configuration, R::ConfigurationCount, words, true);
    if (configuration.answered()) {
        configuration.type = words[R::TypeWord];
        configuration.serialNumber = words[R::SerialWord];
        configuration.address = words[R::AddressWord];
    }
    return configuration;
}
