// The acquisition document: one set of connected recorders, or one condition edited offline.
// It owns the recorder connections, one condition per recorder, the recorder status and the
// record naming, and carries the commands that act on recorders.
#pragma once

#include "acquisition/ExternalInput.h"
#include "acquisition/MarkCommands.h"
#include "acquisition/MarkForwarder.h"
#include "acquisition/MaxMinValues.h"
#include "acquisition/RecorderSettings.h"
#include "conditions/RecCnd.h"
#include "datapath/ThreadInfo.h"
#include "device/Device.h"
#include "framework/Document.h"
#include "monitor/CpsRingBuf.h"
#include "monitor/DocMaterials.h"
#include "records/MarkLog.h"
#include "records/MaxMinFile.h"
#include "records/RecordWriter.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IClock;
class IDiskSpace;
class ILinkLibrary;
class IMessageTarget;
class IPrompt;
class ISoundPlayer;
class IDigitalInput;
class ISettingsStore;

// What a document needs of the program around it.
struct DocServices {
    ILinkLibrary& link;
    IPrompt& prompt;
    IClock& clock;
    CRecorderSettings& settings;
    std::string dataFolder; // where the default condition files live, with a trailing separator
    ISoundPlayer* sound = nullptr;         // the mark sound; none plays without it
    IDigitalInput* digitalInput = nullptr; // the USB contacts that start and stop records
    int screenWidth = 1280;                // pixels a chart may span, for the display sizing
    const IDiskSpace* diskSpace = nullptr; // record folders' free space; else the file systems'
    // The CalRef step of connecting: the calibration file of the settings onto the conditions.
    std::function<void(std::vector<CRecCnd>&)> applyCalibrationReference = {};
    ISettingsStore* store = nullptr; // remembers the material file; none without it
};

// The acquisition state the enabling rules and status panes look at; the acquisition run keeps
// it up to date.
struct AcqState {
    bool run = false;      // from ARM (or remote start) until stop ARMED
    bool remote = false;   // the run was started in remote mode
    bool pcRecord = false; // a PC record is being written
    bool paused = false;   // the PC record is paused
    unsigned long receivedSamples = 0;
    unsigned long secondsWritten = 0;
};

class CZT300SetDoc : public CDocument {
public:
    explicit CZT300SetDoc(const DocServices& services);
    ~CZT300SetDoc() override;

    // A path made only of "0123456789_,ZT-" names recorders to connect to.
    static bool IsConnectionText(const std::string& path);

    bool OnNewDocument();
    // Connects to the recorders of a connection text, or reads a condition file.
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    // Writes each condition to its default condition file.
    void OnCloseDocument();

    // "Open ..." inside a document: takes a file's settings into the current condition.
    void OpenConditionFile(const std::string& path);
    void OnLoadCondition();
    void OnWriteCondition();
    // Writes the card condition to "ZT300.CND" in `folder`.
    bool SaveCardCondition(const std::string& folder);

    int GetRecorderCount() const { return static_cast<int>(m_devices.size()); }
    bool HasCurrentRecorder() const {
        return m_currentIndex >= 0 && m_currentIndex < GetRecorderCount();
    }
    int GetCurrentIndex() const { return m_currentIndex; }
    void SetCurrentIndex(int index) { m_currentIndex = index; }
    // The index the setup view and the setup frame show: the current one, else the first.
    int GetShownIndex() const;
    // The first recorder that is not SLAVE (the first when all are), and the MASTER (else the
    // first).
    int GetReferenceIndex() const;
    int GetMasterIndex() const;
    std::vector<CRecCnd>& GetConditions() { return m_conditions; }
    const std::vector<CRecCnd>& GetConditions() const { return m_conditions; }
    CDevice& GetDevice(int index) { return *m_devices[static_cast<std::size_t>(index)]; }
    const CDevice& GetDevice(int index) const {
        return *m_devices[static_cast<std::size_t>(index)];
    }
    int GetStatus() const { return m_status; }
    const std::string& GetNextRecordName() const { return m_nextRecordName; }
    void UpdateNextRecordName();
    // Asks the reference recorder for its status.
    void QueryReferenceStatus();
    // An edit of the setup table or frame: the condition must be sent again.
    void ConditionEdited(int index);
    std::string DefaultConditionPath(int index) const;

    // Enabling rules of the document's commands.
    bool CanGoArmed() const;
    bool CanRemoteControl() const;
    bool CanMonitorChart() const { return HasCurrentRecorder(); }
    bool CanStopArmed() const;
    bool CanStartHdd() const;
    bool CanStartCard() const;
    bool CanStopAcq() const;
    bool CanLoadCondition() const { return HasCurrentRecorder() && !m_acq.run; }
    bool CanWriteCondition() const { return HasCurrentRecorder() && !m_acq.run; }
    bool CanEditCondition() const { return !m_acq.run; }

