#include "conditions/RecCnd.h"

#include "conditions/ConditionTables.h"
#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <mutex>

namespace {

std::mutex s_defaultFolderLock;
std::string s_defaultRecordFolder; // guarded by s_defaultFolderLock

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string TrimBlanks(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos)
        return {};
    const std::size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

// The fields a recorder holds for channels of CAN-type modules (whose layout the recorder
// reports) and for every other channel.
void CopyCanChannel(CChCnd& to, const CChCnd& from) {
    to.m_enabled = from.m_enabled;
    to.m_ampCode = from.m_ampCode;
    to.m_slot = from.m_slot;
    to.m_channel = from.m_channel;
    to.m_canFactor = from.m_canFactor;
    to.m_canOffset = from.m_canOffset;
    to.m_wordsPerSample = from.m_wordsPerSample;
    to.m_dataType = from.m_dataType;
    to.m_phyUnit = from.m_phyUnit;
    to.m_name = from.m_name;
}

void CopyAmplifierChannel(CChCnd& to, const CChCnd& from) {
    to.m_enabled = from.m_enabled;
    to.m_range = from.m_range;
    to.m_filter = from.m_filter;
    to.m_lvlStTrg = from.m_lvlStTrg;
    to.m_lvlStTrgVal = from.m_lvlStTrgVal;
    to.m_fvInput = from.m_fvInput;
    to.m_fvMode = from.m_fvMode;
    to.m_fvDivider = from.m_fvDivider;
    to.m_fvSmoothing = from.m_fvSmoothing;
    to.m_diMask = from.m_diMask;
    to.m_balanceResidual = from.m_balanceResidual;
    to.m_canFactor = from.m_canFactor;
    to.m_canOffset = from.m_canOffset;
    to.m_wordsPerSample = from.m_wordsPerSample;
    to.m_dataType = from.m_dataType;
}

} // namespace

CRecCnd::CRecCnd() {
    m_hddRecFolder = GetDefaultRecordFolder();
    ResetCalcChannels();
}

void CRecCnd::SetDefaultRecordFolder(const std::string& folder) {
    std::lock_guard lock(s_defaultFolderLock);
    s_defaultRecordFolder = folder;
}

std::string CRecCnd::GetDefaultRecordFolder() {
    std::lock_guard lock(s_defaultFolderLock);
    return s_defaultRecordFolder;
}

void CRecCnd::ResetCalcChannels() {
    for (int i = 0; i < kCalcCount; ++i) {
        CCalcChCnd& calc = m_calcChannels[static_cast<std::size_t>(i)];
        calc.Reset();
        calc.m_slot = kCalcSlotNo;
        calc.m_channel = static_cast<std::int16_t>(i);
        calc.m_ampCode = ModuleType::kCalculation;
    }
    m_calcSlot.Reset();
    m_calcSlot.m_partNo = kCalcPartNo;
    m_calcSlot.m_typeCode = ModuleType::kCalculation;
    m_calcSlot.m_chCount = kCalcCount;
}

void CRecCnd::Reset() {
    *this = CRecCnd{};
    m_baseFileName.clear();
}

void CRecCnd::CopySettingsFrom(const CRecCnd& source) {
    m_baseFileName = source.m_baseFileName;
    m_preTime = source.m_preTime;
    m_postTime = source.m_postTime;
    m_rate = source.m_rate;
    m_rs232c = source.m_rs232c;
    m_sync = source.m_sync;
    const std::size_t n = std::min(m_channels.size(), source.m_channels.size());
    for (std::size_t i = 0; i < n; ++i) {
        CChCnd& to = m_channels[i];
        const CChCnd& from = source.m_channels[i];
        if (to.m_ampCode == ModuleType::kCanK || to.m_ampCode == ModuleType::kCanG)
            CopyCanChannel(to, from);
        else
            CopyAmplifierChannel(to, from);
    }
    m_slots = source.m_slots;
}

bool CRecCnd::IsSameHardware(const CRecCnd& other) const {
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        const CSlotInfo& a = m_slots[i];
        const CSlotInfo& b = other.m_slots[i];
        if (a.m_partNo != b.m_partNo || a.m_typeCode != b.m_typeCode || a.m_chCount != b.m_chCount)
            return false;
    }
    if (m_channels.size() != other.m_channels.size())
        return false;
    for (std::size_t i = 0; i < m_channels.size(); ++i) {
        if (m_channels[i].m_slot != other.m_channels[i].m_slot ||
            m_channels[i].m_channel != other.m_channels[i].m_channel)
            return false;
    }
    return true;
}

std::pair<int, CChCnd*> CRecCnd::FindChannel(int slot, int channel) {
    const auto [position, found] = std::as_const(*this).FindChannel(slot, channel);
    return {position, const_cast<CChCnd*>(found)};
}

std::pair<int, const CChCnd*> CRecCnd::FindChannel(int slot, int channel) const {
    for (std::size_t i = 0; i < m_channels.size(); ++i) {
        if (m_channels[i].m_slot == slot && m_channels[i].m_channel == channel)
            return {static_cast<int>(i), &m_channels[i]};
    }
    return {-1, nullptr};
}

int CRecCnd::GetEnabledIndex(int slot, int channel) const {
    int index = 0;
    for (const CChCnd& ch : m_channels) {
        if (ch.m_slot == slot && ch.m_channel == channel)
            return ch.m_enabled ? index : -1;
        if (ch.m_enabled)
            ++index;
    }
    return -1;
}

int CRecCnd::GetSampleWordOffset(int slot, int channel) const {
    int offset = 0;
    for (const CChCnd& ch : m_channels) {
        if (ch.m_slot == slot && ch.m_channel == channel)
            return ch.m_enabled ? offset : -1;
        if (ch.m_enabled)
            offset += ch.m_wordsPerSample;
    }
    return -1;
}

