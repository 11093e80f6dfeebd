// A simulated recorder.
#include "device/sim/SimRecorder.h"

#include "conditions/SlotInfo.h"
#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "device/sim/SimSignal.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
#include <thread>

namespace {

constexpr int kSyncSingle = 10;
constexpr int kSyncMaster = 11;
constexpr int kSyncSlave = 12;
constexpr int kSlotCount = 8;
constexpr std::size_t kSlotListBytes = 256;
constexpr std::size_t kBalanceReplyBytes = 3000;
constexpr std::size_t kResidualReplyBytes = 2500;
constexpr int kOrdinalStatus = LinkOrdinal::kGetStatus;
// "<slot>SIMIN <channel>,<value>[,<noise>]" or "<slot>SIMIN <channel>,OFF".
constexpr const char* kInputCommand = "SIMIN ";

bool IsCanG(const CSimSlotConfig& slot) {
    return slot.typeCode == 11 || slot.partNumber == "QA-80CAN-G" ||
           slot.partNumber == "QA-80CAN-J";
}

bool IsCan(const CSimSlotConfig& slot) {
    return slot.typeCode == 10 || slot.typeCode == 11;
}

// Modules whose channels are balanced: voltage and strain amplifiers.
bool IsBalancedType(int type) {
    return type == 2 || type == 3 || type == 9 || type == 19;
}

bool HasRangeCheck(int type) {
    return IsBalancedType(type) || type == 4 || type == 5;
}

double RateHz(const std::string& rate) {
    const double value = ReadReal(rate);
    return rate.find_first_of("kK") == std::string::npos ? value : value * 1000.0;
}

// The range texts the program makes of the module's reported items.
CSlotInfo OfferedSlot(const CSimSlotConfig& config) {
    CSlotInfo slot;
    slot.m_partNo = config.partNumber;
    slot.m_typeCode = config.typeCode;
    slot.m_chCount = static_cast<std::uint16_t>(config.channelCount);
    const auto values = [&config](const char* key) {
        TextLines list;
        const auto item = config.items.find(key);
        if (item != config.items.end()) {
            CTextFile::SplitText(list, ",", item->second);
        }
        return list;
    };
    for (const std::string& value : values("RV")) {
        const bool bare = value.find_first_not_of("0123456789.kKmM") == std::string::npos;
        slot.m_ranges.push_back(bare ? value + "V" : value);
    }
    for (const std::string& value : values("RS")) {
        slot.m_ranges.push_back(FormatText("%2.0fuST", ReadReal(value) * 1000.0));
    }
    for (const std::string& value : values("RG")) {
        slot.m_ranges.push_back(value + "DEG");
    }
    const TextLines frequencies = values("RF");
    for (std::size_t index = 0; index < frequencies.size(); ++index) {
        const bool head = index == 0 || index == 3;
        slot.m_ranges.push_back(head ? frequencies[index] : frequencies[index] + "Hz");
    }
    slot.m_filters = values("CF");
    return slot;
}

std::vector<std::string> RangesFor(const CSimSlotConfig& config, int channel) {
    std::vector<std::string> ranges;
    OfferedSlot(config).GetRangesForChannel(channel, ranges);
    return ranges;
}

// What a module holds at power-on: its first range and filter, the configured channels on.
std::vector<LinkChannelRecord> PowerOnRecords(const CSimSlotConfig& config) {
    std::vector<LinkChannelRecord> records(static_cast<std::size_t>(config.channelCount));
    const std::vector<std::string> filters = OfferedSlot(config).m_filters;
    for (int channel = 0; channel < config.channelCount; ++channel) {
        LinkChannelRecord& record = records[channel];
        const std::vector<std::string> ranges = RangesFor(config, channel);
        record.range = ranges.empty() ? "" : ranges.front();
        record.filter = filters.empty() ? "" : filters.front();
        if (config.typeCode == 5) {
            record.fvInput = "MG";
            record.fvMode = "FR";
            record.fvDivider = 1;
            record.fvSmoothing = 1;
        }
    }
    for (const int channel : config.enabledChannels) {
        if (channel >= 0 && channel < config.channelCount) {
            records[channel].enabled = 1;
        }
    }
    return records;
}

// 0 when the module can take the record, else the refusal status.
int CheckRecord(const CSimSlotConfig& config, int channel, const LinkChannelRecord& record) {
    const int type = config.typeCode;
    const auto offers = [](const std::vector<std::string>& list, const std::string& text) {
        return text.empty() || std::ranges::find(list, text) != list.end();
    };
    const bool rangeOk = !HasRangeCheck(type) || offers(RangesFor(config, channel), record.range);
    const bool filterOk =
        !HasRangeCheck(type) || offers(OfferedSlot(config).m_filters, record.filter);
    const std::vector<std::string> inputs{"MG", "TTL", "AC"};
    const std::vector<std::string> modes{"FR", "PW", "PL"};
    const bool fvOk = type != 5 || (offers(inputs, record.fvInput) && offers(modes, record.fvMode));
    const bool levelOk = record.lvlStTrgVal >= 0.0 && record.lvlStTrgVal <= 100.0;
    return rangeOk && filterOk && fvOk && levelOk ? 0 : LinkCode::kChannelRefused;
}

// The full scale of a channel's range as the program reads it: the number the range text begins
// with, 25000 for a frequency channel outside frequency mode.
double RangeValueOf(const CSimSlotConfig& config, const LinkChannelRecord& record) {
    if (config.typeCode == 5 && !record.fvMode.empty() && record.fvMode != "FR") {
        return 25000.0;
    }
    const std::size_t start = record.range.find_first_not_of(' ');
    if (start == std::string::npos) {
        return 0.0;
    }
    const std::size_t end = record.range.find_first_not_of("0123456789.", start);
    return ReadReal(record.range.substr(start, end - start));
}

std::string ResidualItem(int slot, int channel, std::int32_t residual) {
    return FormatText("%d-%d:%X,", slot, channel + 1, static_cast<std::uint32_t>(residual));
}

std::int64_t CivilSeconds(int year, int month, int day, int hour, int minute, int second) {
    using namespace std::chrono;
    const sys_days date =
        std::chrono::year{year} / static_cast<unsigned>(month) / static_cast<unsigned>(day);
    return date.time_since_epoch().count() * 86400LL + hour * 3600LL + minute * 60LL + second;
}

} // namespace

