#include "datapath/DataThread.h"

#include "conditions/RecCnd.h"
#include "datapath/ThreadInfo.h"
#include "device/Device.h"
#include "framework/Clock.h"
#include "framework/MessageTarget.h"
#include "records/RecordNames.h"
#include "records/RecordWriter.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

constexpr std::uint64_t kReadCycleMs = 100;
constexpr std::uint64_t kStatusTickMs = 500;
constexpr int kStatusTimeoutMs = 1000;
constexpr int kMaxReadSeconds = 30;
constexpr int kSyncSlave = 12;
constexpr int kTriggerOff = 0;
constexpr int kTriggerDown = 3;
constexpr int kNamingCount = 1;

} // namespace

CCountConverter::CCountConverter(const CChCnd& channel)
    : m_correction(channel.GetBalanceCorrection()), m_offset(channel.GetAmpOffset()),
      m_can(channel.IsCanType()) {
    if (m_can) {
        m_unit = channel.m_canFactor;
        return;
    }
    m_unit = channel.GetRangeValue() * CChCnd::kRangePerCount;
    if (channel.m_phy1 != 0.0 && channel.m_amp1 != m_offset)
        m_slope = std::fabs(channel.m_phy1) / std::fabs(channel.m_amp1 - m_offset);
    m_secondSlope = channel.m_amp2 != 0.0 && channel.m_phy2 != 0.0 && channel.m_amp2 != m_offset;
    if (m_secondSlope) {
        m_physical2 = std::fabs(channel.m_phy2);
        m_span2 = std::fabs(channel.m_amp2 - m_offset);
    }
}

double ReadSampleNumber(const std::uint16_t* words, int dataType) {
    const std::uint32_t wide = words[0] | (static_cast<std::uint32_t>(words[1]) << 16);
    switch (dataType) {
    case 1:
        return words[0];
    case 2:
        return static_cast<std::int32_t>(wide);
    case 3:
        return wide;
    case 4:
        return std::bit_cast<float>(wide);
    default:
        return static_cast<std::int16_t>(words[0]);
    }
}

void CDataThread::Run(CThreadInfo& info) {
    CDataThread work(info);
    while (work.Pass()) {
        if (info.WaitForStop(work.GetWaitMs()))
            break;
    }
    work.Finish();
}

CDataThread::CDataThread(CThreadInfo& info) : m_info(info) {
    RunSetup& setup = info.m_setup;
    m_info.m_rowsReceived = 0;
    m_recordLimit = info.m_recordLimit;
    m_nextRecordName = setup.nextRecordName;
    m_triggersResetAt = info.m_triggersResetAt.load();

    const int perSecond = static_cast<int>(std::max(info.m_rate, 1.0));
    m_minBlock = std::max(1, info.m_rate < 2000.0 ? perSecond / 10 : perSecond / 5);
    const int maxFrames = kMaxReadSeconds * perSecond;
    m_maxRows = info.m_subSampling > 1 ? 1 : maxFrames;

    m_recorders.resize(setup.devices.size());
    for (std::size_t i = 0; i < m_recorders.size(); ++i) {
        Recorder& recorder = m_recorders[i];
        recorder.valueBase = static_cast<int>(m_values.size());
        recorder.rowBase = m_rowWords;
        BuildRecorder(recorder, setup.devices[i], setup.conditions[i]);
        recorder.buffer.assign(static_cast<std::size_t>(maxFrames + 1) * recorder.frameWords, 0);
        m_values.resize(m_values.size() + static_cast<std::size_t>(recorder.values));
        m_rowWords += recorder.rowWords;
    }
    m_raw.assign(m_values.size(), 0.0);
    m_rows.assign(static_cast<std::size_t>(m_maxRows) * m_rowWords, 0);

    m_ring.Init(info.m_preTriggerRows, static_cast<std::size_t>(m_rowWords));

    m_startTick = m_lastRead = m_lastTick = setup.clock->GetTickCount();
}

void CDataThread::BuildRecorder(Recorder& recorder, CDevice* device, CRecCnd& condition) {
    recorder.device = device;
    recorder.condition = &condition;
    recorder.slave = condition.m_sync == kSyncSlave;
    recorder.frameWords = condition.CountSampleWords(false);
    recorder.rowWords = condition.CountSampleWords(true);
    recorder.frameBytes = 2 * recorder.frameWords;
    recorder.skipBytes = recorder.frameBytes;
    recorder.hardwareValues = condition.CountEnabled(false);
    recorder.values = condition.CountEnabled(true);
    recorder.calc = recorder.values > recorder.hardwareValues;
    int wordOffset = 0;
    for (const CChCnd& channel : condition.m_channels) {
        if (!channel.m_enabled)
            continue;
        recorder.channels.push_back({wordOffset, channel.m_dataType, CCountConverter(channel)});
        wordOffset += channel.m_wordsPerSample;
    }
    condition.PrepareCalcChannels();
    BuildTriggers(recorder);
}

