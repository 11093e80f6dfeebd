// Fuzz target of what a recorder's server takes from a client: the byte stream cut into frames
// at the request limit and served by a session over a simulated recorder whose clock stands
// still. Beyond not crashing: every frame the server sends is one the program takes.
#include "device/net/NetFrameReader.h"
#include "device/net/NetProtocol.h"
#include "device/net/NetServerFrame.h"
#include "device/net/NetSession.h"
#include "device/sim/SimLink.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace {
constexpr const char* kAddress = "127.0.0.2";
constexpr const char* kConfig = "RECORDER ZT-300 127.0.0.2\n"
                                "SLOT 1 PN=QA-80VA TY=2 NCH=4 RV=10,5,1 CF=OFF,100Hz ON=1-2\n"
                                "SLOT 3 PN=QA-80DI TY=7 NCH=2 ON=1\n"
                                "CARD_KB 64\n";
constexpr int kMostSteps = 64;

class CStillClock : public IClock {
public:
    std::uint64_t GetTickCount() const override { return 1000; }
    LocalTime GetLocalTime() const override { return {2026, 1, 1}; }
};

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void CheckSent(const std::vector<std::uint8_t>& out) {
    CNetFrameReader reader(NetProtocol::kMaxFrameBytes);
    Check(reader.Feed(out, [](std::span<const std::uint8_t> payload) {
        Check(CNetServerFrame::Decode(payload).has_value());
    }));
    Check(!reader.InsideFrame());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CStillClock clock;
    std::string error;
    const std::unique_ptr<CSimLink> sim = CSimLink::FromConfigText(kConfig, error, &clock);
    CNetSession session(*sim, kAddress);
    std::deque<std::vector<std::uint8_t>> frames;
    CNetFrameReader reader(NetProtocol::kMaxRequestBytes);
    reader.Feed(std::span(data, size), [&](std::span<const std::uint8_t> payload) {
        frames.emplace_back(payload.begin(), payload.end());
    });
    std::vector<std::uint8_t> out;
    for (int step = 0; step < kMostSteps && !session.Ending(); ++step) {
        if (frames.empty() && session.NextStep() != CNetSession::Clock::time_point::min())
            break;
        session.Step(frames, true, out);
        CheckSent(out);
        out.clear();
    }
    return 0;
}
