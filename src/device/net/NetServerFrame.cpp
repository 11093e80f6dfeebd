// The checks of every frame kind the client takes.
#include "device/net/NetServerFrame.h"

#include "device/net/NetProtocol.h"

namespace {
constexpr std::size_t kMaxChunk = NetProtocol::kDataChunkBytes;
} // namespace

std::optional<CNetServerFrame> CNetServerFrame::Decode(std::span<const std::uint8_t> payload) {
    if (payload.empty())
        return std::nullopt;
    CNetServerFrame frame;
    frame.kind = payload[0];
    const std::span<const std::uint8_t> rest = payload.subspan(1);
    switch (frame.kind) {
    case NetProtocol::kReply: {
        if (payload.size() < NetProtocol::kReplyHeadBytes)
            return std::nullopt;
        CNetMessage head(payload.first(NetProtocol::kReplyHeadBytes));
        head.GetU8();
        frame.sequence = head.GetU32();
        frame.ordinal = head.GetI32();
        frame.result = head.GetI32();
        frame.values = CNetMessage(payload.subspan(NetProtocol::kReplyHeadBytes));
        return frame;
    }
    case NetProtocol::kData:
        if (rest.empty() || rest.size() % 2 != 0 || rest.size() > kMaxChunk)
            return std::nullopt;
        frame.bytes = rest;
        return frame;
    case NetProtocol::kStream: {
        CNetMessage code(rest);
        return code.GetWhole(frame.code) ? std::optional(std::move(frame)) : std::nullopt;
    }
    case NetProtocol::kFile: {
        CNetMessage head(rest);
        frame.sequence = head.GetU32();
        frame.fileName = head.GetText();
        const std::uint32_t size = head.GetU32();
        if (!head.Ok() || head.Rest().size() != size || size > kMaxChunk)
            return std::nullopt;
        frame.bytes = rest.subspan(rest.size() - size);
        return frame;
    }
    default:
        return std::nullopt;
    }
}
