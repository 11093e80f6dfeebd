// CNetLink against CNetServer over loopback, with a fake recorder behind the server.
#include "device/net/NetLink.h"
#include "FakeLink.h"
#include "device/net/NetServer.h"
#include "device/net/NetSocket.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <numeric>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kAddress = "127.0.0.21";
constexpr const char* kDeadAddress = "127.0.0.20"; // nothing listens there

class NetLinkTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(m_server.Start(error)) << error;
        m_link = std::make_unique<CNetLink>(m_server.Port());
        m_link->SetScanList({kDeadAddress, kAddress});
    }

    int Open() {
        const int handle = m_link->LnkOpen(kAddress, 3000);
        EXPECT_GT(handle, 0);
        m_fake.TakeCalls();
        return handle;
    }

    std::string Call() {
        const std::vector<std::string> calls = m_fake.TakeCalls();
        return calls.size() == 1 ? calls[0] : "calls: " + std::to_string(calls.size());
    }

    // Reads until `bytes` arrived or ten seconds passed.
    std::vector<std::uint8_t> ReadAll(int handle, std::size_t bytes) {
        std::vector<std::uint8_t> got;
        std::vector<std::uint8_t> block(100000);
        const auto end = Clock::now() + 10s;
        while (got.size() < bytes && Clock::now() < end) {
            const int n = m_link->LnkReadData(handle, block.data(), int(block.size()));
            if (n <= 0)
                std::this_thread::sleep_for(1ms);
            else
                got.insert(got.end(), block.begin(), block.begin() + n);
        }
        return got;
    }

    CFakeLink m_fake;
    CNetServer m_server{m_fake, kAddress, 0};
    std::unique_ptr<CNetLink> m_link;
};

std::vector<std::uint8_t> Pattern(std::size_t size, int seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251 + std::size_t(seed));
    return bytes;
}

TEST_F(NetLinkTest, ScanListsTheRecordersThatAnswerInScanOrder) {
    std::string list = "old";
    EXPECT_EQ(m_link->LnkScanDevices(list), 1);
    EXPECT_EQ(list, "FAKE-1,127.0.0.21;");

    m_link->SetScanList({kDeadAddress});
    EXPECT_EQ(m_link->LnkScanDevices(list), 0);
    EXPECT_EQ(list, "");
    EXPECT_EQ(m_link->LnkResetWSA(500), 0);
}

