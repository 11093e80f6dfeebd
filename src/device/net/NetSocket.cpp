// POSIX sockets with poll(): every wait has a deadline, so a silent peer can never hold a caller.
#include "device/net/NetSocket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>
#include <utility>

namespace {
// A recorder that vanished without closing (cable pulled, power lost) is noticed after the
// idle time plus the probes, or, while a request is unanswered by TCP, after the user time-out.
constexpr int kKeepAliveIdleS = 5;
constexpr int kKeepAliveIntervalS = 1;
constexpr int kKeepAliveProbes = 3;
constexpr int kUnacknowledgedMs = 8000;
// Connections waiting to be accepted; more wait in the clients' connects.
constexpr int kListenBacklog = 128;

bool MakeAddress(const std::string& address, std::uint16_t port, sockaddr_in& out) {
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

void SetOption(int fd, int level, int name, int value) {
    setsockopt(fd, level, name, &value, sizeof value);
}

int RemainingMs(CNetSocket::Deadline deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - CNetSocket::Clock::now());
    // Round up so a wait never ends just before its deadline and spins.
    return static_cast<int>(std::max<std::int64_t>(0, left.count() + 1));
}
} // namespace

CNetSocket& CNetSocket::operator=(CNetSocket&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

CNetSocket CNetSocket::Connect(const std::string& address, std::uint16_t port, Deadline deadline) {
    sockaddr_in peer;
    if (!MakeAddress(address, port, peer))
        return CNetSocket();
    CNetSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.Valid())
        return socket;
    SetOption(socket.m_fd, IPPROTO_TCP, TCP_NODELAY, 1);
    SetOption(socket.m_fd, SOL_SOCKET, SO_KEEPALIVE, 1);
    SetOption(socket.m_fd, IPPROTO_TCP, TCP_KEEPIDLE, kKeepAliveIdleS);
    SetOption(socket.m_fd, IPPROTO_TCP, TCP_KEEPINTVL, kKeepAliveIntervalS);
    SetOption(socket.m_fd, IPPROTO_TCP, TCP_KEEPCNT, kKeepAliveProbes);
    SetOption(socket.m_fd, IPPROTO_TCP, TCP_USER_TIMEOUT, kUnacknowledgedMs);
    if (::connect(socket.m_fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return socket;
    if (errno != EINPROGRESS || !socket.WaitFor(POLLOUT, deadline))
        return CNetSocket();
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(socket.m_fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
        return CNetSocket();
    return socket;
}

CNetSocket CNetSocket::Listen(const std::string& address, std::uint16_t port, std::string& error) {
    sockaddr_in local;
    if (!MakeAddress(address, port, local)) {
        error = "not an IPv4 address: " + address;
        return CNetSocket();
    }
    CNetSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.Valid()) {
        SetOption(socket.m_fd, SOL_SOCKET, SO_REUSEADDR, 1);
        if (::bind(socket.m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0 &&
            ::listen(socket.m_fd, kListenBacklog) == 0)
            return socket;
    }
    error =
        "cannot listen on " + address + ":" + std::to_string(port) + ": " + std::strerror(errno);
    return CNetSocket();
}

CNetSocket CNetSocket::Accept(int* error) {
    CNetSocket accepted(::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (accepted.Valid())
        SetOption(accepted.m_fd, IPPROTO_TCP, TCP_NODELAY, 1);
    else if (error)
        *error = errno;
    return accepted;
}

std::uint16_t CNetSocket::LocalPort() const {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(m_fd, reinterpret_cast<sockaddr*>(&local), &size) != 0)
        return 0;
    return ntohs(local.sin_port);
}

void CNetSocket::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void CNetSocket::Shutdown() {
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_RDWR);
}

bool CNetSocket::WaitFor(short events, Deadline deadline) const {
    for (;;) {
        pollfd entry{m_fd, events, 0};
        const int ready = ::poll(&entry, 1, RemainingMs(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

bool CNetSocket::WaitReadable(int timeoutMs) const {
    pollfd entry{m_fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

long CNetSocket::Read(std::uint8_t* buffer, std::size_t size) {
    const ssize_t got = ::recv(m_fd, buffer, size, 0);
    if (got > 0)
        return got;
    return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
}

long CNetSocket::Write(const std::uint8_t* bytes, std::size_t size) {
    const ssize_t sent = ::send(m_fd, bytes, size, MSG_NOSIGNAL);
    if (sent >= 0)
        return sent;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

bool CNetSocket::SendFrame(const std::vector<std::uint8_t>& payload, Deadline deadline) {
    const std::size_t size = payload.size();
    std::uint8_t header[4];
    for (int i = 0; i < 4; ++i)
        header[i] = static_cast<std::uint8_t>(size >> (8 * i));
    iovec parts[2] = {{header, sizeof header}, {const_cast<std::uint8_t*>(payload.data()), size}};
    std::size_t first = 0;
    while (first < 2) {
        msghdr message{};
        message.msg_iov = parts + first;
        message.msg_iovlen = 2 - first;
        const ssize_t sent = ::sendmsg(m_fd, &message, MSG_NOSIGNAL);
        if (sent < 0) {
            if ((errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) ||
                !WaitFor(POLLOUT, deadline))
                return false;
            continue;
        }
        auto left = static_cast<std::size_t>(sent);
        while (first < 2 && left >= parts[first].iov_len)
            left -= parts[first++].iov_len;
        if (first < 2) {
            parts[first].iov_base = static_cast<std::uint8_t*>(parts[first].iov_base) + left;
            parts[first].iov_len -= left;
        }
    }
    return true;
}
