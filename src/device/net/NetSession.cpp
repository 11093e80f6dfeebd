// Requests are served in the order they came and samples pushed between them, one Step at a
// time, so the backend handle is never used by two threads at once.
#include "device/net/NetSession.h"

#include "device/net/NetProtocol.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace fs = std::filesystem;

namespace {
// How often a running recorder is asked for samples while none are waiting.
constexpr int kPumpIntervalMs = 5;
// How often an open recorder that is not running is asked, mostly to notice that it was lost.
constexpr int kIdleCheckMs = 250;
constexpr std::size_t kFrameHeadBytes = 4;

bool Complete(const CNetMessage& args) {
    return args.Ok() && args.AtEnd();
}
} // namespace

CNetSession::CNetSession(ILinkLibrary& backend, std::string address)
    : m_backend(backend), m_address(std::move(address)), m_credit(NetProtocol::kStreamWindowBytes) {
}

CNetSession::~CNetSession() {
    EndCopy();
    if (m_handle != 0)
        m_backend.LnkClose(m_handle);
}

CNetSession::Clock::time_point CNetSession::NextStep() const {
    if (m_ending)
        return Clock::time_point::max();
    if (m_copy)
        return Clock::time_point::min();
    if (m_handle == 0)
        return Clock::time_point::max();
    return m_pumpNow || m_more ? Clock::time_point::min() : m_nextPump;
}

void CNetSession::Step(std::deque<std::vector<std::uint8_t>>& frames, bool mayPush,
                       std::vector<std::uint8_t>& out) {
    while (!m_copy && !m_ending && !frames.empty()) {
        CNetMessage frame(std::move(frames.front()));
        frames.pop_front();
        m_ending = !Serve(std::move(frame), out);
    }
    if (mayPush && !m_ending)
        Push(out);
    if (m_ending && m_handle != 0) {
        // Closed before the connection is, so the client's next open finds the recorder free.
        m_backend.LnkClose(std::exchange(m_handle, 0));
    }
}

void CNetSession::Push(std::vector<std::uint8_t>& out) {
    if (m_copy) {
        SendPiece(out);
        return;
    }
    const Clock::time_point now = Clock::now();
    if (m_handle != 0 && (std::exchange(m_pumpNow, false) || m_more || now >= m_nextPump)) {
        m_more = Pump(out);
        m_nextPump = now + std::chrono::milliseconds(m_running ? kPumpIntervalMs : kIdleCheckMs);
    }
}

bool CNetSession::Serve(CNetMessage frame, std::vector<std::uint8_t>& out) {
    const std::uint8_t kind = frame.GetU8();
    if (kind == NetProtocol::kCredit) {
        const auto bytes = static_cast<std::int64_t>(frame.GetU32());
        m_credit = static_cast<int>(
            std::min<std::int64_t>(m_credit + bytes, NetProtocol::kStreamWindowBytes));
        m_pumpNow = true;
        return Complete(frame);
    }
    if (kind != NetProtocol::kRequest)
        return false;
    m_sequence = frame.GetU32();
    const int ordinal = frame.GetI32();
    frame.GetI32(); // the client's handle: this connection is the handle
    if (!frame.Ok())
        return false;
    CNetMessage values;
    const int result = Dispatch(ordinal, frame, values);
    m_greeted = true;
    CNetMessage reply;
    reply.PutU8(NetProtocol::kReply).PutU32(m_sequence).PutI32(ordinal).PutI32(result);
    reply.Append(values);
    if (m_copy)
        m_copy->reply = std::move(reply); // after the files
    else
        reply.AppendFrame(out);
    return !m_ending;
}

int CNetSession::Dispatch(int ordinal, CNetMessage& args, CNetMessage& out) {
    using namespace LinkOrdinal;
    if (ordinal == kOpen || ordinal == kScanDevices || ordinal == kSetIPAddress)
        return DispatchOpen(ordinal, args, out);
    if (m_handle == 0) {
        m_ending = true; // the first request opens the recorder or asks once
        return RecorderStatus::kCommError;
    }
    std::optional<int> result = DispatchCondition(ordinal, args, out);
    // The groups read the arguments their own way, so each starts from the first one.
    if (!result)
        result = DispatchRun(ordinal, args, out);
    if (!result)
        result = DispatchText(ordinal, args, out);
    return result.value_or(RecorderStatus::kCommError);
}

