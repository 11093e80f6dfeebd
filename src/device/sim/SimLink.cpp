// The link library over in-process simulated recorders.
#include "device/sim/SimLink.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr std::size_t kCommandReplyBytes = 500;

void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

CSimLink::CSimLink(const IClock* clock)
    : m_ownClock(clock == nullptr ? std::make_unique<CSystemClock>() : nullptr),
      m_clock(clock == nullptr ? *m_ownClock : *clock) {}

CSimLink::~CSimLink() = default;

std::unique_ptr<CSimLink> CSimLink::FromConfig(const CSimConfig& config, const IClock* clock) {
    auto link = std::make_unique<CSimLink>(clock);
    for (const CSimRecorderConfig& recorder : config.GetRecorders()) {
        link->AddRecorder(recorder);
    }
    return link;
}

std::unique_ptr<CSimLink> CSimLink::FromConfigText(const std::string& text, std::string& error,
                                                   const IClock* clock) {
    CSimConfig config;
    error = config.Parse(text);
    return error.empty() ? FromConfig(config, clock) : nullptr;
}

std::unique_ptr<CSimLink> CSimLink::FromConfigFile(const std::string& path, std::string& error,
                                                   const IClock* clock) {
    CSimConfig config;
    error = config.Load(path);
    return error.empty() ? FromConfig(config, clock) : nullptr;
}

std::unique_ptr<CSimLink> CSimLink::FromDefaultConfig(const IClock* clock) {
    std::string error;
    return FromConfigText(CSimConfig::GetDefaultText(), error, clock);
}

CSimRecorder& CSimLink::AddRecorder(const CSimRecorderConfig& config) {
    const std::lock_guard lock(m_mutex);
    m_recorders.push_back(std::make_unique<CSimRecorder>(config, m_clock, m_bus));
    return *m_recorders.back();
}

CSimRecorder* CSimLink::FindRecorder(const std::string& address) {
    const std::lock_guard lock(m_mutex);
    for (const auto& recorder : m_recorders) {
        if (recorder->GetAddress() == address) {
            return recorder.get();
        }
    }
    return nullptr;
}

std::vector<CSimRecorder*> CSimLink::GetRecorders() {
    const std::lock_guard lock(m_mutex);
    std::vector<CSimRecorder*> recorders;
    for (const auto& recorder : m_recorders) {
        recorders.push_back(recorder.get());
    }
    return recorders;
}

bool CSimLink::FindHandle(int handle, Handle& out) {
    const std::lock_guard lock(m_mutex);
    const auto found = m_handles.find(handle);
    if (found == m_handles.end()) {
        return false;
    }
    out = found->second;
    return true;
}

void CSimLink::SetAuxCode(int handle, int code) {
    const std::lock_guard lock(m_mutex);
    const auto found = m_handles.find(handle);
    if (found != m_handles.end()) {
        found->second.auxCode = code;
    }
}

template <typename Operation>
int CSimLink::Call(int handle, int ordinal, int timeoutMs, int failure, Operation operation) {
    Handle entry;
    if (!FindHandle(handle, entry)) {
        return failure;
    }
    int delayMs = 0;
    const int injected = entry.recorder->CheckCall(entry.connection, ordinal, delayMs);
    if (injected == SimResult::kCommError) {
        return failure;
    }
    if (delayMs > 0) {
        Sleep(std::min(delayMs, std::max(timeoutMs, 0)));
        if (delayMs > timeoutMs) {
            return failure == SimResult::kCommError ? SimResult::kTimeout : failure;
        }
        if (!entry.recorder->IsConnected(entry.connection)) {
            return failure;
        }
    }
    if (injected != 0) {
        return injected;
    }
    return operation(*entry.recorder, entry);
}

int CSimLink::LnkResetWSA(int) {
    return 0;
}

int CSimLink::LnkScanDevices(std::string& list) {
    list.clear();
    int found = 0;
    for (CSimRecorder* recorder : GetRecorders()) {
        if (recorder->GetFaults().refuseConnection) {
            continue;
        }
        const std::string entry = recorder->GetName() + "," + recorder->GetAddress() + ";";
        if (list.size() + entry.size() < kScanListBytes) {
            list += entry;
            ++found;
        }
    }
    return found;
}

