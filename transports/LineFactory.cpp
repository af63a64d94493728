#include "transports/LineFactory.h"

#include "transports/ComPortMap.h"
#include "transports/PortAddress.h"
#include "transports/Rfc2217Line.h"
#include "transports/TTavorobject.h"
#include "transports/TcpLine.h"

namespace {

class Lines final : public LineFactory {
public:
    std::string PathOf(int32_t port) const override { return comPortPath(port); }

    std::unique_ptr<Line> Make(const std::string& path) const override
    {
        switch (ParsePortAddress(path).kind) {
        case PortAddress::Kind::Tcp: return std::make_unique<TcpLine>();
        case PortAddress::Kind::Rfc2217: return std::make_unique<Rfc2217Line>();
        case PortAddress::Kind::DeviceFile: break;
        }
        return std::make_unique<TTavorobject>();
    }
};

} // namespace

const LineFactory& SystemLines()
{
    static const Lines lines;
    return lines;
}
