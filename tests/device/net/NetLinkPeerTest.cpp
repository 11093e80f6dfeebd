// CNetLink against a recorder that breaks the protocol: replies cut, mismatched or dribbled,
// frames that carry odd sample counts, more samples than the window, file pieces beyond what the
// card's directory lists, of other files than the record's or aimed at another call, and scan
// answers that smuggle in an address.
#include "RawPeer.h"
#include "device/net/NetLink.h"
#include "device/net/NetProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kAddress = "127.0.0.31";

class NetLinkPeerTest : public testing::Test {
protected:
    void SetUp() override {
        auto opened =
            std::async(std::launch::async, [this] { return m_link.LnkOpen(kAddress, 2000); });
        ASSERT_TRUE(m_fake.AcceptOpen());
        m_handle = opened.get();
        ASSERT_GT(m_handle, 0);
    }

    // Runs `call` while the recorder answers its request with `answer`.
    template <typename Call>
    auto Exchange(Call call, const std::function<void(const CRawRequest&)>& answer) {
        auto result = std::async(std::launch::async, call);
        const std::optional<CRawRequest> request = m_fake.NextRequest();
        EXPECT_TRUE(request);
        if (request)
            answer(*request);
        return result.get();
    }

    bool Send(const CNetMessage& frame) { return m_fake.Peer().SendFrame(frame); }

    // A copy of "\DATA\R.HDR" to `folder`/r.hdr while the recorder answers the directory with
    // `listed` and the record of a header of 100 bytes and data of 10000 (the card holds more
    // besides), then sends these pieces and says the copy went well.
    int CopyRecord(const std::filesystem::path& folder, int listed,
                   const std::vector<std::pair<std::string, std::size_t>>& pieces) {
        const LinkCardTime time{2026, 5, 4, 3, 2, 1};
        const std::vector<LinkCardFolder> listing{{"\\", {{"BIG.DAT", time, 1u << 30, 0}}},
                                                  {"\\DATA\\",
                                                   {{"OTHER.DAT", time, 1u << 20, 0},
                                                    {"r.dat", time, 10000, 0},
                                                    {"R.HDR", time, 100, 0}}}};
        auto result = std::async(std::launch::async, [&] {
            return m_link.LnkCopy(m_handle, "\\DATA\\R.HDR", (folder / "r.hdr").string());
        });
        std::optional<CRawRequest> dir = m_fake.NextRequest();
        EXPECT_TRUE(dir && dir->ordinal == LinkOrdinal::kGetCardDir);
        if (!dir)
            return result.get();
        Send(CRawPeer::Reply(dir->sequence, dir->ordinal, listed)
                 .Put(listed == 1 ? listing : std::vector<LinkCardFolder>()));
        if (listed != 1)
            return result.get(); // no copy is asked for
        std::optional<CRawRequest> request = m_fake.NextRequest();
        EXPECT_TRUE(request && request->ordinal == LinkOrdinal::kCopy);
        if (request) {
            for (const auto& [name, size] : pieces) {
                CNetMessage piece;
                piece.PutU8(NetProtocol::kFile).PutU32(request->sequence).PutText(name);
                Send(piece.PutBlock(Bytes(size, 7)));
            }
            Send(CRawPeer::Reply(request->sequence, request->ordinal, 1));
        }
        return result.get();
    }

    CFakeRecorder m_fake{kAddress};
    CNetLink m_link{m_fake.Port()};
    int m_handle = 0;
};

