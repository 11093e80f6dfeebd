// Each operation writes its arguments, waits for the reply within its time-out and reads the
// out-values back; CNetSession reads and writes them in the same order.
#include "device/net/NetLink.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>

namespace {
constexpr std::size_t kScanListBytes = 1024; // the caller's buffer, its terminating zero included
constexpr int kScanAddressCount = 8;

std::string Lower(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The other file of a record: a ".hdr" and a ".dat" of the same name, the extension in upper
// case when the given one has any upper-case letter, as the recorder names it. Empty for a file
// of no record.
std::string PartnerName(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::string given = dot == std::string::npos ? "" : name.substr(dot);
    const std::string extension = Lower(given);
    const bool upper = extension != given;
    if (extension == ".hdr")
        return name.substr(0, dot) + (upper ? ".DAT" : ".dat");
    if (extension == ".dat")
        return name.substr(0, dot) + (upper ? ".HDR" : ".hdr");
    return {};
}

// The bytes a card copy may bring: the file and its partner as the directory lists them, never
// more than a copy may bring at all; card names match without regard to case.
std::uint64_t CardCopyBytes(const std::vector<LinkCardFolder>& folders,
                            const std::string& cardPath) {
    const std::string wanted = Lower(cardPath.starts_with('\\') ? cardPath : "\\" + cardPath);
    const std::string partner = PartnerName(wanted);
    std::uint64_t bytes = 0;
    for (const LinkCardFolder& folder : folders) {
        for (const LinkCardFile& file : folder.files) {
            const std::string path = Lower(folder.path + file.name);
            if (path == wanted || path == partner)
                bytes += std::min(file.size, NetProtocol::kMaxCopyBytes);
        }
    }
    return std::min(bytes, NetProtocol::kMaxCopyBytes);
}

int MsLeft(CNetSocket::Deadline deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - CNetSocket::Clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

// Four decimal numbers of 0 to 255 without leading zeros, joined by dots.
bool IsDottedQuad(const std::string& text) {
    int parts = 0;
    for (std::size_t start = 0; start <= text.size(); ++parts) {
        const std::size_t end = std::min(text.find('.', start), text.size());
        const std::string part = text.substr(start, end - start);
        const bool number = !part.empty() && part.size() <= 3 &&
                            std::ranges::all_of(part, [](char c) { return c >= '0' && c <= '9'; });
        if (!number || (part.size() > 1 && part[0] == '0') || std::stoi(part) > 255)
            return false;
        start = end + 1;
    }
    return parts == 4;
}
} // namespace

CNetLink::CNetLink(std::uint16_t port) : m_port(port), m_scanList(DefaultScanList()) {}

CNetLink::~CNetLink() {
    std::map<int, std::shared_ptr<CNetConnection>> open;
    {
        std::lock_guard lock(m_mutex);
        open.swap(m_connections);
    }
    for (const auto& [handle, connection] : open)
        connection->Call(LinkOrdinal::kClose, handle, {}, NetProtocol::kScanTimeoutMs);
}

std::vector<std::string> CNetLink::DefaultScanList() {
    std::vector<std::string> addresses;
    for (int host = 1; host <= kScanAddressCount; ++host)
        addresses.push_back("127.0.0." + std::to_string(host));
    return addresses;
}

void CNetLink::SetScanList(std::vector<std::string> addresses) {
    std::lock_guard lock(m_mutex);
    m_scanList = std::move(addresses);
}

std::shared_ptr<CNetConnection> CNetLink::Find(int handle) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_connections.find(handle);
    return found == m_connections.end() ? nullptr : found->second;
}

std::optional<CNetReply> CNetLink::Call(int handle, int ordinal, const CNetMessage& args,
                                        int timeoutMs) {
    const std::shared_ptr<CNetConnection> connection = Find(handle);
    if (!connection)
        return std::nullopt;
    return connection->Call(ordinal, handle, args, timeoutMs);
}

template <typename... Out>
int CNetLink::Ask(int handle, int ordinal, const CNetMessage& args, int timeoutMs, Out&... out) {
    std::optional<CNetReply> reply = Call(handle, ordinal, args, timeoutMs);
    return reply && reply->values.GetWhole(out...) ? reply->result : RecorderStatus::kCommError;
}

int CNetLink::Result(int handle, int ordinal, const CNetMessage& args, int timeoutMs) {
    return Ask(handle, ordinal, args, timeoutMs);
}

int CNetLink::Status(int handle, int ordinal, const CNetMessage& args, int timeoutMs) {
    const std::shared_ptr<CNetConnection> connection = Find(handle);
    if (!connection)
        return RecorderStatus::kCommError;
    std::optional<CNetReply> reply = connection->Call(ordinal, handle, args, timeoutMs);
    if (reply && reply->values.GetWhole())
        return reply->result;
    return connection->Failed() ? RecorderStatus::kCommError2 : RecorderStatus::kCommError;
}

std::optional<CNetReply> CNetLink::AskOnce(const std::string& address, int ordinal,
                                           const CNetMessage& args, int timeoutMs) const {
    const auto deadline = CNetSocket::After(timeoutMs);
    CNetSocket socket = CNetSocket::Connect(address, m_port, deadline);
    if (!socket.Valid())
        return std::nullopt;
    CNetConnection connection(std::move(socket));
    return connection.Call(ordinal, 0, args, MsLeft(deadline));
}

int CNetLink::LnkResetWSA(int) {
    // Sockets need no start-up here.
    return 0;
}

std::string CNetLink::Identify(const std::string& address) const {
    CNetMessage args;
    args.PutU32(NetProtocol::kMagic);
    std::optional<CNetReply> reply =
        AskOnce(address, LinkOrdinal::kScanDevices, args, NetProtocol::kScanTimeoutMs);
    std::string entry;
    if (!reply || reply->result <= 0 || !reply->values.GetWhole(entry) ||
        !IsScanEntry(entry, address))
        return {};
    return entry;
}

bool CNetLink::IsScanEntry(const std::string& entry, const std::string& address) {
    const std::size_t comma = entry.find(',');
    if (comma == 0 || comma == std::string::npos ||
        entry != entry.substr(0, comma + 1) + address + ";")
        return false;
    const bool plainName = std::all_of(entry.begin(), entry.begin() + comma, [](char c) {
        return c > ' ' && c < 0x7F && c != '_' && c != ',' && c != ';';
    });
    return plainName && IsDottedQuad(address);
}

int CNetLink::LnkScanDevices(std::string& list) {
    std::vector<std::string> addresses;
    {
        std::lock_guard lock(m_mutex);
        addresses = m_scanList;
    }
    std::vector<std::future<std::string>> answers;
    for (const std::string& address : addresses)
        answers.push_back(
            std::async(std::launch::async, [this, address] { return Identify(address); }));
    list.clear();
    int found = 0;
    for (auto& answer : answers) {
        const std::string entry = answer.get();
        // Whole entries only: a cut one would give a wrong address.
        if (entry.empty() || list.size() + entry.size() >= kScanListBytes)
            continue;
        list += entry;
        ++found;
    }
    return found;
}

int CNetLink::LnkSetIPAddress(const std::string& oldAddress, const std::string& newAddress,
                              const std::string& mask, const std::string& gateway) {
    CNetMessage args;
    args.PutU32(NetProtocol::kMagic).PutText(newAddress).PutText(mask).PutText(gateway);
    std::optional<CNetReply> reply =
        AskOnce(oldAddress, LinkOrdinal::kSetIPAddress, args, NetProtocol::kCallTimeoutMs);
    return reply && reply->values.GetWhole() ? reply->result : RecorderStatus::kCommError;
}

int CNetLink::LnkOpen(const std::string& address, int timeoutMs) {
    const auto deadline = CNetSocket::After(timeoutMs);
    CNetSocket socket = CNetSocket::Connect(address, m_port, deadline);
    if (!socket.Valid())
        return 0;
    auto connection = std::make_shared<CNetConnection>(std::move(socket));
    CNetMessage args;
    args.PutU32(NetProtocol::kMagic).PutText(address).PutI32(MsLeft(deadline));
    std::optional<CNetReply> reply =
        connection->Call(LinkOrdinal::kOpen, 0, args, MsLeft(deadline));
    if (!reply || reply->result == 0 || !reply->values.GetWhole())
        return 0;
    std::lock_guard lock(m_mutex);
    m_connections.emplace(++m_lastHandle, std::move(connection));
    return m_lastHandle;
}

int CNetLink::LnkClose(int handle) {
    std::shared_ptr<CNetConnection> connection;
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_connections.find(handle);
        if (found == m_connections.end())
            return RecorderStatus::kCommError;
        connection = std::move(found->second);
        m_connections.erase(found);
    }
    std::optional<CNetReply> reply =
        connection->Call(LinkOrdinal::kClose, handle, {}, NetProtocol::kCallTimeoutMs);
    return reply && reply->values.GetWhole() ? reply->result : RecorderStatus::kCommError;
}

