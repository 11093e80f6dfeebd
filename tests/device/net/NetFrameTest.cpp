// The pure decoding of the protocol: frames cut from a stream, the checks of every frame kind the
// client takes, the sample window and the bounds a peer's counts meet.
#include "device/net/NetFrameReader.h"
#include "device/net/NetLink.h"
#include "device/net/NetMessage.h"
#include "device/net/NetProtocol.h"
#include "device/net/NetSampleBuffer.h"
#include "device/net/NetServerFrame.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes Framed(const Bytes& payload) {
    CNetMessage message(payload);
    Bytes stream;
    message.AppendFrame(stream);
    return stream;
}

// The frames of `stream` fed in pieces of `piece` bytes; `sound` says whether it stayed unbroken.
std::vector<Bytes> Cut(const Bytes& stream, std::size_t piece, std::uint32_t max, bool& sound) {
    CNetFrameReader reader(max);
    std::vector<Bytes> frames;
    for (std::size_t at = 0; at < stream.size(); at += piece)
        reader.Feed(std::span(stream).subspan(at, std::min(piece, stream.size() - at)),
                    [&](std::span<const std::uint8_t> payload) {
                        frames.emplace_back(payload.begin(), payload.end());
                    });
    sound = !reader.Broken();
    return frames;
}

TEST(NetFrameReader, FramesComeOutTheSameHoweverTheStreamIsCut) {
    const std::vector<Bytes> payloads = {{1, 2, 3}, {}, Bytes(70000, 9), {4}};
    Bytes stream;
    for (const Bytes& payload : payloads) {
        const Bytes framed = Framed(payload);
        stream.insert(stream.end(), framed.begin(), framed.end());
    }
    for (std::size_t piece : {std::size_t(1), std::size_t(3), std::size_t(4096), stream.size()}) {
        bool sound = false;
        EXPECT_EQ(Cut(stream, piece, 1 << 20, sound), payloads) << "pieces of " << piece;
        EXPECT_TRUE(sound);
    }

    // A length beyond the limit breaks the stream at once, before any of its bytes came, and
    // nothing after it is taken; a frame begun and not ended leaves the reader inside it.
    Bytes lying = Framed({7});
    const Bytes huge = {0x01, 0x00, 0x10, 0x00, 1, 2};
    lying.insert(lying.end(), huge.begin(), huge.end());
    for (std::size_t piece : {std::size_t(1), lying.size()}) {
        bool sound = true;
        EXPECT_EQ(Cut(lying, piece, 1 << 20, sound), (std::vector<Bytes>{{7}}));
        EXPECT_FALSE(sound);
    }
    CNetFrameReader reader(100);
    const Bytes begun = Framed(Bytes(50, 1));
    EXPECT_TRUE(reader.Feed(std::span(begun).first(20), [](auto) {}));
    EXPECT_TRUE(reader.InsideFrame());
}

TEST(NetServerFrame, OnlyFramesAServerOfOursSendsAreTaken) {
    CNetMessage reply;
    reply.PutU8(NetProtocol::kReply).PutU32(7).PutI32(LinkOrdinal::kGetSyncMode).PutI32(1);
    reply.PutI32(12);
    CNetMessage piece;
    piece.PutU8(NetProtocol::kFile).PutU32(9).PutText("a.dat").PutBlock(Bytes{1, 2, 3});
    CNetMessage stream;
    stream.PutU8(NetProtocol::kStream).PutI32(-5);
    const Bytes data = {NetProtocol::kData, 1, 2, 3, 4};

    const std::optional<CNetServerFrame> replyFrame = CNetServerFrame::Decode(reply.Bytes());
    ASSERT_TRUE(replyFrame);
    EXPECT_EQ(replyFrame->sequence, 7u);
    EXPECT_EQ(replyFrame->ordinal, LinkOrdinal::kGetSyncMode);
    EXPECT_EQ(replyFrame->result, 1);
    EXPECT_EQ(replyFrame->values.Bytes(), (Bytes{12, 0, 0, 0}));
    const std::optional<CNetServerFrame> pieceFrame = CNetServerFrame::Decode(piece.Bytes());
    ASSERT_TRUE(pieceFrame);
    EXPECT_EQ(pieceFrame->fileName, "a.dat");
    EXPECT_EQ(Bytes(pieceFrame->bytes.begin(), pieceFrame->bytes.end()), (Bytes{1, 2, 3}));
    EXPECT_EQ(CNetServerFrame::Decode(stream.Bytes())->code, -5);
    EXPECT_EQ(CNetServerFrame::Decode(data)->bytes.size(), 4u);

    auto cut = [](const Bytes& bytes, std::size_t less) {
        return Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(less));
    };
    Bytes pieceLonger = piece.Bytes();
    pieceLonger.push_back(0);
    Bytes bigData(2 + NetProtocol::kDataChunkBytes, 0);
    bigData[0] = NetProtocol::kData;
    const std::vector<Bytes> refused = {
        {},
        cut(reply.Bytes(), 5),         // the result cut
        {NetProtocol::kData},          // no samples
        {NetProtocol::kData, 1, 2, 3}, // an odd number of bytes
        bigData,                       // more than a chunk
        cut(stream.Bytes(), 1),
        {NetProtocol::kStream, 1, 2, 3, 4, 5},
        cut(piece.Bytes(), 1),
        pieceLonger, // the block's size lies
        {NetProtocol::kRequest, 1, 0, 0, 0},
        {NetProtocol::kCredit, 0, 0, 0, 0},
        {0x7F},
    };
    for (std::size_t i = 0; i < refused.size(); ++i)
        EXPECT_FALSE(CNetServerFrame::Decode(refused[i])) << "case " << i;
}

