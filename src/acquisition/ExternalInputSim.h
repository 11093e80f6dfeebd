// A simulated USB input module: two contacts that a test or the demo mode switches, with counts
// of what the program asked of it.
#pragma once

#include "framework/DigitalInput.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

class CExternalInputSim : public IDigitalInput {
public:
    bool Load() override;
    void Unload() override;
    bool Open() override;
    bool Read(std::uint8_t& input1, std::uint8_t& input2) override;
    void Close() override;

    void SetInputs(bool input1, bool input2);
    // Waits until `count` reads were made (successful or not); false after timeoutMs.
    bool WaitForReads(int count, int timeoutMs);
    int GetReads() const;

    std::atomic<bool> m_libraryPresent{true};
    std::atomic<bool> m_moduleAnswers{true}; // Open succeeds
    std::atomic<bool> m_readFails{false};
    std::atomic<bool> m_loaded{false};
    std::atomic<bool> m_open{false};

private:
    mutable std::mutex m_lock;
    std::condition_variable m_readDone;
    std::uint8_t m_input1 = 0; // guarded by m_lock
    std::uint8_t m_input2 = 0; // guarded by m_lock
    int m_reads = 0;           // guarded by m_lock
};
