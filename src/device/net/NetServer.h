// Serves one recorder on the network: listens on its address and carries each connection's
// requests out on a link library (the simulated recorders in zt300sim).
#pragma once

#include "device/net/NetProtocol.h"
#include "device/net/NetSession.h"
#include "device/net/NetSocket.h"
#include "framework/LinkLibrary.h"

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CNetServer {
public:
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
    void Listen();
    void Reap(); // guarded by m_mutex (held by the caller)

    ILinkLibrary& m_backend;
    const std::string m_address;
    std::uint16_t m_port;
    CNetSocket m_listener;
    int m_wake[2] = {-1, -1}; // a pipe whose write end ends the listener's wait

    std::mutex m_mutex;
    std::vector<std::unique_ptr<CNetSession>> m_sessions; // guarded by m_mutex
    std::thread m_thread;
};