CSimRecorder::CSimRecorder(const CSimRecorderConfig& config, const IClock& clock, CSimSyncBus& bus)
    : m_clock(clock), m_bus(bus), m_seed(config.signalSeed), m_name(config.name),
      m_address(config.address), m_syncMode(config.syncMode), m_faults(config.faults),
      m_balanceMs(config.balanceMs), m_cardOpMs(config.cardOpMs),
      m_card(config.card, config.cardKBytes, config.address) {
    m_condition.baseFileName = config.baseFileName;
    m_condition.rate = config.rate;
    for (const CSimSlotConfig& slotConfig : config.slots) {
        if (slotConfig.slot < 1 || slotConfig.slot > kSlotCount || slotConfig.channelCount < 0) {
            continue; // the configuration reader never gives one; a hand-made one might
        }
        Slot& slot = m_slots[slotConfig.slot];
        slot.config = slotConfig;
        slot.records = PowerOnRecords(slotConfig);
        slot.balanced.assign(static_cast<std::size_t>(slotConfig.channelCount), false);
        if (IsCan(slotConfig)) {
            slot.can = std::make_unique<CSimCanModule>(IsCanG(slotConfig), slotConfig.canSignals,
                                                       slotConfig.ackSetting);
        }
    }
    for (const auto& [place, input] : config.inputs) {
        if (Slot* slot = FindSlot(place.first);
            slot != nullptr && place.second >= 0 && place.second < slot->config.channelCount) {
            slot->inputs[place.second] = input;
        }
    }
}

std::string CSimRecorder::GetName() const {
    const std::lock_guard lock(m_mutex);
    return m_name;
}

std::string CSimRecorder::GetAddress() const {
    const std::lock_guard lock(m_mutex);
    return m_address;
}

// --- connections and faults ---

int CSimRecorder::Connect() {
    const std::lock_guard lock(m_mutex);
    return m_faults.refuseConnection ? 0 : m_nextConnection++;
}

bool CSimRecorder::IsConnected(int connection) {
    const std::lock_guard lock(m_mutex);
    return connection >= m_firstLiveConnection && connection < m_nextConnection;
}

int CSimRecorder::CheckCall(int connection, int ordinal, int& delayMs) {
    const std::lock_guard lock(m_mutex);
    delayMs = m_faults.answerDelayMs;
    const bool sampling = m_status == RecorderStatus::kArmed || m_status == RecorderStatus::kAcq;
    if (sampling && m_faults.dropAfterArmedSeconds >= 0 &&
        m_clock.GetTickCount() - m_armedTick >=
            static_cast<std::uint64_t>(m_faults.dropAfterArmedSeconds) * 1000) {
        DropLocked();
    }
    if (connection < m_firstLiveConnection || connection >= m_nextConnection) {
        return SimResult::kCommError;
    }
    const bool statusQuery =
        ordinal == kOrdinalStatus || ordinal == SimResult::kOrdinalGetStatusWait;
    if (m_faults.busy && !statusQuery && ordinal != LinkOrdinal::kClose) {
        return SimResult::kBusy;
    }
    return m_faults.ErrorFor(ordinal);
}

