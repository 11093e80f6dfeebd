// One non-blocking TCP socket with deadlines on every wait.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CNetSocket {
public:
    using Clock = std::chrono::steady_clock;
    using Deadline = Clock::time_point;

    CNetSocket() = default;
    explicit CNetSocket(int fd) : m_fd(fd) {}
    CNetSocket(CNetSocket&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    CNetSocket& operator=(CNetSocket&& other) noexcept;
    CNetSocket(const CNetSocket&) = delete;
    CNetSocket& operator=(const CNetSocket&) = delete;
    ~CNetSocket() { Close(); }

    static Deadline After(int ms) { return Clock::now() + std::chrono::milliseconds(ms); }

    // Not valid when the address is no IPv4 text, the connection is refused (at once) or the
    // deadline passes first.
    static CNetSocket Connect(const std::string& address, std::uint16_t port, Deadline deadline);
    // Port 0 takes any free port (see LocalPort). Not valid, with `error` set, on failure.
    static CNetSocket Listen(const std::string& address, std::uint16_t port, std::string& error);
    // A waiting connection, or an invalid socket when none is waiting or it cannot be taken;
    // then `error` holds the reason (EAGAIN: none waiting, EMFILE: out of descriptors).
    CNetSocket Accept(int* error = nullptr);

    bool Valid() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    std::uint16_t LocalPort() const;
    void Close();
    // Wakes a thread that waits on this socket and makes its reads end; safe from any thread.
    void Shutdown();

    // True when something can be read (or the peer closed) before `timeoutMs` (-1: no limit).
    bool WaitReadable(int timeoutMs) const;
    // What has arrived, up to `size` bytes: their count, 0 when nothing is waiting, -1 when the
    // peer closed or the connection failed.
    long Read(std::uint8_t* buffer, std::size_t size);
    // As much as the socket takes now: the count (0 when it is full), -1 when the connection
    // failed.
    long Write(const std::uint8_t* bytes, std::size_t size);

    // Writes a frame whole; false when the deadline passed or the connection failed, after which
    // the stream is out of step and the socket must be dropped.
    bool SendFrame(const std::vector<std::uint8_t>& payload, Deadline deadline);

private:
    bool WaitFor(short events, Deadline deadline) const;

    int m_fd = -1;
};
