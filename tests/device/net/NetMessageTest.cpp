// Protocol values, and what the server does with input no client of ours would send.
#include "device/net/NetMessage.h"
#include "FakeLink.h"
#include "RawPeer.h"
#include "device/net/NetLink.h"
#include "device/net/NetServer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
constexpr const char* kAddress = "127.0.0.21";

TEST(NetMessage, ValuesReadBackAndAShortMessageIsCaught) {
    CNetMessage message;
    message.PutU8(0xFE)
        .PutI32(-2)
        .PutU32(0xFFFFFFFF)
        .PutDouble(-0.125)
        .PutText(std::string("a\0b", 3));
    message.Put(std::vector<LinkChannelRecord>{{1, "5V", "OFF", "", "", 7, -7, 3, 0, 99.5, 21}});
    CNetMessage read(message.Bytes());
    EXPECT_EQ(read.GetU8(), 0xFE);
    EXPECT_EQ(read.GetI32(), -2);
    EXPECT_EQ(read.GetU32(), 0xFFFFFFFFu);
    EXPECT_EQ(read.GetDouble(), -0.125);
    EXPECT_EQ(read.GetText(), std::string("a\0b", 3));
    std::vector<LinkChannelRecord> records;
    read.Get(records);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], (LinkChannelRecord{1, "5V", "OFF", "", "", 7, -7, 3, 0, 99.5, 21}));
    EXPECT_TRUE(read.Ok() && read.AtEnd());
    EXPECT_EQ(read.GetI32(), 0);
    EXPECT_FALSE(read.Ok());
}

TEST(NetMessage, ACardDirectoryWithPathsOrNamesTheCardCannotHoldIsRefused) {
    const LinkCardTime time{2026, 1, 2, 3, 4, 5};
    const std::vector<LinkCardFolder> good{{"\\", {{"A.HDR", time, 1ull << 40, 0x21}}},
                                           {"\\DATA\\SUB\\", {{"b c.dat", time, 0, 0}}}};
    CNetMessage message;
    message.Put(good);
    CNetMessage read(message.Bytes());
    std::vector<LinkCardFolder> folders;
    read.Get(folders);
    EXPECT_TRUE(read.Ok() && read.AtEnd());
    EXPECT_EQ(folders, good);

    const auto decoded = [&](const std::vector<LinkCardFolder>& sent) {
        CNetMessage bad;
        bad.Put(sent);
        CNetMessage badRead(bad.Bytes());
        badRead.Get(folders);
        return badRead.Ok() || !folders.empty();
    };
    EXPECT_FALSE(decoded({{"\\DATA", {}}}));                 // no closing backslash
    EXPECT_FALSE(decoded({{"DATA\\", {}}}));                 // not from the root
    EXPECT_FALSE(decoded({{"\\..\\", {}}}));                 // climbs
    EXPECT_FALSE(decoded({{"\\A\\\\B\\", {}}}));             // an empty name
    EXPECT_FALSE(decoded({{"\\", {{"../x", time, 1, 0}}}})); // a name that is a path
    EXPECT_FALSE(decoded({{"\\", {{"a\\b", time, 1, 0}}}}));
    EXPECT_FALSE(decoded({{"\\", {{std::string("a\0b", 3), time, 1, 0}}}}));
    EXPECT_FALSE(decoded({{"\\", {{"", time, 1, 0}}}}));
    EXPECT_FALSE(decoded({{"\\", {{std::string(261, 'n'), time, 1, 0}}}}));

    // A reply that is not exactly a directory leaves the caller's.
    message.PutU32(0);
    folders = {{"\\OLD\\", {}}};
    EXPECT_FALSE(CNetMessage(message.Bytes()).GetWhole(folders));
    EXPECT_EQ(folders, (std::vector<LinkCardFolder>{{"\\OLD\\", {}}}));
}