void CSimRecorder::DropLocked() {
    m_firstLiveConnection = m_nextConnection;
    if (m_sampling) {
        Produce();
        if (m_status == RecorderStatus::kAcq) {
            WriteCardRecord();
        }
        StopSampling();
    }
}

void CSimRecorder::SetFaults(const CSimFaults& faults) {
    const std::lock_guard lock(m_mutex);
    m_faults = faults;
}

CSimFaults CSimRecorder::GetFaults() const {
    const std::lock_guard lock(m_mutex);
    return m_faults;
}

void CSimRecorder::SetRefuseConnection(bool on) {
    const std::lock_guard lock(m_mutex);
    m_faults.refuseConnection = on;
}

void CSimRecorder::DropConnections() {
    const std::lock_guard lock(m_mutex);
    DropLocked();
}

void CSimRecorder::SetDropAfterArmedSeconds(int seconds) {
    const std::lock_guard lock(m_mutex);
    m_faults.dropAfterArmedSeconds = seconds;
}

void CSimRecorder::SetOperationError(int ordinal, int code) {
    const std::lock_guard lock(m_mutex);
    if (code == 0) {
        m_faults.operationErrors.erase(ordinal);
    } else {
        m_faults.operationErrors[ordinal] = code;
    }
}

void CSimRecorder::SetBusy(bool on) {
    const std::lock_guard lock(m_mutex);
    m_faults.busy = on;
}

void CSimRecorder::AddNakCommand(const std::string& prefix) {
    const std::lock_guard lock(m_mutex);
    m_faults.nakCommands.push_back(prefix);
}

void CSimRecorder::SetAnswerDelay(int ms) {
    const std::lock_guard lock(m_mutex);
    m_faults.answerDelayMs = ms;
}

void CSimRecorder::ClearFaults() {
    SetFaults(CSimFaults());
}

void CSimRecorder::SetBalanceTime(int ms) {
    const std::lock_guard lock(m_mutex);
    m_balanceMs = ms;
}

void CSimRecorder::SetCardOpTime(int ms) {
    const std::lock_guard lock(m_mutex);
    m_cardOpMs = ms;
}

// --- modules and condition ---

int CSimRecorder::CheckIdle() const {
    if (m_status == RecorderStatus::kBalance || m_status == RecorderStatus::kCardOp) {
        return SimResult::kBusy;
    }
    return IsIdle() ? 0 : SimResult::kWrongState;
}

CSimRecorder::Slot* CSimRecorder::FindSlot(int slot) {
    const auto found = m_slots.find(slot);
    return found == m_slots.end() ? nullptr : &found->second;
}

int CSimRecorder::GetStatus() {
    const std::lock_guard lock(m_mutex);
    Produce();
    if (m_faults.busy) {
        return RecorderStatus::kBusy;
    }
    return m_overflow && m_sampling ? kStatusOverflow : m_status;
}

int CSimRecorder::GetSlotList(std::vector<std::uint8_t>& slots) {
    const std::lock_guard lock(m_mutex);
    slots.assign(kSlotListBytes, 0);
    for (const auto& [number, slot] : m_slots) {
        slots[number - 1] = 1;
    }
    return SimResult::kOk;
}

int CSimRecorder::GetSlotInfo(int slotNumber, const std::string& query, std::string& reply) {
    const std::lock_guard lock(m_mutex);
    const Slot* slot = FindSlot(slotNumber);
    if (slot == nullptr) {
        return SimResult::kBadArgument;
    }
    TextLines keys;
    std::vector<std::string> items;
    for (const std::string& key : CTextFile::SplitText(keys, ",", query, true)) {
        const auto item = slot->config.items.find(key);
        if (key == "PN") {
            items.push_back("PN " + slot->config.partNumber);
        } else if (key == "TY") {
            items.push_back(FormatText("TY %X", static_cast<unsigned>(slot->config.typeCode)));
        } else if (key == "NCH") {
            items.push_back(FormatText("NCH %d", slot->config.channelCount));
        } else if (item != slot->config.items.end()) {
            items.push_back(key + " " + item->second);
        }
    }
    reply.clear();
    for (const std::string& item : items) {
        reply += (reply.empty() ? "" : std::string(1, LinkCode::kItemSeparator)) + item;
    }
    return SimResult::kOk;
}

int CSimRecorder::GetAcqCondition(LinkAcqCondition& condition) {
    const std::lock_guard lock(m_mutex);
    condition = m_condition;
    return SimResult::kOk;
}

int CSimRecorder::SetAcqCondition(const LinkAcqCondition& condition) {
    const std::lock_guard lock(m_mutex);
    if (const int refused = CheckIdle(); refused != 0) {
        return refused;
    }
    if (!CSimConfig::IsRateText(condition.rate) || condition.preTime < 0 ||
        condition.postTime < 0) {
        return SimResult::kBadArgument;
    }
    m_condition = condition;
    return SimResult::kOk;
}