int CNetSession::DispatchOpen(int ordinal, CNetMessage& args, CNetMessage& out) {
    using namespace LinkOrdinal;
    if (args.GetU32() != NetProtocol::kMagic || m_handle != 0) {
        m_ending = true;
        return 0;
    }
    if (ordinal == kOpen) {
        args.GetText(); // the address the client dialled; this server is that recorder
        const int timeoutMs = args.GetI32();
        if (!Complete(args)) {
            m_ending = true;
            return 0;
        }
        m_handle = m_backend.LnkOpen(m_address, timeoutMs);
        m_ending = m_handle == 0;
        return m_handle;
    }
    m_ending = true; // both others are one-shot questions
    if (ordinal == kScanDevices) {
        std::string list;
        m_backend.LnkScanDevices(list);
        const std::string tail = "," + m_address;
        for (std::size_t start = 0; start < list.size();) {
            const std::size_t end = std::min(list.find(';', start), list.size());
            const std::string entry = list.substr(start, end - start);
            if (entry.size() > tail.size() && entry.ends_with(tail)) {
                out.PutText(entry + ";");
                return 1;
            }
            start = end + 1;
        }
        return 0;
    }
    const std::string newAddress = args.GetText();
    const std::string mask = args.GetText();
    const std::string gateway = args.GetText();
    if (!Complete(args))
        return RecorderStatus::kCommError;
    return m_backend.LnkSetIPAddress(m_address, newAddress, mask, gateway);
}

std::optional<int> CNetSession::DispatchCondition(int ordinal, CNetMessage& args,
                                                  CNetMessage& out) {
    using namespace LinkOrdinal;
    const int h = m_handle;
    switch (ordinal) {
    case kGetSlotList: {
        std::vector<std::uint8_t> slots(NetProtocol::kSlotListBytes, 0);
        const int result = m_backend.LnkGetSlotList(h, slots);
        out.PutBlock(slots);
        return result;
    }
    case kGetSlotInfo: {
        const int slot = args.GetI32();
        const std::string query = args.GetText();
        if (!Complete(args))
            return RecorderStatus::kCommError;
        std::string reply;
        const int result = m_backend.LnkGetSlotInfo(h, slot, query, reply);
        out.PutText(reply);
        return result;
    }
    case kGetAcqCondition: {
        LinkAcqCondition condition;
        const int result = m_backend.LnkGetAcqCondition(h, condition);
        out.Put(condition);
        return result;
    }
    case kSetAcqCondition: {
        LinkAcqCondition condition;
        args.Get(condition);
        return Complete(args) ? m_backend.LnkSetAcqCondition(h, condition)
                              : RecorderStatus::kCommError;
    }
    case kGetSlotChannels: {
        const int slot = args.GetI32();
        std::vector<LinkChannelRecord> records;
        args.Get(records);
        if (!Complete(args))
            return RecorderStatus::kCommError;
        const int result = m_backend.LnkGetSlotChannels(h, slot, records);
        out.Put(records);
        return result;
    }
    case kSetSlotChannels: {
        const int slot = args.GetI32();
        const int slotType = args.GetI32();
        const int count = args.GetI32();
        std::vector<LinkChannelRecord> records;
        args.Get(records);
        if (!Complete(args))
            return RecorderStatus::kCommError;
        const int result = m_backend.LnkSetSlotChannels(h, slot, slotType, count, records);
        out.Put(records);
        return result;
    }
    case kGetSyncMode: {
        int value = 0;
        const int result = m_backend.LnkGetSyncMode(h, value);
        out.PutI32(value);
        return result;
    }
    case kSetSyncMode: {
        const int value = args.GetI32();
        return Complete(args) ? m_backend.LnkSetSyncMode(h, value) : RecorderStatus::kCommError;
    }
    case kApplyCondition:
        return m_backend.LnkApplyCondition(h);
    case kGetRTC: {
        LinkRtc rtc{};
        const int result = m_backend.LnkGetRTC(h, rtc);
        out.Put(rtc);
        return result;
    }
    case kSetRTC: {
        LinkRtc rtc{};
        args.Get(rtc);
        return Complete(args) ? m_backend.LnkSetRTC(h, rtc) : RecorderStatus::kCommError;
    }
    case kGetCardDir: {
        std::vector<LinkCardFolder> folders;
        const int result = m_backend.LnkGetCardDir(h, folders);
        CNetMessage listing;
        listing.Put(folders);
        // A card of more files than one reply carries cannot be listed; its files stay.
        if (listing.Bytes().size() > NetProtocol::kMaxFrameBytes - NetProtocol::kReplyHeadBytes) {
            out.Put(std::vector<LinkCardFolder>());
            return NetProtocol::kReplyTooLarge;
        }
        out.Append(listing);
        return result;
    }
    default:
        return std::nullopt;
    }
}

