// One reader thread per connection sorts the frames: replies wake their callers, samples go to
// the buffer. Callers never wait on the socket themselves, only on their own reply.
#include "device/net/NetConnection.h"

#include "device/net/NetProtocol.h"

#include <algorithm>
#include <cstring>

CNetConnection::CNetConnection(CNetSocket socket)
    : m_socket(std::move(socket)), m_reader([this] { ReadLoop(); }) {}

CNetConnection::~CNetConnection() {
    m_socket.Shutdown();
    m_reader.join();
}

bool CNetConnection::Failed() const {
    std::lock_guard lock(m_mutex);
    return m_failed;
}

void CNetConnection::Fail() {
    {
        std::lock_guard lock(m_mutex);
        m_failed = true;
    }
    m_replied.notify_all();
    m_socket.Shutdown();
}

std::optional<CNetReply> CNetConnection::Call(int ordinal, int handle, const CNetMessage& args,
                                              int timeoutMs, std::shared_ptr<CNetFileSink> files) {
    const auto timeout = std::chrono::milliseconds(timeoutMs);
    std::uint32_t sequence = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_failed)
            return std::nullopt;
        sequence = m_nextSequence++;
        m_pending[sequence] = {std::nullopt, std::move(files), CNetSocket::Clock::now()};
    }
    CNetMessage request;
    request.PutU8(NetProtocol::kRequest).PutU32(sequence).PutI32(ordinal).PutI32(handle);
    request.Append(args);
    bool sent = false;
    {
        std::lock_guard lock(m_sendLock);
        sent = m_socket.SendFrame(request.Bytes(), CNetSocket::Clock::now() + timeout);
    }
    if (!sent)
        Fail();
    std::unique_lock lock(m_mutex);
    Pending& pending = m_pending[sequence];
    while (!m_failed && !pending.reply && CNetSocket::Clock::now() < pending.progress + timeout)
        m_replied.wait_until(lock, pending.progress + timeout);
    return std::move(m_pending.extract(sequence).mapped().reply);
}

int CNetConnection::DataCount() {
    ReturnCredit();
    std::lock_guard lock(m_mutex);
    if (m_buffered > 0)
        return static_cast<int>(m_buffered);
    if (m_failed)
        return -1;
    return std::min(m_streamCode, 0);
}

int CNetConnection::ReadData(void* buffer, int bytes) {
    int taken = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_buffered == 0)
            return m_failed ? -1 : std::min(m_streamCode, 0);
        // Whole 16-bit words only: a word split across two reads would shift every later one.
        taken = static_cast<int>(std::min<std::size_t>(std::max(bytes, 0), m_buffered)) & ~1;
        auto* out = static_cast<std::uint8_t*>(buffer);
        for (std::size_t left = static_cast<std::size_t>(taken); left > 0;) {
            Chunk& chunk = m_samples.front();
            const std::size_t part = std::min(left, chunk.bytes.size() - chunk.read);
            std::memcpy(out, chunk.bytes.data() + chunk.read, part);
            out += part;
            left -= part;
            chunk.read += part;
            if (chunk.read == chunk.bytes.size())
                m_samples.pop_front();
        }
        m_buffered -= static_cast<std::size_t>(taken);
        m_creditOwed += taken;
    }
    ReturnCredit();
    return taken;
}

void CNetConnection::ReturnCredit() {
    int owed = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_failed || m_creditOwed < NetProtocol::kCreditStepBytes)
            return;
        owed = std::exchange(m_creditOwed, 0);
    }
    CNetMessage credit;
    credit.PutU8(NetProtocol::kCredit).PutU32(static_cast<std::uint32_t>(owed));
    std::lock_guard lock(m_sendLock);
    if (!m_socket.SendFrame(credit.Bytes(), CNetSocket::After(NetProtocol::kCallTimeoutMs)))
        Fail();
}

void CNetConnection::ReadLoop() {
    std::vector<std::uint8_t> payload;
    while (m_socket.WaitReadable(-1) && m_socket.Receive()) {
        while (m_socket.NextFrame(payload))
            Deliver(CNetMessage(std::move(payload)));
        if (m_socket.Broken())
            break;
    }
    Fail();
}

void CNetConnection::Deliver(CNetMessage frame) {
    const std::uint8_t kind = frame.GetU8();
    if (kind == NetProtocol::kReply) {
        TakeReply(frame);
    } else if (kind == NetProtocol::kFile) {
        TakeFile(frame);
    } else if (kind == NetProtocol::kData) {
        std::vector<std::uint8_t> bytes = std::move(frame).Release();
        if (bytes.size() < 2)
            return;
        std::unique_lock lock(m_mutex);
        // A peer that ignores the window is broken; its samples must not fill the memory.
        if (m_buffered > 2 * static_cast<std::size_t>(NetProtocol::kStreamWindowBytes)) {
            lock.unlock();
            Fail();
            return;
        }
        m_buffered += bytes.size() - 1;
        m_samples.push_back({std::move(bytes)});
    } else if (kind == NetProtocol::kStream) {
        const int code = frame.GetI32();
        std::lock_guard lock(m_mutex);
        m_streamCode = code;
    }
}

void CNetConnection::TakeReply(CNetMessage& frame) {
    const std::uint32_t sequence = frame.GetU32();
    const int ordinal = frame.GetI32();
    CNetReply reply{frame.GetI32(), std::move(frame)};
    {
        std::lock_guard lock(m_mutex);
        // A new run starts with an empty buffer; whatever came before this reply belongs to
        // the previous one.
        const bool newRun =
            ordinal == LinkOrdinal::kStartArmed || ordinal == LinkOrdinal::kSetRemote;
        if (newRun && reply.result == 1)
            DropSamples();
        const auto waiting = m_pending.find(sequence);
        if (waiting == m_pending.end())
            return;
        waiting->second.reply = std::move(reply);
    }
    m_replied.notify_all();
}

void CNetConnection::TakeFile(CNetMessage& frame) {
    const std::uint32_t sequence = frame.GetU32();
    const std::string name = frame.GetText();
    const std::vector<std::uint8_t> bytes = frame.GetBlock();
    std::shared_ptr<CNetFileSink> files;
    {
        std::lock_guard lock(m_mutex);
        const auto waiting = m_pending.find(sequence);
        if (waiting == m_pending.end())
            return;
        waiting->second.progress = CNetSocket::Clock::now();
        files = waiting->second.files;
    }
    // Written outside the lock: the disk may be slow, the data queries must not wait for it.
    if (files)
        files->Write(frame.Ok() ? name : std::string(), bytes.data(), bytes.size());
}

void CNetConnection::DropSamples() {
    m_creditOwed += static_cast<int>(m_buffered);
    m_samples.clear();
    m_buffered = 0;
}