int CSimRecorder::GetSlotChannels(int slotNumber, std::vector<LinkChannelRecord>& records) {
    const std::lock_guard lock(m_mutex);
    const Slot* slot = FindSlot(slotNumber);
    if (slot == nullptr) {
        return SimResult::kBadArgument;
    }
    records = slot->records;
    return SimResult::kOk;
}

int CSimRecorder::SetSlotChannels(int slotNumber, int slotType, int count,
                                  std::vector<LinkChannelRecord>& records) {
    const std::lock_guard lock(m_mutex);
    if (const int refused = CheckIdle(); refused != 0) {
        return refused;
    }
    Slot* slot = FindSlot(slotNumber);
    const int reportedType = slot == nullptr               ? 0
                             : slot->config.typeCode == 11 ? 10
                                                           : slot->config.typeCode;
    if (slot == nullptr || slotType != reportedType || count < 1 ||
        count > slot->config.channelCount || static_cast<int>(records.size()) < count) {
        return SimResult::kBadArgument;
    }
    for (int channel = 0; channel < count; ++channel) {
        LinkChannelRecord& record = records[channel];
        record.status = CheckRecord(slot->config, channel, record);
        if (record.status == 0) {
            slot->records[channel] = record;
        }
    }
    return SimResult::kOk;
}

int CSimRecorder::GetSyncMode(int& value) {
    const std::lock_guard lock(m_mutex);
    value = m_syncMode;
    return SimResult::kOk;
}

int CSimRecorder::SetSyncMode(int value) {
    const std::lock_guard lock(m_mutex);
    if (const int refused = CheckIdle(); refused != 0) {
        return refused;
    }
    if (value < kSyncSingle || value > kSyncSlave) {
        return SimResult::kBadArgument;
    }
    m_syncMode = value;
    return SimResult::kOk;
}

int CSimRecorder::ApplyCondition() {
    const std::lock_guard lock(m_mutex);
    const int refused = CheckIdle();
    return refused != 0 ? refused : SimResult::kOk;
}

int CSimRecorder::SetAddress(const std::string& address) {
    const std::lock_guard lock(m_mutex);
    m_address = address;
    return SimResult::kOk;
}

// --- balance ---

void CSimRecorder::RunTimed(int state, int durationMs, std::unique_lock<std::mutex>& lock) {
    m_status = state;
    if (durationMs > 0) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(durationMs));
        lock.lock();
    }
    m_status = RecorderStatus::kIdle;
}

bool CSimRecorder::IsBalanced(const Slot& slot, int channel) const {
    return IsBalancedType(slot.config.typeCode) && slot.records[channel].enabled != 0;
}

int CSimRecorder::Balance(const std::string& channels, std::string& reply) {
    std::unique_lock lock(m_mutex);
    if (const int refused = CheckIdle(); refused != 0) {
        return refused;
    }
    std::vector<std::pair<int, int>> chosen;
    if (channels.empty()) {
        for (const auto& [number, slot] : m_slots) {
            for (int channel = 0; channel < slot.config.channelCount; ++channel) {
                if (IsBalanced(slot, channel)) {
                    chosen.emplace_back(number, channel);
                }
            }
        }
    }
    TextLines items;
    if (!channels.empty()) {
        CTextFile::SplitText(items, ",", channels);
    }
    for (const std::string& item : items) {
        const std::size_t dash = item.find('-');
        const int slotNumber = ReadInt32(item);
        const int channel = dash == std::string::npos ? -1 : ReadInt32(item.substr(dash + 1)) - 1;
        const Slot* slot = FindSlot(slotNumber);
        if (item.empty() || slot == nullptr || channel < 0 ||
            channel >= slot->config.channelCount || !IsBalancedType(slot->config.typeCode)) {
            return SimResult::kBadArgument;
        }
        chosen.emplace_back(slotNumber, channel);
    }
    RunTimed(RecorderStatus::kBalance, m_balanceMs, lock);
    reply.clear();
    for (const auto& [slotNumber, channel] : chosen) {
        m_slots[slotNumber].balanced[channel] = true;
        const std::string item = ResidualItem(
            slotNumber, channel, CSimSignal::Residual(m_seed, slotNumber, channel, true));
        if (reply.size() + item.size() < kBalanceReplyBytes) {
            reply += item;
        }
    }
    return SimResult::kOk;
}