std::optional<int> CNetSession::DispatchRun(int ordinal, CNetMessage args, CNetMessage& out) {
    using namespace LinkOrdinal;
    const int h = m_handle;
    // Every one of these takes at most two int32 arguments.
    const int first = args.GetI32();
    const int second = args.GetI32();
    switch (ordinal) {
    case kClose:
        m_ending = true;
        m_handle = 0;
        return m_backend.LnkClose(h);
    case kGetStatus:
        return m_backend.LnkGetStatus(h);
    case NetProtocol::kGetStatusWait:
        return m_backend.LnkGetStatusWait(h, first);
    case kGetCardInfo: {
        LinkCardInfo info{};
        const int result = m_backend.LnkGetCardInfo(h, info);
        out.Put(info);
        return result;
    }
    case kOpenAux:
        return m_backend.LnkOpenAux(h, first);
    case kReadAux: {
        std::vector<std::uint8_t> buffer(
            static_cast<std::size_t>(std::clamp(first, 0, NetProtocol::kDataChunkBytes)));
        const int result = m_backend.LnkReadAux(h, buffer.data(), static_cast<int>(buffer.size()));
        buffer.resize(static_cast<std::size_t>(std::clamp(result, 0, int(buffer.size()))));
        out.PutBlock(buffer);
        return result;
    }
    case kCloseAux:
        return m_backend.LnkCloseAux(h);
    case kSetGPSMode:
        return m_backend.LnkSetGPSMode(h, first);
    case kGetGPSMode:
        return m_backend.LnkGetGPSMode(h);
    case kSetRemote:
        return NoteRun(ordinal, first, m_backend.LnkSetRemote(h, first, second));
    case kStartArmed:
        return NoteRun(ordinal, first, m_backend.LnkStartArmed(h, first));
    case kStartAcq:
        return m_backend.LnkStartAcq(h, first, second);
    case kStopAcq:
        return m_backend.LnkStopAcq(h);
    case kStopArmed:
        return NoteRun(ordinal, first, m_backend.LnkStopArmed(h));
    default:
        return std::nullopt;
    }
}

std::optional<int> CNetSession::DispatchText(int ordinal, CNetMessage args, CNetMessage& out) {
    using namespace LinkOrdinal;
    const int h = m_handle;
    const std::string first = args.GetText();
    const std::string second = args.GetText();
    std::string reply;
    int result = 0;
    switch (ordinal) {
    case kBalance:
        result = m_backend.LnkBalance(h, reply);
        break;
    case kBalanceChannels:
        result = m_backend.LnkBalanceChannels(h, first, reply);
        break;
    case kGetBalanceResidual:
        result = m_backend.LnkGetBalanceResidual(h, reply);
        break;
    case kSetCommand:
        return m_backend.LnkSetCommand(h, first);
    case kQueryCommand:
        result = m_backend.LnkQueryCommand(h, first, reply);
        break;
    case kCopy:
        return BeginCopy(first, second);
    case kDelete:
        return m_backend.LnkDelete(h, first);
    case kFormatCard:
        return m_backend.LnkFormatCard(h);
    default:
        return std::nullopt;
    }
    out.PutText(reply);
    return result;
}

