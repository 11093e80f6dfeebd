// Serves one recorder on the network: listens on its address and carries each connection's
// requests out on a link library (the simulated recorders in zt300sim).
#pragma once

#include "device/net/NetFrameReader.h"
#include "device/net/NetProtocol.h"
#include "device/net/NetSession.h"
#include "device/net/NetSocket.h"
#include "device/net/NetWorkers.h"
#include "framework/LinkLibrary.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

class CNetServer {
public:
    // One thread waits on every connection's socket; the sessions' steps (a request, a block
    // of samples, a piece of a card file) run on this many more, however many clients come.
    static constexpr int kWorkerThreads = 4;

    // `address` is the recorder's on `backend` and the one listened on; port 0 takes a free one.
    CNetServer(ILinkLibrary& backend, std::string address, std::uint16_t port = NetProtocol::kPort);
    ~CNetServer();
    CNetServer(const CNetServer&) = delete;
    CNetServer& operator=(const CNetServer&) = delete;

    // False, with `error` set, when the address cannot be listened on.
    bool Start(std::string& error);
    // Closes the listener and every connection; the backend handles are closed.
    void Stop();
    std::uint16_t Port() const { return m_port; }
    const std::string& Address() const { return m_address; }

private:
    using Clock = std::chrono::steady_clock;
    struct Connection;
    // What a session's step left for the loop.
    struct Done {
        std::uint64_t id;
        std::deque<std::vector<std::uint8_t>> frames; // not served yet
        std::vector<std::uint8_t> out;
        bool greeted;
        bool ending;
        Clock::time_point nextStep;
    };

    void Loop();
    void Accept(Clock::time_point now);
    void Receive(Connection& connection, Clock::time_point now);
    void Transmit(Connection& connection, Clock::time_point now);
    // Posts the session's step when it has frames to serve or something to push.
    void Schedule(Connection& connection, Clock::time_point now);
    void TakeDone(Clock::time_point now);
    // Closes the socket at once; the session goes once no step of it runs.
    void Drop(Connection& connection);
    // Drops the connections past a deadline and those that ended, schedules the steps that
    // are due, and gives the time of the next deadline.
    Clock::time_point Check(Clock::time_point now);
    // The events the loop waits for on a connection follow its state.
    void Watch(Connection& connection);
    void WatchListener(bool on);
    void Wake();

    ILinkLibrary& m_backend;
    const std::string m_address;
    std::uint16_t m_port;
    CNetSocket m_listener;
    int m_epoll = -1;
    int m_wake = -1; // an event counter that ends the loop's wait
    std::thread m_thread;
    std::atomic<bool> m_stopping = false;

    // Used by the loop thread only.
    std::unordered_map<std::uint64_t, std::unique_ptr<Connection>> m_connections;
    std::uint64_t m_nextId = 0;
    Clock::time_point m_acceptAgain; // accepting waits for descriptors until then
    bool m_listening = false;
    std::vector<std::uint8_t> m_receiveBuffer;

    std::unique_ptr<CNetWorkers> m_workers;
    std::mutex m_doneLock;
    std::vector<Done> m_done; // guarded by m_doneLock
};
