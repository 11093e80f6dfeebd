// One non-blocking TCP socket with deadlines on every wait, and the framing of the protocol.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CNetSocket {
public:
    using Clock = std::chrono::steady_clock;
    using Deadline = Clock::time_point;

    CNetSocket() = default;
    explicit CNetSocket(int fd) : m_fd(fd) {}
    CNetSocket(CNetSocket&& other) noexcept;
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
    // A waiting connection, or an invalid socket when none is waiting.
    CNetSocket Accept();

    bool Valid() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    std::uint16_t LocalPort() const;
    void Close();
    // Wakes a thread that waits on this socket and makes its reads end; safe from any thread.
    void Shutdown();

    // True when something can be read (or the peer closed) before `timeoutMs` (-1: no limit).
    bool WaitReadable(int timeoutMs) const;
    // Reads what has arrived into the input buffer; false when the peer closed or failed.
    bool Receive();
    // Takes the next whole frame's payload from the input buffer; false when none is complete.
    // An oversized frame makes the socket Broken.
    bool NextFrame(std::vector<std::uint8_t>& payload);
    bool Broken() const { return m_broken; }

    // Writes a frame whole; false when the deadline passed or the connection failed, after which
    // the stream is out of step and the socket must be dropped.
    bool SendFrame(const std::vector<std::uint8_t>& payload, Deadline deadline);
    bool SendFrame(const std::uint8_t* payload, std::size_t size, Deadline deadline);

private:
    bool WaitFor(short events, Deadline deadline) const;

    int m_fd = -1;
    std::vector<std::uint8_t> m_input; // storage; the unparsed input lies between the two marks
    std::size_t m_inputRead = 0;
    std::size_t m_inputEnd = 0;
    bool m_broken = false;
};