// Guards a reply taken when cut, padded, aimed at another call or of the wrong size, and a failure
// that waits for the time-out instead of coming at once.
TEST_F(NetLinkPeerTest, AReplyIsTakenOnlyWholeAndForItsOwnCall) {
    int sync = -7;
    std::vector<std::uint8_t> slots(3, 5);
    std::uint8_t aux[4] = {};
    const auto syncMode = [&] { return m_link.LnkGetSyncMode(m_handle, sync); };
    // The reply to a request: its own head (with `result`) and then `values`.
    const auto reply = [](int result, const Bytes& values) {
        return [=](const CRawRequest& q) {
            CNetMessage frame = CRawPeer::Reply(q.sequence, q.ordinal, result);
            for (std::uint8_t value : values)
                frame.PutU8(value);
            return std::vector<CNetMessage>{frame};
        };
    };
    struct Case {
        const char* what;
        std::function<int()> call;
        std::function<std::vector<CNetMessage>(const CRawRequest&)> frames;
        int result;
    };
    const std::vector<Case> cases = {
        {"whole", syncMode, reply(134, {11, 0, 0, 0}), 134},
        {"another operation", syncMode,
         [](const CRawRequest& q) {
             return std::vector{
                 CRawPeer::Reply(q.sequence, LinkOrdinal::kGetStatus, 134).PutI32(11)};
         },
         RecorderStatus::kCommError},
        {"the value cut", syncMode, reply(134, {11, 0}), RecorderStatus::kCommError},
        {"a value too many", syncMode, reply(134, Bytes(8, 0)), RecorderStatus::kCommError},
        // A reply to an earlier call (one that timed out) is dropped; the call's own is taken.
        {"an earlier call's first", [&] { return m_link.LnkSetSyncMode(m_handle, 3); },
         [](const CRawRequest& q) {
             return std::vector{CRawPeer::Reply(q.sequence - 1, q.ordinal, 99),
                                CRawPeer::Reply(q.sequence, q.ordinal, 133)};
         },
         133},
        // Operations without out-values take none; lists of the wrong size are no answer.
        {"a value to no out-value", [&] { return m_link.LnkApplyCondition(m_handle); },
         reply(1, {0}), RecorderStatus::kCommError},
        {"a slot list one byte short", [&] { return m_link.LnkGetSlotList(m_handle, slots); },
         [](const CRawRequest& q) {
             return std::vector{CRawPeer::Reply(q.sequence, q.ordinal, 1).PutBlock(Bytes(255, 1))};
         },
         RecorderStatus::kCommError},
        {"more auxiliary bytes than asked", [&] { return m_link.LnkReadAux(m_handle, aux, 4); },
         [](const CRawRequest& q) {
             return std::vector{CRawPeer::Reply(q.sequence, q.ordinal, 1).PutBlock(Bytes(5, 1))};
         },
         RecorderStatus::kCommError},
        // A reply whose head is cut breaks the stream: the connection is dropped.
        {"the head cut", [&] { return m_link.LnkGetStatus(m_handle); },
         [](const CRawRequest& q) {
             CNetMessage cut;
             return std::vector{cut.PutU8(NetProtocol::kReply).PutU32(q.sequence).PutI32(5)};
         },
         RecorderStatus::kCommError2},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        sync = -7;
        const auto start = Clock::now();
        EXPECT_EQ(Exchange(test.call,
                           [&](const CRawRequest& request) {
                               for (const CNetMessage& frame : test.frames(request))
                                   Send(frame);
                           }),
                  test.result);
        EXPECT_LT(Clock::now() - start, 1s); // failed at once, not at the time-out
        EXPECT_EQ(sync, test.result == 134 ? 11 : -7);
    }
    EXPECT_EQ(slots, Bytes(3, 5)); // a failed reply leaves the caller's values
}

