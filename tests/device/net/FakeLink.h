// A link library that logs every call with its arguments and answers with fixed out-values and a
// result of its own per operation, so a test sees that each argument and value crossed the
// network unchanged.
#pragma once

#include "framework/LinkLibrary.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class CFakeLink : public ILinkLibrary {
public:
    static constexpr int kHandle = 77;

    std::vector<std::string> TakeCalls();
    // What a card copy writes as the data file beside the one asked for.
    static std::vector<std::uint8_t> CardData();
    // Samples the recorder has for the program.
    void AddSamples(const std::vector<std::uint8_t>& bytes);
    std::atomic<int> dataError = 0;     // answered by the data queries while not 0
    std::atomic<int> statusDelayMs = 0; // the status wait answers this late
    std::atomic<bool> lost = false;     // the recorder dropped the connection
    std::atomic<int> moreCardFiles = 0; // files of long names the card directory lists besides

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
    // The root with a condition file and a file beyond 4 GB; "\DATA\" with the records RUN1 to
    // RUN5, whose listed sizes are those the copy writes, but for RUN5.DAT (less).
    int LnkGetCardDir(int handle, std::vector<LinkCardFolder>& folders) override;

private:
    // Logs "name handle arguments" and gives `result`.
    int Log(const std::string& call, int result);

    std::mutex m_mutex;
    std::vector<std::string> m_calls;    // guarded by m_mutex
    std::vector<std::uint8_t> m_samples; // guarded by m_mutex
    std::size_t m_samplesRead = 0;       // guarded by m_mutex
};