int CSimRecorder::GetBalanceResidual(std::string& reply) {
    const std::lock_guard lock(m_mutex);
    reply.clear();
    for (const auto& [number, slot] : m_slots) {
        for (int channel = 0; channel < slot.config.channelCount; ++channel) {
            if (!IsBalanced(slot, channel)) {
                continue;
            }
            const std::string item =
                ResidualItem(number, channel,
                             CSimSignal::Residual(m_seed, number, channel, slot.balanced[channel]));
            if (reply.size() + item.size() < kResidualReplyBytes) {
                reply += item;
            }
        }
    }
    return SimResult::kOk;
}

// --- clock, GPS, card ---

int CSimRecorder::GetRTC(LinkRtc& rtc) {
    const std::lock_guard lock(m_mutex);
    rtc = ReadClock();
    return SimResult::kOk;
}

LinkRtc CSimRecorder::ReadClock() const {
    using namespace std::chrono;
    const LocalTime host = m_clock.GetLocalTime();
    const std::int64_t seconds =
        CivilSeconds(host.year, host.month, host.day, host.hour, host.minute, host.second) +
        m_rtcOffsetSeconds;
    const std::int64_t dayNumber = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const std::int64_t inDay = seconds - dayNumber * 86400;
    const sys_days date{days{dayNumber}};
    const year_month_day ymd{date};
    const sys_days newYear = ymd.year() / January / 1;
    return {static_cast<std::int32_t>(inDay % 60),
            static_cast<std::int32_t>(inDay / 60 % 60),
            static_cast<std::int32_t>(inDay / 3600),
            static_cast<std::int32_t>(static_cast<unsigned>(ymd.day())),
            static_cast<std::int32_t>(static_cast<unsigned>(ymd.month())),
            static_cast<std::int32_t>(static_cast<int>(ymd.year())),
            static_cast<std::int32_t>(weekday{date}.c_encoding()),
            static_cast<std::int32_t>((date - newYear).count()),
            0};
}

int CSimRecorder::SetRTC(const LinkRtc& rtc) {
    const std::lock_guard lock(m_mutex);
    using namespace std::chrono;
    const year_month_day ymd{year{rtc[5]}, month{static_cast<unsigned>(rtc[4])},
                             day{static_cast<unsigned>(rtc[3])}};
    if (!ymd.ok() || rtc[5] < 1980 || rtc[5] > 2099 || rtc[2] < 0 || rtc[2] > 23 || rtc[1] < 0 ||
        rtc[1] > 59 || rtc[0] < 0 || rtc[0] > 59) {
        return SimResult::kBadArgument;
    }
    const LocalTime host = m_clock.GetLocalTime();
    m_rtcOffsetSeconds =
        CivilSeconds(rtc[5], rtc[4], rtc[3], rtc[2], rtc[1], rtc[0]) -
        CivilSeconds(host.year, host.month, host.day, host.hour, host.minute, host.second);
    return SimResult::kOk;
}

int CSimRecorder::SetGPSMode(int mode) {
    const std::lock_guard lock(m_mutex);
    if (mode != LinkCode::kGpsOn && mode != LinkCode::kGpsOff) {
        return SimResult::kBadArgument;
    }
    m_gpsOn = mode == LinkCode::kGpsOn;
    return SimResult::kOk;
}

int CSimRecorder::GetGPSMode() {
    const std::lock_guard lock(m_mutex);
    return m_gpsOn ? LinkCode::kGpsOn : LinkCode::kGpsOff;
}

int CSimRecorder::GetCardInfo(LinkCardInfo& info) {
    const std::lock_guard lock(m_mutex);
    info = m_card.GetInfo();
    return SimResult::kOk;
}

template <typename Operation> int CSimRecorder::RunCardOperation(Operation operation) {
    std::unique_lock lock(m_mutex);
    if (const int refused = CheckIdle(); refused != 0) {
        return refused;
    }
    RunTimed(RecorderStatus::kCardOp, m_cardOpMs, lock);
    return operation(m_card);
}

int CSimRecorder::CardCopy(const std::string& cardPath, const std::string& pcPath) {
    return RunCardOperation([&](CSimCard& card) { return card.Copy(cardPath, pcPath); });
}

int CSimRecorder::CardMove(const std::string& cardPath, const std::string& pcPath) {
    return RunCardOperation([&](CSimCard& card) { return card.Move(cardPath, pcPath); });
}

int CSimRecorder::CardDelete(const std::string& cardPath) {
    return RunCardOperation([&](CSimCard& card) { return card.Delete(cardPath); });
}

int CSimRecorder::FormatCard() {
    return RunCardOperation([](CSimCard& card) { return card.Format(); });
}

int CSimRecorder::GetCardDir(std::vector<LinkCardFolder>& folders) {
    const std::lock_guard lock(m_mutex);
    if (!m_card.IsPresent()) {
        return SimResult::kNoCard;
    }
    folders = m_card.ListFolders();
    return SimResult::kOk;
}