TEST(NetLinkTimeOuts, EveryCallEndsWithinItsOwnTimeOutWhateverThePeerSends) {
    struct Case {
        const char* what;
        std::function<void(CRawPeer&, const CRawRequest&, const std::future<int>&)> play;
        int status;
    };
    auto until = [](const std::future<int>& call) {
        return call.wait_for(0ms) != std::future_status::ready;
    };
    const std::vector<Case> cases = {
        {"samples",
         [&](CRawPeer& peer, const CRawRequest&, const std::future<int>& call) {
             const CNetMessage frame = CNetMessage(Bytes{NetProtocol::kData, 1, 2});
             for (int i = 0; i < 2000 && until(call); ++i) {
                 peer.SendFrame(frame);
                 std::this_thread::sleep_for(1ms);
             }
         },
         RecorderStatus::kCommError},
        {"the reply one byte at a time",
         [&](CRawPeer& peer, const CRawRequest& request, const std::future<int>& call) {
             const Bytes reply =
                 CRawPeer::Framed(CRawPeer::Reply(request.sequence, request.ordinal, 1));
             for (std::size_t i = 0; i < reply.size() && until(call); ++i) {
                 peer.Send({reply[i]});
                 std::this_thread::sleep_for(100ms);
             }
         },
         RecorderStatus::kCommError},
        {"file pieces carrying the call's number",
         [&](CRawPeer& peer, const CRawRequest& request, const std::future<int>& call) {
             for (int i = 0; i < 100 && until(call); ++i) {
                 CNetMessage piece;
                 piece.PutU8(NetProtocol::kFile).PutU32(request.sequence).PutText("a.dat");
                 peer.SendFrame(piece.PutBlock(Bytes{1, 2}));
                 std::this_thread::sleep_for(50ms);
             }
         },
         RecorderStatus::kCommError2}, // no call but a copy takes pieces: the link is broken
    };
    for (const Case& test : cases) {
        CFakeRecorder fake(kAddress);
        CNetLink link(fake.Port());
        auto opened = std::async(std::launch::async, [&] { return link.LnkOpen(kAddress, 2000); });
        ASSERT_TRUE(fake.AcceptOpen());
        const int handle = opened.get();
        const auto start = Clock::now();
        std::future<int> call =
            std::async(std::launch::async, [&] { return link.LnkGetStatusWait(handle, 400); });
        const std::optional<CRawRequest> request = fake.NextRequest();
        ASSERT_TRUE(request);
        test.play(fake.Peer(), *request, call);
        EXPECT_EQ(call.get(), test.status) << test.what;
        EXPECT_LT(Clock::now() - start, 800ms) << test.what;
    }
}

TEST_F(NetLinkPeerTest, ASampleFrameOfAnOddSizeDropsTheConnectionAndShiftsNothing) {
    for (const Bytes& frame : {Bytes{NetProtocol::kData, 1, 2}, Bytes{NetProtocol::kData, 3, 4, 5},
                               Bytes{NetProtocol::kData, 6, 7}})
        Send(CNetMessage(frame));
    const auto start = Clock::now();
    while (m_link.LnkGetStatus(m_handle) != RecorderStatus::kCommError2 &&
           Clock::now() - start < 2s)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(m_link.LnkGetStatus(m_handle), RecorderStatus::kCommError2);
    std::uint8_t words[8] = {};
    EXPECT_EQ(m_link.LnkReadData(m_handle, words, 8), 2);
    EXPECT_EQ(Bytes(words, words + 2), (Bytes{1, 2}));
    EXPECT_EQ(m_link.LnkReadData(m_handle, words, 8), RecorderStatus::kCommError);
}

TEST_F(NetLinkPeerTest, OneWordFramesFillTheWindowAndNotAByteMore) {
    // One frame beyond the window, each of one 16-bit word, in one stream.
    constexpr int kFrames = NetProtocol::kStreamWindowBytes / 2 + 1;
    Bytes stream;
    stream.reserve(static_cast<std::size_t>(kFrames) * 7);
    for (int i = 0; i < kFrames; ++i) {
        const auto word = static_cast<std::uint16_t>(i);
        stream.insert(stream.end(), {3, 0, 0, 0, NetProtocol::kData, std::uint8_t(word),
                                     std::uint8_t(word >> 8)});
    }
    std::thread sender([&] { m_fake.Peer().Send(stream); });
    const auto start = Clock::now();
    while (m_link.LnkGetStatus(m_handle) != RecorderStatus::kCommError2 &&
           Clock::now() - start < 10s)
        std::this_thread::sleep_for(10ms);
    sender.join();
    EXPECT_EQ(m_link.LnkGetStatus(m_handle), RecorderStatus::kCommError2);
    // Everything within the window is handed out, in order; the frame beyond it is not.
    EXPECT_EQ(m_link.LnkGetDataCount(m_handle), NetProtocol::kStreamWindowBytes);
    std::vector<std::uint16_t> words(NetProtocol::kStreamWindowBytes / 2 + 1);
    EXPECT_EQ(m_link.LnkReadData(m_handle, words.data(), int(words.size() * 2)),
              NetProtocol::kStreamWindowBytes);
    EXPECT_EQ(words[12345], 12345);
    EXPECT_EQ(words[words.size() - 2], std::uint16_t(kFrames - 2));
}