int CNetLink::LnkGetStatus(int handle) {
    return Status(handle, LinkOrdinal::kGetStatus, {}, NetProtocol::kCallTimeoutMs);
}

int CNetLink::LnkGetStatusWait(int handle, int timeoutMs) {
    CNetMessage args;
    args.PutI32(std::max(0, timeoutMs - NetProtocol::kReplyMarginMs));
    return Status(handle, NetProtocol::kGetStatusWait, args, timeoutMs);
}

int CNetLink::LnkGetSlotList(int handle, std::vector<std::uint8_t>& slots) {
    std::vector<std::uint8_t> read;
    const int result =
        Ask(handle, LinkOrdinal::kGetSlotList, {}, NetProtocol::kCallTimeoutMs, read);
    // The caller reads one byte per slot: a list of another size is no answer.
    if (read.size() != NetProtocol::kSlotListBytes)
        return RecorderStatus::kCommError;
    slots = std::move(read);
    return result;
}

int CNetLink::LnkGetSlotInfo(int handle, int slot, const std::string& query, std::string& reply) {
    CNetMessage args;
    args.PutI32(slot).PutText(query);
    return Ask(handle, LinkOrdinal::kGetSlotInfo, args, NetProtocol::kCallTimeoutMs, reply);
}

int CNetLink::LnkGetAcqCondition(int handle, LinkAcqCondition& condition) {
    return Ask(handle, LinkOrdinal::kGetAcqCondition, {}, NetProtocol::kCallTimeoutMs, condition);
}

