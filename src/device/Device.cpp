// One recorder connection: opening, module discovery, conditions, balance, clock, GPS, card.
#include "device/Device.h"

#include "conditions/ConditionTables.h"
#include "conditions/TextNumbers.h"
#include "device/InertialTable.h"
#include "device/ModuleReply.h"
#include "device/ProgressScope.h"
#include "device/RecorderClock.h"
#include "framework/Clock.h"
#include "framework/Prompt.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t kSlotListBytes = 256;
constexpr std::int32_t kCardUnknownIndex = 2;
// Between "Extracting Balance Value" and its dots: a full-width space.
constexpr const char* kIdeographicSpace = "\xE3\x80\x80";

// The position of a text in a table, or `fallback` when it is not there.
template <std::size_t N>
std::int32_t LookUp(const std::array<std::string_view, N>& table, const std::string& text,
                    std::int32_t fallback) {
    const auto found = std::find(table.begin(), table.end(), text);
    return found == table.end() ? fallback : static_cast<std::int32_t>(found - table.begin());
}

template <std::size_t N>
std::string TextAt(const std::array<std::string_view, N>& table, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? std::string(table[index]) : "";
}

void SetInertialChannel(CChCnd& channel) {
    const InertialChannel& row = GetInertialChannel(channel.m_channel);
    channel.m_name = row.name;
    channel.SetRange(std::string(row.range));
    channel.m_canFactor = row.factor;
    channel.m_canOffset = row.offset;
}

template <class Item> void SetCanChannel(CChCnd& channel, const Item& signal) {
    channel.m_name = signal.m_name;
    channel.m_phyUnit = signal.m_unit;
    channel.m_canFactor = signal.GetFactorValue();
    channel.m_canOffset = signal.GetOffsetValue();
    channel.SetDataType(signal.m_valueType);
    const double limit = std::max(std::fabs(signal.m_min), std::fabs(signal.m_max));
    channel.SetRange(FormatText("%2.1f%s", limit, signal.m_unit.c_str()));
    // The separate chart spans the signal's own limits; the display scale the range.
    CScale& chart = channel.m_sepChart;
    chart.m_min = signal.m_max > signal.m_min ? signal.m_min : -1000.0;
    chart.m_max = signal.m_max > signal.m_min ? signal.m_max : 1000.0;
    chart.m_div = Step125((chart.m_max - chart.m_min) / 5);
}

void SetAmplifierChannel(CChCnd& channel, const LinkChannelRecord& record) {
    channel.SetRange(record.range);
    channel.m_filter = record.filter;
    channel.m_lvlStTrg = record.lvlStTrg;
    channel.m_lvlStTrgVal = std::clamp(record.lvlStTrgVal, 0.0, 100.0);
    if (channel.m_ampCode == ModuleType::kFrequency) {
        channel.m_fvInput = LookUp(ConditionTables::kFvInputs, record.fvInput, channel.m_fvInput);
        channel.m_fvMode = LookUp(ConditionTables::kFvModes, record.fvMode, channel.m_fvMode);
        channel.m_fvDivider = record.fvDivider;
        channel.m_fvSmoothing = record.fvSmoothing;
    }
    if (channel.m_ampCode == ModuleType::kDigitalInput)
        channel.m_diMask = record.diMask;
}

LinkChannelRecord MakeChannelRecord(const CChCnd& channel) {
    LinkChannelRecord record;
    record.enabled = channel.m_enabled;
    record.range = channel.m_range;
    record.filter = channel.m_filter;
    record.fvInput = TextAt(ConditionTables::kFvInputs, channel.m_fvInput);
    record.fvMode = TextAt(ConditionTables::kFvModes, channel.m_fvMode);
    record.fvDivider = channel.m_fvDivider;
    record.fvSmoothing = channel.m_fvSmoothing;
    record.diMask = channel.m_diMask;
    record.lvlStTrg = channel.m_lvlStTrg;
    record.lvlStTrgVal = channel.m_lvlStTrgVal;
    return record;
}

