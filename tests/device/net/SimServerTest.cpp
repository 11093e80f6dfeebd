// The zt300sim program end to end: two synchronised recorders on 127.0.0.2 and 127.0.0.3,
// driven through CNetLink as the program drives them.
#include "RawPeer.h"
#include "device/net/NetLink.h"
#include "device/net/NetServer.h"
#include "device/net/NetSocket.h"
#include "device/sim/SimLink.h"
#include "device/sim/SimSignal.h"
#include "support/SimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kMaster = "127.0.0.2";
constexpr const char* kSlave = "127.0.0.3";
constexpr int kBufferBytes = 1 << 20;

// Frames of `channels` (slot, 0-based channel) of a recorder whose signal seed is `seed`, from
// sample index 0 on, as 16-bit words.
std::vector<std::uint16_t>
ExpectedFrames(int seed, const std::vector<std::pair<int, int>>& channels, int frames) {
    std::vector<std::uint16_t> words;
    for (int k = 0; k < frames; ++k)
        for (const auto& [slot, channel] : channels) {
            std::uint16_t sample[2];
            const int count = CSimSignal::Words(seed, slot, channel, 0, k, sample);
            words.insert(words.end(), sample, sample + count);
        }
    return words;
}

class SimServerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_port, 0);
        ASSERT_EQ(m_sim.FirstLine(10000), "ready");
    }

    // Reads `frames` frames of `frameBytes` from the handle, waiting at most five seconds.
    std::vector<std::uint16_t> ReadFrames(int handle, int frameBytes, int frames) {
        std::vector<std::uint16_t> words(static_cast<std::size_t>(frames * frameBytes / 2));
        auto* bytes = reinterpret_cast<std::uint8_t*>(words.data());
        int got = 0;
        const auto end = Clock::now() + 5s;
        while (got < frames * frameBytes && Clock::now() < end) {
            const int n = m_link.LnkReadData(handle, bytes + got, frames * frameBytes - got);
            if (n < 0)
                break;
            got += n;
            if (n == 0)
                std::this_thread::sleep_for(10ms);
        }
        words.resize(static_cast<std::size_t>(got / 2));
        return words;
    }

    std::uint16_t m_port = FreePort();
    CSimProcess m_sim{m_port};
    CNetLink m_link{m_port};
};