    // Acquisition. The monitor frame is the run's message target and hands its messages back to
    // OnThreadMessage on the UI thread, in order.
    void SetMessageTarget(IMessageTarget* target) { m_target = target; }
    // The monitor's log; the first one also gets what the start-up did to unfinished records.
    void SetLogSink(std::function<void(const std::string&)> sink);
    void SetMemoAsker(CMarkCommands::MemoAsker asker) { m_askMemo = std::move(asker); }
    // Go to ARMED (remote false) and Remote Control (remote true).
    bool Arm(bool remote, bool armHint = true);
    // The checks of ARM before a recorder starts sampling (calibration runs them too): the
    // record folders, each condition (sent first when it was modified and the user agrees) and
    // a channel to record.
    bool PreStartCheck() { return PreCheckArm(false); }
    // Balances every recorder with enabled channels (an ARMED document is stopped and armed again).
    // Answers true when the user chose to read the bad residuals in the setup window.
    bool Balance(const ChannelSelection* selection);
    enum class AcqKind { Hdd, Card, HddAndCard };
    void StartAcq(AcqKind kind);
    void StopAcq();
    void StopArmed(bool ask);
    void OnMark(int code = -1);
    // Reset Max/Min and Save MAX/MIN (to `path`, chosen in the save dialog).
    void ResetMaxMin();
    bool SaveMaxMin(const std::string& path);
    void OnPause();
    void OnThreadMessage(int id, std::intptr_t wparam, std::intptr_t lparam);
    // After a lost recorder: stop, close, count down (the user may cut it short), reconnect.
    // True when every recorder answered again; the caller then arms again.
    bool Reconnect();
    CThreadInfo* GetRun() const { return m_run.get(); }
    CCpsRingBuf* GetDisplayRing() const { return m_ring.get(); }
    CMaxMinValues& GetMaxMinValues() { return m_maxMinValues; }
    const CMaxMinValues& GetMaxMinValues() const { return m_maxMinValues; }
    CRecordWriter& GetRecordWriter() { return *m_writer; }
    // What the last record's end said ("ACQ OK ! (...)" or the header's error).
    const std::string& GetRecordResultText() const { return m_recordResult; }
    // The material list whose limits colour the digit lists.
    CDocMaterials& GetMaterials() { return m_materials; }
    const CDocMaterials& GetMaterials() const { return m_materials; }

    // The status bar panes.
    std::string GetStatusPaneText() const;
    std::string GetCardPaneText() const;
    std::string GetSlotPaneText() const;

    AcqState m_acq;

private:
    bool Connect(const std::string& connectionText);
    bool ConnectRecorder(int index, const std::string& address, const std::string& name);
    // The condition read from the recorder merged with its default condition file.
    void MergeDefaultCondition(int index);
    void CopyMasterSettings();
    bool HasValidSyncArrangement() const;
    bool AllConditionsValid() const;
    bool AllRecordersHaveCard() const;

    bool PreCheckArm(bool remote);
    bool StartRecorders(bool remote, double rate);
    // Calls `call` on every recorder under its lock, non-master first (or master first);
    // the first result other than 1 stops and is returned.
    int ForEachRecorder(bool masterFirst,
                        const std::function<int(ILinkLibrary&, int handle)>& call);
    void RefreshAcqState();
    void Log(const std::string& text);
    void FinishRecord();
    void RecordEnded(const std::string& written);
    void RecordStoppedByDisk();
    // The rows of a max/min file: enabled channels of every recorder, calculation channels
    // included.
    std::vector<MaxMinRow> MaxMinRows() const;

    DocServices m_services;
    IMessageTarget* m_target = nullptr;
    std::function<void(const std::string&)> m_logSink;
    CMarkCommands::MemoAsker m_askMemo;
    std::unique_ptr<CRecordWriter> m_writer;
    CMarkLog m_markLog;
    CMarkCommands m_marks;
    std::unique_ptr<CThreadInfo> m_run;
    std::unique_ptr<CExternalInput> m_externalInput; // while ARMED with the external signal on
    std::unique_ptr<CMarkForwarder> m_forwarder;     // marks to the optional unit of recorder 1
    std::unique_ptr<CCpsRingBuf> m_ring;
    CMaxMinValues m_maxMinValues;
    bool m_keepFile = false;
    std::string m_recordResult;
    std::vector<std::unique_ptr<CDevice>> m_devices;
    std::vector<CRecCnd> m_conditions;
    int m_currentIndex = -1;
    int m_status = -1;
    std::string m_nextRecordName;
    CDocMaterials m_materials;
};