// A recorder level trigger would start the recorder's own record; with the PC deciding when
// to record, the recorder's trigger times and level triggers are cleared.
void ClearRecorderTriggers(CRecCnd& condition) {
    condition.m_preTime = 0;
    condition.m_postTime = 0;
    for (CChCnd& channel : condition.m_channels) {
        channel.m_lvlStTrg = 0;
        channel.m_lvlStTrgVal = 0.0;
    }
}

} // namespace

CDevice::CDevice(ILinkLibrary& link, IPrompt& prompt, IClock& clock)
    : m_link(link), m_prompt(prompt), m_clock(clock) {}

CDevice::~CDevice() {
    m_canK.clear();
    m_canG.clear();
    for (CSlotInfo& slot : m_slots)
        slot.Reset();
    Close();
}

bool CDevice::Open(const std::string& address) {
    m_address = address;
    return Open();
}

bool CDevice::Open() {
    Close();
    m_handle = m_link.LnkOpen(m_address, kOpenTimeoutMs);
    m_connectionFailed = m_handle == 0 ? 1 : 0;
    return m_handle != 0;
}

bool CDevice::Reopen() {
    Close();
    return !m_address.empty() && Open();
}

void CDevice::Close() {
    if (m_auxOpen != 0) {
        m_link.LnkCloseAux(m_handle);
        m_auxOpen = 0;
    }
    if (m_handle != 0) {
        m_link.LnkClose(m_handle);
        m_handle = 0;
    }
    m_connectionFailed = 0;
}

bool CDevice::EnsureOpen() {
    return m_handle != 0 || Open();
}

bool CDevice::IsSecondModel() const {
    return m_deviceName.find("ZT-500") != std::string::npos;
}

bool CDevice::HasModuleOfType(std::int32_t typeCode) const {
    return std::any_of(m_slots.begin(), m_slots.end(),
                       [typeCode](const CSlotInfo& slot) { return slot.m_typeCode == typeCode; });
}

bool CDevice::ReadModules() {
    if (!EnsureOpen())
        return false;
    CProgressScope progress(m_prompt, "Getting SC information from " + m_deviceName + " ... ");
    std::vector<std::uint8_t> present(kSlotListBytes, 0);
    if (m_link.LnkGetSlotList(m_handle, present) <= 0)
        return false;
    for (CSlotInfo& slot : m_slots)
        slot.Reset();
    // A database read earlier belongs to whatever module sat in the slot then.
    m_canK.clear();
    m_canG.clear();
    m_prompt.ProgressSetRange(0, 100);
    for (int n = 1; n <= kSlotCount; ++n) {
        m_prompt.ProgressSetPos(n * 100 / kSlotCount);
        if (static_cast<std::size_t>(n - 1) < present.size() && present[n - 1] == 1)
            ReadSlot(n, progress);
    }
    return true;
}

void CDevice::ReadSlot(int slot, CProgressScope& progress) {
    CSlotInfo& info = m_slots[slot - 1];
    std::string reply;
    if (m_link.LnkGetSlotInfo(m_handle, slot, kModuleQuery, reply) == 1)
        ApplyModuleReply(reply, info);
    if (info.IsEmpty())
        return;
    info.m_typeCode = NormaliseModuleType(info);
    ReadSlotDatabase(slot, progress);
    reply.clear();
    if (m_link.LnkGetSlotInfo(m_handle, slot, GetRangeQuery(info.m_typeCode), reply) == 1)
        ApplyRangeReply(reply, info);
}

void CDevice::ReadSlotDatabase(int slot, CProgressScope& progress) {
    const std::int32_t type = m_slots[slot - 1].m_typeCode;
    if (type != ModuleType::kCanK && type != ModuleType::kCanG)
        return;
    // A successful read keeps the database in the device's list.
    if (type == ModuleType::kCanK) {
        CDBCData database;
        ReadCanDatabase(slot, database);
    } else {
        CDBCData_G database;
        ReadCanDatabase(slot, database);
    }
    // The database read showed its own progress.
    progress.Reopen();
    m_prompt.ProgressSetRange(0, 100);
    m_prompt.ProgressSetPos(slot * 100 / kSlotCount);
}

