// The link library over simulated recorders in this process: for tests, for the demo mode of
// the program and behind the recorder server. Thread-safe: the UI thread and the data thread
// call it at once.
#pragma once

#include "device/sim/SimConfig.h"
#include "device/sim/SimRecorder.h"
#include "device/sim/SimSyncBus.h"
#include "framework/Clock.h"
#include "framework/LinkLibrary.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Results beyond ILinkLibrary's own rules:
// - a call on a refused, dropped or unknown handle fails at once with -1; the status queries
//   answer -10 then, the code on which the program starts its reconnection;
// - an answer later than the call's time-out fails with -2 after the time-out (status queries:
//   -10); LnkOpen and LnkGetStatusWait use their own time-out, the others kCallTimeoutMs;
// - LnkSetCommand answers 1 when the module acknowledged, LinkCode::kNak (21) when it refused;
//   LnkQueryCommand answers 1 and puts a query's text, or an acknowledge command's single byte
//   (kAck or kNak), into the reply.
class CSimLink : public ILinkLibrary {
public:
    // Without a clock the system clock is used. The clock must outlive the link.
    explicit CSimLink(const IClock* clock = nullptr);
    ~CSimLink() override;

    static std::unique_ptr<CSimLink> FromConfig(const CSimConfig& config,
                                                const IClock* clock = nullptr);
    // None on failure, with the reason in `error`.
    static std::unique_ptr<CSimLink> FromConfigText(const std::string& text, std::string& error,
                                                    const IClock* clock = nullptr);
    static std::unique_ptr<CSimLink> FromConfigFile(const std::string& path, std::string& error,
                                                    const IClock* clock = nullptr);
    // The configuration compiled into the program.
    static std::unique_ptr<CSimLink> FromDefaultConfig(const IClock* clock = nullptr);

    CSimRecorder& AddRecorder(const CSimRecorderConfig& config);
    // For tests: the recorder at an address, or none.
    CSimRecorder* FindRecorder(const std::string& address);
    std::vector<CSimRecorder*> GetRecorders();

    static constexpr int kCallTimeoutMs = 5000;
    static constexpr int kScanListBytes = 1024;

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
    struct Handle {
        CSimRecorder* recorder = nullptr;
        int connection = 0;
        int auxCode = 0; // 0 = auxiliary channel closed
    };

    // Runs `operation` on the handle's recorder after its faults and delay; `failure` is what a
    // dead handle or a late answer gives.
    template <typename Operation>
    int Call(int handle, int ordinal, int timeoutMs, int failure, Operation operation);
    bool FindHandle(int handle, Handle& out);
    void SetAuxCode(int handle, int code);

    std::unique_ptr<IClock> m_ownClock;
    const IClock& m_clock;
    CSimSyncBus m_bus;
    std::mutex m_mutex;
    // guarded by m_mutex:
    std::vector<std::unique_ptr<CSimRecorder>> m_recorders;
    std::map<int, Handle> m_handles;
    int m_nextHandle = 1;
};
