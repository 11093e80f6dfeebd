// One reader thread per connection sorts the frames: replies wake their callers, samples go to
// the buffer. Callers never wait on the socket themselves, only on their own reply.
#include "device/net/NetConnection.h"

#include "device/net/NetFrameReader.h"
#include "device/net/NetProtocol.h"
#include "framework/LinkLibrary.h"

#include <algorithm>
#include <vector>

namespace {
constexpr std::size_t kReceiveBytes = 256 << 10;
} // namespace

CNetConnection::CNetConnection(CNetSocket socket)
    : m_socket(std::move(socket)), m_samples(NetProtocol::kStreamWindowBytes),
      m_reader([this] { ReadLoop(); }) {}

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
    const CNetSocket::Deadline deadline = CNetSocket::After(timeoutMs);
    std::uint32_t sequence = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_failed)
            return std::nullopt;
        sequence = m_nextSequence++;
        m_pending[sequence] = {ordinal, std::move(files), std::nullopt, false};
    }
    CNetMessage request;
    request.PutU8(NetProtocol::kRequest).PutU32(sequence).PutI32(ordinal).PutI32(handle);
    request.Append(args);
    bool sent = false;
    {
        std::lock_guard lock(m_sendLock);
        sent = m_socket.SendFrame(request.Bytes(), deadline);
    }
    if (!sent)
        Fail();
    std::unique_lock lock(m_mutex);
    const Pending& pending = m_pending[sequence];
    m_replied.wait_until(lock, deadline,
                         [&] { return m_failed || pending.reply || pending.refused; });
    return std::move(m_pending.extract(sequence).mapped().reply);
}

int CNetConnection::DataCount() {
    ReturnCredit();
    std::lock_guard lock(m_mutex);
    if (m_samples.Buffered() > 0)
        return static_cast<int>(m_samples.Buffered());
    if (m_failed)
        return RecorderStatus::kCommError;
    return std::min(m_streamCode, 0);
}

int CNetConnection::ReadData(void* buffer, int bytes) {
    std::size_t taken = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_samples.Buffered() == 0)
            return m_failed ? RecorderStatus::kCommError : std::min(m_streamCode, 0);
        taken = m_samples.Read(static_cast<std::uint8_t*>(buffer),
                               static_cast<std::size_t>(std::max(bytes, 0)));
    }
    ReturnCredit();
    return static_cast<int>(taken);
}

void CNetConnection::ReturnCredit() {
    std::size_t owed = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_failed)
            return;
        owed = m_samples.TakeCredit(NetProtocol::kCreditStepBytes);
    }
    if (owed == 0)
        return;
    CNetMessage credit;
    credit.PutU8(NetProtocol::kCredit).PutU32(static_cast<std::uint32_t>(owed));
    std::lock_guard lock(m_sendLock);
    if (!m_socket.SendFrame(credit.Bytes(), CNetSocket::After(NetProtocol::kCallTimeoutMs)))
        Fail();
}

void CNetConnection::ReadLoop() {
    CNetFrameReader reader(NetProtocol::kMaxFrameBytes);
    std::vector<std::uint8_t> buffer(kReceiveBytes);
    bool sound = true;
    while (sound && m_socket.WaitReadable(-1)) {
        const long got = m_socket.Read(buffer.data(), buffer.size());
        if (got < 0)
            break;
        sound = reader.Feed(std::span(buffer.data(), static_cast<std::size_t>(got)),
                            [&](std::span<const std::uint8_t> payload) {
                                sound = sound && Deliver(payload);
                            }) &&
                sound;
    }
    Fail();
}

bool CNetConnection::Deliver(std::span<const std::uint8_t> payload) {
    std::optional<CNetServerFrame> frame = CNetServerFrame::Decode(payload);
    if (!frame)
        return false;
    switch (frame->kind) {
    case NetProtocol::kReply:
        TakeReply(*frame);
        return true;
    case NetProtocol::kFile:
        return TakeFile(*frame);
    case NetProtocol::kData: {
        // A peer that ignores the window is broken; its samples must not fill the memory.
        std::lock_guard lock(m_mutex);
        return m_samples.Push(frame->bytes);
    }
    default: {
        std::lock_guard lock(m_mutex);
        m_streamCode = frame->code;
        return true;
    }
    }
}

void CNetConnection::TakeReply(CNetServerFrame& frame) {
    {
        std::lock_guard lock(m_mutex);
        const auto waiting = m_pending.find(frame.sequence);
        if (waiting == m_pending.end() || waiting->second.reply)
            return;
        Pending& pending = waiting->second;
        if (pending.ordinal != frame.ordinal) {
            pending.refused = true;
        } else {
            // A new run starts with an empty buffer; whatever came before this reply belongs
            // to the previous one.
            const bool newRun = frame.ordinal == LinkOrdinal::kStartArmed ||
                                frame.ordinal == LinkOrdinal::kSetRemote;
            if (newRun && frame.result == 1)
                m_samples.Clear();
            pending.reply = CNetReply{frame.result, std::move(frame.values)};
        }
    }
    m_replied.notify_all();
}

bool CNetConnection::TakeFile(const CNetServerFrame& frame) {
    std::shared_ptr<CNetFileSink> files;
    {
        std::lock_guard lock(m_mutex);
        const auto waiting = m_pending.find(frame.sequence);
        // A piece of a copy that has timed out or been answered is late: dropped.
        if (waiting == m_pending.end() || waiting->second.reply || waiting->second.refused)
            return true;
        files = waiting->second.files;
    }
    if (!files)
        return false;
    // Written outside the lock: the disk may be slow, the data queries must not wait for it.
    files->Write(frame.fileName, frame.bytes.data(), frame.bytes.size());
    return true;
}