const CDBCData* CDevice::FindCanKDatabase(int slot) const {
    const auto found = std::find_if(m_canK.begin(), m_canK.end(),
                                    [slot](const CDBCData& data) { return data.m_slot == slot; });
    return found == m_canK.end() ? nullptr : &*found;
}

const CDBCData_G* CDevice::FindCanGDatabase(int slot) const {
    const auto found = std::find_if(m_canG.begin(), m_canG.end(),
                                    [slot](const CDBCData_G& data) { return data.m_slot == slot; });
    return found == m_canG.end() ? nullptr : &*found;
}

bool CDevice::LoadCondition(CRecCnd& condition) {
    if (!EnsureOpen())
        return false;
    condition.Reset();
    CProgressScope progress(m_prompt, "Loading condition from " + m_deviceName + " ... ");
    LinkAcqCondition record;
    const int result = m_link.LnkGetAcqCondition(m_handle, record);
    if (result != 1) {
        progress.Close();
        m_prompt.MessageBox(FormatText("LnkGetAcqCondition failed! ( Error = %d )", result),
                            PromptIcon::Stop);
        return false;
    }
    condition.m_baseFileName = record.baseFileName;
    condition.m_preTime = record.preTime;
    condition.m_postTime = record.postTime;
    condition.m_rate = record.rate;

    bool gpsOn = false;
    if (!GetGPSMode(gpsOn)) {
        progress.Close();
        m_prompt.MessageBox("GetGPSMode failed !", PromptIcon::Stop);
        return false;
    }
    condition.m_rs232c = gpsOn ? 0 : 1;

    int sync = 0;
    const int syncResult = m_link.LnkGetSyncMode(m_handle, sync);
    if (syncResult != 1) {
        progress.Close();
        m_prompt.MessageBox(FormatText("LnkGetSyncMode failed! ( Error = %d )", syncResult),
                            PromptIcon::Stop);
        return false;
    }
    condition.m_sync = sync;

    for (int n = 1; n <= kSlotCount; ++n) {
        condition.m_slots[n - 1] = m_slots[n - 1];
        if (m_slots[n - 1].IsEmpty())
            continue;
        std::vector<LinkChannelRecord> records;
        if (m_link.LnkGetSlotChannels(m_handle, n, records) != 1)
            return false;
        AddSlotChannels(condition, n, records);
    }
    m_prompt.ProgressSetText("Reading Card Info ...");
    ReadCardInfo();
    return true;
}

void CDevice::AddSlotChannels(CRecCnd& condition, int slot,
                              const std::vector<LinkChannelRecord>& records) const {
    const CSlotInfo& info = m_slots[slot - 1];
    const CDBCData* canK = info.m_typeCode == ModuleType::kCanK ? FindCanKDatabase(slot) : nullptr;
    const CDBCData_G* canG =
        info.m_typeCode == ModuleType::kCanG ? FindCanGDatabase(slot) : nullptr;
    int count = info.m_chCount;
    if (info.m_typeCode == ModuleType::kCanK || info.m_typeCode == ModuleType::kCanG) {
        const std::size_t signals = canK ? canK->m_items.size() : canG ? canG->m_items.size() : 0;
        count = std::min(count, static_cast<int>(signals));
    }
    for (int i = 0; i < count; ++i) {
        CChCnd channel;
        channel.m_ampCode = info.m_typeCode;
        channel.m_slot = static_cast<std::int16_t>(slot);
        channel.m_channel = static_cast<std::int16_t>(i);
        // A recorder that reports fewer records than channels leaves the rest disabled.
        const LinkChannelRecord record =
            static_cast<std::size_t>(i) < records.size() ? records[i] : LinkChannelRecord{};
        channel.m_enabled = record.enabled;
        if (canK)
            SetCanChannel(channel, canK->m_items[i]);
        else if (canG)
            SetCanChannel(channel, canG->m_items[i]);
        else if (info.m_typeCode == ModuleType::kInertial)
            SetInertialChannel(channel);
        else
            SetAmplifierChannel(channel, record);
        condition.m_channels.push_back(std::move(channel));
    }
}