TEST_F(NetLinkPeerTest, ACardCopyBringsNoMoreThanTheDirectoryListsForItsRecord) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "net_bound";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    EXPECT_EQ(CopyRecord(folder, 1, {{"r.hdr", 100}, {"r.dat", 10001}}), NetProtocol::kPcFileError);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_EQ(CopyRecord(folder, NetProtocol::kReplyTooLarge, {}), NetProtocol::kReplyTooLarge);
    EXPECT_EQ(CopyRecord(folder, 1, {{"r.hdr", 100}, {"r.dat", 10000}}), 1);
    EXPECT_EQ(std::filesystem::file_size(folder / "r.dat"), 10000u);
}

TEST_F(NetLinkPeerTest, ACardCopyWritesOnlyTheFileAskedForAndItsPartner) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "net_names";
    struct Case {
        std::vector<std::pair<std::string, std::size_t>> pieces;
        int result;
    };
    const std::vector<Case> cases = {
        {{{"r.hdr", 100}, {"r.dat", 10}}, 1},
        {{{"r.hdr", 100}}, 1}, // a file without its partner
        {{{"r.hdr", 10}, {"other.dat", 10}}, NetProtocol::kPcFileError}, // another file's name
        {{{"r.hdr", 10}, {"R.DAT", 10}}, NetProtocol::kPcFileError},     // another case
        {{{"r.dat.part", 10}}, NetProtocol::kPcFileError},               // a part's name
        {{{"r", 10}}, NetProtocol::kPcFileError},
    };
    for (const Case& test : cases) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "other.dat") << "kept";
        EXPECT_EQ(CopyRecord(folder, 1, test.pieces), test.result) << test.pieces.back().first;
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::ranges::sort(names);
        std::vector<std::string> expected{"other.dat"};
        for (const auto& [name, size] : test.pieces)
            if (test.result == 1)
                expected.push_back(name);
        std::ranges::sort(expected);
        EXPECT_EQ(names, expected) << test.pieces.back().first;
        std::ifstream other(folder / "other.dat");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(other), {}), "kept");
    }
}

TEST(NetLinkScanPeer, AScanAnswerThatSmugglesAnAddressIsDropped) {
    CFakeRecorder fake(kAddress);
    CNetLink link(fake.Port());
    link.SetScanList({kAddress});
    for (const auto& [entry, found] : {std::pair{"ZT-300,127.0.0.31;", 1},
                                       {"X_10_0_0_9,127.0.0.31;", 0},
                                       {"A,127.0.0.31;B,10.0.0.9;", 0},
                                       {"A,10.0.0.9;", 0}}) {
        std::string list = "old";
        auto scan = std::async(std::launch::async, [&] { return link.LnkScanDevices(list); });
        ASSERT_TRUE(fake.Accept());
        const std::optional<CRawRequest> request = fake.NextRequest();
        ASSERT_TRUE(request);
        EXPECT_EQ(request->ordinal, LinkOrdinal::kScanDevices);
        fake.Peer().SendFrame(
            CRawPeer::Reply(request->sequence, request->ordinal, 1).PutText(entry));
        EXPECT_EQ(scan.get(), found) << entry;
        EXPECT_EQ(list, found ? entry : "") << entry;
    }
}
} // namespace