// Guards an argument, out-value or result lost or garbled on its way over the network.
TEST_F(NetLinkTest, EveryOperationCarriesItsArgumentsAndOutValues) {
    EXPECT_EQ(m_link->LnkSetIPAddress(kAddress, "10.0.0.5", "255.0.0.0", "10.0.0.1"), 132);
    EXPECT_EQ(Call(), "SetIPAddress 127.0.0.21 10.0.0.5 255.0.0.0 10.0.0.1");
    const int h = Open();

    // Operations whose only answer is their result.
    struct Case {
        std::function<int()> call;
        int result;
        const char* logged;
    };
    const std::vector<Case> cases = {
        {[&] {
             return m_link->LnkSetAcqCondition(h, {"B\\x", "EXT", 0, 3600});
         },
         109, "SetAcqCondition 77 B\\x EXT 0 3600"},
        {[&] { return m_link->LnkSetSyncMode(h, 11); }, 133, "SetSyncMode 77 11"},
        {[&] { return m_link->LnkApplyCondition(h); }, 131, "ApplyCondition 77"},
        {[&] {
             return m_link->LnkSetRTC(h, {1, 2, 3, 4, 5, 2027, 6, 7, 1});
         },
         118, "SetRTC 77 1 2 3 4 5 2027 6 7 1"},
        {[&] { return m_link->LnkOpenAux(h, LinkCode::kAuxGps); }, 142, "OpenAux 77 31"},
        {[&] { return m_link->LnkSetGPSMode(h, LinkCode::kGpsOff); }, 146, "SetGPSMode 77 20"},
        {[&] { return m_link->LnkGetGPSMode(h); }, LinkCode::kGpsOn, "GetGPSMode 77"},
        {[&] { return m_link->LnkCloseAux(h); }, 145, "CloseAux 77"},
        {[&] { return m_link->LnkGetStatus(h); }, 2, "GetStatus 77"},
        // The status wait leaves part of the caller's time for the reply to travel.
        {[&] { return m_link->LnkGetStatusWait(h, 1000); }, 10, "GetStatusWait 77 900"},
        {[&] { return m_link->LnkSetRemote(h, 1, 4096); }, 130, "SetRemote 77 1 4096"},
        {[&] { return m_link->LnkStartArmed(h, 65536); }, 1, "StartArmed 77 65536"},
        {[&] { return m_link->LnkStartAcq(h, 0, 9); }, 162, "StartAcq 77 0 9"},
        {[&] { return m_link->LnkStopAcq(h); }, 163, "StopAcq 77"},
        {[&] { return m_link->LnkStopArmed(h); }, 161, "StopArmed 77"},
        {[&] { return m_link->LnkSetCommand(h, "3CAN BAUD 500"); }, 156,
         "SetCommand 77 3CAN BAUD 500"},
        {[&] { return m_link->LnkDelete(h, "\\DATA\\C.DAT"); }, 124, "Delete 77 \\DATA\\C.DAT"},
        {[&] { return m_link->LnkFormatCard(h); }, 125, "FormatCard 77"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(test.call(), test.result) << test.logged;
        EXPECT_EQ(Call(), test.logged);
    }

    std::vector<std::uint8_t> slots;
    EXPECT_EQ(m_link->LnkGetSlotList(h, slots), 2);
    ASSERT_EQ(slots.size(), 256u);
    EXPECT_EQ(std::accumulate(slots.begin(), slots.end(), 0), 2);
    EXPECT_EQ(slots[7], 1);
    EXPECT_EQ(Call(), "GetSlotList 77");

    std::string text;
    EXPECT_EQ(m_link->LnkGetSlotInfo(h, 3, "PN,TY,NCH", text), 137);
    EXPECT_EQ(text, "PN 1\x01TY 2\x01PN,TY,NCH");
    EXPECT_EQ(Call(), "GetSlotInfo 77 3 PN,TY,NCH");

    LinkAcqCondition condition;
    EXPECT_EQ(m_link->LnkGetAcqCondition(h, condition), 108);
    EXPECT_EQ(condition, (LinkAcqCondition{"Run\\A", "2kHz", 5, -7}));
    EXPECT_EQ(Call(), "GetAcqCondition 77");

    std::vector<LinkChannelRecord> records(3);
    EXPECT_EQ(m_link->LnkGetSlotChannels(h, 2, records), 106);
    EXPECT_EQ(Call(), "GetSlotChannels 77 2 3");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0],
              (LinkChannelRecord{1, "10V", "OFF", "MG", "FR", -3, 4, 0xFFFF, 1, -12.5, 0}));
    EXPECT_EQ(records[1].status, LinkCode::kChannelRefused);
    records[0].status = 0;
    records.resize(1);
    EXPECT_EQ(m_link->LnkSetSlotChannels(h, 4, 10, 1, records), 107);
    EXPECT_EQ(Call(), "SetSlotChannels 77 4 10 1 [1 10V OFF MG FR -3 4 65535 1 -12.500000 0]");
    EXPECT_EQ(records[0].status, LinkCode::kChannelRefused);

    int sync = 0;
    EXPECT_EQ(m_link->LnkGetSyncMode(h, sync), 134);
    EXPECT_EQ(sync, 12);
    LinkCardInfo card{};
    EXPECT_EQ(m_link->LnkGetCardInfo(h, card), 129);
    EXPECT_EQ(card, (LinkCardInfo{1, -2, 3, 2000000000, 5}));
    LinkRtc rtc{};
    EXPECT_EQ(m_link->LnkGetRTC(h, rtc), 117);
    EXPECT_EQ(rtc, (LinkRtc{59, 58, 23, 31, 12, 2026, 4, 365, 0}));
    std::uint8_t aux[8] = {};
    EXPECT_EQ(m_link->LnkReadAux(h, aux, 4), 4);
    EXPECT_EQ(std::vector<std::uint8_t>(aux, aux + 5),
              (std::vector<std::uint8_t>{'$', 'G', 'P', 0, 0}));
    EXPECT_EQ(m_fake.TakeCalls(), (std::vector<std::string>{"GetSyncMode 77", "GetCardInfo 77",
                                                            "GetRTC 77", "ReadAux 77 4"}));

    EXPECT_EQ(m_link->LnkBalance(h, text), 114);
    EXPECT_EQ(text, "1-1:FFFFFF9C,1-2:64,");
    EXPECT_EQ(m_link->LnkBalanceChannels(h, "1-1,2-3", text), 148);
    EXPECT_EQ(text, "1-1,2-3:0,");
    EXPECT_EQ(m_link->LnkGetBalanceResidual(h, text), 127);
    EXPECT_EQ(text, "2-1:5,");
    EXPECT_EQ(m_link->LnkQueryCommand(h, "3CAN?", text), 157);
    EXPECT_EQ(text, "\x06"
                    "3CAN?");
    EXPECT_EQ(m_fake.TakeCalls(),
              (std::vector<std::string>{"Balance 77", "BalanceChannels 77 1-1,2-3",
                                        "GetBalanceResidual 77", "QueryCommand 77 3CAN?"}));

    EXPECT_EQ(m_link->LnkClose(h), 1);
    EXPECT_EQ(Call(), "Close 77");
    EXPECT_EQ(m_link->LnkGetStatus(h), RecorderStatus::kCommError);
    EXPECT_EQ(m_link->LnkGetDataCount(h), RecorderStatus::kCommError);
}