void CDevice::ReadCardInfo() {
    m_cardInfo = {};
    if (m_link.LnkGetCardInfo(m_handle, m_cardInfo) != 1)
        m_cardInfo[kCardUnknownIndex] = kCardUnknown;
}

bool CDevice::WriteCondition(CRecCnd& condition) {
    if (!condition.CheckCondition(0, m_prompt))
        return false;
    if (!EnsureOpen())
        return false;
    if (condition.m_hddLvlTrg != 0)
        ClearRecorderTriggers(condition);
    CProgressScope progress(m_prompt, "Writing condition to " + m_deviceName + " ... ");
    const LinkAcqCondition record{condition.m_baseFileName, condition.m_rate, condition.m_preTime,
                                  condition.m_postTime};
    if (!IsSecondModel() && !SetGPSMode(condition.m_rs232c == 0)) {
        progress.Close();
        m_prompt.MessageBox("SetGPSMode failed!", PromptIcon::Stop);
        return false;
    }
    const int result = m_link.LnkSetAcqCondition(m_handle, record);
    if (result != 1) {
        progress.Close();
        m_prompt.MessageBox(FormatText("LnkSetAcqCondition failed! ( Error = %d )", result),
                            PromptIcon::Stop);
        return false;
    }
    const int syncResult = m_link.LnkSetSyncMode(m_handle, condition.m_sync);
    if (syncResult != 1) {
        progress.Close();
        m_prompt.MessageBox(FormatText("LnkSetSyncMode failed! ( Error = %d )", syncResult),
                            PromptIcon::Stop);
        return false;
    }
    const std::vector<CChCnd>& channels = condition.m_channels;
    m_prompt.ProgressSetRange(0, static_cast<int>(channels.size()));
    std::vector<const CChCnd*> group;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        group.push_back(&channels[i]);
        m_prompt.ProgressSetPos(static_cast<int>(i + 1));
        const bool lastOfSlot =
            i + 1 == channels.size() || channels[i + 1].m_slot != channels[i].m_slot;
        if (!lastOfSlot)
            continue;
        if (!SendSlotGroup(condition, group, progress))
            return false;
        group.clear();
    }
    // A condition the recorder did not take over must not count as written.
    if (m_link.LnkApplyCondition(m_handle) != 1)
        return false;
    m_prompt.ProgressSetText("Reading Card Info ...");
    ReadCardInfo();
    return true;
}

bool CDevice::SendSlotGroup(const CRecCnd& condition, const std::vector<const CChCnd*>& group,
                            CProgressScope& progress) {
    const int slot = group.front()->m_slot;
    if (slot < 1 || slot > kSlotCount)
        return true;
    const CSlotInfo& info = condition.m_slots[slot - 1];
    const int count = info.m_chCount;
    if (count == 0)
        return true;
    std::vector<LinkChannelRecord> records(static_cast<std::size_t>(count));
    for (const CChCnd* channel : group) {
        if (channel->m_channel >= 0 && channel->m_channel < count)
            records[channel->m_channel] = MakeChannelRecord(*channel);
    }
    const int type = info.m_typeCode == ModuleType::kCanG ? ModuleType::kCanK : info.m_typeCode;
    if (m_link.LnkSetSlotChannels(m_handle, slot, type, count, records) != 1)
        return false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].status == LinkCode::kChannelRefused) {
            progress.Close();
            m_prompt.MessageBox(FormatText("%d-%d NAK!", slot, static_cast<int>(i) + 1),
                                PromptIcon::None);
            return false;
        }
    }
    return true;
}

void CDevice::ScanCard() {
    if (!IsConnected())
        return;
    CProgressScope progress(m_prompt, "Scaning card ... ");
    ReadCardInfo();
}

