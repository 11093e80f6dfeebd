#include "RawPeer.h"

#include "device/net/NetProtocol.h"
#include "framework/LinkLibrary.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <sys/socket.h>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
} // namespace

CRawPeer CRawPeer::Connect(const std::string& address, std::uint16_t port) {
    return CRawPeer(CNetSocket::Connect(address, port, CNetSocket::After(2000)));
}

bool CRawPeer::Send(const std::vector<std::uint8_t>& bytes) {
    const auto end = Clock::now() + std::chrono::seconds(5);
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t wrote =
            ::send(m_socket.Fd(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (wrote < 0 && errno != EAGAIN)
            return false;
        if (Clock::now() > end)
            return false;
        if (wrote <= 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        else
            sent += static_cast<std::size_t>(wrote);
    }
    return true;
}

std::vector<std::uint8_t> CRawPeer::Framed(const CNetMessage& payload) {
    const std::vector<std::uint8_t>& bytes = payload.Bytes();
    std::vector<std::uint8_t> framed(4 + bytes.size());
    for (std::size_t i = 0; i < 4; ++i)
        framed[i] = static_cast<std::uint8_t>(bytes.size() >> (8 * i));
    std::copy(bytes.begin(), bytes.end(), framed.begin() + 4);
    return framed;
}

bool CRawPeer::Receive(int timeoutMs) {
    if (!m_socket.Valid() || !m_socket.WaitReadable(timeoutMs))
        return true;
    const std::size_t had = m_input.size();
    m_input.resize(had + (64 << 10));
    const ssize_t got = ::recv(m_socket.Fd(), m_input.data() + had, m_input.size() - had, 0);
    m_input.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    if (got == 0 || (got < 0 && errno != EAGAIN))
        return false;
    while (m_input.size() >= 4) {
        const std::size_t size = m_input[0] | m_input[1] << 8 | m_input[2] << 16 |
                                 static_cast<std::size_t>(m_input[3]) << 24;
        if (m_input.size() - 4 < size)
            break;
        m_frames.emplace_back(m_input.begin() + 4, m_input.begin() + 4 + std::ptrdiff_t(size));
        m_input.erase(m_input.begin(), m_input.begin() + 4 + std::ptrdiff_t(size));
    }
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
    if (!frame->Ok())
        return std::nullopt;
    const std::vector<std::uint8_t>& bytes = frame->Bytes();
    request.args = CNetMessage(std::vector<std::uint8_t>(bytes.begin() + 13, bytes.end()));
    return request;
}