// --- text commands ---

int CSimRecorder::Command(const std::string& text, std::string& reply) {
    const std::lock_guard lock(m_mutex);
    const std::size_t digits = text.find_first_not_of("0123456789");
    const int slotNumber = digits == 0 ? 0 : ReadInt32(text);
    const std::string command = digits == std::string::npos ? "" : text.substr(digits);
    if (command.starts_with(kInputCommand)) {
        const int result = InputCommand(slotNumber, command.substr(std::strlen(kInputCommand)));
        reply.assign(1, static_cast<char>(result));
        return SimResult::kOk;
    }
    Slot* slot = FindSlot(slotNumber);
    const bool query = CSimCanModule::IsQuery(command);
    if (slot == nullptr || slot->can == nullptr || m_faults.NaksCommand(text) ||
        (!query && !IsIdle())) {
        reply.assign(1, static_cast<char>(LinkCode::kNak));
        return SimResult::kOk;
    }
    reply = slot->can->Execute(command);
    return SimResult::kOk;
}

// Known inputs may change in any state: that is what a test engineer does while calibrating.
int CSimRecorder::InputCommand(int slotNumber, const std::string& argument) {
    TextLines fields;
    CTextFile::SplitText(fields, ",", argument);
    Slot* slot = FindSlot(slotNumber);
    const int channel = fields.empty() ? 0 : ReadInt32(fields[0]) - 1;
    if (slot == nullptr || fields.size() < 2 || fields.size() > 3 || channel < 0 ||
        channel >= slot->config.channelCount || fields[0] != std::to_string(channel + 1)) {
        return LinkCode::kNak;
    }
    if (fields.size() == 2 && fields[1] == "OFF") {
        slot->inputs.erase(channel);
    } else {
        CSimInput input;
        if (!CSimConfig::ParseInput(fields[1], fields.size() == 3 ? fields[2] : "0", input)
                 .empty()) {
            return LinkCode::kNak;
        }
        slot->inputs[channel] = input;
    }
    RefreshFrameInputs();
    return LinkCode::kAck;
}

bool CSimRecorder::SetInput(int slotNumber, int channel, const std::optional<CSimInput>& input) {
    const std::lock_guard lock(m_mutex);
    Slot* slot = FindSlot(slotNumber);
    if (slot == nullptr || channel < 0 || channel >= slot->config.channelCount) {
        return false;
    }
    if (input) {
        slot->inputs[channel] = *input;
    } else {
        slot->inputs.erase(channel);
    }
    RefreshFrameInputs();
    return true;
}

std::optional<CSimInput> CSimRecorder::GetInput(int slotNumber, int channel) const {
    const std::lock_guard lock(m_mutex);
    const auto slot = m_slots.find(slotNumber);
    if (slot == m_slots.end()) {
        return std::nullopt;
    }
    const auto input = slot->second.inputs.find(channel);
    return input == slot->second.inputs.end() ? std::nullopt
                                              : std::optional<CSimInput>(input->second);
}

std::map<int, int> CSimRecorder::GetChannelCounts() const {
    const std::lock_guard lock(m_mutex);
    std::map<int, int> counts;
    for (const auto& [number, slot] : m_slots) {
        counts[number] = slot.config.channelCount;
    }
    return counts;
}

CSimCanModule* CSimRecorder::GetCanModule(int slotNumber) {
    const std::lock_guard lock(m_mutex);
    Slot* slot = FindSlot(slotNumber);
    return slot == nullptr ? nullptr : slot->can.get();
}

// --- sampling ---

void CSimRecorder::BuildFrameLayout() {
    m_layout.clear();
    m_sineTables.clear();
    int offset = 0;
    for (const auto& [number, slot] : m_slots) {
        const int channels = slot.can != nullptr
                                 ? std::min(slot.config.channelCount, slot.can->GetSignalCount())
                                 : slot.config.channelCount;
        for (int channel = 0; channel < channels; ++channel) {
            if (slot.records[channel].enabled == 0) {
                continue;
            }
            const int dataType = slot.can != nullptr ? slot.can->GetValueType(channel) : 0;
            m_layout.push_back({number, channel, dataType, offset});
            offset += CSimSignal::WordsPerSample(dataType);
            std::vector<std::int32_t> table;
            if ((number + channel) % 3 == 0) {
                for (int k = 0; k < CSimSignal::SinePeriod(channel); ++k) {
                    table.push_back(CSimSignal::Counts(m_seed, number, channel, k));
                }
            }
            m_sineTables.push_back(std::move(table));
        }
    }
    m_frameWords = offset;
    RefreshFrameInputs();
}

