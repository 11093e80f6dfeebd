// A link for tests that passes every call to another link, records the ordinals and text
// commands it carries, and lets a test answer chosen text commands itself.
#pragma once

#include "framework/LinkLibrary.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CTapLink : public ILinkLibrary {
public:
    // Answers a command instead of the inner link (result, and reply for queries), or none.
    using CommandHook =
        std::function<std::optional<int>(const std::string& text, std::string& reply)>;

    explicit CTapLink(ILinkLibrary& inner) : m_inner(inner) {}

    bool Called(int ordinal) const;
    void ClearRecord() {
        m_ordinals.clear();
        m_commands.clear();
    }

    std::vector<int> m_ordinals;
    std::vector<std::string> m_commands;
    CommandHook m_hook;
    // When set, the balance operations answer this reply with success instead of the inner link.
    std::optional<std::string> m_balanceReply;

    int LnkResetWSA(int timeoutMs) override;
    int LnkScanDevices(std::string& list) override;
    int LnkSetIPAddress(const std::string& oldAddress, const std::string& newAddress,
                        const std::string& mask, const std::string& gateway) override;
    int LnkOpen(const std::string& address, int timeoutMs) override;
    int LnkClose(int handle) override;
    int LnkGetStatus(int handle) override;
    int LnkGetStatusWait(int handle, int timeoutMs) override;
    int LnkGetSlotList(int handle, std::vector<std::uint8_t>& slots) override;
    int LnkGetSlotInfo(int handle, int slot, const std::string& query, std::string& reply) override;
    int LnkGetAcqCondition(int handle, LinkAcqCondition& condition) override;
    int LnkSetAcqCondition(int handle, const LinkAcqCondition& condition) override;
    int LnkGetSlotChannels(int handle, int slot, std::vector<LinkChannelRecord>& records) override;
    int LnkSetSlotChannels(int handle, int slot, int slotType, int count,
                           std::vector<LinkChannelRecord>& records) override;
    int LnkGetSyncMode(int handle, int& value) override;
    int LnkSetSyncMode(int handle, int value) override;
    int LnkApplyCondition(int handle) override;
    int LnkGetCardInfo(int handle, LinkCardInfo& info) override;
    int LnkBalance(int handle, std::string& reply) override;
    int LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) override;
    int LnkGetBalanceResidual(int handle, std::string& reply) override;
    int LnkGetRTC(int handle, LinkRtc& rtc) override;
    int LnkSetRTC(int handle, const LinkRtc& rtc) override;
    int LnkOpenAux(int handle, int code) override;
    int LnkReadAux(int handle, std::uint8_t* buffer, int size) override;
    int LnkCloseAux(int handle) override;
    int LnkSetGPSMode(int handle, int mode) override;
    int LnkGetGPSMode(int handle) override;
    int LnkSetRemote(int handle, int on, int bufferBytes) override;
    int LnkStartArmed(int handle, int bufferBytes) override;
    int LnkStartAcq(int handle, int a, int b) override;
    int LnkStopAcq(int handle) override;
    int LnkStopArmed(int handle) override;
    int LnkGetDataCount(int handle) override;
    int LnkReadData(int handle, void* buffer, int bytes) override;
    int LnkSetCommand(int handle, const std::string& text) override;
    int LnkQueryCommand(int handle, const std::string& text, std::string& reply) override;
    int LnkCopy(int handle, const std::string& cardPath, const std::string& pcPath) override;
    int LnkMove(int handle, const std::string& cardPath, const std::string& pcPath) override;
    int LnkDelete(int handle, const std::string& cardPath) override;
    int LnkFormatCard(int handle) override;

private:
    void Note(int ordinal) { m_ordinals.push_back(ordinal); }
    bool AnswerBalance(std::string& reply) const {
        if (m_balanceReply)
            reply = *m_balanceReply;
        return m_balanceReply.has_value();
    }

    ILinkLibrary& m_inner;
};