// Guards a peer's count or length sizing memory that the bytes present cannot fill.
TEST(NetMessage, CountsSizeNothingBeyondTheBytesPresent) {
    // `head` padded with zeros to `size` bytes.
    const auto message = [](const CNetMessage& head, std::size_t size) {
        std::vector<std::uint8_t> bytes = head.Bytes();
        bytes.resize(std::max(size, bytes.size()));
        return CNetMessage(bytes);
    };
    const auto count = [](std::uint32_t n) { return CNetMessage().PutU32(n); };
    const std::size_t kLargest = NetProtocol::kMaxFrameBytes;
    std::vector<LinkChannelRecord> records;
    for (const CNetMessage& head : {count(1'000'000'000).PutU32(7), count(4'000'000)}) {
        CNetMessage read = message(head, kLargest);
        read.Get(records);
        EXPECT_FALSE(read.Ok());
        EXPECT_EQ(records.capacity(), 0u);
        CNetMessage text = message(head, 8);
        EXPECT_EQ(text.GetText(), "");
        EXPECT_FALSE(text.Ok());
    }
    // Folders, and files of one folder (for which no more than the folder is reserved).
    for (const auto& [head, reserved] :
         {std::pair{count(kLargest / CNetMessage::kMinCardFolderBytes + 1), 0u},
          {count(1).PutText("\\").PutU32(100'000'000), 1u}}) {
        std::vector<LinkCardFolder> folders;
        CNetMessage read = message(head, kLargest);
        read.Get(folders);
        EXPECT_FALSE(read.Ok());
        EXPECT_TRUE(folders.empty());
        EXPECT_LE(folders.capacity(), reserved);
    }
    // A reply of the largest frame declaring too many records leaves the caller's values.
    records.resize(3);
    EXPECT_FALSE(message(count(4'000'000), kLargest).GetWhole(records));
    EXPECT_EQ(records.size(), 3u);

    // A count the bytes can carry is taken; the records are reserved for exactly it.
    CNetMessage two;
    two.Put(std::vector<LinkChannelRecord>(2));
    two.PutU32(99); // one value too many
    CNetMessage readTwo(two.Bytes());
    std::vector<LinkChannelRecord> got;
    readTwo.Get(got);
    EXPECT_TRUE(readTwo.Ok());
    EXPECT_EQ(got.capacity(), 2u);
    EXPECT_FALSE(CNetMessage(two.Bytes()).GetWhole(got)); // not exactly the records
    EXPECT_LE(kLargest / CNetMessage::kMinRecordBytes * sizeof(LinkChannelRecord), 16u << 20);
}

// Sends one frame on a connection of its own and returns what comes back: the reply's result,
// or nothing when the server closed the connection instead.
std::optional<int> Exchange(std::uint16_t port, const std::vector<std::uint8_t>& frame) {
    CRawPeer client = CRawPeer::Connect(kAddress, port);
    CNetMessage payload(frame);
    if (!client.SendFrame(payload))
        return std::nullopt;
    std::optional<CNetMessage> reply = client.NextFrame();
    if (!reply)
        return std::nullopt;
    reply->GetU8();
    reply->GetU32();
    reply->GetI32();
    return reply->GetI32();
}

TEST(NetServerInput, MalformedRequestsAreRefusedAndTheServerGoesOn) {
    CFakeLink fake;
    CNetServer server(fake, kAddress, 0);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;

    CNetMessage status;
    status.PutU8(NetProtocol::kRequest).PutU32(1).PutI32(LinkOrdinal::kGetStatus).PutI32(1);
    EXPECT_EQ(Exchange(server.Port(), status.Bytes()), RecorderStatus::kCommError); // not open

    CNetMessage noMagic;
    noMagic.PutU8(NetProtocol::kRequest).PutU32(1).PutI32(LinkOrdinal::kOpen).PutI32(0);
    noMagic.PutU32(0x12345678).PutText(kAddress).PutI32(1000);
    EXPECT_EQ(Exchange(server.Port(), noMagic.Bytes()), 0);

    CNetMessage truncated;
    truncated.PutU8(NetProtocol::kRequest).PutU32(1);
    EXPECT_EQ(Exchange(server.Port(), truncated.Bytes()), std::nullopt);
    EXPECT_EQ(Exchange(server.Port(), {0x7F}), std::nullopt); // no such frame kind
    // A length beyond the largest request is not waited for.
    EXPECT_EQ(Exchange(server.Port(), std::vector<std::uint8_t>(NetProtocol::kMaxRequestBytes + 1)),
              std::nullopt);
    EXPECT_TRUE(fake.TakeCalls().empty());

    // A request before the open is answered and ends the connection.
    CRawPeer early = CRawPeer::Connect(kAddress, server.Port());
    early.SendFrame(CRawPeer::Request(1, LinkOrdinal::kGetStatus));
    EXPECT_TRUE(early.NextFrame());
    EXPECT_TRUE(early.ClosedWithin(1000));

    // Four million channel records declared in a small request: refused without reading one.
    CRawPeer client = CRawPeer::Connect(kAddress, server.Port());
    client.SendFrame(CRawPeer::Open(kAddress));
    ASSERT_TRUE(client.NextFrame());
    CNetMessage huge = CRawPeer::Request(2, LinkOrdinal::kSetSlotChannels);
    huge.PutI32(1).PutI32(2).PutI32(4).PutU32(4'000'000);
    std::vector<std::uint8_t> padded = huge.Bytes();
    padded.resize(padded.size() + 1000);
    client.SendFrame(CNetMessage(padded));
    std::optional<CNetMessage> refused = client.NextFrame();
    ASSERT_TRUE(refused);
    refused->GetU8();
    refused->GetU32();
    refused->GetI32();
    EXPECT_EQ(refused->GetI32(), RecorderStatus::kCommError);
    EXPECT_EQ(fake.TakeCalls(), std::vector<std::string>{"Open 127.0.0.21"});

    CNetLink link(server.Port());
    const int handle = link.LnkOpen(kAddress, 1000);
    EXPECT_GT(handle, 0);
    EXPECT_EQ(link.LnkGetStatus(handle), 2);
}
} // namespace