void CSimRecorder::RefreshFrameInputs() {
    m_frameInputs.assign(m_layout.size(), FrameInput{});
    for (std::size_t index = 0; index < m_layout.size(); ++index) {
        const SimFrameChannel& channel = m_layout[index];
        const Slot& slot = m_slots.at(channel.slot);
        const auto input = slot.inputs.find(channel.channel);
        if (input != slot.inputs.end()) {
            m_frameInputs[index] = {input->second,
                                    RangeValueOf(slot.config, slot.records[channel.channel])};
        }
    }
}

int CSimRecorder::StartSampling(int bufferBytes, bool remote) {
    if (const int refused = CheckIdle(); refused != 0) {
        return refused;
    }
    BuildFrameLayout();
    if (m_frameWords == 0 || bufferBytes < 2 * m_frameWords) {
        return SimResult::kBadArgument;
    }
    const std::uint64_t now = m_clock.GetTickCount();
    m_capacityFrames = bufferBytes / (2 * m_frameWords);
    m_status = RecorderStatus::kArmed;
    m_remote = remote;
    m_armedTick = now;
    m_producedFrames = 0;
    m_readWords = 0;
    m_overflow = false;
    m_acqFirstFrame = -1;
    m_sampling = true;
    m_rateHz = RateHz(m_condition.rate);
    m_startTick = now;
    m_clockKnown = m_syncMode != kSyncSlave;
    m_busGeneration = m_bus.GetState().generation;
    if (m_syncMode == kSyncMaster) {
        m_bus.Start(now, m_rateHz);
    }
    return SimResult::kOk;
}

void CSimRecorder::StopSampling() {
    if (m_syncMode == kSyncMaster && m_sampling) {
        m_bus.Stop(m_clock.GetTickCount());
    }
    m_sampling = false;
    m_remote = false;
    m_acqFirstFrame = -1;
    m_status = RecorderStatus::kIdle;
}

std::int64_t CSimRecorder::ClockFrames(std::uint64_t now) const {
    if (now <= m_startTick || m_rateHz <= 0.0) {
        return 0;
    }
    return static_cast<std::int64_t>(
        std::floor(static_cast<double>(now - m_startTick) * m_rateHz / 1000.0 + 1e-9));
}

void CSimRecorder::Produce() {
    if (!m_sampling || m_overflow) {
        return;
    }
    std::uint64_t now = m_clock.GetTickCount();
    if (m_syncMode == kSyncSlave) {
        const SimClockState bus = m_bus.GetState();
        if (!m_clockKnown && bus.generation > m_busGeneration) {
            m_clockKnown = true;
            m_busGeneration = bus.generation;
            m_startTick = bus.startTick;
            m_rateHz = bus.rateHz;
        }
        if (!m_clockKnown || bus.generation != m_busGeneration) {
            return;
        }
        now = bus.running ? now : std::min(now, bus.stopTick);
    }
    const std::int64_t frames = ClockFrames(now);
    const std::int64_t limit = (m_readWords + m_capacityFrames * m_frameWords) / m_frameWords;
    if (frames > limit) {
        m_overflow = true;
    }
    m_producedFrames = std::max(m_producedFrames, std::min(frames, limit));
}

void CSimRecorder::FillFrame(std::int64_t frame, std::uint16_t* out) const {
    for (std::size_t index = 0; index < m_layout.size(); ++index) {
        const SimFrameChannel& channel = m_layout[index];
        if (const FrameInput& known = m_frameInputs[index]; known.input) {
            CSimSignal::CountWords(CSimSignal::InputCounts(*known.input, known.rangeValue, m_seed,
                                                           channel.slot, channel.channel, frame),
                                   channel.dataType, out + channel.wordOffset);
            continue;
        }
        const std::vector<std::int32_t>& table = m_sineTables[index];
        if (!table.empty() && CSimSignal::WordsPerSample(channel.dataType) == 1) {
            out[channel.wordOffset] =
                static_cast<std::uint16_t>(table[frame % static_cast<std::int64_t>(table.size())]);
            continue;
        }
        CSimSignal::Words(m_seed, channel.slot, channel.channel, channel.dataType, frame,
                          out + channel.wordOffset);
    }
}

void CSimRecorder::FillWords(std::int64_t firstWord, std::uint16_t* out, std::int64_t count) const {
    std::vector<std::uint16_t> frame(m_frameWords);
    std::int64_t word = firstWord;
    while (word < firstWord + count) {
        const std::int64_t frameIndex = word / m_frameWords;
        const std::int64_t inFrame = word % m_frameWords;
        const std::int64_t take =
            std::min<std::int64_t>(m_frameWords - inFrame, firstWord + count - word);
        FillFrame(frameIndex, frame.data());
        std::copy_n(frame.begin() + inFrame, take, out + (word - firstWord));
        word += take;
    }
}