int CSimLink::LnkSetIPAddress(const std::string& oldAddress, const std::string& newAddress,
                              const std::string& mask, const std::string& gateway) {
    CSimRecorder* recorder = FindRecorder(oldAddress);
    if (recorder == nullptr || recorder->GetFaults().refuseConnection) {
        return SimResult::kCommError;
    }
    const bool valid = CSimConfig::IsIPv4Address(newAddress) && CSimConfig::IsIPv4Address(mask) &&
                       CSimConfig::IsIPv4Address(gateway);
    const CSimRecorder* holder = FindRecorder(newAddress);
    if (!valid || (holder != nullptr && holder != recorder)) {
        return SimResult::kBadArgument;
    }
    return recorder->SetAddress(newAddress);
}

int CSimLink::LnkOpen(const std::string& address, int timeoutMs) {
    CSimRecorder* recorder = FindRecorder(address);
    if (recorder == nullptr) {
        return 0;
    }
    const int delayMs = recorder->GetFaults().answerDelayMs;
    if (delayMs > 0) {
        Sleep(std::min(delayMs, std::max(timeoutMs, 0)));
        if (delayMs > timeoutMs) {
            return 0;
        }
    }
    const int connection = recorder->Connect();
    if (connection == 0) {
        return 0;
    }
    const std::lock_guard lock(m_mutex);
    const int handle = m_nextHandle++;
    m_handles[handle] = Handle{recorder, connection, 0};
    return handle;
}

int CSimLink::LnkClose(int handle) {
    const std::lock_guard lock(m_mutex);
    return m_handles.erase(handle) == 1 ? SimResult::kOk : SimResult::kCommError;
}

int CSimLink::LnkGetStatus(int handle) {
    return Call(handle, LinkOrdinal::kGetStatus, kCallTimeoutMs, RecorderStatus::kCommError2,
                [](CSimRecorder& recorder, const Handle&) { return recorder.GetStatus(); });
}

int CSimLink::LnkGetStatusWait(int handle, int timeoutMs) {
    return Call(handle, SimResult::kOrdinalGetStatusWait, timeoutMs, RecorderStatus::kCommError2,
                [](CSimRecorder& recorder, const Handle&) { return recorder.GetStatus(); });
}

int CSimLink::LnkGetSlotList(int handle, std::vector<std::uint8_t>& slots) {
    return Call(handle, LinkOrdinal::kGetSlotList, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) { return recorder.GetSlotList(slots); });
}

int CSimLink::LnkGetSlotInfo(int handle, int slot, const std::string& query, std::string& reply) {
    return Call(handle, LinkOrdinal::kGetSlotInfo, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) {
                    return recorder.GetSlotInfo(slot, query, reply);
                });
}

int CSimLink::LnkGetAcqCondition(int handle, LinkAcqCondition& condition) {
    return Call(
        handle, LinkOrdinal::kGetAcqCondition, kCallTimeoutMs, SimResult::kCommError,
        [&](CSimRecorder& recorder, const Handle&) { return recorder.GetAcqCondition(condition); });
}

int CSimLink::LnkSetAcqCondition(int handle, const LinkAcqCondition& condition) {
    return Call(
        handle, LinkOrdinal::kSetAcqCondition, kCallTimeoutMs, SimResult::kCommError,
        [&](CSimRecorder& recorder, const Handle&) { return recorder.SetAcqCondition(condition); });
}

int CSimLink::LnkGetSlotChannels(int handle, int slot, std::vector<LinkChannelRecord>& records) {
    return Call(handle, LinkOrdinal::kGetSlotChannels, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) {
                    return recorder.GetSlotChannels(slot, records);
                });
}

int CSimLink::LnkSetSlotChannels(int handle, int slot, int slotType, int count,
                                 std::vector<LinkChannelRecord>& records) {
    return Call(handle, LinkOrdinal::kSetSlotChannels, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) {
                    return recorder.SetSlotChannels(slot, slotType, count, records);
                });
}

int CSimLink::LnkGetSyncMode(int handle, int& value) {
    return Call(handle, LinkOrdinal::kGetSyncMode, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) { return recorder.GetSyncMode(value); });
}

int CSimLink::LnkSetSyncMode(int handle, int value) {
    return Call(handle, LinkOrdinal::kSetSyncMode, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) { return recorder.SetSyncMode(value); });
}

