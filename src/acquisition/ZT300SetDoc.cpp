#include "acquisition/ZT300SetDoc.h"

#include "conditions/ConditionTables.h"
#include "conditions/TextNumbers.h"
#include "framework/LinkLibrary.h"
#include "framework/Prompt.h"
#include "framework/SilentPrompt.h"
#include "framework/SoundPlayer.h"
#include "framework/UpdateHints.h"
#include "records/RecordNames.h"

#include <algorithm>

namespace {

// Digits grouped by "," in threes.
std::string GroupDigits(unsigned long long value) {
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return digits;
}

// "192_168_1_201_ZT-300" gives the address 192.168.1.201 and the name ZT-300.
void SplitConnectionEntry(const std::string& entry, std::string& address, std::string& name) {
    const std::size_t end = entry.find_first_not_of("0123456789_");
    address = entry.substr(0, end);
    name = end == std::string::npos ? std::string() : entry.substr(end);
    while (!address.empty() && address.back() == '_')
        address.pop_back();
    std::replace(address.begin(), address.end(), '_', '.');
}

bool SameRecorderSettings(const CRecCnd& a, const CRecCnd& b) {
    return a.m_baseFileName == b.m_baseFileName && a.m_preTime == b.m_preTime &&
           a.m_postTime == b.m_postTime && a.m_rate == b.m_rate && a.m_rs232c == b.m_rs232c;
}

} // namespace

namespace {

class CNoSound : public ISoundPlayer {
public:
    void PlayAsync(const std::string&) override {}
};

ISoundPlayer& SoundOf(const DocServices& services) {
    static CNoSound silence;
    return services.sound != nullptr ? *services.sound : silence;
}

} // namespace

CZT300SetDoc::CZT300SetDoc(const DocServices& services)
    : m_services(services), m_writer(std::make_unique<CRecordWriter>(
                                services.clock, CRecordWriter::kSplitBytes, services.diskSpace)),
      m_markLog(SoundOf(services), services.clock, services.dataFolder + CMarkLog::kSoundFile,
                [this](const std::string& line) {
                    if (m_logSink)
                        m_logSink(line);
                }),
      m_marks(*m_writer, m_markLog, services.clock) {
    if (services.store != nullptr)
        m_materials.Restore(*services.store);
}

CZT300SetDoc::~CZT300SetDoc() {
    if (m_run)
        StopArmed(false);
    m_forwarder.reset(); // it calls the recorder: before the connections close
    for (auto& device : m_devices)
        device->Close();
    if (m_services.store != nullptr)
        m_materials.Remember(*m_services.store);
}

bool CZT300SetDoc::IsConnectionText(const std::string& path) {
    return !path.empty() && path.find_first_not_of("0123456789_,ZT-") == std::string::npos;
}

bool CZT300SetDoc::OnNewDocument() {
    m_devices.clear();
    m_conditions.assign(1, CRecCnd{});
    m_currentIndex = -1;
    SetModifiedFlag(false);
    return true;
}

