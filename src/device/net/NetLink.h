// The link library over TCP: every operation is a request to the recorder's server, one
// connection per handle; samples arrive without being asked for.
#pragma once

#include "device/net/NetConnection.h"
#include "device/net/NetProtocol.h"
#include "framework/LinkLibrary.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class CNetLink : public ILinkLibrary {
public:
    // Every recorder listens on the same port; tests give another one.
    explicit CNetLink(std::uint16_t port = NetProtocol::kPort);
    ~CNetLink() override;

    // The addresses the scan asks, by default 127.0.0.1 to 127.0.0.8.
    static std::vector<std::string> DefaultScanList();
    // A recorder's answer to the scan is one entry "name,address;" naming the address it was
    // asked on; a name holding a blank, a control character or "_" (the separator of the
    // connection text) could smuggle in another address, so such an entry is no answer.
    static bool IsScanEntry(const std::string& entry, const std::string& address);
    void SetScanList(std::vector<std::string> addresses);

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
    int LnkGetCardDir(int handle, std::vector<LinkCardFolder>& folders) override;

private:
    std::shared_ptr<CNetConnection> Find(int handle) const;
    // No reply when the handle is unknown or failed, or the time-out passed.
    std::optional<CNetReply> Call(int handle, int ordinal, const CNetMessage& args,
                                  int timeoutMs = NetProtocol::kCallTimeoutMs);
    // The recorder's result, with the out-values read into `out`; kCommError without a reply
    // or when the reply's out-values are not exactly those of the operation.
    template <typename... Out>
    int Ask(int handle, int ordinal, const CNetMessage& args, int timeoutMs, Out&... out);
    int Result(int handle, int ordinal, const CNetMessage& args = {},
               int timeoutMs = NetProtocol::kCallTimeoutMs);
    // A status query: a lost connection is the -10 that makes the program reconnect.
    int Status(int handle, int ordinal, const CNetMessage& args, int timeoutMs);
    // A request on a connection of its own to a recorder that is not open.
    std::optional<CNetReply> AskOnce(const std::string& address, int ordinal,
                                     const CNetMessage& args, int timeoutMs) const;
    // Writes the card file (and its partner) the recorder sends beside `pcPath`, no more than
    // the card's directory lists for them.
    int CopyToPc(int handle, const std::string& cardPath, const std::string& pcPath);
    // The most a copy of `cardPath` may bring into `bound`: the sizes the card's directory lists
    // for the file and its partner. The directory's result: a copy goes ahead only on 1.
    int CopyBound(int handle, const std::string& cardPath, std::uint64_t& bound);
    // The recorder's "name,address;" entry, empty when none answers.
    std::string Identify(const std::string& address) const;

    const std::uint16_t m_port;
    mutable std::mutex m_mutex;
    std::map<int, std::shared_ptr<CNetConnection>> m_connections; // guarded by m_mutex
    int m_lastHandle = 0;                                         // guarded by m_mutex
    std::vector<std::string> m_scanList;                          // guarded by m_mutex
};
