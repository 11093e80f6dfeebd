#include "RawPeer.h"

#include "device/net/NetProtocol.h"
#include "framework/LinkLibrary.h"

#include <chrono>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
} // namespace

CRawPeer CRawPeer::Connect(const std::string& address, std::uint16_t port) {
    return CRawPeer(CNetSocket::Connect(address, port, CNetSocket::After(2000)));
}

bool CRawPeer::Send(const std::vector<std::uint8_t>& bytes) {
    const CNetSocket::Deadline deadline = CNetSocket::After(5000);
    for (std::size_t sent = 0; sent < bytes.size();) {
        const long wrote = m_socket.Write(bytes.data() + sent, bytes.size() - sent);
        if (wrote < 0 || CNetSocket::Clock::now() > deadline)
            return false;
        if (wrote == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        sent += static_cast<std::size_t>(wrote);
    }
    return true;
}

std::vector<std::uint8_t> CRawPeer::Framed(const CNetMessage& payload) {
    std::vector<std::uint8_t> bytes;
    payload.AppendFrame(bytes);
    return bytes;
}

bool CRawPeer::Receive(int timeoutMs) {
    if (!m_socket.Valid() || !m_socket.WaitReadable(timeoutMs))
        return true;
    std::vector<std::uint8_t> buffer(64 << 10);
    const long got = m_socket.Read(buffer.data(), buffer.size());
    if (got < 0)
        return false;
    m_reader.Feed(std::span(buffer.data(), static_cast<std::size_t>(got)),
                  [this](std::span<const std::uint8_t> payload) {
                      m_frames.emplace_back(payload.begin(), payload.end());
                  });
    return true;
}

std::optional<CNetMessage> CRawPeer::NextFrame(int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_frames.empty() && Clock::now() < end)
        if (!Receive(10))
            break;
    if (m_frames.empty())
        return std::nullopt;
    CNetMessage frame(std::move(m_frames.front()));
    m_frames.pop_front();
    return frame;
}

bool CRawPeer::ClosedWithin(int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end)
        if (!Receive(10))
            return true;
    return false;
}

CNetMessage CRawPeer::Request(std::uint32_t sequence, int ordinal) {
    CNetMessage request;
    request.PutU8(NetProtocol::kRequest).PutU32(sequence).PutI32(ordinal).PutI32(1);
    return request;
}

CNetMessage CRawPeer::Open(const std::string& address) {
    CNetMessage open = Request(1, LinkOrdinal::kOpen);
    open.PutU32(NetProtocol::kMagic).PutText(address).PutI32(1000);
    return open;
}

CNetMessage CRawPeer::Reply(std::uint32_t sequence, int ordinal, int result) {
    CNetMessage reply;
    reply.PutU8(NetProtocol::kReply).PutU32(sequence).PutI32(ordinal).PutI32(result);
    return reply;
}

CFakeRecorder::CFakeRecorder(const std::string& address) {
    std::string error;
    m_listener = CNetSocket::Listen(address, 0, error);
}

bool CFakeRecorder::Accept(int timeoutMs) {
    m_peer.reset();
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_peer && Clock::now() < end) {
        m_listener.WaitReadable(10);
        if (CNetSocket accepted = m_listener.Accept(); accepted.Valid())
            m_peer.emplace(std::move(accepted));
    }
    return m_peer.has_value();
}

bool CFakeRecorder::AcceptOpen(int timeoutMs) {
    const std::optional<CRawRequest> open =
        Accept(timeoutMs) ? NextRequest(timeoutMs) : std::nullopt;
    return open && open->ordinal == LinkOrdinal::kOpen &&
           m_peer->SendFrame(CRawPeer::Reply(open->sequence, open->ordinal, 1));
}

std::optional<CRawRequest> CFakeRecorder::NextRequest(int timeoutMs) {
    std::optional<CNetMessage> frame = m_peer->NextFrame(timeoutMs);
    if (!frame)
        return std::nullopt;
    CRawRequest request;
    frame->GetU8();
    request.sequence = frame->GetU32();
    request.ordinal = frame->GetI32();
    frame->GetI32();
    request.args = CNetMessage(frame->Rest());
    return request;
}