bool CZT300SetDoc::OnOpenDocument(const std::string& path) {
    if (IsConnectionText(path)) {
        if (!Connect(path))
            return false;
    } else {
        CRecCnd condition;
        if (const std::string message = condition.Load(path); !message.empty()) {
            m_services.prompt.MessageBox(message, PromptIcon::Stop);
            return false;
        }
        m_devices.clear();
        m_conditions.assign(1, std::move(condition));
        m_currentIndex = -1;
        UpdateNextRecordName();
    }
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

bool CZT300SetDoc::OnSaveDocument(const std::string& path) {
    if (const std::string message =
            m_conditions[static_cast<std::size_t>(GetShownIndex())].Save(path);
        !message.empty()) {
        m_services.prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CZT300SetDoc::OnCloseDocument() {
    for (std::size_t i = 0; i < m_conditions.size(); ++i)
        m_conditions[i].Save(DefaultConditionPath(static_cast<int>(i)));
}

std::string CZT300SetDoc::DefaultConditionPath(int index) const {
    return m_services.dataFolder +
           (index == 0 ? std::string("DefRecCnd") : FormatText("DefRecCnd_%d", index)) + ".czd";
}

int CZT300SetDoc::GetShownIndex() const {
    return m_currentIndex >= 0 && m_currentIndex < static_cast<int>(m_conditions.size())
               ? m_currentIndex
               : 0;
}

int CZT300SetDoc::GetReferenceIndex() const {
    for (std::size_t i = 0; i < m_conditions.size(); ++i) {
        if (m_conditions[i].m_sync != ConditionTables::kSyncSlave)
            return static_cast<int>(i);
    }
    return 0;
}

int CZT300SetDoc::GetMasterIndex() const {
    for (std::size_t i = 0; i < m_conditions.size(); ++i) {
        if (m_conditions[i].m_sync == ConditionTables::kSyncMaster)
            return static_cast<int>(i);
    }
    return 0;
}

void CZT300SetDoc::UpdateNextRecordName() {
    if (!m_conditions.empty())
        m_nextRecordName =
            ComputeNextRecordName(m_conditions[static_cast<std::size_t>(GetMasterIndex())]);
}

void CZT300SetDoc::ConditionEdited(int index) {
    if (index >= 0 && index < static_cast<int>(m_conditions.size()))
        m_conditions[static_cast<std::size_t>(index)].m_sendPending = 1;
    SetModifiedFlag(true);
}

bool CZT300SetDoc::Connect(const std::string& connectionText) {
    IPrompt& prompt = m_services.prompt;
    prompt.ProgressOpen("", "");
    prompt.ProgressShowBar(false);
    prompt.ProgressShowPercent(false);
    prompt.ProgressShowCancel(false);

    TextLines entries;
    CTextFile::SplitText(entries, ",", connectionText);
    m_devices.clear();
    m_conditions.clear();
    for (const std::string& entry : entries) {
        std::string address, name;
        SplitConnectionEntry(entry, address, name);
        const int index = GetRecorderCount();
        m_devices.push_back(std::make_unique<CDevice>(m_services.link, prompt, m_services.clock));
        m_conditions.emplace_back();
        prompt.ProgressSetText("Connecting to " + address + " " + name + " ...");
        if (!ConnectRecorder(index, address, name)) {
            m_devices.pop_back();
            m_conditions.pop_back();
            break;
        }
        MergeDefaultCondition(index);
    }
    m_currentIndex = m_devices.empty() ? -1 : 0;
    QueryReferenceStatus();
    prompt.ProgressClose();
    if (m_devices.empty())
        return false;
    CopyMasterSettings();
    if (m_services.applyCalibrationReference)
        m_services.applyCalibrationReference(m_conditions);
    UpdateNextRecordName();
    return true;
}

bool CZT300SetDoc::ConnectRecorder(int index, const std::string& address, const std::string& name) {
    CDevice& device = GetDevice(index);
    CRecCnd& condition = m_conditions[static_cast<std::size_t>(index)];
    IPrompt& prompt = m_services.prompt;
    if (!device.Open(address)) {
        prompt.MessageBox("Connection to the device failed !", PromptIcon::Stop);
        return false;
    }
    device.SetDeviceName(name);
    if (!device.ReadModules()) {
        prompt.MessageBox("Getting SC information from the device failed !", PromptIcon::Stop);
        return false;
    }
    if (!device.LoadCondition(condition)) {
        prompt.MessageBox("Reading Condition failed !", PromptIcon::Stop);
        return false;
    }
    condition.m_secondModel = name.find("ZT-500") != std::string::npos ? 1 : 0;
    if (!device.ReadBalanceResidual(condition)) {
        prompt.MessageBox("Reading Balance value failed!", PromptIcon::Stop);
        return false;
    }
    return true;
}

void CZT300SetDoc::MergeDefaultCondition(int index) {
    CRecCnd& fromRecorder = m_conditions[static_cast<std::size_t>(index)];
    CRecCnd stored;
    const std::string path = DefaultConditionPath(index);
    // A missing default file is the usual first start; anything else standing there is told.
    if (std::string refusal = CTextFile::CheckReadable(path, CTextFile::kMaxLoadBytes);
        !refusal.empty())
        m_services.prompt.MessageBox(refusal, PromptIcon::Stop);
    if (!stored.Load(path).empty())
        stored.Reset();
    if (stored.IsSameHardware(fromRecorder)) {
        stored.CopySettingsFrom(fromRecorder);
        stored.m_secondModel = fromRecorder.m_secondModel;
        fromRecorder = std::move(stored);
    }
    fromRecorder.m_sendPending = 0;
}

// Several recorders record as one: the master's file and trigger settings go to every other.
void CZT300SetDoc::CopyMasterSettings() {
    if (m_conditions.size() < 2)
        return;
    const CRecCnd master = m_conditions[static_cast<std::size_t>(GetMasterIndex())];
    for (std::size_t i = 0; i < m_conditions.size(); ++i) {
        if (static_cast<int>(i) == GetMasterIndex())
            continue;
        CRecCnd& other = m_conditions[i];
        other.m_sendPending = SameRecorderSettings(other, master) ? 0 : 1;
        other.m_baseFileName = master.m_baseFileName;
        other.m_rate = master.m_rate;
        other.m_rs232c = master.m_rs232c;
        other.m_hddLvlTrg = master.m_hddLvlTrg;
        other.m_hddPreTime = master.m_hddPreTime;
        other.m_hddPostTime = master.m_hddPostTime;
        other.m_hddRecFileExt = master.m_hddRecFileExt;
        other.m_hddRecFolder = master.m_hddRecFolder;
        other.m_memo = master.m_memo;
        other.m_memo2 = master.m_memo2;
        other.m_testInfo = master.m_testInfo;
    }
}

void CZT300SetDoc::QueryReferenceStatus() {
    if (!HasCurrentRecorder()) {
        m_status = RecorderStatus::kCommError;
        return;
    }
    CDevice& reference = GetDevice(GetReferenceIndex());
    if (!reference.IsConnected()) {
        m_status = RecorderStatus::kCommError;
        return;
    }
    std::lock_guard lock(reference.GetLock());
    m_status = reference.GetLink().LnkGetStatus(reference.GetHandle());
}

void CZT300SetDoc::OpenConditionFile(const std::string& path) {
    CRecCnd read;
    if (const std::string message = read.Load(path); !message.empty()) {
        m_services.prompt.MessageBox(message, PromptIcon::Stop);
        return;
    }
    CRecCnd& current = m_conditions[static_cast<std::size_t>(GetShownIndex())];
    if (!read.IsSameHardware(current)) {
        m_services.prompt.MessageBox("Incompatible Slot or Channels Information !",
                                     PromptIcon::Stop);
        return;
    }
    // The file's settings, with the recorder's identity of the current condition kept.
    read.m_secondModel = current.m_secondModel;
    read.m_sendPending = 1;
    current = std::move(read);
    SetModifiedFlag(true);
    UpdateNextRecordName();
    UpdateAllViews(nullptr, UpdateHint::kConditionChanged);
}

void CZT300SetDoc::OnLoadCondition() {
    for (int i = 0; i < GetRecorderCount(); ++i) {
        CRecCnd& condition = m_conditions[static_cast<std::size_t>(i)];
        // Read into a new condition: a read that fails half-way keeps the one on screen (and a
        // later Write Condition cannot send the slots that were read before the failure).
        CRecCnd loaded;
        if (!GetDevice(i).LoadCondition(loaded)) {
            m_services.prompt.MessageBox("Read Condition failed !", PromptIcon::Stop);
            break;
        }
        loaded.m_secondModel = condition.m_secondModel;
        if (!GetDevice(i).ReadBalanceResidual(loaded)) {
            m_services.prompt.MessageBox("Reading Balance value failed!", PromptIcon::Stop);
            break;
        }
        condition = std::move(loaded);
        MergeDefaultCondition(i);
    }
    QueryReferenceStatus();
    UpdateAllViews(nullptr, UpdateHint::kConditionChanged);
}

void CZT300SetDoc::OnWriteCondition() {
    bool written = true;
    for (int i = 0; i < GetRecorderCount() && written; ++i) {
        CRecCnd& condition = m_conditions[static_cast<std::size_t>(i)];
        written =
            GetDevice(i).WriteCondition(condition) && GetDevice(i).ReadBalanceResidual(condition);
        if (written)
            condition.m_sendPending = 0;
    }
    if (written)
        m_services.prompt.MessageBox("Write Condition OK!", PromptIcon::Information);
    else
        m_services.prompt.MessageBox("Write Condition failed !", PromptIcon::Stop);
    UpdateAllViews(nullptr, UpdateHint::kConditionChanged);
}

bool CZT300SetDoc::SaveCardCondition(const std::string& folder) {
    TextLines lines;
    m_conditions[static_cast<std::size_t>(GetShownIndex())].BuildCardCondition(lines);
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += "ZT300.CND";
    if (const std::string message = CTextFile::WriteTextLines(path, lines); !message.empty()) {
        m_services.prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    m_services.prompt.MessageBox(FormatText("Saved to Card File (%s) successfully!", path.c_str()),
                                 PromptIcon::Information);
    return true;
}

bool CZT300SetDoc::HasValidSyncArrangement() const {
    if (m_conditions.size() == 1)
        return m_conditions.front().m_sync == ConditionTables::kSyncSingle;
    const auto count = [&](int sync) {
        return std::count_if(m_conditions.begin(), m_conditions.end(),
                             [sync](const CRecCnd& c) { return c.m_sync == sync; });
    };
    return count(ConditionTables::kSyncMaster) == 1 && count(ConditionTables::kSyncSingle) == 0;
}

bool CZT300SetDoc::AllConditionsValid() const {
    CSilentPrompt quiet;
    return std::all_of(m_conditions.begin(), m_conditions.end(),
                       [&](const CRecCnd& c) { return c.CheckCondition(0, quiet); });
}

bool CZT300SetDoc::AllRecordersHaveCard() const {
    return std::all_of(m_devices.begin(), m_devices.end(),
                       [](const auto& device) { return device->GetCardInfo()[2] >= 0; });
}

bool CZT300SetDoc::CanGoArmed() const {
    return HasCurrentRecorder() && !m_acq.run && HasValidSyncArrangement() && AllConditionsValid();
}

bool CZT300SetDoc::CanRemoteControl() const {
    return HasCurrentRecorder() && !m_acq.run && AllConditionsValid();
}

bool CZT300SetDoc::CanStopArmed() const {
    return m_acq.run && (!m_acq.remote || m_status == RecorderStatus::kIdle);
}

bool CZT300SetDoc::CanStartHdd() const {
    return m_acq.run && !m_acq.remote && !m_acq.pcRecord && m_status != RecorderStatus::kAcq;
}

bool CZT300SetDoc::CanStartCard() const {
    return CanStartHdd() && AllRecordersHaveCard();
}

bool CZT300SetDoc::CanStopAcq() const {
    return m_acq.run && !m_acq.remote && (m_acq.pcRecord || m_status == RecorderStatus::kAcq);
}

std::string CZT300SetDoc::GetStatusPaneText() const {
    if (!HasCurrentRecorder())
        return "Offline";
    const CRecCnd& master = m_conditions[static_cast<std::size_t>(GetMasterIndex())];
    const std::string seconds =
        master.m_hddPostTime != 0
            ? FormatText(" %lu/%d sec", m_acq.secondsWritten, master.m_hddPostTime)
            : FormatText(" %lu sec", m_acq.secondsWritten);
    switch (m_status) {
    case RecorderStatus::kIdle:
        return "IDLE";
    case RecorderStatus::kArmed:
        if (!m_acq.run)
            break;
        if (m_acq.pcRecord)
            return m_acq.paused ? "Pause..." : "HDD ACQ..." + seconds;
        return "ARMED..." + GroupDigits(m_acq.receivedSamples);
    case RecorderStatus::kAcq:
        if (m_acq.pcRecord)
            return m_acq.paused ? "Pause..." : "HDD+CARD ACQ..." + seconds;
        return "CARD ACQ...";
    case RecorderStatus::kBalance:
        return "BAL";
    default:
        break;
    }
    return CDevice::GetStatusText(m_status);
}

std::string CZT300SetDoc::GetCardPaneText() const {
    if (!HasCurrentRecorder())
        return {};
    const LinkCardInfo& card = m_devices[static_cast<std::size_t>(m_currentIndex)]->GetCardInfo();
    if (card[2] < 0)
        return " No Card ";
    const auto freeKb = static_cast<unsigned long long>(card[2]);
    std::string text = " Remain:" + GroupDigits(freeKb) + " KB";
    const CRecCnd& condition = m_conditions[static_cast<std::size_t>(m_currentIndex)];
    const double bytesPerSecond = condition.CountEnabled(false) * condition.GetRateHz() * 2;
    if (bytesPerSecond != 0.0) {
        auto seconds =
            static_cast<unsigned long long>(static_cast<double>(freeKb) * 1000 / bytesPerSecond);
        const unsigned long long days = seconds / 86400;
        seconds %= 86400;
        text += FormatText("  Availible: %llu:%02llu:%02llu:%02llu", days, seconds / 3600,
                           seconds / 60 % 60, seconds % 60);
    }
    return text;
}

std::string CZT300SetDoc::GetSlotPaneText() const {
    const CRecCnd& condition = m_conditions[static_cast<std::size_t>(GetShownIndex())];
    int slots =
        static_cast<int>(std::count_if(condition.m_slots.begin(), condition.m_slots.end(),
                                       [](const CSlotInfo& slot) { return !slot.IsEmpty(); }));
    if (condition.m_calc)
        ++slots;
    return FormatText(" Slot-%d Total Chs-%d ON Chs-%d", slots,
                      static_cast<int>(condition.m_channels.size()), condition.CountEnabled(true));
}
