// Requests are read and carried out by one thread, which also pushes the samples between them,
// so the backend handle is never used by two threads at once.
#include "device/net/NetSession.h"

#include "device/net/NetProtocol.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <utility>

namespace fs = std::filesystem;

namespace {
// How often a running recorder is asked for samples while none are waiting.
constexpr int kPumpIntervalMs = 5;
// How often an open recorder that is not running is asked, mostly to notice that it was lost.
constexpr int kIdleCheckMs = 250;
constexpr std::size_t kSlotListBytes = 256;

int MsUntil(CNetSocket::Deadline deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - CNetSocket::Clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

bool Complete(const CNetMessage& args) {
    return args.Ok() && args.AtEnd();
}
} // namespace

CNetSession::CNetSession(CNetSocket socket, ILinkLibrary& backend, std::string address)
    : m_socket(std::move(socket)), m_backend(backend), m_address(std::move(address)),
      m_credit(NetProtocol::kStreamWindowBytes), m_chunk(1 + NetProtocol::kDataChunkBytes),
      m_thread([this] { Run(); }) {}

CNetSession::~CNetSession() {
    Stop();
    m_thread.join();
}

void CNetSession::Run() {
    std::vector<std::uint8_t> payload;
    bool more = false;
    auto nextPump = CNetSocket::Clock::now();
    while (!m_ending && !m_sendFailed && !m_lostRecorder) {
        // Before the open there is nothing to pump: wait for the request (or the shutdown).
        const int wait = m_handle == 0 ? -1 : more ? 0 : MsUntil(nextPump);
        if (m_socket.WaitReadable(wait)) {
            if (!m_socket.Receive())
                break;
            while (!m_ending && m_socket.NextFrame(payload))
                m_ending = !Serve(CNetMessage(std::move(payload)));
            if (m_socket.Broken())
                break;
        }
        // A run that started, or returned credit, lets the stream go on at once.
        more = more || std::exchange(m_pumpNow, false);
        if (m_handle != 0 && !m_ending && (more || CNetSocket::Clock::now() >= nextPump)) {
            more = Pump();
            nextPump = CNetSocket::After(m_running ? kPumpIntervalMs : kIdleCheckMs);
        }
    }
    if (m_handle != 0)
        m_backend.LnkClose(m_handle);
    // Closed by the destructor: Stop may still use the descriptor from another thread.
    m_socket.Shutdown();
    m_done = true;
}

bool CNetSession::Send(const std::vector<std::uint8_t>& payload) {
    if (!m_sendFailed &&
        !m_socket.SendFrame(payload, CNetSocket::After(NetProtocol::kCallTimeoutMs)))
        m_sendFailed = true;
    return !m_sendFailed;
}

bool CNetSession::Serve(CNetMessage frame) {
    const std::uint8_t kind = frame.GetU8();
    if (kind == NetProtocol::kCredit) {
        const auto bytes = static_cast<std::int64_t>(frame.GetU32());
        m_credit = static_cast<int>(
            std::min<std::int64_t>(m_credit + bytes, NetProtocol::kStreamWindowBytes));
        m_pumpNow = true;
        return frame.Ok();
    }
    if (kind != NetProtocol::kRequest)
        return false;
    m_sequence = frame.GetU32();
    const int ordinal = frame.GetI32();
    frame.GetI32(); // the client's handle: this connection is the handle
    if (!frame.Ok())
        return false;
    CNetMessage out;
    const int result = Dispatch(ordinal, frame, out);
    CNetMessage reply;
    reply.PutU8(NetProtocol::kReply).PutU32(m_sequence).PutI32(ordinal).PutI32(result);
    reply.Append(out);
    return Send(reply.Bytes()) && !m_ending;
}

int CNetSession::Dispatch(int ordinal, CNetMessage& args, CNetMessage& out) {
    using namespace LinkOrdinal;
    if (ordinal == kOpen || ordinal == kScanDevices || ordinal == kSetIPAddress)
        return DispatchOpen(ordinal, args, out);
    if (m_handle == 0)
        return RecorderStatus::kCommError;
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
        std::vector<std::uint8_t> slots(kSlotListBytes, 0);
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
        return CopyToClient(first, second);
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

bool CNetSession::Pump() {
    const int waiting = m_backend.LnkGetDataCount(m_handle);
    if (waiting == RecorderStatus::kCommError &&
        m_backend.LnkGetStatus(m_handle) == RecorderStatus::kCommError2) {
        m_lostRecorder = true;
        return false;
    }
    SendStreamCode(std::min(waiting, 0));
    if (waiting < 2 || m_credit < 2)
        return false;
    const int wanted = std::min({waiting, m_credit, NetProtocol::kDataChunkBytes}) & ~1;
    m_chunk[0] = NetProtocol::kData;
    const int got = m_backend.LnkReadData(m_handle, m_chunk.data() + 1, wanted);
    SendStreamCode(std::min(got, 0));
    if (got <= 0)
        return false;
    m_credit -= got;
    if (!m_socket.SendFrame(m_chunk.data(), 1 + static_cast<std::size_t>(got),
                            CNetSocket::After(NetProtocol::kCallTimeoutMs)))
        m_sendFailed = true;
    return !m_sendFailed && waiting > got;
}

int CNetSession::CopyToClient(const std::string& cardPath, const std::string& name) {
    const bool plain = !name.empty() && name != "." && name != ".." &&
                       name.find_first_of("/\\") == std::string::npos;
    std::error_code error;
    std::string folder = (fs::temp_directory_path(error) / "zt300net-XXXXXX").string();
    if (!plain || error || ::mkdtemp(folder.data()) == nullptr)
        return NetProtocol::kPcFileError;
    // The recorder writes the file and its partner here; they then travel to the client.
    int result = m_backend.LnkCopy(m_handle, cardPath, (fs::path(folder) / name).string());
    for (fs::directory_iterator file(folder, error), end; result == 1 && !error && file != end;
         file.increment(error))
        if (file->is_regular_file() && !SendFile(file->path()))
            result = NetProtocol::kPcFileError;
    fs::remove_all(folder, error);
    return result;
}

bool CNetSession::SendFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::vector<std::uint8_t> piece(NetProtocol::kDataChunkBytes);
    do {
        file.read(reinterpret_cast<char*>(piece.data()),
                  static_cast<std::streamsize>(piece.size()));
        if (file.bad())
            return false;
        CNetMessage frame;
        frame.PutU8(NetProtocol::kFile).PutU32(m_sequence).PutText(path.filename().string());
        frame.PutBlock(piece.data(), static_cast<std::size_t>(file.gcount()));
        if (!Send(frame.Bytes()))
            return false;
    } while (file);
    return true;
}

int CNetSession::NoteRun(int ordinal, int first, int result) {
    if (result == 1) {
        m_running = ordinal == LinkOrdinal::kStartArmed ||
                    (ordinal == LinkOrdinal::kSetRemote && first != 0);
        m_pumpNow = m_running;
    }
    return result;
}

void CNetSession::SendStreamCode(int code) {
    if (code == m_streamCode)
        return;
    m_streamCode = code;
    CNetMessage frame;
    frame.PutU8(NetProtocol::kStream).PutI32(code);
    Send(frame.Bytes());
}
