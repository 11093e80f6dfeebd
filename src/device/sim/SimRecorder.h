// One simulated recorder (a ZT300 or a ZT500): modules, condition, status machine, sample
// frames in real time of an injected clock, balance, clock, memory card, CAN modules and the
// faults a test sets. Every public operation is thread-safe.
#pragma once

#include "device/sim/SimCanModule.h"
#include "device/sim/SimCard.h"
#include "device/sim/SimConfig.h"
#include "device/sim/SimFaults.h"
#include "device/sim/SimSyncBus.h"
#include "framework/Clock.h"
#include "framework/LinkLibrary.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Result codes of the simulated link besides 1 (success).
namespace SimResult {
inline constexpr int kOk = 1;
inline constexpr int kCommError = -1;  // connection refused, dropped or unknown handle
inline constexpr int kTimeout = -2;    // the answer did not come within the time-out
inline constexpr int kWrongState = -3; // not allowed in the recorder's present status
inline constexpr int kBadArgument = -4;
inline constexpr int kNoCard = -5;
inline constexpr int kCardFileError = -6; // card file missing, or the PC file cannot be written
inline constexpr int kBusy = -100;
// The operation number of LnkGetStatusWait, for faults on it.
inline constexpr int kOrdinalGetStatusWait = 59;
} // namespace SimResult

// One enabled channel's place in the sample frame.
struct SimFrameChannel {
    int slot = 0;    // 1..8
    int channel = 0; // 0-based
    int dataType = 0;
    int wordOffset = 0;
};

// Sampling: StartArmed fixes the frame (enabled channels in slot and channel order, the
// words of CSimSignal::Words each) and the buffer (its size in bytes, whole frames). Frame k
// is ready once its sample period is over, at start + (k + 1) / rate; a MASTER or SINGLE
// recorder starts at its own StartArmed, a SLAVE at the first start of a MASTER of the same
// link after its own StartArmed, on the master's rate and clock, and stops getting frames
// when that master stops. Frames are made on demand from the clock, so a test clock decides
// how many there are. Card recording (ACQ) writes the frames from StartAcq to StopAcq (or
// StopArmed) as a record "\DATA\<base name><nnnn>.DAT" with its ".HDR" on the card.
class CSimRecorder {
public:
    CSimRecorder(const CSimRecorderConfig& config, const IClock& clock, CSimSyncBus& bus);

    std::string GetName() const;
    std::string GetAddress() const;
    int GetSignalSeed() const { return m_seed; }

    // --- connections (the link keeps the handles) ---
    // A connection number > 0, or 0 when the recorder refuses.
    int Connect();
    bool IsConnected(int connection);
    // The result code a call must answer instead of running (0 = run it) and the delay before
    // its answer; also where "drop after N seconds ARMED" happens.
    int CheckCall(int connection, int ordinal, int& delayMs);

    // --- operations, results as the link's ---
    int GetStatus();
    int GetSlotList(std::vector<std::uint8_t>& slots);
    int GetSlotInfo(int slot, const std::string& query, std::string& reply);
    int GetAcqCondition(LinkAcqCondition& condition);
    int SetAcqCondition(const LinkAcqCondition& condition);
    int GetSlotChannels(int slot, std::vector<LinkChannelRecord>& records);
    int SetSlotChannels(int slot, int slotType, int count, std::vector<LinkChannelRecord>& records);
    int GetSyncMode(int& value);
    int SetSyncMode(int value);
    int ApplyCondition();
    int GetCardInfo(LinkCardInfo& info);
    // Empty `channels` balances every balanced channel ("1-1,2-3" names some).
    int Balance(const std::string& channels, std::string& reply);
    int GetBalanceResidual(std::string& reply);
    int GetRTC(LinkRtc& rtc);
    int SetRTC(const LinkRtc& rtc);
    int SetGPSMode(int mode);
    int GetGPSMode();
    int SetRemote(int on, int bufferBytes);
    int StartArmed(int bufferBytes);
    int StartAcq();
    int StopAcq();
    int StopArmed();
    int GetDataCount();
    int ReadData(void* buffer, int bytes);
    // `reply` gets the module's acknowledge byte, or the text of a query.
    int Command(const std::string& text, std::string& reply);
    int CardCopy(const std::string& cardPath, const std::string& pcPath);
    int CardMove(const std::string& cardPath, const std::string& pcPath);
    int CardDelete(const std::string& cardPath);
    int FormatCard();
    int GetCardDir(std::vector<LinkCardFolder>& folders);
    int SetAddress(const std::string& address);

    // --- known inputs (tests, the demo window and the "SIMIN" text command) ---
    // Feeds a channel (0-based) a known input in place of its signal; none gives the signal
    // back. False when the recorder has no such channel.
    bool SetInput(int slot, int channel, const std::optional<CSimInput>& input);
    std::optional<CSimInput> GetInput(int slot, int channel) const;
    // The channel count of every slot that holds a module, by slot number.
    std::map<int, int> GetChannelCounts() const;

