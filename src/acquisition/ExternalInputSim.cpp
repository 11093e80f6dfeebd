#include "acquisition/ExternalInputSim.h"

#include <chrono>

bool CExternalInputSim::Load() {
    m_loaded = m_libraryPresent.load();
    return m_loaded;
}

void CExternalInputSim::Unload() {
    m_loaded = false;
}

bool CExternalInputSim::Open() {
    m_open = m_loaded && m_moduleAnswers;
    return m_open;
}

bool CExternalInputSim::Read(std::uint8_t& input1, std::uint8_t& input2) {
    // Counted only once its result is fixed, so that a test that waits for the read may change
    // the module at once.
    const bool read = m_open && !m_readFails;
    {
        std::lock_guard lock(m_lock);
        input1 = m_input1;
        input2 = m_input2;
        ++m_reads;
    }
    m_readDone.notify_all();
    return read;
}

void CExternalInputSim::Close() {
    m_open = false;
}

void CExternalInputSim::SetInputs(bool input1, bool input2) {
    std::lock_guard lock(m_lock);
    m_input1 = input1 ? 1 : 0;
    m_input2 = input2 ? 1 : 0;
}

bool CExternalInputSim::WaitForReads(int count, int timeoutMs) {
    std::unique_lock lock(m_lock);
    return m_readDone.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return m_reads >= count; });
}

int CExternalInputSim::GetReads() const {
    std::lock_guard lock(m_lock);
    return m_reads;
}