int CSimLink::LnkApplyCondition(int handle) {
    return Call(handle, LinkOrdinal::kApplyCondition, kCallTimeoutMs, SimResult::kCommError,
                [](CSimRecorder& recorder, const Handle&) { return recorder.ApplyCondition(); });
}

int CSimLink::LnkGetCardInfo(int handle, LinkCardInfo& info) {
    return Call(handle, LinkOrdinal::kGetCardInfo, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) { return recorder.GetCardInfo(info); });
}

int CSimLink::LnkBalance(int handle, std::string& reply) {
    return Call(handle, LinkOrdinal::kBalance, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) { return recorder.Balance("", reply); });
}

int CSimLink::LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) {
    // An empty list would balance every channel; the caller asked for some.
    if (channels.empty()) {
        return SimResult::kBadArgument;
    }
    return Call(
        handle, LinkOrdinal::kBalanceChannels, kCallTimeoutMs, SimResult::kCommError,
        [&](CSimRecorder& recorder, const Handle&) { return recorder.Balance(channels, reply); });
}

int CSimLink::LnkGetBalanceResidual(int handle, std::string& reply) {
    return Call(
        handle, LinkOrdinal::kGetBalanceResidual, kCallTimeoutMs, SimResult::kCommError,
        [&](CSimRecorder& recorder, const Handle&) { return recorder.GetBalanceResidual(reply); });
}

int CSimLink::LnkGetRTC(int handle, LinkRtc& rtc) {
    return Call(handle, LinkOrdinal::kGetRTC, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) { return recorder.GetRTC(rtc); });
}

int CSimLink::LnkSetRTC(int handle, const LinkRtc& rtc) {
    return Call(handle, LinkOrdinal::kSetRTC, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) { return recorder.SetRTC(rtc); });
}

int CSimLink::LnkOpenAux(int handle, int code) {
    const int result = Call(
        handle, LinkOrdinal::kOpenAux, kCallTimeoutMs, 0, [code](CSimRecorder&, const Handle&) {
            const bool known = code == LinkCode::kAuxGps || code == LinkCode::kAuxAcqStream;
            return known ? SimResult::kOk : 0;
        });
    if (result == SimResult::kOk) {
        SetAuxCode(handle, code);
    }
    return result;
}

int CSimLink::LnkReadAux(int handle, std::uint8_t*, int size) {
    return Call(handle, LinkOrdinal::kReadAux, kCallTimeoutMs, SimResult::kCommError,
                [size](CSimRecorder&, const Handle& entry) {
                    const bool open = entry.auxCode == LinkCode::kAuxAcqStream && size > 0;
                    return open ? SimResult::kOk : SimResult::kWrongState;
                });
}

int CSimLink::LnkCloseAux(int handle) {
    const int result = Call(handle, LinkOrdinal::kCloseAux, kCallTimeoutMs, SimResult::kCommError,
                            [](CSimRecorder&, const Handle& entry) {
                                return entry.auxCode != 0 ? SimResult::kOk : SimResult::kWrongState;
                            });
    if (result == SimResult::kOk) {
        SetAuxCode(handle, 0);
    }
    return result;
}

int CSimLink::LnkSetGPSMode(int handle, int mode) {
    return Call(handle, LinkOrdinal::kSetGPSMode, kCallTimeoutMs, SimResult::kCommError,
                [mode](CSimRecorder& recorder, const Handle& entry) {
                    return entry.auxCode == LinkCode::kAuxGps ? recorder.SetGPSMode(mode)
                                                              : SimResult::kWrongState;
                });
}

int CSimLink::LnkGetGPSMode(int handle) {
    return Call(handle, LinkOrdinal::kGetGPSMode, kCallTimeoutMs, SimResult::kCommError,
                [](CSimRecorder& recorder, const Handle& entry) {
                    return entry.auxCode == LinkCode::kAuxGps ? recorder.GetGPSMode()
                                                              : SimResult::kWrongState;
                });
}

int CSimLink::LnkSetRemote(int handle, int on, int bufferBytes) {
    return Call(
        handle, LinkOrdinal::kSetRemote, kCallTimeoutMs, SimResult::kCommError,
        [=](CSimRecorder& recorder, const Handle&) { return recorder.SetRemote(on, bufferBytes); });
}