bool CDevice::Balance(CRecCnd& condition, const ChannelSelection* selection) {
    if (!EnsureOpen())
        return false;
    // An empty list asks the recorder to balance every channel, which a selection of none
    // does not mean.
    if (!SelectsAnyChannel(condition, selection))
        return true;
    const std::string list = BuildBalanceChannelList(condition, selection);
    CProgressScope progress(m_prompt, "Balance ... ");
    std::string reply;
    const int result = list.empty() ? m_link.LnkBalance(m_handle, reply)
                                    : m_link.LnkBalanceChannels(m_handle, list, reply);
    if (result != 1)
        return false;
    m_prompt.ProgressSetText(std::string("Extracting Balance Value") + kIdeographicSpace + "... ");
    return ApplyBalanceReply(reply, condition, selection, progress);
}

bool CDevice::ReadBalanceResidual(CRecCnd& condition) {
    if (!EnsureOpen())
        return false;
    CProgressScope progress(m_prompt, "Reading Balance Residual Value ...");
    std::string reply;
    if (m_link.LnkGetBalanceResidual(m_handle, reply) != 1)
        return false;
    if (reply.empty())
        return true;
    m_prompt.ProgressSetText("Extracting Balance Value ...");
    return ApplyBalanceReply(reply, condition, nullptr, progress);
}

bool CDevice::ApplyBalanceReply(const std::string& reply, CRecCnd& condition,
                                const ChannelSelection* selection, CProgressScope& progress) {
    if (ParseBalanceReply(reply, condition, selection))
        return true;
    progress.Close();
    m_prompt.MessageBox(reply, PromptIcon::Stop);
    return false;
}

bool CDevice::GetRTC(std::string& date, std::string& time) {
    if (!IsConnected())
        return false;
    LinkRtc rtc{};
    if (m_link.LnkGetRTC(m_handle, rtc) != 1)
        return false;
    date = FormatRtcDate(rtc);
    time = FormatRtcTime(rtc);
    return true;
}

bool CDevice::SetRTCFromPC() {
    if (!IsConnected())
        return false;
    return m_link.LnkSetRTC(m_handle, RtcFromLocalTime(m_clock.GetLocalTime())) == 1;
}

bool CDevice::SetRTCFromPCAndReport() {
    if (SetRTCFromPC()) {
        m_prompt.MessageBox("Setting RTC OK!", PromptIcon::Information);
        return true;
    }
    m_prompt.MessageBox("Setting RTC failed !", PromptIcon::Stop);
    return false;
}

bool CDevice::OpenAux() {
    if (m_auxOpen != 0)
        return true;
    // An error code is no open channel, whatever its sign.
    if (!IsConnected() || m_link.LnkOpenAux(m_handle, LinkCode::kAuxGps) <= 0)
        return false;
    m_auxOpen = 1;
    return true;
}

bool CDevice::SetGPSMode(bool on) {
    if (!OpenAux())
        return false;
    return m_link.LnkSetGPSMode(m_handle, on ? LinkCode::kGpsOn : LinkCode::kGpsOff) == 1;
}

bool CDevice::GetGPSMode(bool& on) {
    if (!OpenAux())
        return false;
    const int mode = m_link.LnkGetGPSMode(m_handle);
    if (mode != LinkCode::kGpsOn && mode != LinkCode::kGpsOff)
        return false;
    on = mode == LinkCode::kGpsOn;
    return true;
}

std::string CDevice::GetStatusText(int status) {
    switch (status) {
    case RecorderStatus::kIdle:
        return "IDLE";
    case RecorderStatus::kArmed:
        return "ARMED";
    case RecorderStatus::kAcq:
        return "ACQ";
    case RecorderStatus::kBalance:
        return "BALANCE";
    case RecorderStatus::kCardOp:
        return "CARDOP";
    case RecorderStatus::kRecorderError:
        return "ZTERROR";
    case RecorderStatus::kBusy:
        return "ZTBUSY";
    case RecorderStatus::kCommError:
        return "Comm Error";
    default:
        return FormatText("Unknown STS(%d)!", status);
    }
}
