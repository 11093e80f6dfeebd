// The measuring of a calibration: armed acquisition on the unit's recorder and the thread that
// reads its sample blocks into the shared statistics until it is told to stop.
#pragma once

#include "framework/Event.h"
#include "framework/MessageTarget.h"

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

class CCalStatistics;
class CDevice;

class CExecCalThreadInfo {
public:
    // Posted to the dialog after every block the statistics took.
    static constexpr int kUpdateMessage = PostedMessage::kUserBase + 1;
    // Posted once when the recorder stopped answering; the parameter is the link's result.
    static constexpr int kCommErrorMessage = PostedMessage::kCommError;

    // `frameWords` 16-bit words per frame of the unit, `rate` its sampling rate in Hz.
    CExecCalThreadInfo(IMessageTarget& target, CDevice& device, CCalStatistics& statistics,
                       int frameWords, double rate);
    ~CExecCalThreadInfo();
    CExecCalThreadInfo(const CExecCalThreadInfo&) = delete;
    CExecCalThreadInfo& operator=(const CExecCalThreadInfo&) = delete;

    // Starts armed acquisition and then the thread; the start's result (1 = running).
    int Start();
    // Tells the thread to stop and waits for it; it stops the armed acquisition as it ends.
    // Every library call it may be in has its own time-out. Safe to call again.
    void Stop();
    // From a successful Start until Stop (the thread may have ended on a lost recorder).
    bool IsRunning() const { return m_thread.joinable(); }

    // The recorder's buffer: a second of frames, at least ten.
    static int DeviceBufferBytes(double rate, int frameWords);
    // The thread's buffer: a second of frames, at least one.
    static int ThreadBufferFrames(double rate);
    // The thread reads once at least this many frames wait: a twentieth of a second.
    static int MinBlockFrames(double rate);
    // How long the thread waits for the stop event when too few frames wait.
    static constexpr int kPollMs = 10;

private:
    void Run();
    // One read of the frames that wait; false once the recorder is lost.
    bool ReadBlock(std::vector<std::int16_t>& buffer, int& heldBytes);
    void Lost(int result);

    IMessageTarget& m_target;
    CDevice& m_device;
    CCalStatistics& m_statistics;
    const int m_frameWords;
    const double m_rate;
    CEvent m_stopEvent;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
