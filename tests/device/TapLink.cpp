#include "TapLink.h"

#include <algorithm>

using namespace LinkOrdinal;

bool CTapLink::Called(int ordinal) const {
    return std::find(m_ordinals.begin(), m_ordinals.end(), ordinal) != m_ordinals.end();
}

int CTapLink::LnkResetWSA(int timeoutMs) {
    Note(kResetWSA);
    return m_inner.LnkResetWSA(timeoutMs);
}
int CTapLink::LnkScanDevices(std::string& list) {
    Note(kScanDevices);
    return m_inner.LnkScanDevices(list);
}
int CTapLink::LnkSetIPAddress(const std::string& oldAddress, const std::string& newAddress,
                              const std::string& mask, const std::string& gateway) {
    Note(kSetIPAddress);
    return m_inner.LnkSetIPAddress(oldAddress, newAddress, mask, gateway);
}
int CTapLink::LnkOpen(const std::string& address, int timeoutMs) {
    Note(kOpen);
    return m_inner.LnkOpen(address, timeoutMs);
}
int CTapLink::LnkClose(int handle) {
    Note(kClose);
    return m_inner.LnkClose(handle);
}
int CTapLink::LnkGetStatus(int handle) {
    Note(kGetStatus);
    return m_inner.LnkGetStatus(handle);
}
int CTapLink::LnkGetStatusWait(int handle, int timeoutMs) {
    Note(kGetStatus);
    return m_inner.LnkGetStatusWait(handle, timeoutMs);
}
int CTapLink::LnkGetSlotList(int handle, std::vector<std::uint8_t>& slots) {
    Note(kGetSlotList);
    return m_inner.LnkGetSlotList(handle, slots);
}
int CTapLink::LnkGetSlotInfo(int handle, int slot, const std::string& query, std::string& reply) {
    Note(kGetSlotInfo);
    return m_inner.LnkGetSlotInfo(handle, slot, query, reply);
}
int CTapLink::LnkGetAcqCondition(int handle, LinkAcqCondition& condition) {
    Note(kGetAcqCondition);
    return m_inner.LnkGetAcqCondition(handle, condition);
}
int CTapLink::LnkSetAcqCondition(int handle, const LinkAcqCondition& condition) {
    Note(kSetAcqCondition);
    return m_inner.LnkSetAcqCondition(handle, condition);
}
int CTapLink::LnkGetSlotChannels(int handle, int slot, std::vector<LinkChannelRecord>& records) {
    Note(kGetSlotChannels);
    return m_inner.LnkGetSlotChannels(handle, slot, records);
}
int CTapLink::LnkSetSlotChannels(int handle, int slot, int slotType, int count,
                                 std::vector<LinkChannelRecord>& records) {
    Note(kSetSlotChannels);
    return m_inner.LnkSetSlotChannels(handle, slot, slotType, count, records);
}
int CTapLink::LnkGetSyncMode(int handle, int& value) {
    Note(kGetSyncMode);
    return m_inner.LnkGetSyncMode(handle, value);
}
int CTapLink::LnkSetSyncMode(int handle, int value) {
    Note(kSetSyncMode);
    return m_inner.LnkSetSyncMode(handle, value);
}
int CTapLink::LnkApplyCondition(int handle) {
    Note(kApplyCondition);
    return m_inner.LnkApplyCondition(handle);
}
int CTapLink::LnkGetCardInfo(int handle, LinkCardInfo& info) {
    Note(kGetCardInfo);
    return m_inner.LnkGetCardInfo(handle, info);
}
int CTapLink::LnkBalance(int handle, std::string& reply) {
    Note(kBalance);
    if (AnswerBalance(reply))
        return 1;
    return m_inner.LnkBalance(handle, reply);
}
int CTapLink::LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) {
    Note(kBalanceChannels);
    if (AnswerBalance(reply))
        return 1;
    return m_inner.LnkBalanceChannels(handle, channels, reply);
}
int CTapLink::LnkGetBalanceResidual(int handle, std::string& reply) {
    Note(kGetBalanceResidual);
    if (AnswerBalance(reply))
        return 1;
    return m_inner.LnkGetBalanceResidual(handle, reply);
}
int CTapLink::LnkGetRTC(int handle, LinkRtc& rtc) {
    Note(kGetRTC);
    return m_inner.LnkGetRTC(handle, rtc);
}
int CTapLink::LnkSetRTC(int handle, const LinkRtc& rtc) {
    Note(kSetRTC);
    return m_inner.LnkSetRTC(handle, rtc);
}
int CTapLink::LnkOpenAux(int handle, int code) {
    Note(kOpenAux);
    return m_inner.LnkOpenAux(handle, code);
}
int CTapLink::LnkReadAux(int handle, std::uint8_t* buffer, int size) {
    Note(kReadAux);
    return m_inner.LnkReadAux(handle, buffer, size);
}
int CTapLink::LnkCloseAux(int handle) {
    Note(kCloseAux);
    return m_inner.LnkCloseAux(handle);
}
int CTapLink::LnkSetGPSMode(int handle, int mode) {
    Note(kSetGPSMode);
    return m_inner.LnkSetGPSMode(handle, mode);
}
int CTapLink::LnkGetGPSMode(int handle) {
    Note(kGetGPSMode);
    return m_inner.LnkGetGPSMode(handle);
}
int CTapLink::LnkSetRemote(int handle, int on, int bufferBytes) {
    Note(kSetRemote);
    return m_inner.LnkSetRemote(handle, on, bufferBytes);
}
int CTapLink::LnkStartArmed(int handle, int bufferBytes) {
    Note(kStartArmed);
    return m_inner.LnkStartArmed(handle, bufferBytes);
}
int CTapLink::LnkStartAcq(int handle, int a, int b) {
    Note(kStartAcq);
    return m_inner.LnkStartAcq(handle, a, b);
}
int CTapLink::LnkStopAcq(int handle) {
    Note(kStopAcq);
    return m_inner.LnkStopAcq(handle);
}
int CTapLink::LnkStopArmed(int handle) {
    Note(kStopArmed);
    return m_inner.LnkStopArmed(handle);
}
int CTapLink::LnkGetDataCount(int handle) {
    Note(kGetDataCount);
    return m_inner.LnkGetDataCount(handle);
}
int CTapLink::LnkReadData(int handle, void* buffer, int bytes) {
    Note(kReadData);
    return m_inner.LnkReadData(handle, buffer, bytes);
}
int CTapLink::LnkSetCommand(int handle, const std::string& text) {
    Note(kSetCommand);
    m_commands.push_back(text);
    std::string reply;
    if (m_hook) {
        if (const std::optional<int> result = m_hook(text, reply))
            return *result;
    }
    return m_inner.LnkSetCommand(handle, text);
}
int CTapLink::LnkQueryCommand(int handle, const std::string& text, std::string& reply) {
    Note(kQueryCommand);
    m_commands.push_back(text);
    if (m_hook) {
        if (const std::optional<int> result = m_hook(text, reply))
            return *result;
    }
    return m_inner.LnkQueryCommand(handle, text, reply);
}
int CTapLink::LnkCopy(int handle, const std::string& cardPath, const std::string& pcPath) {
    Note(kCopy);
    return m_inner.LnkCopy(handle, cardPath, pcPath);
}
int CTapLink::LnkMove(int handle, const std::string& cardPath, const std::string& pcPath) {
    Note(kMove);
    return m_inner.LnkMove(handle, cardPath, pcPath);
}
int CTapLink::LnkDelete(int handle, const std::string& cardPath) {
    Note(kDelete);
    return m_inner.LnkDelete(handle, cardPath);
}
int CTapLink::LnkFormatCard(int handle) {
    Note(kFormatCard);
    return m_inner.LnkFormatCard(handle);
}