bool CNetSession::Pump(std::vector<std::uint8_t>& out) {
    const int waiting = m_backend.LnkGetDataCount(m_handle);
    if (waiting == RecorderStatus::kCommError &&
        m_backend.LnkGetStatus(m_handle) == RecorderStatus::kCommError2) {
        m_ending = true;
        return false;
    }
    SendStreamCode(std::min(waiting, 0), out);
    if (waiting < 2 || m_credit < 2)
        return false;
    const int wanted = std::min({waiting, m_credit, NetProtocol::kDataChunkBytes}) & ~1;
    // Read straight into the frame: its head first, then the samples.
    const std::size_t start = out.size();
    out.resize(start + kFrameHeadBytes + 1 + static_cast<std::size_t>(wanted));
    const int got =
        m_backend.LnkReadData(m_handle, out.data() + start + kFrameHeadBytes + 1, wanted);
    if (got <= 0) {
        out.resize(start);
        SendStreamCode(std::min(got, 0), out);
        return false;
    }
    const auto size = static_cast<std::uint32_t>(1 + got);
    for (std::size_t i = 0; i < kFrameHeadBytes; ++i)
        out[start + i] = static_cast<std::uint8_t>(size >> (8 * i));
    out[start + kFrameHeadBytes] = NetProtocol::kData;
    out.resize(start + kFrameHeadBytes + size);
    m_credit -= got;
    return waiting > got;
}

int CNetSession::BeginCopy(const std::string& cardPath, const std::string& name) {
    const bool plain = !name.empty() && name != "." && name != ".." &&
                       name.find_first_of("/\\") == std::string::npos;
    std::error_code error;
    std::string folder = (fs::temp_directory_path(error) / "zt300net-XXXXXX").string();
    if (!plain || error || ::mkdtemp(folder.data()) == nullptr)
        return NetProtocol::kPcFileError;
    // The recorder writes the file and its partner here; they then travel to the client.
    m_copy = std::make_unique<Copy>();
    m_copy->folder = folder;
    m_copy->sequence = m_sequence;
    const int result = m_backend.LnkCopy(m_handle, cardPath, (fs::path(folder) / name).string());
    for (fs::directory_iterator file(folder, error), end; result == 1 && !error && file != end;
         file.increment(error))
        if (file->is_regular_file())
            m_copy->files.push_back(file->path());
    if (result != 1 || error)
        EndCopy();
    return error ? NetProtocol::kPcFileError : result;
}

void CNetSession::SendPiece(std::vector<std::uint8_t>& out) {
    Copy& copy = *m_copy;
    if (copy.next == copy.files.size()) {
        copy.reply.AppendFrame(out);
        EndCopy();
        return;
    }
    if (!copy.file.is_open())
        copy.file.open(copy.files[copy.next], std::ios::binary);
    std::vector<std::uint8_t> piece(NetProtocol::kDataChunkBytes);
    copy.file.read(reinterpret_cast<char*>(piece.data()),
                   static_cast<std::streamsize>(piece.size()));
    if (copy.file.bad() || !copy.file.is_open()) {
        // The reply says the copy failed; nothing more of it goes.
        CNetMessage reply;
        reply.PutU8(NetProtocol::kReply).PutU32(copy.sequence).PutI32(LinkOrdinal::kCopy);
        reply.PutI32(NetProtocol::kPcFileError).AppendFrame(out);
        EndCopy();
        return;
    }
    // Every file sends a piece, an empty one too, so that the client creates it.
    CNetMessage frame;
    frame.PutU8(NetProtocol::kFile).PutU32(copy.sequence);
    frame.PutText(copy.files[copy.next].filename().string());
    frame.PutBlock(piece.data(), static_cast<std::size_t>(copy.file.gcount()));
    frame.AppendFrame(out);
    if (!copy.file) {
        copy.file.close();
        ++copy.next;
    }
}

void CNetSession::EndCopy() {
    if (!m_copy)
        return;
    m_copy->file.close();
    std::error_code error;
    fs::remove_all(m_copy->folder, error);
    m_copy.reset();
}

int CNetSession::NoteRun(int ordinal, int first, int result) {
    if (result == 1) {
        m_running = ordinal == LinkOrdinal::kStartArmed ||
                    (ordinal == LinkOrdinal::kSetRemote && first != 0);
        m_pumpNow = m_running;
    }
    return result;
}

void CNetSession::SendStreamCode(int code, std::vector<std::uint8_t>& out) {
    if (code == m_streamCode)
        return;
    m_streamCode = code;
    CNetMessage frame;
    frame.PutU8(NetProtocol::kStream).PutI32(code);
    frame.AppendFrame(out);
}
