// The client side of one recorder connection: requests with time-outs, and the samples the
// recorder pushed, buffered until the program reads them.
#pragma once

#include "device/net/NetFileSink.h"
#include "device/net/NetMessage.h"
#include "device/net/NetSocket.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

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

    // No reply when the time-out passed first or the connection failed (then Failed() says so);
    // a reply that arrives later is dropped. Files sent ahead of the reply go to `files`, and
    // each piece of them starts the time-out anew.
    std::optional<CNetReply> Call(int ordinal, int handle, const CNetMessage& args, int timeoutMs,
                                  std::shared_ptr<CNetFileSink> files = nullptr);
    // Once failed, a connection stays failed: the peer closed, a write stalled or the stream
    // broke.
    bool Failed() const;
    void Fail();

    // Samples already received are handed out even after a failure; then the failure is -1 and
    // the recorder's own negative answer to the data queries is passed on as it is.
    int DataCount();
    int ReadData(void* buffer, int bytes);

private:
    void ReadLoop();
    void Deliver(CNetMessage frame);
    void TakeReply(CNetMessage& frame);
    void TakeFile(CNetMessage& frame);
    void DropSamples(); // guarded by m_mutex (held by the caller)
    void ReturnCredit();

    CNetSocket m_socket; // read by the reader thread only; written under m_sendLock
    std::mutex m_sendLock;

    mutable std::mutex m_mutex;
    std::condition_variable m_replied;
    struct Pending {
        std::optional<CNetReply> reply;
        std::shared_ptr<CNetFileSink> files;
        CNetSocket::Clock::time_point progress; // the request went, or a piece of a file came
    };
    std::map<std::uint32_t, Pending> m_pending; // guarded by m_mutex
    std::uint32_t m_nextSequence = 1;           // guarded by m_mutex
    bool m_failed = false;                      // guarded by m_mutex
    // Sample frames as they arrived, each still with its kind byte; kept whole, not copied.
    struct Chunk {
        std::vector<std::uint8_t> bytes;
        std::size_t read = 1;
    };
    std::deque<Chunk> m_samples; // guarded by m_mutex
    std::size_t m_buffered = 0;  // guarded by m_mutex
    int m_streamCode = 0;        // guarded by m_mutex
    int m_creditOwed = 0;        // guarded by m_mutex

    std::thread m_reader;
};
