// The client side of one recorder connection: requests with time-outs, and the samples the
// recorder pushed, buffered until the program reads them.
#pragma once

#include "device/net/NetFileSink.h"
#include "device/net/NetMessage.h"
#include "device/net/NetSampleBuffer.h"
#include "device/net/NetServerFrame.h"
#include "device/net/NetSocket.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

struct CNetReply {
    int result = 0;
    CNetMessage values; // the out-values, read in the order the server wrote them
};

class CNetConnection {
public:
    // Takes a connected socket and starts reading from it.
    explicit CNetConnection(CNetSocket socket);
    ~CNetConnection();
    CNetConnection(const CNetConnection&) = delete;
    CNetConnection& operator=(const CNetConnection&) = delete;

    // The reply that answers this call (its sequence and its ordinal). None when the time-out
    // passed first, the connection failed (then Failed() says so) or the peer answered the call
    // with another operation; a reply that arrives later is dropped. Files sent ahead of the
    // reply go to `files`; nothing the peer sends lengthens the time-out.
    std::optional<CNetReply> Call(int ordinal, int handle, const CNetMessage& args, int timeoutMs,
                                  std::shared_ptr<CNetFileSink> files = nullptr);
    // Once failed, a connection stays failed: the peer closed, a write stalled, or the peer
    // sent a frame that breaks the protocol (a malformed one, a sample frame of an odd size,
    // samples beyond the window, a file piece for a call that copies nothing).
    bool Failed() const;
    void Fail();

    // Samples already received are handed out even after a failure; then the failure is -1 and
    // the recorder's own negative answer to the data queries is passed on as it is.
    int DataCount();
    int ReadData(void* buffer, int bytes);

private:
    void ReadLoop();
    // False when the frame breaks the protocol.
    bool Deliver(std::span<const std::uint8_t> payload);
    void TakeReply(CNetServerFrame& frame);
    bool TakeFile(const CNetServerFrame& frame);
    void ReturnCredit();

    CNetSocket m_socket; // read by the reader thread only; written under m_sendLock
    std::mutex m_sendLock;

    mutable std::mutex m_mutex;
    std::condition_variable m_replied;
    struct Pending {
        int ordinal = 0;
        std::shared_ptr<CNetFileSink> files; // a card copy's; no other call takes file pieces
        std::optional<CNetReply> reply;
        bool refused = false; // answered with another operation
    };
    std::map<std::uint32_t, Pending> m_pending; // guarded by m_mutex
    std::uint32_t m_nextSequence = 1;           // guarded by m_mutex
    bool m_failed = false;                      // guarded by m_mutex
    CNetSampleBuffer m_samples;                 // guarded by m_mutex
    int m_streamCode = 0;                       // guarded by m_mutex

    std::thread m_reader;
};