int CSimLink::LnkStartArmed(int handle, int bufferBytes) {
    return Call(
        handle, LinkOrdinal::kStartArmed, kCallTimeoutMs, SimResult::kCommError,
        [=](CSimRecorder& recorder, const Handle&) { return recorder.StartArmed(bufferBytes); });
}

int CSimLink::LnkStartAcq(int handle, int, int) {
    return Call(handle, LinkOrdinal::kStartAcq, kCallTimeoutMs, SimResult::kCommError,
                [](CSimRecorder& recorder, const Handle&) { return recorder.StartAcq(); });
}

int CSimLink::LnkStopAcq(int handle) {
    return Call(handle, LinkOrdinal::kStopAcq, kCallTimeoutMs, SimResult::kCommError,
                [](CSimRecorder& recorder, const Handle&) { return recorder.StopAcq(); });
}

int CSimLink::LnkStopArmed(int handle) {
    return Call(handle, LinkOrdinal::kStopArmed, kCallTimeoutMs, SimResult::kCommError,
                [](CSimRecorder& recorder, const Handle&) { return recorder.StopArmed(); });
}

int CSimLink::LnkGetDataCount(int handle) {
    return Call(handle, LinkOrdinal::kGetDataCount, kCallTimeoutMs, SimResult::kCommError,
                [](CSimRecorder& recorder, const Handle&) { return recorder.GetDataCount(); });
}

int CSimLink::LnkReadData(int handle, void* buffer, int bytes) {
    return Call(
        handle, LinkOrdinal::kReadData, kCallTimeoutMs, SimResult::kCommError,
        [=](CSimRecorder& recorder, const Handle&) { return recorder.ReadData(buffer, bytes); });
}

int CSimLink::LnkSetCommand(int handle, const std::string& text) {
    return Call(handle, LinkOrdinal::kSetCommand, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) {
                    std::string reply;
                    const int result = recorder.Command(text, reply);
                    const bool nak =
                        reply.size() == 1 && reply[0] == static_cast<char>(LinkCode::kNak);
                    return result == SimResult::kOk && nak ? LinkCode::kNak : result;
                });
}

int CSimLink::LnkQueryCommand(int handle, const std::string& text, std::string& reply) {
    return Call(handle, LinkOrdinal::kQueryCommand, kCallTimeoutMs, SimResult::kCommError,
                [&](CSimRecorder& recorder, const Handle&) {
                    const int result = recorder.Command(text, reply);
                    if (reply.size() > kCommandReplyBytes) {
                        reply.resize(kCommandReplyBytes);
                    }
                    return result;
                });
}

int CSimLink::LnkCopy(int handle, const std::string& cardPath, const std::string& pcPath) {
    return Call(
        handle, LinkOrdinal::kCopy, kCallTimeoutMs, SimResult::kCommError,
        [&](CSimRecorder& recorder, const Handle&) { return recorder.CardCopy(cardPath, pcPath); });
}

int CSimLink::LnkMove(int handle, const std::string& cardPath, const std::string& pcPath) {
    return Call(
        handle, LinkOrdinal::kMove, kCallTimeoutMs, SimResult::kCommError,
        [&](CSimRecorder& recorder, const Handle&) { return recorder.CardMove(cardPath, pcPath); });
}

int CSimLink::LnkDelete(int handle, const std::string& cardPath) {
    return Call(
        handle, LinkOrdinal::kDelete, kCallTimeoutMs, SimResult::kCommError,
        [&](CSimRecorder& recorder, const Handle&) { return recorder.CardDelete(cardPath); });
}

int CSimLink::LnkFormatCard(int handle) {
    return Call(handle, LinkOrdinal::kFormatCard, kCallTimeoutMs, SimResult::kCommError,
                [](CSimRecorder& recorder, const Handle&) { return recorder.FormatCard(); });
}

int CSimLink::LnkGetCardDir(int handle, std::vector<LinkCardFolder>& folders) {
    return Call(
        handle, LinkOrdinal::kGetCardDir, kCallTimeoutMs, SimResult::kCommError,
        [&](CSimRecorder& recorder, const Handle&) { return recorder.GetCardDir(folders); });
}
