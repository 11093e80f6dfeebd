// The far end of a connection as a test plays it: a raw socket that sends crafted bytes and reads
// whatever frames come, framed by hand so that nothing of the link's own decoding is trusted. As
// a client it speaks to a CNetServer; as a recorder (CFakeRecorder) it answers a CNetLink.
#pragma once

#include "device/net/NetMessage.h"
#include "device/net/NetSocket.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class CRawPeer {
public:
    explicit CRawPeer(CNetSocket socket) : m_socket(std::move(socket)) {}
    static CRawPeer Connect(const std::string& address, std::uint16_t port);

    bool Valid() const { return m_socket.Valid(); }
    // The bytes as they stand: a frame cut anywhere, several at once, a lying length.
    bool Send(const std::vector<std::uint8_t>& bytes);
    bool SendFrame(const CNetMessage& payload) { return Send(Framed(payload)); }
    static std::vector<std::uint8_t> Framed(const CNetMessage& payload);
    // The next frame's payload, none when the connection closed or nothing came in time.
    std::optional<CNetMessage> NextFrame(int timeoutMs = 2000);
    // True when the other side closed the connection within the time.
    bool ClosedWithin(int timeoutMs);
    void Close() { m_socket.Close(); }

    // The requests a client of ours sends, and the replies of a recorder.
    static CNetMessage Request(std::uint32_t sequence, int ordinal);
    static CNetMessage Open(const std::string& address);
    static CNetMessage Reply(std::uint32_t sequence, int ordinal, int result);

private:
    // Reads what arrived into m_frames; false when the connection closed or failed.
    bool Receive(int timeoutMs);

    CNetSocket m_socket;
    std::vector<std::uint8_t> m_input; // received, not yet cut into frames
    std::deque<std::vector<std::uint8_t>> m_frames;
};

// A request as the server reads it.
struct CRawRequest {
    std::uint32_t sequence = 0;
    int ordinal = 0;
    CNetMessage args;
};

// A recorder of the test's own making on a free port of its address: it accepts one connection
// and answers its open; the test then reads the requests and answers them as it likes.
class CFakeRecorder {
public:
    explicit CFakeRecorder(const std::string& address);
    std::uint16_t Port() const { return m_listener.LocalPort(); }
    // Waits for the next connection of the client (it replaces the one before).
    bool Accept(int timeoutMs = 2000);
    // Waits for the client and answers its open with handle 1.
    bool AcceptOpen(int timeoutMs = 2000);
    // The next request of the client, none when it closed or sent none in time.
    std::optional<CRawRequest> NextRequest(int timeoutMs = 2000);
    CRawPeer& Peer() { return *m_peer; }

private:
    CNetSocket m_listener;
    std::optional<CRawPeer> m_peer;
};