TEST_F(NetLinkTest, TheCardDirectoryCrossesWhole) {
    const int h = Open();
    std::vector<LinkCardFolder> folders{{"\\OLD\\", {}}};
    ASSERT_EQ(m_link->LnkGetCardDir(h, folders), 1);
    EXPECT_EQ(Call(), "GetCardDir 77");
    std::vector<LinkCardFolder> expected;
    m_fake.LnkGetCardDir(CFakeLink::kHandle, expected);
    m_fake.TakeCalls();
    EXPECT_EQ(folders, expected);
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0].files[1].size, 5'000'000'000u);
    EXPECT_EQ(folders[1].files.size(), 10u);

    // More files than one reply carries: no listing, and no copy, whose bound it would be.
    m_fake.moreCardFiles = 20000;
    EXPECT_EQ(m_link->LnkGetCardDir(h, folders), NetProtocol::kReplyTooLarge);
    EXPECT_TRUE(folders.empty());
    EXPECT_EQ(m_link->LnkCopy(h, "\\DATA\\RUN1.HDR", testing::TempDir() + "/run1.hdr"),
              NetProtocol::kReplyTooLarge);
    EXPECT_EQ(m_fake.TakeCalls(), (std::vector<std::string>{"GetCardDir 77", "GetCardDir 77"}));
}