int CRecCnd::CountEnabled(bool withCalc) const {
    int count = static_cast<int>(std::count_if(m_channels.begin(), m_channels.end(),
                                               [](const CChCnd& ch) { return ch.m_enabled != 0; }));
    if (withCalc && m_calc) {
        count +=
            static_cast<int>(std::count_if(m_calcChannels.begin(), m_calcChannels.end(),
                                           [](const CCalcChCnd& ch) { return ch.m_enabled != 0; }));
    }
    return count;
}

int CRecCnd::CountSampleWords(bool withCalc) const {
    int words = 0;
    for (const CChCnd& ch : m_channels) {
        if (ch.m_enabled)
            words += ch.m_wordsPerSample;
    }
    if (withCalc && m_calc) {
        for (const CCalcChCnd& ch : m_calcChannels) {
            if (ch.m_enabled)
                ++words;
        }
    }
    return words;
}

bool CRecCnd::HasEnabledChannel() const {
    return std::any_of(m_channels.begin(), m_channels.end(),
                       [](const CChCnd& ch) { return ch.m_enabled != 0; });
}

const CSlotInfo& CRecCnd::GetSlotOf(const CChCnd& channel) const {
    if (channel.m_slot >= 1 && channel.m_slot <= kSlotCount)
        return m_slots[static_cast<std::size_t>(channel.m_slot - 1)];
    return m_calcSlot;
}

double CRecCnd::GetRateHz() const {
    const double value = ReadReal(m_rate);
    if (value == 0.0)
        return 0.0;
    return m_rate.find_first_of("kK") != std::string::npos ? value * 1000 : value;
}

std::string CRecCnd::GetSyncText() const {
    for (const auto& mode : ConditionTables::kSyncModes) {
        if (mode.value == m_sync)
            return std::string(mode.text);
    }
    return {};
}

bool CRecCnd::SetSyncText(const std::string& text) {
    const std::string wanted = Upper(TrimBlanks(text));
    for (const auto& mode : ConditionTables::kSyncModes) {
        if (mode.text == wanted) {
            m_sync = mode.value;
            return true;
        }
    }
    return false;
}

bool CRecCnd::CheckCondition(int mode, IPrompt& prompt) const {
    bool failed = false;
    const CSlotInfo* current = nullptr;
    int inertialCount = 0;
    for (const CChCnd& ch : m_channels) {
        const CSlotInfo* slot = &GetSlotOf(ch);
        if (slot != current) {
            current = slot;
            if (slot->m_typeCode == ModuleType::kInertial)
                inertialCount = 0;
        }
        if (ch.m_enabled && slot->m_typeCode == ModuleType::kInertial && ++inertialCount > 40)
            failed = true;
    }
    if (failed)
        prompt.MessageBox("ADMA ON Channels Count > 40!", PromptIcon::Exclamation);

    if (!m_secondModel) {
        // Two bytes per word: the stream must stay below what the recorder's memory takes.
        const double bytesPerSecond = 2 * GetRateHz() * CountSampleWords(false);
        const double limit = mode == 0 ? 1048576.0 : 409600.0;
        if (!(bytesPerSecond < limit))
            prompt.MessageBox("Warning:Memory Overflow!", PromptIcon::Exclamation);
    }
    return !failed;
}

bool CRecCnd::CheckBalanceResidual(std::int16_t tolerance,
                                   const std::vector<int>* selection) const {
    for (std::size_t i = 0; i < m_channels.size(); ++i) {
        const CChCnd& ch = m_channels[i];
        if (!ch.m_enabled || ch.m_balanceResidual == CChCnd::kNoResidual)
            continue;
        const bool selected =
            selection == nullptr || i >= selection->size() || (*selection)[i] != 0;
        if (selected && !(tolerance > std::fabs(ch.m_balanceResidual * 0.004)))
            return false;
    }
    return true;
}

std::string CRecCnd::CheckAverageWindows() const {
    if (!m_calc)
        return {};
    for (const CCalcChCnd& calc : m_calcChannels) {
        if (!calc.m_enabled)
            continue;
        if (std::string message = calc.CheckAverageWindow(GetRateHz()); !message.empty())
            return message;
    }
    return {};
}

void CRecCnd::PrepareCalcChannels() {
    if (!m_calc)
        return;
    const std::uint32_t largestWindow = CCalcChCnd::LargestAverageWindow(GetRateHz());
    const int channelCount = static_cast<int>(m_channels.size());
    for (CCalcChCnd& calc : m_calcChannels) {
        if (!calc.m_enabled)
            continue;
        std::array<std::int16_t, 3> operands{-1, -1, -1};
        for (std::size_t i = 0; i < operands.size(); ++i) {
            const auto p = static_cast<std::int16_t>(calc.m_param[i]);
            if (p >= 1 && p <= channelCount) {
                const CChCnd& ch = m_channels[static_cast<std::size_t>(p - 1)];
                operands[i] = static_cast<std::int16_t>(GetEnabledIndex(ch.m_slot, ch.m_channel));
            }
        }
        calc.Prepare(operands, largestWindow);
    }
}

void CRecCnd::EvaluateCalcChannels(double* values, int count, int capacity, std::int16_t* counts) {
    if (!m_calc || count >= capacity)
        return;
    int next = count;
    for (CCalcChCnd& calc : m_calcChannels) {
        if (!calc.m_enabled)
            continue;
        if (next >= capacity)
            return; // the caller's array has no room for more results
        bool valid = false;
        const double value = calc.Evaluate(values, count, valid);
        values[next] = valid ? value : 0.0;
        *counts++ = valid ? calc.ValueToCount(value) : 0;
        ++next;
    }
}
