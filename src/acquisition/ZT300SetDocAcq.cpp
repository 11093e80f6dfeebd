// The acquisition half of the document: ARM, the acquisition starts and stops, stop ARMED, the
// thread's messages, marks and pauses, and the reconnection after a lost recorder.
#include "acquisition/ZT300SetDoc.h"

#include "acquisition/StartupRecovery.h"
#include "conditions/ConditionTables.h"
#include "conditions/TextNumbers.h"
#include "datapath/DataThread.h"
#include "framework/LinkLibrary.h"
#include "framework/MessageTarget.h"
#include "framework/Prompt.h"
#include "framework/UpdateHints.h"
#include "monitor/DisplaySizing.h"
#include "records/MaxMinFile.h"
#include "records/RecordNames.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

namespace {

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int CZT300SetDoc::ForEachRecorder(bool masterFirst,
                                  const std::function<int(ILinkLibrary&, int)>& call) {
    std::vector<int> order;
    const int master = GetMasterIndex();
    for (int i = 0; i < GetRecorderCount(); ++i) {
        if (i != master)
            order.push_back(i);
    }
    if (masterFirst)
        order.insert(order.begin(), master);
    else
        order.push_back(master);
    for (const int i : order) {
        CDevice& device = GetDevice(i);
        if (!device.IsConnected())
            return RecorderStatus::kCommError;
        std::lock_guard lock(device.GetLock());
        if (const int result = call(device.GetLink(), device.GetHandle()); result != 1)
            return result;
    }
    return 1;
}

bool CZT300SetDoc::PreCheckArm(bool remote) {
    IPrompt& prompt = m_services.prompt;
    bool asked = false;
    for (int i = 0; i < static_cast<int>(m_conditions.size()); ++i) {
        CRecCnd& condition = m_conditions[static_cast<std::size_t>(i)];
        std::error_code error;
        if (!std::filesystem::is_directory(condition.m_hddRecFolder, error)) {
            prompt.MessageBox("HDD (" + condition.m_hddRecFolder + ") Folder does not exist!",
                              PromptIcon::Stop);
            return false;
        }
        // A moving average beyond what the run's memory holds is refused before anything starts.
        if (const std::string message = condition.CheckAverageWindows(); !message.empty()) {
            prompt.MessageBox(message, PromptIcon::Stop);
            return false;
        }
        if (!condition.m_sendPending) {
            if (!condition.CheckCondition(remote ? 1 : 0, prompt))
                return false;
            continue;
        }
        if (!asked &&
            prompt.MessageBox(
                "The recording condition may be modified. \nIf Sending the condition, Press "
                "[YES]. If not, Press [NO]. ",
                PromptIcon::Question, PromptButtons::YesNo) != PromptAnswer::Yes)
            return false;
        asked = true;
        if (i < GetRecorderCount()) {
            if (!GetDevice(i).WriteCondition(condition) ||
                !GetDevice(i).ReadBalanceResidual(condition))
                return false;
        }
        condition.m_sendPending = 0;
    }
    const bool everyHasChannel =
        std::all_of(m_conditions.begin(), m_conditions.end(),
                    [](const CRecCnd& c) { return c.HasEnabledChannel(); });
    if (GetRecorderCount() == 0 || !everyHasChannel) {
        prompt.MessageBox("Start Error : No Device or some device that has no channel to record !",
                          PromptIcon::Stop);
        return false;
    }
    return true;
}

bool CZT300SetDoc::StartRecorders(bool remote, double rate) {
    // Thirty seconds of a recorder's own frames, at least ten: a recorder with more channels
    // than the reference needs the larger buffer.
    const long long wholeRate = static_cast<long long>(rate);
    std::map<int, int> bufferBytes; // by handle
    for (int i = 0; i < GetRecorderCount(); ++i) {
        const long long words = m_conditions[static_cast<std::size_t>(i)].CountSampleWords(false);
        bufferBytes[GetDevice(i).GetHandle()] = static_cast<int>(
            std::min<long long>(words * std::max(30 * wholeRate, 10LL) * 2, 0x7FFFFFFF));
    }
    const int result = ForEachRecorder(false, [&](ILinkLibrary& link, int handle) {
        return remote ? link.LnkSetRemote(handle, 1, bufferBytes[handle])
                      : link.LnkStartArmed(handle, bufferBytes[handle]);
    });
    if (result == 1)
        return true;
    m_services.prompt.MessageBox(
        FormatText(remote ? "Set Remote failed! %d" : "Start ARMED failed! %d", result),
        PromptIcon::Stop);
    return false;
}

bool CZT300SetDoc::Arm(bool remote, bool armHint) {
    if (m_run || !HasCurrentRecorder() || !PreCheckArm(remote))
        return false;

    const CRecCnd& reference = m_conditions[static_cast<std::size_t>(GetReferenceIndex())];
    const double rate = reference.GetRateHz();
    const DisplaySizing sizing = SizeDisplay(rate, m_services.settings.m_xWidth,
                                             m_services.screenWidth, reference.m_subSamp);
    int channels = 0;
    for (const CRecCnd& condition : m_conditions)
        channels += condition.CountEnabled(true);
    auto ring = std::make_unique<CCpsRingBuf>();
    ring->Create(sizing.ringCapacity, channels, NextRingFirstTime(m_ring.get(), m_keepFile),
                 sizing.pointTime);

    RunSetup setup;
    setup.target = m_target;
    setup.clock = &m_services.clock;
    setup.writer = m_writer.get();
    for (int i = 0; i < GetRecorderCount(); ++i)
        setup.devices.push_back(&GetDevice(i));
    setup.conditions = m_conditions;
    setup.masterIndex = GetMasterIndex();
    setup.referenceIndex = GetReferenceIndex();
    setup.nextRecordName = m_nextRecordName;
    setup.remote = remote;
    setup.keepFile = m_keepFile;
    setup.displayFactor = sizing.factor;
    setup.displayCapacity = sizing.bufferCapacity;
    auto run = std::make_unique<CThreadInfo>(std::move(setup));
    if (!run->Prepare()) {
        m_services.prompt.MessageBox(CTextFile::kInsufficientMemory, PromptIcon::Stop);
        return false;
    }
    m_ring = std::move(ring);
    m_maxMinValues.Create(channels);
    if (!remote && armHint)
        UpdateAllViews(nullptr, UpdateHint::kArm);

    m_run = std::move(run);
    if (!StartRecorders(remote, rate)) {
        m_run.reset();
        return false;
    }
    CDevice& device = GetDevice(GetReferenceIndex());
    {
        std::lock_guard lock(device.GetLock());
        m_status = device.GetLink().LnkGetStatusWait(device.GetHandle(), 2000);
    }
    m_keepFile = false;
    if (m_services.settings.m_externalSignal && m_services.digitalInput != nullptr &&
        m_target != nullptr) {
        m_externalInput =
            std::make_unique<CExternalInput>(*m_services.digitalInput, *m_target, m_services.clock);
        m_externalInput->Start();
    }
    m_run->StartThread(&CDataThread::Run);
    RefreshAcqState();
    UpdateAllViews(nullptr, UpdateHint::kRepaint);
    return true;
}

void CZT300SetDoc::StartAcq(AcqKind kind) {
    if (!m_run)
        return;
    if (kind != AcqKind::Hdd) {
        const int result = ForEachRecorder(
            false, [](ILinkLibrary& link, int handle) { return link.LnkStartAcq(handle, 0, 0); });
        if (result != 1) {
            m_services.prompt.MessageBox(FormatText("Start ACQ failed! %d", result),
                                         PromptIcon::Stop);
            return;
        }
        m_status = RecorderStatus::kAcq;
    }
    if (kind != AcqKind::Card) {
        if (m_writer->IsPaused())
            m_marks.TogglePause();
        else
            m_run->RequestRecord();
    }
    RefreshAcqState();
}

void CZT300SetDoc::StopAcq() {
    const bool recording = m_writer->IsRecording();
    if (!recording && m_status != RecorderStatus::kAcq)
        return;
    if (m_status == RecorderStatus::kAcq) {
        const int result = ForEachRecorder(
            true, [](ILinkLibrary& link, int handle) { return link.LnkStopAcq(handle); });
        if (result != 1)
            m_services.prompt.MessageBox(FormatText("Stop ACQ failed! %d", result),
                                         PromptIcon::Stop);
        m_status = RecorderStatus::kArmed;
    }
    if (recording)
        FinishRecord();
    RefreshAcqState();
}

void CZT300SetDoc::FinishRecord() {
    if (const std::string message = m_writer->Close(); !message.empty()) {
        m_services.prompt.MessageBox(message, PromptIcon::Stop);
        // Nothing is left of that record; the triggers may open the next one.
        if (m_run)
            m_run->ResetTriggers();
        return;
    }
    Log("Stopped HDD Record");
    RecordEnded(m_writer->WriteHeader());
}

// The record is closed and its header written (or `written` says why not).
void CZT300SetDoc::RecordEnded(const std::string& written) {
    const RecordPaths paths = m_writer->GetPaths();
    // Only now may a PC level trigger open the next record: it would take the writer's paths.
    if (m_run)
        m_run->ResetTriggers();
    m_recordResult = written.empty() ? "ACQ OK ! (" + FileNameOf(paths.header) + ")" : written;
    if (written.empty()) {
        const CMaxMinFile file(MaxMinRows(), paths.header, m_services.clock.GetLocalTime());
        if (const std::string failed = m_maxMinValues.RecordFinished(m_services.settings, file);
            !failed.empty())
            m_recordResult = failed;
        if (m_conditions[static_cast<std::size_t>(GetMasterIndex())].m_hddRecFileExt) {
            m_nextRecordName = IncrementRecordName(FileNameOf(paths.base));
            UpdateAllViews(nullptr, UpdateHint::kNextRecordNameChanged);
        }
    }
    UpdateAllViews(nullptr, UpdateHint::kRecordFinished);
}

std::vector<MaxMinRow> CZT300SetDoc::MaxMinRows() const {
    std::vector<MaxMinRow> rows;
    const CMaxMinTable& table = m_maxMinValues.GetCopy();
    const int digits = m_services.settings.m_decimalDigit;
    auto add = [&](const CChCnd& channel) {
        const auto index = static_cast<int>(rows.size());
        if (index >= table.GetCount())
            return;
        const MaxMinEntry& entry = table.GetEntry(index);
        rows.push_back({channel.GetDisplayName(), channel.m_phyUnit,
                        FormatText("%.*f", digits, entry.maximum),
                        FormatText("%.*f", digits, entry.minimum)});
    };
    for (const CRecCnd& condition : m_conditions) {
        for (const CChCnd& channel : condition.m_channels) {
            if (channel.m_enabled)
                add(channel);
        }
        for (const CCalcChCnd& calc : condition.m_calcChannels) {
            if (condition.m_calc && calc.m_enabled)
                add(calc);
        }
    }
    return rows;
}

void CZT300SetDoc::StopArmed(bool ask) {
    if (!m_run)
        return;
    m_keepFile = ask && m_writer->IsRecording();
    if (m_writer->IsRecording() || m_status == RecorderStatus::kAcq)
        StopAcq();
    const bool commError = m_run->HasCommError();
    if (m_externalInput) {
        m_externalInput->Stop();
        m_externalInput.reset();
    }
    m_run->StopThread();
    m_run.reset();
    if (!commError && HasCurrentRecorder()) {
        CDevice& reference = GetDevice(GetReferenceIndex());
        const std::uint64_t start = m_services.clock.GetTickCount();
        int status = RecorderStatus::kCommError;
        for (;;) {
            if (reference.IsConnected()) {
                std::lock_guard lock(reference.GetLock());
                status = reference.GetLink().LnkGetStatusWait(reference.GetHandle(), 1000);
            }
            if (status == RecorderStatus::kIdle) {
                m_status = RecorderStatus::kIdle;
                break;
            }
            if (m_services.clock.GetTickCount() - start >= 5000) {
                m_services.prompt.MessageBox(
                    FormatText("Stop ARM failed ! StatusCode = %d", status), PromptIcon::None);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    RefreshAcqState();
    UpdateAllViews(nullptr, UpdateHint::kRepaint);
}

bool CZT300SetDoc::Balance(const ChannelSelection* selection) {
    const bool wasArmed = m_run != nullptr;
    if (wasArmed)
        StopArmed(false);
    m_status = RecorderStatus::kBalance;
    UpdateAllViews(nullptr, UpdateHint::kRepaint);
    int bad = -1;
    for (int i = 0; i < GetRecorderCount(); ++i) {
        CRecCnd& condition = m_conditions[static_cast<std::size_t>(i)];
        if (!condition.HasEnabledChannel())
            continue;
        if (!GetDevice(i).Balance(condition, selection)) {
            m_services.prompt.MessageBox("Do Balance failed!", PromptIcon::Stop);
            QueryReferenceStatus();
            return false;
        }
        const auto tolerance = static_cast<std::int16_t>(m_services.settings.m_balWarnPercent);
        if (bad < 0 && !condition.CheckBalanceResidual(tolerance, selection))
            bad = i;
    }
    QueryReferenceStatus();
    UpdateAllViews(nullptr, UpdateHint::kBalanceValuesRead);
    if (bad >= 0 && m_services.prompt.MessageBox(
                        "Bad balance residual value exist !\nDo you want to read it?",
                        PromptIcon::Exclamation, PromptButtons::YesNo) == PromptAnswer::Yes)
        return true;
    if (wasArmed)
        Arm(false, false);
    return false;
}

void CZT300SetDoc::OnMark(int code) {
    const CMarkCommands::MemoAsker noMemo = [](const MarkMemoRequest&, std::string&) {
        return true;
    };
    CMarkForwarder* forwarder = nullptr;
    int handle = 0;
    if (m_services.settings.m_useQu800 && HasCurrentRecorder() && GetDevice(0).IsConnected()) {
        if (!m_forwarder)
            m_forwarder =
                std::make_unique<CMarkForwarder>(GetDevice(0).GetLink(), GetDevice(0).GetLock());
        forwarder = m_forwarder.get();
        handle = GetDevice(0).GetHandle();
    }
    m_marks.SetMark(code, m_askMemo ? m_askMemo : noMemo, forwarder, handle);
}

void CZT300SetDoc::ResetMaxMin() {
    m_maxMinValues.Reset(m_run ? &m_run->GetMaxMin() : nullptr, *this);
}

bool CZT300SetDoc::SaveMaxMin(const std::string& path) {
    const CMaxMinFile file(MaxMinRows(), m_writer->GetPaths().header,
                           m_services.clock.GetLocalTime());
    return m_maxMinValues.SaveByHand(path, file, m_services.prompt);
}

void CZT300SetDoc::OnPause() {
    m_marks.TogglePause();
    RefreshAcqState();
}

// The data thread ended the record with its header when the disk was nearly full; the
// monitoring goes on.
void CZT300SetDoc::RecordStoppedByDisk() {
    const std::string notice = m_run->TakeNotice();
    Log(notice);
    Log("Stopped HDD Record");
    RecordEnded({});
    m_recordResult = notice;
    RefreshAcqState();
}

void CZT300SetDoc::SetLogSink(std::function<void(const std::string&)> sink) {
    m_logSink = std::move(sink);
    if (!m_logSink)
        return;
    for (const std::string& line : CStartupRecovery::TakeLog())
        Log(line);
}

void CZT300SetDoc::Log(const std::string& text) {
    m_markLog.Log(text);
}

void CZT300SetDoc::RefreshAcqState() {
    m_acq.run = m_run != nullptr;
    m_acq.remote = m_run != nullptr && m_run->IsRemote();
    m_acq.pcRecord = m_writer->IsRecording();
    m_acq.paused = m_writer->IsPaused();
    if (m_run) {
        m_acq.receivedSamples = static_cast<unsigned long>(m_run->GetRowsReceived());
        const double rowRate = m_run->GetRowRate();
        m_acq.secondsWritten =
            rowRate > 0.0 ? static_cast<unsigned long>(m_writer->GetSamplesWritten() / rowRate)
                          : 0UL;
        if (m_run->GetRecorderStatus() >= 0)
            m_status = m_run->GetRecorderStatus();
    }
}

void CZT300SetDoc::OnThreadMessage(int id, std::intptr_t wparam, std::intptr_t) {
    if (!m_run)
        return;
    switch (id) {
    case PostedMessage::kDisplayTick:
        m_run->GetDisplayFeed().HandOver(m_ring.get(), *this);
        break;
    case PostedMessage::kNewData:
        m_maxMinValues.Refresh(&m_run->GetMaxMin(), *this);
        break;
    case PostedMessage::kDataCount:
    case PostedMessage::kRecordWritten:
        RefreshAcqState();
        break;
    case PostedMessage::kRecordStarted:
        RefreshAcqState();
        UpdateAllViews(nullptr, UpdateHint::kRepaint);
        break;
    case PostedMessage::kRecordLimit:
        StopAcq();
        break;
    case PostedMessage::kExternalStart:
        if (CanStartHdd() || m_acq.paused)
            StartAcq(AcqKind::Hdd);
        break;
    case PostedMessage::kMarkRequest:
        OnMark(static_cast<int>(wparam));
        break;
    case PostedMessage::kLogLine:
        if (wparam == ThreadLog::kStartRecord) {
            Log("Start HDD Record");
        } else if (wparam == ThreadLog::kRecordStopped) {
            RecordStoppedByDisk();
        } else if (const std::string notice = m_run->TakeNotice(); !notice.empty()) {
            m_services.prompt.MessageBox(notice, PromptIcon::Stop);
            if (m_run->HasEnded())
                StopArmed(false);
        }
        break;
    default:
        break;
    }
}

bool CZT300SetDoc::Reconnect() {
    IPrompt& prompt = m_services.prompt;
    prompt.ProgressOpen("COMM ERROR", "Comm Error !!!   Stopping ARM...");
    prompt.ProgressShowBar(false);
    prompt.ProgressShowPercent(false);
    prompt.ProgressShowCancel(false);
    StopArmed(true);
    prompt.ProgressSetText("Closing COMM...");
    for (auto& device : m_devices)
        device->Close();

    prompt.ProgressShowBar(true);
    prompt.ProgressSetRange(0, 100);
    prompt.ProgressSetCancelText("Reconnect");
    prompt.ProgressShowCancel(true);
    prompt.ProgressSetText("Comm Error !");
    const std::uint64_t start = m_services.clock.GetTickCount();
    unsigned long counter = 0;
    while (counter < 6000 && !prompt.ProgressCheckCancel()) {
        const std::uint64_t seconds = (m_services.clock.GetTickCount() - start) / 1000;
        if (seconds * 100 > counter) {
            counter = static_cast<unsigned long>(seconds * 100);
            prompt.ProgressSetText(
                FormatText("Comm Error!   Reconnect ? ...%lu seconds", counter / 100));
            prompt.ProgressSetPos(static_cast<int>(counter / 60));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    prompt.ProgressShowBar(false);
    prompt.ProgressShowPercent(false);
    prompt.ProgressShowCancel(false);
    prompt.ProgressSetText("Reconnecting...");
    const bool reconnected = std::all_of(m_devices.begin(), m_devices.end(),
                                         [](const auto& device) { return device->Reopen(); });
    if (reconnected)
        prompt.ProgressSetText("Reconnection OK!  Starting ARM...");
    prompt.ProgressClose();
    if (!reconnected)
        prompt.MessageBox("Reconnection failed!", PromptIcon::Stop);
    RefreshAcqState();
    return reconnected;
}