// Guards a card file arriving cut, a move deleting the card file before the PC holds it, and a
// failed copy leaving part of a file on the PC.
TEST_F(NetLinkTest, CardFilesArriveOnThePcWholeAndAMoveDeletesOnlyThen) {
    const int h = Open();
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "net_card";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::vector<std::uint8_t> data = CFakeLink::CardData();
    const std::string dataText(data.begin(), data.end());
    // Every copy asks for the directory first: it bounds what may arrive.
    auto copied = [&](const std::string& card, const std::string& file, bool deleted = false) {
        std::vector<std::string> calls{"GetCardDir 77", "Copy 77 " + card + " " + file};
        if (deleted)
            calls.push_back("Delete 77 " + card);
        return m_fake.TakeCalls() == calls;
    };

    // The program writes the recorder's "\\" between folder and name.
    EXPECT_EQ(m_link->LnkCopy(h, "\\DATA\\RUN1.HDR", folder.string() + "\\run 1.hdr"), 1);
    EXPECT_EQ(ReadTestFile(folder / "run 1.hdr"), "\\DATA\\RUN1.HDR");
    EXPECT_EQ(ReadTestFile(folder / "run 1.dat"), dataText);
    EXPECT_TRUE(copied("\\DATA\\RUN1.HDR", "run 1.hdr"));
    EXPECT_EQ(m_link->LnkMove(h, "\\DATA\\RUN2.HDR", (folder / "run2.hdr").string()), 124);
    EXPECT_EQ(ReadTestFile(folder / "run2.dat"), dataText);
    EXPECT_TRUE(copied("\\DATA\\RUN2.HDR", "run2.hdr", true));

    // The PC side cannot be written: the card file stays, no part of a file is left.
    EXPECT_EQ(m_link->LnkMove(h, "\\DATA\\RUN3.HDR", (folder / "none" / "run3.hdr").string()),
              NetProtocol::kPcFileError);
    EXPECT_TRUE(copied("\\DATA\\RUN3.HDR", "run3.hdr"));
    EXPECT_EQ(m_link->LnkCopy(h, "\\MISSING", (folder / "x.hdr").string()), -5);
    m_fake.TakeCalls();
    EXPECT_EQ(m_link->LnkCopy(h, "\\DATA\\RUN4.HDR", (folder / "..").string()),
              NetProtocol::kPcFileError);
    EXPECT_EQ(Call(), "GetCardDir 77"); // refused before the recorder copies anything
    // More than the directory announced: nothing of it stays, and a move keeps the card file.
    EXPECT_EQ(m_link->LnkMove(h, "\\data\\run5.hdr", (folder / "run5.hdr").string()),
              NetProtocol::kPcFileError);
    EXPECT_TRUE(copied("\\data\\run5.hdr", "run5.hdr"));
    EXPECT_EQ(FolderNames(folder),
              (std::vector<std::string>{"run 1.dat", "run 1.hdr", "run2.dat", "run2.hdr"}));
}

TEST_F(NetLinkTest, SamplesArriveWholeAndInOrderAndAStartBeginsEmpty) {
    const int h = Open();
    m_fake.AddSamples(Pattern(4000, 1));
    const auto end = Clock::now() + 2s;
    while (m_link->LnkGetDataCount(h) < 4000 && Clock::now() < end)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(m_link->LnkGetDataCount(h), 4000);
    // Left over from before the start: dropped with it.
    EXPECT_EQ(m_link->LnkStartArmed(h, 1 << 20), 1);
    EXPECT_EQ(m_link->LnkGetDataCount(h), 0);

    // More than the client's window, so the credit must come back for it all to arrive.
    const std::vector<std::uint8_t> run = Pattern(11'000'000, 2);
    m_fake.AddSamples(run);
    std::uint8_t odd[3] = {};
    while (m_link->LnkGetDataCount(h) < 3)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(m_link->LnkReadData(h, odd, 3), 2); // whole words only
    std::vector<std::uint8_t> got = {odd[0], odd[1]};
    const std::vector<std::uint8_t> rest = ReadAll(h, run.size() - 2);
    got.insert(got.end(), rest.begin(), rest.end());
    EXPECT_TRUE(got == run) << "got " << got.size() << " of " << run.size();

    m_fake.dataError = -5;
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(m_link->LnkGetDataCount(h), -5);
    EXPECT_EQ(m_link->LnkReadData(h, odd, 2), -5);
    m_fake.dataError = 0;
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(m_link->LnkGetDataCount(h), 0);
}

