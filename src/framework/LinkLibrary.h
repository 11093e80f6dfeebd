// The recorder link library: every operation the program asks of a recorder, with its results.
// Unless noted an operation returns 1 on success; any other value is the error code that
// callers put in their messages. No call blocks longer than its time-out.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The library's operation numbers, used in logs and by the network protocol.
namespace LinkOrdinal {
inline constexpr int kOpen = 2;
inline constexpr int kClose = 3;
inline constexpr int kGetSlotList = 4;
inline constexpr int kGetStatus = 5;
inline constexpr int kGetSlotChannels = 6;
inline constexpr int kSetSlotChannels = 7;
inline constexpr int kGetAcqCondition = 8;
inline constexpr int kSetAcqCondition = 9;
inline constexpr int kStartArmed = 10;
inline constexpr int kReadData = 12;
inline constexpr int kGetDataCount = 13;
inline constexpr int kBalance = 14;
inline constexpr int kGetRTC = 17;
inline constexpr int kSetRTC = 18;
inline constexpr int kCopy = 22;
inline constexpr int kMove = 23;
inline constexpr int kDelete = 24;
inline constexpr int kFormatCard = 25;
inline constexpr int kGetCardDir = 26;
inline constexpr int kGetBalanceResidual = 27;
inline constexpr int kGetCardInfo = 29;
inline constexpr int kSetRemote = 30;
inline constexpr int kApplyCondition = 31;
inline constexpr int kSetIPAddress = 32;
inline constexpr int kSetSyncMode = 33;
inline constexpr int kGetSyncMode = 34;
inline constexpr int kScanDevices = 36;
inline constexpr int kGetSlotInfo = 37;
inline constexpr int kOpenAux = 42;
inline constexpr int kReadAux = 43;
inline constexpr int kCloseAux = 45;
inline constexpr int kSetGPSMode = 46;
inline constexpr int kGetGPSMode = 47;
inline constexpr int kBalanceChannels = 48;
inline constexpr int kSetCommand = 56;
inline constexpr int kQueryCommand = 57;
inline constexpr int kGetStatusWait = 59;
inline constexpr int kStopArmed = 61;
inline constexpr int kStartAcq = 62;
inline constexpr int kStopAcq = 63;
inline constexpr int kResetWSA = 64;
} // namespace LinkOrdinal

// Recorder status codes (LnkGetStatus, LnkGetStatusWait).
namespace RecorderStatus {
inline constexpr int kIdle = 0;
inline constexpr int kArmed = 1;
inline constexpr int kAcq = 2; // card recording
inline constexpr int kBalance = 10;
inline constexpr int kCardOp = 20;
inline constexpr int kCommError = -1;
inline constexpr int kCommError2 = -10;
inline constexpr int kRecorderError = -99;
inline constexpr int kBusy = -100;
} // namespace RecorderStatus

namespace LinkCode {
inline constexpr int kAuxGps = 31;       // LnkOpenAux: the GPS / serial side channel
inline constexpr int kAuxAcqStream = 30; // LnkOpenAux: the acquisition side stream (marks)
inline constexpr int kGpsOn = 21;
inline constexpr int kGpsOff = 20;
inline constexpr int kChannelRefused = 21; // status word of a refused channel record
inline constexpr std::uint8_t kAck = 0x06; // text command acknowledged
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr char kItemSeparator = '\x01'; // between the items of a slot information reply
} // namespace LinkCode

// The recorder-wide acquisition condition.
struct LinkAcqCondition {
    std::string baseFileName;
    std::string rate;          // a sampling-rate text such as "1kHz" or "EXT"
    std::int32_t preTime = 0;  // s
    std::int32_t postTime = 0; // s
    bool operator==(const LinkAcqCondition&) const = default;
};

// One channel of a slot as the recorder stores it.
struct LinkChannelRecord {
    std::int32_t enabled = 0;
    std::string range;
    std::string filter;
    std::string fvInput; // "MG", "TTL", "AC"
    std::string fvMode;  // "FR", "PW", "PL"
    std::int16_t fvDivider = 0;
    std::int16_t fvSmoothing = 0;
    std::uint16_t diMask = 0;
    std::int32_t lvlStTrg = 0;
    double lvlStTrgVal = 0.0; // percent of full scale
    std::int32_t status = 0;  // set by the recorder; kChannelRefused when it refused the record
    bool operator==(const LinkChannelRecord&) const = default;
};

// The recorder clock: seconds, minutes, hours, day of month, month (1-12), full year,
// day of week, day of year, daylight flag.
using LinkRtc = std::array<std::int32_t, 9>;
using LinkCardInfo = std::array<std::int32_t, 5>;

// Attribute bits of a card file, as the card's file system keeps them.
namespace LinkCardAttribute {
inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;
inline constexpr std::uint32_t kArchive = 0x20;
} // namespace LinkCardAttribute

// When a card file was last written, in the recorder's local time.
struct LinkCardTime {
    std::int32_t year = 0;
    std::int32_t month = 0; // 1..12
    std::int32_t day = 0;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    bool operator==(const LinkCardTime&) const = default;
};