// The PC level triggers of a condition whose HDD level triggering is switched on: one per
// enabled channel with a trigger mode, on its place among the recorder's values. In remote mode
// the recorder decides when a record runs.
void CDataThread::BuildTriggers(Recorder& recorder) const {
    recorder.triggers.clear();
    const CRecCnd& condition = *recorder.condition;
    if (!condition.m_hddLvlTrg || m_info.m_setup.remote)
        return;
    int index = 0;
    for (const CChCnd& channel : condition.m_channels) {
        if (!channel.m_enabled)
            continue;
        if (channel.m_hddLvlTrg > kTriggerOff && channel.m_hddLvlTrg <= kTriggerDown)
            recorder.triggers.emplace_back(index, channel.m_hddLvlTrg, channel.m_hddLvlVal);
        ++index;
    }
}

bool CDataThread::Pass() {
    const std::uint64_t now = m_info.m_setup.clock->GetTickCount();
    if (now - m_lastRead >= kReadCycleMs) {
        m_lastRead = now;
        ReadCycle();
    }
    if (now - m_lastTick >= kStatusTickMs) {
        m_lastTick = now;
        StatusTick();
    }
    if (m_failed)
        return false;
    if (m_info.m_startRecordEvent.Wait(0))
        StartRecord();
    if (m_firstPass && m_info.m_setup.keepFile)
        StartRecord();
    m_firstPass = false;
    return true;
}

int CDataThread::GetWaitMs() const {
    const std::uint64_t now = m_info.m_setup.clock->GetTickCount();
    const std::uint64_t due = std::min(m_lastRead + kReadCycleMs, m_lastTick + kStatusTickMs);
    return due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(due - now, kReadCycleMs));
}

void CDataThread::ReadCycle() {
    if (m_recorders.empty())
        return;
    CRecordWriter& writer = *m_info.m_setup.writer;
    // Stop ACQ closes the record, writes its header and then resets the triggers; until that
    // reset no trigger may open the next record. The counts tell a reset from a close even when
    // both come between two cycles.
    const std::uint32_t resetAt = m_info.m_triggersResetAt.load();
    if (resetAt != m_triggersResetAt) {
        m_triggersResetAt = resetAt;
        for (Recorder& recorder : m_recorders)
            BuildTriggers(recorder);
        m_triggersHeld = false;
    }
    const bool closing = writer.GetRecordsClosed() != resetAt;
    int frames = INT_MAX;
    for (Recorder& recorder : m_recorders)
        frames = std::min(frames, FramesAvailable(recorder));
    if (frames < m_minBlock)
        return;
    const int k = m_info.m_subSampling;
    if (k > 1) {
        if (frames < k)
            return;
        frames = k;
    } else {
        frames = std::min(frames, m_maxRows);
    }
    int held = INT_MAX;
    for (Recorder& recorder : m_recorders)
        held = std::min(held, ReadFrames(recorder, frames));
    // Only frames that every recorder delivered make rows; the others wait for the next cycle.
    const int rows = std::min(held, frames) / k;
    if (rows == 0)
        return;
    m_info.m_rowsReceived += rows * k;

    m_recording = writer.IsRecording();
    int trigger = -1;
    for (int row = 0; row < rows; ++row) {
        const bool test = !m_recording && trigger < 0 && !m_triggersHeld && !closing;
        if (!MakeRow(row * k, row, test) || !test)
            continue;
        trigger = row;
        // The ring now ends with the trigger row: it becomes the record's pre-trigger part.
        if (!StartRecord()) {
            m_triggersHeld = true;
            trigger = -1;
        }
    }
    for (Recorder& recorder : m_recorders)
        KeepRest(recorder, rows * k);
    m_info.m_setup.target->Post(PostedMessage::kNewData);
    const int first = trigger + 1;
    WriteRows(first, rows - first);
}

int CDataThread::FramesAvailable(Recorder& recorder) {
    if (recorder.failed || recorder.frameBytes == 0)
        return 0;
    CDevice& device = *recorder.device;
    int bytes = 0;
    {
        std::lock_guard lock(device.GetLock());
        bytes = device.GetLink().LnkGetDataCount(device.GetHandle());
    }
    // The frame still to drop counts: the first read comes as soon as the minimum block is there.
    return (recorder.heldBytes + std::max(0, bytes)) / recorder.frameBytes;
}

