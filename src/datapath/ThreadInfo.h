// One running acquisition, from ARM (or remote start) to stop ARMED: what the data thread and
// the user-interface thread share, and the thread that runs the data thread's work.
//
// Hand-over only through: the events, the display feed's lock, the max/min table's lock, the
// record writer's file lock and the notice lock, each taken for one short step and never two
// at once; plain counters are atomic words the user-interface thread reads without a lock.
#pragma once

#include "conditions/RecCnd.h"
#include "framework/Event.h"
#include "monitor/DisplayFeed.h"
#include "records/MaxMinRunTable.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CDevice;
class CRecordWriter;
class IClock;
class IMessageTarget;

// The parameter of the log-line message: what the document logs or shows.
namespace ThreadLog {
inline constexpr int kStartRecord = 1;  // log "Start HDD Record"
inline constexpr int kRecordFailed = 2; // show the run's notice (TakeNotice)
// The disk was nearly full: the record ended with its header; log the run's notice.
inline constexpr int kRecordStopped = 3;
} // namespace ThreadLog

// What the document hands to a new run at ARM.
struct RunSetup {
    IMessageTarget* target = nullptr; // the monitor frame
    const IClock* clock = nullptr;
    CRecordWriter* writer = nullptr; // the document's PC record
    std::vector<CDevice*> devices;   // document order
    std::vector<CRecCnd> conditions; // copies, same order; the run works on its own
    int masterIndex = 0;             // supplies the record names and the time limit
    int referenceIndex = 0;          // supplies the rate and the sub-sampling
    std::string nextRecordName;      // the name of the next record in Count mode
    std::string comment;             // "COMMENT0" of the headers; empty for none
    bool remote = false;             // started by Remote Control
    bool keepFile = false;           // a PC record goes on in a new file at once
    int displayFactor = 1;           // rows folded into one compressed display point
    int displayCapacity = 0;         // compressed display points
};

class CThreadInfo {
public:
    explicit CThreadInfo(RunSetup setup);
    // Stops and joins a thread still running.
    ~CThreadInfo();
    CThreadInfo(const CThreadInfo&) = delete;
    CThreadInfo& operator=(const CThreadInfo&) = delete;

    // Sizes the display feed and the max/min table; false when their storage cannot be had.
    bool Prepare();
    // Starts the data thread after the recorders were started; it runs `work` (the data thread's
    // loop, CDataThread::Run) and then raises the ended event.
    void StartThread(void (*work)(CThreadInfo&));
    // Stop ARMED: sets the stop event, waits for the ended event and joins the thread.
    void StopThread();

    // --- user-interface thread ---
    // Start HDD_ACQ and the external start: the data thread opens a PC record.
    void RequestRecord() { m_startRecordEvent.Set(); }
    // After Stop ACQ has written the header: the PC level triggers, held since the record
    // ended, start afresh and may open the next record.
    void ResetTriggers();
    std::int64_t GetRowsReceived() const { return m_rowsReceived.load(); }
    // Rows per second of the run's rows (sub-sampled rows at 0.1 Hz).
    double GetRowRate() const { return m_rate / m_subSampling; }
    // The record-sample limit of a PC record; 0 = none.
    std::uint32_t GetRecordLimit() const { return m_recordLimit; }
    bool HasCommError() const { return m_commError.load(); }
    // The last status of a recorder that is not SLAVE; -1 until one answered.
    int GetRecorderStatus() const { return m_status.load(); }
    bool HasEnded() const { return m_ended.load(); }
    bool IsRemote() const { return m_setup.remote; }
    // The text of the last failure the run reported with ThreadLog::kRecordFailed, once.
    std::string TakeNotice();
    // --- data thread ---
    // Waits up to `ms` for Stop ARMED; true once it came.
    bool WaitForStop(int ms) { return m_stopEvent.Wait(ms); }
    CDisplayFeed& GetDisplayFeed() { return m_display; }
    CMaxMinRunTable& GetMaxMin() { return m_maxMin; }

    int GetChannelCount() const { return m_channelCount; }
    double GetRate() const { return m_rate; }
    int GetSubSampling() const { return m_subSampling; }

private:
    friend class CDataThread;

    void SetNotice(std::string text);

    RunSetup m_setup;
    int m_channelCount = 0; // value-vector width: enabled channels with calculation channels
    double m_rate = 0.0;    // Hz, of the reference condition
    int m_subSampling = 1;  // frames per row at 0.1 Hz
    std::uint32_t m_recordLimit = 0;
    std::uint32_t m_preTriggerRows = 0;

    CEvent m_stopEvent;
    CEvent m_endedEvent;
    CEvent m_startRecordEvent;
    std::atomic<std::int64_t> m_rowsReceived{0};
    std::atomic<bool> m_commError{false};
    std::atomic<int> m_status{-1};
    // The writer's count of closed records when the triggers were last reset: while the writer
    // has closed more, a record has ended without its reset.
    std::atomic<std::uint32_t> m_triggersResetAt{0};
    std::atomic<bool> m_ended{false};

    CDisplayFeed m_display;
    CMaxMinRunTable m_maxMin;

    std::mutex m_noticeLock;
    std::string m_notice; // guarded by m_noticeLock

    std::thread m_thread;
};