bool CSimRecorder::WriteCardRecord() {
    if (m_acqFirstFrame < 0) {
        return true;
    }
    const std::int64_t frames = std::min(m_producedFrames - m_acqFirstFrame,
                                         kMaxCardRecordWords / std::max(1, m_frameWords));
    std::vector<std::uint16_t> words(static_cast<std::size_t>(frames * m_frameWords));
    FillWords(m_acqFirstFrame * m_frameWords, words.data(), frames * m_frameWords);
    // The start's date and time as the PC records carry them, so the record lists on the PC.
    const LinkRtc& start = m_acqStartClock;
    std::string header =
        "RECORDER " + m_name + "\r\n" +
        FormatText("DATE %02d-%02d-%04d\r\nTIME %02d:%02d:%02d\r\n", start[4], start[3], start[5],
                   start[2], start[1], start[0]) +
        "RATE " + m_condition.rate + "\r\n" +
        FormatText("FIRST_FRAME %lld\r\nFRAMES %lld\r\nCHANNELS",
                   static_cast<long long>(m_acqFirstFrame), static_cast<long long>(frames));
    for (const SimFrameChannel& channel : m_layout) {
        header += FormatText(" %d-%d:%d", channel.slot, channel.channel + 1, channel.dataType);
    }
    m_acqFirstFrame = -1;
    return !m_card.WriteRecord(m_condition.baseFileName, header + "\r\n", words).empty();
}

int CSimRecorder::SetRemote(int on, int bufferBytes) {
    const std::lock_guard lock(m_mutex);
    if (on != 0) {
        return StartSampling(bufferBytes, true);
    }
    if (m_sampling) {
        Produce();
        WriteCardRecord();
        StopSampling();
    }
    return SimResult::kOk;
}

int CSimRecorder::StartArmed(int bufferBytes) {
    const std::lock_guard lock(m_mutex);
    return StartSampling(bufferBytes, false);
}

int CSimRecorder::StartAcq() {
    const std::lock_guard lock(m_mutex);
    if (m_status != RecorderStatus::kArmed) {
        return CheckIdle() == SimResult::kBusy ? SimResult::kBusy : SimResult::kWrongState;
    }
    if (!m_card.IsPresent()) {
        return SimResult::kNoCard;
    }
    Produce();
    m_acqFirstFrame = m_producedFrames;
    m_acqStartClock = ReadClock();
    m_status = RecorderStatus::kAcq;
    return SimResult::kOk;
}

int CSimRecorder::StopAcq() {
    const std::lock_guard lock(m_mutex);
    if (m_status != RecorderStatus::kAcq) {
        return SimResult::kWrongState;
    }
    Produce();
    const bool written = WriteCardRecord();
    m_status = RecorderStatus::kArmed;
    return written ? SimResult::kOk : SimResult::kCardFileError;
}

int CSimRecorder::StopArmed() {
    const std::lock_guard lock(m_mutex);
    if (m_status == RecorderStatus::kBalance || m_status == RecorderStatus::kCardOp) {
        return SimResult::kBusy;
    }
    if (m_sampling) {
        Produce();
        WriteCardRecord();
        StopSampling();
    }
    return SimResult::kOk;
}

int CSimRecorder::GetDataCount() {
    const std::lock_guard lock(m_mutex);
    Produce();
    const std::int64_t bytes = (m_producedFrames * m_frameWords - m_readWords) * 2;
    return static_cast<int>(std::min<std::int64_t>(bytes, INT_MAX - 1));
}

int CSimRecorder::ReadData(void* buffer, int bytes) {
    const std::lock_guard lock(m_mutex);
    if (bytes < 0 || (buffer == nullptr && bytes > 0)) {
        return SimResult::kBadArgument;
    }
    Produce();
    const std::int64_t words =
        std::min<std::int64_t>(bytes / 2, m_producedFrames * m_frameWords - m_readWords);
    if (words > 0) {
        // The caller's buffer need not be aligned for 16-bit words.
        std::vector<std::uint16_t> data(static_cast<std::size_t>(words));
        FillWords(m_readWords, data.data(), words);
        std::memcpy(buffer, data.data(), data.size() * 2);
        m_readWords += words;
    }
    return static_cast<int>(words * 2);
}

std::vector<SimFrameChannel> CSimRecorder::GetFrameLayout() const {
    const std::lock_guard lock(m_mutex);
    return m_layout;
}

int CSimRecorder::GetFrameWords() const {
    const std::lock_guard lock(m_mutex);
    return m_frameWords;
}

std::int64_t CSimRecorder::GetProducedFrames() {
    const std::lock_guard lock(m_mutex);
    Produce();
    return m_producedFrames;
}

bool CSimRecorder::HasOverflowed() {
    const std::lock_guard lock(m_mutex);
    Produce();
    return m_overflow;
}