int CNetLink::LnkSetAcqCondition(int handle, const LinkAcqCondition& condition) {
    CNetMessage args;
    args.Put(condition);
    return Result(handle, LinkOrdinal::kSetAcqCondition, args);
}

int CNetLink::LnkGetSlotChannels(int handle, int slot, std::vector<LinkChannelRecord>& records) {
    CNetMessage args;
    args.PutI32(slot).Put(records);
    return Ask(handle, LinkOrdinal::kGetSlotChannels, args, NetProtocol::kCallTimeoutMs, records);
}

int CNetLink::LnkSetSlotChannels(int handle, int slot, int slotType, int count,
                                 std::vector<LinkChannelRecord>& records) {
    CNetMessage args;
    args.PutI32(slot).PutI32(slotType).PutI32(count).Put(records);
    return Ask(handle, LinkOrdinal::kSetSlotChannels, args, NetProtocol::kCallTimeoutMs, records);
}

int CNetLink::LnkGetSyncMode(int handle, int& value) {
    return Ask(handle, LinkOrdinal::kGetSyncMode, {}, NetProtocol::kCallTimeoutMs, value);
}

int CNetLink::LnkSetSyncMode(int handle, int value) {
    CNetMessage args;
    args.PutI32(value);
    return Result(handle, LinkOrdinal::kSetSyncMode, args);
}