TEST_F(SimServerTest, TwoSynchronisedRecordersRecordAlignedFrames) {
    std::string list;
    EXPECT_EQ(m_link.LnkScanDevices(list), 2);
    EXPECT_EQ(list, "ZT-300,127.0.0.2;ZT-500,127.0.0.3;");

    const int master = m_link.LnkOpen(kMaster, 30000);
    const int slave = m_link.LnkOpen(kSlave, 30000);
    ASSERT_GT(master, 0);
    ASSERT_GT(slave, 0);

    std::vector<std::uint8_t> slots;
    EXPECT_GT(m_link.LnkGetSlotList(master, slots), 0);
    ASSERT_EQ(slots.size(), 256u);
    EXPECT_EQ(std::vector<std::uint8_t>(slots.begin(), slots.begin() + 4),
              (std::vector<std::uint8_t>{1, 0, 1, 0}));
    std::string info;
    EXPECT_EQ(m_link.LnkGetSlotInfo(slave, 2, "PN,TY,NCH,RV", info), 1);
    EXPECT_EQ(info, "PN QA-80VA\x01TY 2\x01NCH 4\x01RV 10,5,1");

    LinkAcqCondition condition;
    EXPECT_EQ(m_link.LnkGetAcqCondition(master, condition), 1);
    EXPECT_EQ(condition.rate, "1kHz");
    condition.baseFileName = "NetRun";
    condition.preTime = 2;
    for (int handle : {master, slave})
        EXPECT_EQ(m_link.LnkSetAcqCondition(handle, condition), 1);
    LinkAcqCondition readBack;
    EXPECT_EQ(m_link.LnkGetAcqCondition(slave, readBack), 1);
    EXPECT_EQ(readBack, condition);

    EXPECT_EQ(m_link.LnkSetSyncMode(master, 11), 1);
    EXPECT_EQ(m_link.LnkSetSyncMode(slave, 12), 1);
    int sync = 0;
    EXPECT_EQ(m_link.LnkGetSyncMode(slave, sync), 1);
    EXPECT_EQ(sync, 12);

    EXPECT_EQ(m_link.LnkStartArmed(slave, kBufferBytes), 1);
    EXPECT_EQ(m_link.LnkStartArmed(master, kBufferBytes), 1);
    EXPECT_EQ(m_link.LnkGetStatusWait(master, 1000), RecorderStatus::kArmed);

    // Three 16-bit channels each: master 1-1, 1-2, 3-1; slave 2-1, 2-2, 2-3.
    constexpr int kFrameBytes = 6;
    constexpr int kFrames = 400;
    const std::vector<std::uint16_t> masterWords = ReadFrames(master, kFrameBytes, kFrames);
    const std::vector<std::uint16_t> slaveWords = ReadFrames(slave, kFrameBytes, kFrames);
    EXPECT_EQ(masterWords, ExpectedFrames(2, {{1, 0}, {1, 1}, {3, 0}}, kFrames));
    EXPECT_EQ(slaveWords, ExpectedFrames(3, {{2, 0}, {2, 1}, {2, 2}}, kFrames));

    EXPECT_EQ(m_link.LnkStopArmed(master), 1);
    EXPECT_EQ(m_link.LnkStopArmed(slave), 1);
    EXPECT_EQ(m_link.LnkGetStatus(master), RecorderStatus::kIdle);
    EXPECT_EQ(m_link.LnkClose(master), 1);

    // A recorder given a new address answers there; its connections to the old one end.
    EXPECT_EQ(m_link.LnkSetIPAddress(kSlave, "127.0.0.4", "255.0.0.0", "127.0.0.1"), 1);
    const auto start = Clock::now();
    while (m_link.LnkScanDevices(list) != 2 || list != "ZT-300,127.0.0.2;ZT-500,127.0.0.4;") {
        ASSERT_LT(Clock::now() - start, 5s) << list;
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(m_link.LnkGetStatus(slave), RecorderStatus::kCommError2);
    const int moved = m_link.LnkOpen("127.0.0.4", 30000);
    EXPECT_GT(moved, 0);

    // Ends cleanly with a connection still open, which it closes.
    m_sim.Signal(SIGTERM);
    EXPECT_EQ(m_sim.WaitExit(5000), 0);
    EXPECT_EQ(m_link.LnkGetStatus(moved), RecorderStatus::kCommError2);
}

TEST_F(SimServerTest, AKilledServerFailsTheStatusQueryPromptly) {
    const int master = m_link.LnkOpen(kMaster, 30000);
    ASSERT_GT(master, 0);
    ASSERT_EQ(m_link.LnkStartArmed(master, kBufferBytes), 1);
    ASSERT_EQ(m_link.LnkGetStatusWait(master, 1000), RecorderStatus::kArmed);

    m_sim.Signal(SIGKILL);
    const auto start = Clock::now();
    int status = RecorderStatus::kArmed;
    while (status >= 0 && Clock::now() - start < 3s)
        status = m_link.LnkGetStatusWait(master, 1000);
    EXPECT_LT(Clock::now() - start, 1500ms);
    EXPECT_EQ(status, RecorderStatus::kCommError2);
    // Whatever had arrived is handed out; after it the data queries fail too.
    std::vector<std::uint8_t> buffer(kBufferBytes);
    while (m_link.LnkReadData(master, buffer.data(), kBufferBytes) > 0) {
    }
    EXPECT_EQ(m_link.LnkGetDataCount(master), RecorderStatus::kCommError);
    EXPECT_EQ(m_link.LnkStopArmed(master), RecorderStatus::kCommError);
    EXPECT_EQ(m_link.LnkOpen(kMaster, 30000), 0);
    EXPECT_LT(Clock::now() - start, 1500ms);
}

TEST_F(SimServerTest, OutOfDescriptorsItServesTheOpenOnesAndAcceptsAgainOnceSomeAreFree) {
    const int master = m_link.LnkOpen(kMaster, 30000);
    ASSERT_GT(master, 0);
    // Room for four more connections in the server process.
    const auto fds = std::distance(
        std::filesystem::directory_iterator("/proc/" + std::to_string(m_sim.Pid()) + "/fd"), {});
    rlimit limit{};
    ASSERT_EQ(prlimit(m_sim.Pid(), RLIMIT_NOFILE, nullptr, &limit), 0);
    limit.rlim_cur = static_cast<rlim_t>(fds + 4);
    ASSERT_EQ(prlimit(m_sim.Pid(), RLIMIT_NOFILE, &limit, nullptr), 0);

    std::vector<CRawPeer> clients;
    for (int i = 0; i < 8; ++i) {
        clients.push_back(CRawPeer::Connect(kMaster, m_port));
        ASSERT_TRUE(clients.back().SendFrame(CRawPeer::Open(kMaster)));
    }
    // Some are served at once; the rest wait in the listener's queue, and the open recorder is
    // served meanwhile.
    std::vector<bool> served;
    for (CRawPeer& client : clients)
        served.push_back(client.NextFrame(served.empty() ? 2000 : 300).has_value());
    const auto first = std::ranges::count(served, true);
    EXPECT_GE(first, 1);
    EXPECT_LE(first, 6);
    EXPECT_EQ(m_link.LnkGetStatus(master), RecorderStatus::kIdle);

    // Those served leave: the others are accepted and served.
    for (std::size_t i = 0; i < clients.size(); ++i)
        if (served[i])
            clients[i].Close();
    for (std::size_t i = 0; i < clients.size(); ++i) {
        if (!served[i]) {
            EXPECT_TRUE(clients[i].NextFrame(2000)) << "client " << i;
        }
    }
    EXPECT_EQ(m_link.LnkGetStatus(master), RecorderStatus::kIdle);
}

TEST(NetServerSim, ARecorderThatDropsTheConnectionClosesIt) {
    std::string error;
    std::unique_ptr<CSimLink> sim =
        CSimLink::FromConfigFile(ZT300_TEST_DATA_DIR "/net/two_recorders.conf", error);
    ASSERT_TRUE(sim) << error;
    CNetServer server(*sim, kMaster, 0);
    ASSERT_TRUE(server.Start(error)) << error;
    // The protocol by hand, to watch the connection itself.
    CNetConnection connection(CNetSocket::Connect(kMaster, server.Port(), CNetSocket::After(1000)));
    CNetMessage open;
    open.PutU32(NetProtocol::kMagic).PutText(kMaster).PutI32(1000);
    const std::optional<CNetReply> opened = connection.Call(LinkOrdinal::kOpen, 0, open, 1000);
    ASSERT_TRUE(opened);
    ASSERT_GT(opened->result, 0);
    CNetMessage arm;
    arm.PutI32(kBufferBytes);
    ASSERT_EQ(connection.Call(LinkOrdinal::kStartArmed, 1, arm, 1000)->result, 1);

    sim->FindRecorder(kMaster)->DropConnections();
    const auto start = Clock::now();
    while (!connection.Failed() && Clock::now() - start < 2s)
        std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(connection.Failed());
    EXPECT_LT(Clock::now() - start, 1s);

    // The recorder still takes new connections.
    CNetLink link(server.Port());
    const int again = link.LnkOpen(kMaster, 30000);
    EXPECT_GT(again, 0);
    EXPECT_EQ(link.LnkGetStatus(again), RecorderStatus::kIdle);
}
} // namespace
