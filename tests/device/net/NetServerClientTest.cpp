// CNetServer against many clients and against clients that stall: a few threads serve any number
// of connections, and connections that never open or stop inside a frame are dropped.
#include "FakeLink.h"
#include "RawPeer.h"
#include "device/net/NetServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kAddress = "127.0.0.32";

int Threads() {
    const std::filesystem::path tasks = "/proc/self/task";
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(tasks), {}));
}

// The client's status query answered on its connection.
bool Answers(CRawPeer& client, std::uint32_t sequence) {
    if (!client.SendFrame(CRawPeer::Request(sequence, LinkOrdinal::kGetStatus)))
        return false;
    std::optional<CNetMessage> reply = client.NextFrame();
    if (!reply)
        return false;
    reply->GetU8();
    return reply->GetU32() == sequence && reply->GetI32() == LinkOrdinal::kGetStatus &&
           reply->GetI32() == 2;
}

TEST(NetServerClients, ManyIdleClientsShareAFewThreads) {
    constexpr int kClients = 400;
    const int before = Threads();
    CFakeLink fake;
    CNetServer server(fake, kAddress, 0);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    std::vector<CRawPeer> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(CRawPeer::Connect(kAddress, server.Port()));
        ASSERT_TRUE(clients.back().SendFrame(CRawPeer::Open(kAddress)));
    }
    for (CRawPeer& client : clients)
        ASSERT_TRUE(client.NextFrame()); // opened
    EXPECT_LE(Threads(), before + 1 + CNetServer::kWorkerThreads);
    EXPECT_TRUE(Answers(clients.front(), 2));
    EXPECT_TRUE(Answers(clients.back(), 2));
}

TEST(NetServerClients, ConnectionsThatNeverOpenOrStallInAFrameAreDropped) {
    CFakeLink fake;
    CNetServer server(fake, kAddress, 0);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    auto connect = [&] { return CRawPeer::Connect(kAddress, server.Port()); };
    const std::vector<std::uint8_t> open = CRawPeer::Framed(CRawPeer::Open(kAddress));

    CRawPeer silent = connect();
    CRawPeer halfHeader = connect();
    halfHeader.Send({7, 0});
    CRawPeer stalled = connect();
    stalled.SendFrame(CRawPeer::Open(kAddress));
    ASSERT_TRUE(stalled.NextFrame());
    stalled.Send({20, 0, 0, 0, NetProtocol::kRequest, 1}); // a frame begun, never ended
    CRawPeer dribbler = connect();
    CRawPeer idle = connect();
    idle.SendFrame(CRawPeer::Open(kAddress));
    ASSERT_TRUE(idle.NextFrame());

    // The dribbler sends its open a byte every half second: it would need seconds more.
    std::vector<CRawPeer*> dropped = {&silent, &halfHeader, &stalled, &dribbler};
    const auto start = Clock::now();
    std::size_t sent = 0;
    std::vector<bool> closed(dropped.size(), false);
    while (std::ranges::count(closed, false) > 0 && Clock::now() - start < 8s) {
        if (sent < open.size() && Clock::now() - start >= sent * 500ms)
            dribbler.Send({open[sent++]});
        for (std::size_t i = 0; i < dropped.size(); ++i)
            closed[i] = closed[i] || dropped[i]->ClosedWithin(5);
    }
    EXPECT_EQ(closed, std::vector<bool>(dropped.size(), true));
    EXPECT_GE(Clock::now() - start, 4s); // a few seconds are given
    EXPECT_TRUE(Answers(idle, 2));
}
} // namespace