int CNetLink::LnkApplyCondition(int handle) {
    return Result(handle, LinkOrdinal::kApplyCondition);
}

int CNetLink::LnkGetCardInfo(int handle, LinkCardInfo& info) {
    return Ask(handle, LinkOrdinal::kGetCardInfo, {}, NetProtocol::kCallTimeoutMs, info);
}

int CNetLink::LnkBalance(int handle, std::string& reply) {
    return Ask(handle, LinkOrdinal::kBalance, {}, NetProtocol::kLongCallTimeoutMs, reply);
}

int CNetLink::LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) {
    CNetMessage args;
    args.PutText(channels);
    return Ask(handle, LinkOrdinal::kBalanceChannels, args, NetProtocol::kLongCallTimeoutMs, reply);
}

int CNetLink::LnkGetBalanceResidual(int handle, std::string& reply) {
    return Ask(handle, LinkOrdinal::kGetBalanceResidual, {}, NetProtocol::kCallTimeoutMs, reply);
}

int CNetLink::LnkGetRTC(int handle, LinkRtc& rtc) {
    return Ask(handle, LinkOrdinal::kGetRTC, {}, NetProtocol::kCallTimeoutMs, rtc);
}

int CNetLink::LnkSetRTC(int handle, const LinkRtc& rtc) {
    CNetMessage args;
    args.Put(rtc);
    return Result(handle, LinkOrdinal::kSetRTC, args);
}

int CNetLink::LnkOpenAux(int handle, int code) {
    CNetMessage args;
    args.PutI32(code);
    return Result(handle, LinkOrdinal::kOpenAux, args);
}

int CNetLink::LnkReadAux(int handle, std::uint8_t* buffer, int size) {
    CNetMessage args;
    args.PutI32(size);
    std::vector<std::uint8_t> bytes;
    const int result = Ask(handle, LinkOrdinal::kReadAux, args, NetProtocol::kCallTimeoutMs, bytes);
    if (bytes.size() > static_cast<std::size_t>(std::max(size, 0)))
        return RecorderStatus::kCommError; // more than the buffer holds: not this call's answer
    if (!bytes.empty())
        std::memcpy(buffer, bytes.data(), bytes.size());
    return result;
}

int CNetLink::LnkCloseAux(int handle) {
    return Result(handle, LinkOrdinal::kCloseAux);
}

int CNetLink::LnkSetGPSMode(int handle, int mode) {
    CNetMessage args;
    args.PutI32(mode);
    return Result(handle, LinkOrdinal::kSetGPSMode, args);
}

int CNetLink::LnkGetGPSMode(int handle) {
    return Result(handle, LinkOrdinal::kGetGPSMode);
}

int CNetLink::LnkSetRemote(int handle, int on, int bufferBytes) {
    CNetMessage args;
    args.PutI32(on).PutI32(bufferBytes);
    return Result(handle, LinkOrdinal::kSetRemote, args);
}

int CNetLink::LnkStartArmed(int handle, int bufferBytes) {
    CNetMessage args;
    args.PutI32(bufferBytes);
    return Result(handle, LinkOrdinal::kStartArmed, args);
}

int CNetLink::LnkStartAcq(int handle, int a, int b) {
    CNetMessage args;
    args.PutI32(a).PutI32(b);
    return Result(handle, LinkOrdinal::kStartAcq, args);
}

int CNetLink::LnkStopAcq(int handle) {
    return Result(handle, LinkOrdinal::kStopAcq);
}

int CNetLink::LnkStopArmed(int handle) {
    return Result(handle, LinkOrdinal::kStopArmed);
}

