#include "setup/ExecCalThreadInfo.h"

#include "device/Device.h"
#include "setup/CalStatistics.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

CExecCalThreadInfo::CExecCalThreadInfo(IMessageTarget& target, CDevice& device,
                                       CCalStatistics& statistics, int frameWords, double rate)
    : m_target(target), m_device(device), m_statistics(statistics),
      m_frameWords(std::max(frameWords, 1)), m_rate(rate) {}

CExecCalThreadInfo::~CExecCalThreadInfo() {
    Stop();
}

int CExecCalThreadInfo::DeviceBufferBytes(double rate, int frameWords) {
    return static_cast<int>(std::max(rate, 10.0)) * frameWords * 2;
}

int CExecCalThreadInfo::ThreadBufferFrames(double rate) {
    return static_cast<int>(std::max(rate, 1.0));
}

int CExecCalThreadInfo::MinBlockFrames(double rate) {
    return std::max(1, ThreadBufferFrames(rate) / 20);
}

int CExecCalThreadInfo::Start() {
    if (m_thread.joinable())
        return 1;
    if (!m_device.IsConnected())
        return RecorderStatus::kCommError;
    int result = 0;
    {
        std::lock_guard lock(m_device.GetLock());
        result = m_device.GetLink().LnkStartArmed(m_device.GetHandle(),
                                                  DeviceBufferBytes(m_rate, m_frameWords));
    }
    if (result != 1)
        return result;
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return 1;
}

void CExecCalThreadInfo::Stop() {
    if (!m_thread.joinable())
        return;
    m_stop = true;
    m_stopEvent.Set();
    m_thread.join();
}

void CExecCalThreadInfo::Run() {
    std::vector<std::int16_t> buffer(static_cast<std::size_t>(ThreadBufferFrames(m_rate)) *
                                     static_cast<std::size_t>(m_frameWords));
    int heldBytes = 0; // the start of a frame a read cut off, kept for the next read
    while (!m_stop) {
        if (!ReadBlock(buffer, heldBytes))
            break;
    }
    if (m_device.GetHandle() != 0) {
        std::lock_guard lock(m_device.GetLock());
        m_device.GetLink().LnkStopArmed(m_device.GetHandle());
    }
}

bool CExecCalThreadInfo::ReadBlock(std::vector<std::int16_t>& buffer, int& heldBytes) {
    ILinkLibrary& link = m_device.GetLink();
    const int frameBytes = m_frameWords * 2;
    int ready = 0;
    {
        std::lock_guard lock(m_device.GetLock());
        ready = link.LnkGetDataCount(m_device.GetHandle());
    }
    if (ready < 0) {
        Lost(ready);
        return false;
    }
    const int bufferFrames = static_cast<int>(buffer.size()) / m_frameWords;
    const int frames = std::min((heldBytes + ready) / frameBytes, bufferFrames);
    if (frames < MinBlockFrames(m_rate)) {
        m_stopEvent.Wait(kPollMs);
        return true;
    }
    char* bytes = reinterpret_cast<char*>(buffer.data());
    int read = 0;
    {
        std::lock_guard lock(m_device.GetLock());
        read = link.LnkReadData(m_device.GetHandle(), bytes + heldBytes,
                                frames * frameBytes - heldBytes);
    }
    if (read < 0) {
        Lost(read);
        return false;
    }
    const int total = heldBytes + std::min(read, frames * frameBytes - heldBytes);
    const int framesRead = total / frameBytes;
    if (framesRead > 0) {
        m_statistics.AddFrames(buffer.data(), framesRead, m_frameWords);
        m_target.Post(kUpdateMessage);
    }
    heldBytes = total - framesRead * frameBytes;
    std::memmove(bytes, bytes + framesRead * frameBytes, static_cast<std::size_t>(heldBytes));
    return true;
}

void CExecCalThreadInfo::Lost(int result) {
    m_target.Post(kCommErrorMessage, result);
}