struct LinkCardFile {
    std::string name; // a plain file name, without the folder
    LinkCardTime time;
    std::uint64_t size = 0; // bytes
    std::uint32_t attributes = 0;
    bool operator==(const LinkCardFile&) const = default;
};

// One folder of the card: its path in the recorder's form, beginning and ending with "\" ("\"
// is the root, "\DATA\" a folder in it), so that path + name is a card file's path.
struct LinkCardFolder {
    std::string path;
    std::vector<LinkCardFile> files;
    bool operator==(const LinkCardFolder&) const = default;
};

class ILinkLibrary {
public:
    virtual ~ILinkLibrary() = default;

    // 0 = network ready.
    virtual int LnkResetWSA(int timeoutMs) = 0;
    // Non-zero when recorders were found; `list` gets "name,address;" entries (at most 1024 bytes).
    virtual int LnkScanDevices(std::string& list) = 0;
    virtual int LnkSetIPAddress(const std::string& oldAddress, const std::string& newAddress,
                                const std::string& mask, const std::string& gateway) = 0;

    // The handle, 0 on failure.
    virtual int LnkOpen(const std::string& address, int timeoutMs) = 0;
    virtual int LnkClose(int handle) = 0;
    virtual int LnkGetStatus(int handle) = 0;
    virtual int LnkGetStatusWait(int handle, int timeoutMs) = 0;

    // > 0 on success; byte n-1 of `slots` (256 bytes) is 1 when slot n holds a module.
    virtual int LnkGetSlotList(int handle, std::vector<std::uint8_t>& slots) = 0;
    // `query` such as "PN,TY,NCH"; the reply's items are separated by kItemSeparator.
    virtual int LnkGetSlotInfo(int handle, int slot, const std::string& query,
                               std::string& reply) = 0;

    virtual int LnkGetAcqCondition(int handle, LinkAcqCondition& condition) = 0;
    virtual int LnkSetAcqCondition(int handle, const LinkAcqCondition& condition) = 0;
    virtual int LnkGetSlotChannels(int handle, int slot,
                                   std::vector<LinkChannelRecord>& records) = 0;
    // Sends `count` records of a slot of `slotType`; the recorder sets each record's status.
    virtual int LnkSetSlotChannels(int handle, int slot, int slotType, int count,
                                   std::vector<LinkChannelRecord>& records) = 0;
    virtual int LnkGetSyncMode(int handle, int& value) = 0;
    virtual int LnkSetSyncMode(int handle, int value) = 0;
    virtual int LnkApplyCondition(int handle) = 0;

    virtual int LnkGetCardInfo(int handle, LinkCardInfo& info) = 0;
    // Replies of at most 3000 (balance) and 2500 (residual) bytes: "slot-channel:hex,..."
    virtual int LnkBalance(int handle, std::string& reply) = 0;
    virtual int LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) = 0;
    virtual int LnkGetBalanceResidual(int handle, std::string& reply) = 0;

    virtual int LnkGetRTC(int handle, LinkRtc& rtc) = 0;
    virtual int LnkSetRTC(int handle, const LinkRtc& rtc) = 0;

    // Non-zero when the auxiliary channel (kAuxGps or kAuxAcqStream) is open.
    virtual int LnkOpenAux(int handle, int code) = 0;
    virtual int LnkReadAux(int handle, std::uint8_t* buffer, int size) = 0;
    virtual int LnkCloseAux(int handle) = 0;
    virtual int LnkSetGPSMode(int handle, int mode) = 0;
    // kGpsOn, kGpsOff, anything else is a failure.
    virtual int LnkGetGPSMode(int handle) = 0;

    virtual int LnkSetRemote(int handle, int on, int bufferBytes) = 0;
    virtual int LnkStartArmed(int handle, int bufferBytes) = 0;
    virtual int LnkStartAcq(int handle, int a, int b) = 0;
    virtual int LnkStopAcq(int handle) = 0;
    virtual int LnkStopArmed(int handle) = 0;
    // Bytes of sample frames waiting (negative on a failure).
    virtual int LnkGetDataCount(int handle) = 0;
    // Bytes read into `buffer` (negative on a failure); whole 16-bit words only.
    virtual int LnkReadData(int handle, void* buffer, int bytes) = 0;

    // Text commands to a module; the first character of a reply is kAck or kNak.
    virtual int LnkSetCommand(int handle, const std::string& text) = 0;
    virtual int LnkQueryCommand(int handle, const std::string& text, std::string& reply) = 0;

    // Card files: paths on the card keep the recorder's "\" separator.
    virtual int LnkCopy(int handle, const std::string& cardPath, const std::string& pcPath) = 0;
    virtual int LnkMove(int handle, const std::string& cardPath, const std::string& pcPath) = 0;
    virtual int LnkDelete(int handle, const std::string& cardPath) = 0;
    virtual int LnkFormatCard(int handle) = 0;
    // Every folder of the card (the root first) with its files.
    virtual int LnkGetCardDir(int handle, std::vector<LinkCardFolder>& folders) = 0;
};