int CNetLink::LnkGetDataCount(int handle) {
    const std::shared_ptr<CNetConnection> connection = Find(handle);
    return connection ? connection->DataCount() : RecorderStatus::kCommError;
}

int CNetLink::LnkReadData(int handle, void* buffer, int bytes) {
    const std::shared_ptr<CNetConnection> connection = Find(handle);
    return connection ? connection->ReadData(buffer, bytes) : RecorderStatus::kCommError;
}

int CNetLink::LnkSetCommand(int handle, const std::string& text) {
    CNetMessage args;
    args.PutText(text);
    return Result(handle, LinkOrdinal::kSetCommand, args);
}

int CNetLink::LnkQueryCommand(int handle, const std::string& text, std::string& reply) {
    CNetMessage args;
    args.PutText(text);
    return Ask(handle, LinkOrdinal::kQueryCommand, args, NetProtocol::kCallTimeoutMs, reply);
}

int CNetLink::CopyBound(int handle, const std::string& cardPath, std::uint64_t& bound) {
    std::vector<LinkCardFolder> folders;
    const int listed = LnkGetCardDir(handle, folders);
    bound = CardCopyBytes(folders, cardPath);
    return listed;
}

int CNetLink::CopyToPc(int handle, const std::string& cardPath, const std::string& pcPath) {
    const std::shared_ptr<CNetConnection> connection = Find(handle);
    if (!connection)
        return RecorderStatus::kCommError;
    std::string path = pcPath;
    std::ranges::replace(path, '\\', '/');
    const std::filesystem::path target(path);
    std::uint64_t bound = 0;
    if (const int listed = CopyBound(handle, cardPath, bound); listed != 1)
        return listed;
    // The recorder writes the file under the name asked for and its partner beside it.
    const std::string name = target.filename().string();
    std::vector<std::string> names{name};
    if (const std::string partner = PartnerName(name); !partner.empty())
        names.push_back(partner);
    auto files = std::make_shared<CNetFileSink>(target.parent_path(), std::move(names), bound);
    // The copy's own time-out follows from its bound, so no stream of pieces prolongs it.
    const auto timeoutMs = static_cast<int>(NetProtocol::kLongCallTimeoutMs +
                                            bound * 1000 / NetProtocol::kCopyBytesPerSecond);
    CNetMessage args;
    args.PutText(cardPath).PutText(name);
    std::optional<CNetReply> reply =
        connection->Call(LinkOrdinal::kCopy, handle, args, timeoutMs, files);
    if (!reply || !reply->values.GetWhole())
        return RecorderStatus::kCommError;
    if (reply->result != 1)
        return reply->result;
    return files->Commit() ? 1 : NetProtocol::kPcFileError;
}

int CNetLink::LnkCopy(int handle, const std::string& cardPath, const std::string& pcPath) {
    return CopyToPc(handle, cardPath, pcPath);
}

int CNetLink::LnkMove(int handle, const std::string& cardPath, const std::string& pcPath) {
    // The card file goes only once its copy on the PC is whole.
    const int copied = CopyToPc(handle, cardPath, pcPath);
    return copied == 1 ? LnkDelete(handle, cardPath) : copied;
}

int CNetLink::LnkDelete(int handle, const std::string& cardPath) {
    CNetMessage args;
    args.PutText(cardPath);
    return Result(handle, LinkOrdinal::kDelete, args, NetProtocol::kLongCallTimeoutMs);
}

int CNetLink::LnkFormatCard(int handle) {
    return Result(handle, LinkOrdinal::kFormatCard, {}, NetProtocol::kLongCallTimeoutMs);
}

int CNetLink::LnkGetCardDir(int handle, std::vector<LinkCardFolder>& folders) {
    return Ask(handle, LinkOrdinal::kGetCardDir, {}, NetProtocol::kLongCallTimeoutMs, folders);
}