TEST(NetSampleBuffer, NeverHoldsMoreThanTheWindowWhateverTheFrames) {
    CNetSampleBuffer buffer(8);
    EXPECT_EQ(buffer.Capacity(), 0u); // nothing taken before samples come
    const Bytes word = {0x34, 0x12};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(buffer.Push(word));
    EXPECT_FALSE(buffer.Push(word)); // one word beyond the window
    EXPECT_EQ(buffer.Buffered(), 8u);
    EXPECT_EQ(buffer.Capacity(), 8u);

    // Read bytes count against the window until they are returned as credit.
    std::uint8_t out[8] = {};
    EXPECT_EQ(buffer.Read(out, 5), 4u); // whole words only
    EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x34, 0x12, 0x34, 0x12}));
    EXPECT_FALSE(buffer.Push(word));
    EXPECT_EQ(buffer.TakeCredit(6), 0u);
    buffer.Clear(); // a new run: what was buffered counts as read
    EXPECT_EQ(buffer.TakeCredit(6), 8u);
    // Around the end of the ring the words stay in order.
    EXPECT_TRUE(buffer.Push(Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(buffer.Read(out, 4), 4u);
    EXPECT_FALSE(buffer.Push(Bytes{7, 8, 9, 10})); // the four read are not returned yet
    EXPECT_EQ(buffer.TakeCredit(4), 4u);
    EXPECT_TRUE(buffer.Push(Bytes{7, 8, 9, 10}));
    EXPECT_EQ(buffer.Read(out, 8), 6u);
    EXPECT_EQ(Bytes(out, out + 6), (Bytes{5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(buffer.Capacity(), 8u);
}

TEST(NetLinkScan, AnEntryIsANameACommaAndTheAddressAsked) {
    const std::string asked = "127.0.0.31";
    const std::vector<std::pair<std::string, bool>> entries = {
        {"ZT-300,127.0.0.31;", true},
        {"ZT-500,127.0.0.31;", true},
        {"X_10_0_0_9,127.0.0.31;", false},               // the connection text's separator
        {"ZT,127.0.0.31;10_0_0_9_X,127.0.0.31;", false}, // a second entry inside
        {"ZT,10.0.0.9;", false},                         // another address than the one asked
        {"ZT,127.0.0.31", false},
        {",127.0.0.31;", false},
        {"ZT 300,127.0.0.31;", false},
        {"ZT\n,127.0.0.31;", false},
        {"ZT,127.0.0.31,10.0.0.9;", false},
        {"ZT,127.0.0.31;;", false},
    };
    for (const auto& [entry, taken] : entries)
        EXPECT_EQ(CNetLink::IsScanEntry(entry, asked), taken) << entry;
    for (const char* address : {"127.0.0.031", "127.0.0", "1.2.3.256", "a.b.c.d", "1..2.3"})
        EXPECT_FALSE(CNetLink::IsScanEntry(std::string("ZT,") + address + ";", address)) << address;
}
} // namespace
