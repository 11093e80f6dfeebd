#include "ui/LinkFactory.h"

#include "device/net/NetLink.h"
#include "device/sim/SimLink.h"

std::unique_ptr<ILinkLibrary> CreateLink(bool demo, const IClock* clock, unsigned short port) {
    if (demo)
        return CSimLink::FromDefaultConfig(clock);
    return std::make_unique<CNetLink>(port != 0 ? port : NetProtocol::kPort);
}
