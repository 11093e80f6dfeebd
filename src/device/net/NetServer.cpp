// The listener thread accepts connections and gives each a session thread of its own.
#include "device/net/NetServer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr int kAcceptRetryMs = 50;
} // namespace

CNetServer::CNetServer(ILinkLibrary& backend, std::string address, std::uint16_t port)
    : m_backend(backend), m_address(std::move(address)), m_port(port) {}

CNetServer::~CNetServer() {
    Stop();
}

bool CNetServer::Start(std::string& error) {
    if (m_thread.joinable()) {
        error = "already serving " + m_address;
        return false;
    }
    m_listener = CNetSocket::Listen(m_address, m_port, error);
    if (!m_listener.Valid())
        return false;
    if (::pipe2(m_wake, O_CLOEXEC) != 0) {
        error = "cannot create the wake-up pipe";
        m_listener.Close();
        return false;
    }
    m_port = m_listener.LocalPort();
    m_thread = std::thread([this] { Listen(); });
    return true;
}

void CNetServer::Stop() {
    if (!m_thread.joinable())
        return;
    const char stop = 0;
    [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &stop, 1);
    m_thread.join();
    m_listener.Close();
    for (int& end : m_wake)
        ::close(std::exchange(end, -1));
    std::vector<std::unique_ptr<CNetSession>> sessions;
    {
        std::lock_guard lock(m_mutex);
        sessions.swap(m_sessions);
    }
    for (auto& session : sessions)
        session->Stop();
    sessions.clear(); // joins every session thread
}

void CNetServer::Listen() {
    for (;;) {
        pollfd waits[2] = {{m_listener.Fd(), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0)
            continue;
        if (waits[1].revents != 0)
            return;
        CNetSocket accepted = m_listener.Accept();
        if (!accepted.Valid()) {
            // Out of descriptors, say: wait a little (or for the stop) rather than spin.
            if (::poll(&waits[1], 1, kAcceptRetryMs) > 0)
                return;
            continue;
        }
        std::lock_guard lock(m_mutex);
        Reap();
        m_sessions.push_back(
            std::make_unique<CNetSession>(std::move(accepted), m_backend, m_address));
    }
}

void CNetServer::Reap() {
    std::erase_if(m_sessions, [](const auto& session) { return session->Done(); });
}