int CDataThread::ReadFrames(Recorder& recorder, int frames) {
    if (recorder.failed || recorder.frameBytes == 0)
        return 0;
    // The first frame after ARM is never shown or written; it was one of the `frames`.
    if (recorder.skipBytes > 0) {
        recorder.skipBytes -= ReadBytes(recorder, recorder.heldBytes, recorder.skipBytes);
        if (recorder.skipBytes > 0)
            return 0;
        --frames;
    }
    const int capacity = static_cast<int>(recorder.buffer.size()) * 2;
    const int wanted = std::min(frames * recorder.frameBytes, capacity) - recorder.heldBytes;
    if (wanted > 0)
        recorder.heldBytes += ReadBytes(recorder, recorder.heldBytes, wanted);
    return recorder.heldBytes / recorder.frameBytes;
}

int CDataThread::ReadBytes(Recorder& recorder, int offsetBytes, int bytes) {
    CDevice& device = *recorder.device;
    auto* target = reinterpret_cast<char*>(recorder.buffer.data()) + offsetBytes;
    int read = 0;
    {
        std::lock_guard lock(device.GetLock());
        read = device.GetLink().LnkReadData(device.GetHandle(), target, bytes);
    }
    return std::clamp(read, 0, bytes);
}

void CDataThread::KeepRest(Recorder& recorder, int frames) {
    const int used = std::min(frames * recorder.frameBytes, recorder.heldBytes);
    auto* bytes = reinterpret_cast<char*>(recorder.buffer.data());
    std::memmove(bytes, bytes + used, static_cast<std::size_t>(recorder.heldBytes - used));
    recorder.heldBytes -= used;
}

bool CDataThread::MakeRow(int frame, int row, bool testTriggers) {
    std::int16_t* out = m_rows.data() + static_cast<std::ptrdiff_t>(row) * m_rowWords;
    bool fired = false;
    for (Recorder& recorder : m_recorders) {
        const std::uint16_t* words =
            recorder.buffer.data() + static_cast<std::ptrdiff_t>(frame) * recorder.frameWords;
        std::int16_t* place = out + recorder.rowBase;
        std::memcpy(place, words, static_cast<std::size_t>(recorder.frameBytes));
        double* values = m_values.data() + recorder.valueBase;
        double* raw = m_raw.data() + recorder.valueBase;
        for (std::size_t c = 0; c < recorder.channels.size(); ++c) {
            const ChannelReader& channel = recorder.channels[c];
            raw[c] = ReadSampleNumber(words + channel.wordOffset, channel.dataType);
            values[c] = channel.convert(raw[c]);
        }
        for (std::size_t t = 0; testTriggers && !fired && t < recorder.triggers.size(); ++t)
            fired = recorder.triggers[t].Test(values, recorder.hardwareValues);
        if (!recorder.calc)
            continue;
        recorder.condition->EvaluateCalcChannels(values, recorder.hardwareValues, recorder.values,
                                                 m_calcCounts.data());
        for (int c = 0; c < recorder.values - recorder.hardwareValues; ++c) {
            place[recorder.frameWords + c] = m_calcCounts[static_cast<std::size_t>(c)];
            raw[recorder.hardwareValues + c] = m_calcCounts[static_cast<std::size_t>(c)];
        }
    }
    const int count = static_cast<int>(m_values.size());
    m_info.m_maxMin.UpdateRow(m_values.data(), m_raw.data(), count);
    m_info.m_display.AddRow(m_values.data(), count);
    m_ring.Push(out, static_cast<std::size_t>(m_rowWords));
    return fired;
}

void CDataThread::WriteRows(int firstRow, int rows) {
    if (rows <= 0 || !m_recording)
        return;
    CRecordWriter& writer = *m_info.m_setup.writer;
    IMessageTarget& target = *m_info.m_setup.target;
    std::size_t count = static_cast<std::size_t>(rows);
    if (m_recordLimit > 0) {
        const std::uint32_t written = writer.GetSamplesWritten();
        if (written >= m_recordLimit)
            return;
        count = std::min<std::size_t>(count, m_recordLimit - written);
    }
    const std::int16_t* first = m_rows.data() + static_cast<std::ptrdiff_t>(firstRow) * m_rowWords;
    switch (writer.Append(first, count)) {
    case AppendResult::Written:
        target.Post(PostedMessage::kRecordWritten);
        if (m_recordLimit > 0 && writer.GetSamplesWritten() >= m_recordLimit)
            target.Post(PostedMessage::kRecordLimit);
        break;
    case AppendResult::NotWritten:
        break;
    case AppendResult::Stopped:
        // The run goes on without a record; the triggers wait for the document's reset.
        m_info.SetNotice(writer.TakeError());
        target.Post(PostedMessage::kLogLine, ThreadLog::kRecordStopped);
        m_recording = false;
        break;
    case AppendResult::Failed:
        // The writer closed the record with the rows that reached the disk and their header.
        m_info.SetNotice(writer.TakeError());
        target.Post(PostedMessage::kLogLine, ThreadLog::kRecordFailed);
        m_recording = false;
        m_failed = true;
        break;
    }
}