TEST_F(NetLinkTest, ALateReplyFailsItsCallWithinTheTimeOutAndIsDropped) {
    const int h = Open();
    m_fake.statusDelayMs = 600;
    const auto start = Clock::now();
    EXPECT_EQ(m_link->LnkGetStatusWait(h, 300), RecorderStatus::kCommError);
    EXPECT_LT(Clock::now() - start, 550ms);
    m_fake.statusDelayMs = 0;
    // The late answer (10) must not be taken for this call's.
    EXPECT_EQ(m_link->LnkGetStatus(h), 2);
    EXPECT_EQ(m_link->LnkGetSyncMode(h, *std::make_unique<int>()), 134);
}

TEST_F(NetLinkTest, ALostConnectionFailsEveryCallAtOnce) {
    const int h = Open();
    m_fake.AddSamples(Pattern(1000, 3));
    while (m_link->LnkGetDataCount(h) < 1000)
        std::this_thread::sleep_for(1ms);
    m_server.Stop();
    const auto start = Clock::now();
    while (m_link->LnkGetStatus(h) != RecorderStatus::kCommError2 && Clock::now() - start < 2s)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(m_link->LnkGetStatusWait(h, 1000), RecorderStatus::kCommError2);
    EXPECT_EQ(m_link->LnkApplyCondition(h), RecorderStatus::kCommError);
    // What had arrived is still handed out; then the failure.
    EXPECT_EQ(ReadAll(h, 1000), Pattern(1000, 3));
    EXPECT_EQ(m_link->LnkGetDataCount(h), RecorderStatus::kCommError);
    EXPECT_LT(Clock::now() - start, 1500ms);
    EXPECT_EQ(m_link->LnkClose(h), RecorderStatus::kCommError);
    EXPECT_EQ(m_link->LnkOpen(kAddress, 30000), 0); // refused at once
    EXPECT_LT(Clock::now() - start, 1500ms);
}

TEST_F(NetLinkTest, ARecorderThatDropsItsConnectionClosesIt) {
    const int h = Open();
    m_fake.lost = true;
    const auto start = Clock::now();
    while (m_link->LnkApplyCondition(h) != RecorderStatus::kCommError && Clock::now() - start < 2s)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(m_link->LnkGetStatus(h), RecorderStatus::kCommError2);
    std::vector<std::string> calls = m_fake.TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "Close 77");
}

TEST_F(NetLinkTest, HandlesAreUsedFromSeveralThreadsAtOnce) {
    const int first = Open();
    const int second = Open();
    ASSERT_NE(first, second);
    auto hammer = [this](int handle, int* failures) {
        for (int i = 0; i < 200; ++i) {
            std::string reply;
            const std::string query = "Q" + std::to_string(handle * 1000 + i);
            if (m_link->LnkGetSlotInfo(handle, i, query, reply) != 137 || !reply.ends_with(query) ||
                m_link->LnkGetDataCount(handle) != 0)
                ++*failures;
        }
    };
    int failures[3] = {};
    std::thread a(hammer, first, &failures[0]);
    std::thread b(hammer, second, &failures[1]);
    hammer(first, &failures[2]);
    a.join();
    b.join();
    EXPECT_EQ(failures[0] + failures[1] + failures[2], 0);
    EXPECT_EQ(m_fake.TakeCalls().size(), 600u);
}

TEST(NetLinkTimeOut, ASilentServerFailsTheOpenWithinItsTimeOut) {
    std::string error;
    CNetSocket listener = CNetSocket::Listen("127.0.0.23", 0, error);
    ASSERT_TRUE(listener.Valid()) << error;
    CNetLink link(listener.LocalPort());
    const auto start = Clock::now();
    EXPECT_EQ(link.LnkOpen("127.0.0.23", 400), 0);
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 390ms);
    EXPECT_LT(took, 1500ms);

    link.SetScanList({"127.0.0.23", "127.0.0.24"});
    std::string list;
    EXPECT_EQ(link.LnkScanDevices(list), 0);
    EXPECT_LT(Clock::now() - start, 3s);
    EXPECT_EQ(link.LnkOpen("not an address", 400), 0);
}
} // namespace