    // --- for tests ---
    void SetFaults(const CSimFaults& faults);
    CSimFaults GetFaults() const;
    void SetRefuseConnection(bool on);
    void DropConnections(); // every open connection fails from now on; the recorder goes IDLE
    void SetDropAfterArmedSeconds(int seconds);
    void SetOperationError(int ordinal, int code); // code 0 clears
    void SetBusy(bool on);
    void AddNakCommand(const std::string& prefix);
    void SetAnswerDelay(int ms);
    void ClearFaults();
    void SetBalanceTime(int ms);
    void SetCardOpTime(int ms);

    // The frame layout fixed at the last start of ARMED.
    std::vector<SimFrameChannel> GetFrameLayout() const;
    int GetFrameWords() const;
    // Frames produced since the start of sampling (read or not), up to the clock's now.
    std::int64_t GetProducedFrames();
    bool HasOverflowed();
    CSimCard& GetCard() { return m_card; }
    // The CAN module of a slot, or none. Not synchronised: for tests between operations.
    CSimCanModule* GetCanModule(int slot);

    // A frame that arrives while the buffer already holds its capacity of unread frames stops
    // the sampling: every frame buffered stays readable (so rows of several recorders stay
    // aligned up to there) and the status is -99 until ARMED is stopped.
    static constexpr int kStatusOverflow = RecorderStatus::kRecorderError;

private:
    struct Slot {
        CSimSlotConfig config;
        std::vector<LinkChannelRecord> records;
        std::unique_ptr<CSimCanModule> can;
        std::vector<bool> balanced;
        std::map<int, CSimInput> inputs; // by 0-based channel
    };
    // The known input of a frame channel, with the full scale of its range.
    struct FrameInput {
        std::optional<CSimInput> input;
        double rangeValue = 0.0;
    };

    bool IsIdle() const { return m_status == RecorderStatus::kIdle; }
    int CheckIdle() const;
    Slot* FindSlot(int slot);
    bool IsBalanced(const Slot& slot, int channel) const;
    void BuildFrameLayout();
    // The inputs of the frame channels, again after an input changed.
    void RefreshFrameInputs();
    int InputCommand(int slot, const std::string& argument);
    int StartSampling(int bufferBytes, bool remote);
    void StopSampling();
    // Brings the produced frame count up to the clock's now.
    void Produce();
    std::int64_t ClockFrames(std::uint64_t now) const;
    void FillWords(std::int64_t firstWord, std::uint16_t* out, std::int64_t count) const;
    void FillFrame(std::int64_t frame, std::uint16_t* out) const;
    static constexpr std::int64_t kMaxCardRecordWords = 8 * 1024 * 1024;
    // False when the card could not take the record (it is full, or the folder fails).
    bool WriteCardRecord();
    LinkRtc ReadClock() const;
    // Shows `state` for `durationMs` (other callers meanwhile see it and are refused as busy).
    void RunTimed(int state, int durationMs, std::unique_lock<std::mutex>& lock);
    template <typename Operation> int RunCardOperation(Operation operation);
    void DropLocked();

    const IClock& m_clock;
    CSimSyncBus& m_bus;
    const int m_seed;
    mutable std::mutex m_mutex;
    // guarded by m_mutex:
    std::string m_name;
    std::string m_address;
    LinkAcqCondition m_condition;
    int m_syncMode = 10;
    bool m_gpsOn = false;
    std::map<int, Slot> m_slots;
    CSimFaults m_faults;
    int m_balanceMs = 0;
    int m_cardOpMs = 0;
    int m_firstLiveConnection = 1; // connections below it were dropped
    int m_nextConnection = 1;
    std::int64_t m_rtcOffsetSeconds = 0;
    int m_status = RecorderStatus::kIdle;
    bool m_remote = false;
    // Sampling: frames are produced lazily from the clock.
    std::vector<SimFrameChannel> m_layout;
    int m_frameWords = 0;
    std::int64_t m_capacityFrames = 0;
    bool m_sampling = false;       // the sample clock runs (or, for a slave, is awaited)
    std::uint64_t m_armedTick = 0; // when ARMED began, for "drop after"
    std::uint64_t m_startTick = 0; // when sample 0 began
    double m_rateHz = 0.0;
    bool m_clockKnown = false;         // a slave has caught its master's start
    std::uint64_t m_busGeneration = 0; // the master start a slave follows
    std::uint64_t m_busArmedAfter = 0; // a slave follows only a start after its own arming
    std::int64_t m_producedFrames = 0;
    std::int64_t m_readWords = 0;
    bool m_overflow = false;
    std::vector<std::vector<std::int32_t>> m_sineTables; // per layout entry; empty: not a sine
    std::vector<FrameInput> m_frameInputs;               // per layout entry
    std::int64_t m_acqFirstFrame = -1; // card recording since this frame; -1 = none
    LinkRtc m_acqStartClock{};         // the recorder's clock when card recording began
    int m_cardRecordCount = 0;
    CSimCard m_card;
};