void CDataThread::StatusTick() {
    IMessageTarget& target = *m_info.m_setup.target;
    target.Post(PostedMessage::kDisplayTick);
    if (!m_info.m_commError) {
        bool lost = false;
        for (Recorder& recorder : m_recorders) {
            CDevice& device = *recorder.device;
            if (recorder.failed || device.GetHandle() == 0)
                continue;
            int status = 0;
            {
                std::lock_guard lock(device.GetLock());
                status = device.GetLink().LnkGetStatusWait(device.GetHandle(), kStatusTimeoutMs);
            }
            if (status == RecorderStatus::kCommError2) {
                recorder.failed = true;
                lost = true;
            } else if (status >= 0 && !recorder.slave) {
                m_info.m_status = status;
            }
        }
        if (lost) {
            m_info.m_commError = true;
            target.Post(PostedMessage::kCommError);
        }
        // The status bar shows how many rows came in how many milliseconds of the run.
        target.Post(PostedMessage::kDataCount, static_cast<std::intptr_t>(m_info.GetRowsReceived()),
                    static_cast<std::intptr_t>(m_lastTick - m_startTick));
    }
    if (m_info.m_setup.remote)
        RemoteTick();
}

void CDataThread::RemoteTick() {
    const bool recording = m_info.m_setup.writer->IsRecording();
    switch (m_info.m_status.load()) {
    case RecorderStatus::kArmed:
        // The recorder ended its own acquisition: the monitor frame stops the PC record.
        if (recording)
            m_info.m_setup.target->Post(PostedMessage::kRecordLimit);
        break;
    case RecorderStatus::kAcq:
        if (!recording)
            StartRecord();
        break;
    case RecorderStatus::kIdle:
        DrainRecorders();
        break;
    default:
        break;
    }
}

// An idle recorder's leftovers would join the rows of its next acquisition out of step.
void CDataThread::DrainRecorders() {
    for (Recorder& recorder : m_recorders) {
        recorder.heldBytes = 0;
        if (recorder.failed)
            continue;
        CDevice& device = *recorder.device;
        std::lock_guard lock(device.GetLock());
        const int bytes = device.GetLink().LnkGetDataCount(device.GetHandle());
        if (bytes > 0 && bytes < static_cast<int>(recorder.buffer.size()) * 2)
            device.GetLink().LnkReadData(device.GetHandle(), recorder.buffer.data(), bytes);
    }
}

bool CDataThread::StartRecord() {
    RunSetup& setup = m_info.m_setup;
    CRecordWriter& writer = *setup.writer;
    if (writer.IsRecording())
        return m_recording = true;
    const RecordStart start{setup.conditions, setup.masterIndex, m_nextRecordName, setup.comment};
    const std::string error = writer.Start(start, m_ring.GetOlder(), m_ring.GetNewer());
    if (!error.empty()) {
        m_info.SetNotice(error);
        setup.target->Post(PostedMessage::kLogLine, ThreadLog::kRecordFailed);
        return m_recording = false;
    }
    setup.target->Post(PostedMessage::kRecordStarted);
    setup.target->Post(PostedMessage::kLogLine, ThreadLog::kStartRecord);
    const CRecCnd& master = setup.conditions[static_cast<std::size_t>(setup.masterIndex)];
    if (master.m_hddRecFileExt == kNamingCount)
        m_nextRecordName = IncrementRecordName(m_nextRecordName);
    return m_recording = true;
}

void CDataThread::Finish() {
    if (!m_info.m_commError)
        StopRecorders();
    m_recorders.clear();
    m_rows = {};
    m_values = {};
    m_raw = {};
    m_ring.Init(0, 0);
}

// The master first, so that the slaves it clocks stop together.
void CDataThread::StopRecorders() {
    const auto master = static_cast<std::size_t>(m_info.m_setup.masterIndex);
    std::vector<std::size_t> order{master};
    for (std::size_t i = 0; i < m_recorders.size(); ++i) {
        if (i != master)
            order.push_back(i);
    }
    for (const std::size_t i : order) {
        if (i >= m_recorders.size() || m_recorders[i].failed)
            continue;
        CDevice& device = *m_recorders[i].device;
        if (device.GetHandle() == 0)
            continue;
        std::lock_guard lock(device.GetLock());
        if (m_info.m_setup.remote)
            device.GetLink().LnkSetRemote(device.GetHandle(), 0, 0);
        else
            device.GetLink().LnkStopArmed(device.GetHandle());
    }
}
