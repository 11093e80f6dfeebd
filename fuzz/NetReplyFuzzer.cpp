// Fuzz target of what the program takes from a recorder over the network: the byte stream cut
// into frames (whole or one byte at a time, the same frames), every frame checked, the
// out-values of each operation read as the link reads them, samples kept within the window, and
// the text as a scan answer. Beyond not crashing: nothing accepted may break the protocol's
// bounds.
#include "device/net/NetFrameReader.h"
#include "device/net/NetLink.h"
#include "device/net/NetProtocol.h"
#include "device/net/NetSampleBuffer.h"
#include "device/net/NetServerFrame.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {
// Small, so that the fuzzer reaches its edge.
constexpr std::size_t kWindowBytes = 64;

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

template <typename... Values> void ReadAs(const CNetMessage& values) {
    CNetMessage copy = values;
    std::tuple<Values...> read;
    std::apply([&](auto&... each) { copy.GetWhole(each...); }, read);
}

// Every set of out-values an operation of the link reads.
void ReadReply(const CNetMessage& values) {
    ReadAs<>(values);
    ReadAs<std::int32_t>(values);
    ReadAs<std::string>(values);
    ReadAs<std::vector<std::uint8_t>>(values);
    ReadAs<LinkAcqCondition>(values);
    ReadAs<LinkCardInfo>(values);
    ReadAs<LinkRtc>(values);
    CNetMessage copy = values;
    std::vector<LinkChannelRecord> records;
    copy.GetWhole(records);
    // The records held never outnumber what the bytes can carry, nor do folders and files.
    Check(records.capacity() <= values.Bytes().size() / CNetMessage::kMinRecordBytes);
    copy = values;
    std::vector<LinkCardFolder> folders;
    copy.GetWhole(folders);
    Check(folders.capacity() <= values.Bytes().size() / CNetMessage::kMinCardFolderBytes);
    for (const LinkCardFolder& folder : folders)
        Check(folder.files.capacity() <= values.Bytes().size() / CNetMessage::kMinCardFileBytes);
}

std::vector<std::vector<std::uint8_t>> Frames(std::span<const std::uint8_t> bytes,
                                              std::size_t piece, bool& sound) {
    CNetFrameReader reader(NetProtocol::kMaxFrameBytes);
    std::vector<std::vector<std::uint8_t>> frames;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        reader.Feed(bytes.subspan(at, std::min(piece, bytes.size() - at)),
                    [&](std::span<const std::uint8_t> payload) {
                        frames.emplace_back(payload.begin(), payload.end());
                    });
    sound = !reader.Broken();
    return frames;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    bool wholeSound = false;
    bool pieceSound = false;
    const auto frames = Frames(bytes, std::max<std::size_t>(size, 1), wholeSound);
    Check(frames == Frames(bytes, 1, pieceSound) && wholeSound == pieceSound);

    CNetSampleBuffer samples(kWindowBytes);
    std::uint8_t out[kWindowBytes];
    for (const auto& payload : frames) {
        const std::optional<CNetServerFrame> frame = CNetServerFrame::Decode(payload);
        if (!frame)
            continue;
        if (frame->kind == NetProtocol::kReply) {
            ReadReply(frame->values);
        } else if (frame->kind == NetProtocol::kData) {
            Check(frame->bytes.size() % 2 == 0);
            samples.Push(frame->bytes);
            Check(samples.Buffered() <= kWindowBytes && samples.Capacity() <= kWindowBytes);
            Check(samples.Read(out, payload.size() % sizeof out) % 2 == 0);
            samples.TakeCredit(kWindowBytes / 4);
        } else if (frame->kind == NetProtocol::kFile) {
            Check(frame->bytes.size() <= std::size_t(NetProtocol::kDataChunkBytes));
        }
    }

    const std::string text(reinterpret_cast<const char*>(data), size);
    if (CNetLink::IsScanEntry(text, "127.0.0.2"))
        Check(std::ranges::count(text, ',') == 1 && std::ranges::count(text, ';') == 1 &&
              text.find('_') == std::string::npos);
    return 0;
}
