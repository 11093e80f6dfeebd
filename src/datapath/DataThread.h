// The work of the acquisition data thread: reads the sample frames of all recorders of a run,
// joins them into rows, converts, computes, folds, keeps the pre-trigger ring, writes the PC
// record and watches the recorders. Everything here belongs to the data thread; it meets the
// user-interface thread only through its CThreadInfo.
#pragma once

#include "conditions/TrgCh.h"
#include "datapath/DataThreadRing.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CChCnd;
class CDevice;
class CRecCnd;
class CThreadInfo;

// A channel's count, or 32-bit reading, as a physical value: CChCnd::CountToPhys with every
// quantity that does not change during a run worked out once.
class CCountConverter {
public:
    explicit CCountConverter(const CChCnd& channel);
    double operator()(double count) const {
        const double amp = (count - m_correction) * m_unit;
        if (m_can)
            return amp - m_offset;
        if (m_secondSlope && amp < m_offset)
            return (amp - m_offset) * m_physical2 / m_span2;
        return (amp - m_offset) * m_slope;
    }

private:
    double m_correction = 0.0;
    double m_unit = 0.0;
    double m_offset = 0.0;
    double m_slope = 1.0;
    double m_physical2 = 1.0; // the second slope below the offset, as |P2| / |A2 - offset|
    double m_span2 = 1.0;
    bool m_can = false;
    bool m_secondSlope = false;
};

// A number of `dataType` at `words` (two words, low first, for the 32-bit types).
double ReadSampleNumber(const std::uint16_t* words, int dataType);

class CDataThread {
public:
    // The data thread's loop, from the start of the run to Stop ARMED (CThreadInfo::StartThread).
    static void Run(CThreadInfo& info);

    // Allocates every buffer of the run once.
    explicit CDataThread(CThreadInfo& info);

    // One pass of the loop: a read cycle every 100 ms, the status tick every 500 ms, then the
    // events. False once the loop must end (stop event, failed write).
    bool Pass();
    // How long the loop may wait for the stop event before the next pass is due.
    int GetWaitMs() const;
    // Tells the recorders to stop (unless a recorder was lost) and releases the buffers.
    void Finish();

private:
    struct ChannelReader {
        int wordOffset = 0;
        int dataType = 0;
        CCountConverter convert;
    };
    struct Recorder {
        CDevice* device = nullptr;
        CRecCnd* condition = nullptr;
        bool slave = false;
        bool failed = false; // answered the status with -10; skipped from then on
        bool calc = false;
        int frameWords = 0; // CountSampleWords(0)
        int rowWords = 0;   // CountSampleWords(1)
        int frameBytes = 0;
        int hardwareValues = 0; // CountEnabled(0)
        int values = 0;         // CountEnabled(1)
        int valueBase = 0;      // first value of the recorder in the value vector
        int rowBase = 0;        // first word of the recorder in the row
        std::vector<std::uint16_t> buffer;
        int heldBytes = 0; // read but not yet made into rows
        int skipBytes = 0; // the first frame after ARM, still to drop
        std::vector<ChannelReader> channels;
        std::vector<CTrgCh> triggers;
    };

    void BuildRecorder(Recorder& recorder, CDevice* device, CRecCnd& condition);
    void BuildTriggers(Recorder& recorder) const;
    void ReadCycle();
    int FramesAvailable(Recorder& recorder);
    int ReadFrames(Recorder& recorder, int frames);
    int ReadBytes(Recorder& recorder, int offsetBytes, int bytes);
    void KeepRest(Recorder& recorder, int frames);
    // Turns frame `frame` of every recorder into row `row`; true when a PC level trigger fired.
    bool MakeRow(int frame, int row, bool testTriggers);
    void WriteRows(int firstRow, int rows);
    void StatusTick();
    void RemoteTick();
    void DrainRecorders();
    bool StartRecord();
    void StopRecorders();

    CThreadInfo& m_info;
    std::vector<Recorder> m_recorders;
    std::uint32_t m_recordLimit = 0;
    int m_minBlock = 1; // frames below which a read waits
    int m_maxRows = 1;  // rows of one read
    int m_rowWords = 0; // row width
    std::vector<std::int16_t> m_rows;
    std::vector<double> m_values;
    std::vector<double> m_raw;
    std::array<std::int16_t, 4> m_calcCounts{};
    CDataThreadRing m_ring;
    std::uint64_t m_startTick = 0;
    std::uint64_t m_lastRead = 0;
    std::uint64_t m_lastTick = 0;
    bool m_firstPass = true;
    bool m_failed = false;               // a data-file write failed
    bool m_triggersHeld = false;         // a trigger's record could not start; wait for a reset
    std::uint32_t m_triggersResetAt = 0; // the run's reset count the triggers were built for
    bool m_recording = false;            // as last seen under the file lock
    std::string m_nextRecordName;
};
