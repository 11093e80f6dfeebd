// One epoll loop per recorder accepts, reads and writes every connection and keeps their
// deadlines; the sessions' steps run on a few worker threads, one step of a session at a time.
// A descriptor is closed the moment its connection ends, so a server that ran out of them
// accepts again as soon as clients leave.
#include "device/net/NetServer.h"

#include <algorithm>
#include <cerrno>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr std::uint64_t kListenerId = ~std::uint64_t(0);
constexpr std::uint64_t kWakeId = kListenerId - 1;
constexpr int kEventsPerWait = 64;
constexpr std::size_t kReceiveBytes = 64 << 10;
// Requests read ahead of the session; beyond them the client waits in TCP.
constexpr std::size_t kMaxQueuedFrames = 8;
// The session pushes samples or file pieces while less than this waits to be sent.
constexpr std::size_t kPushBelowBytes = NetProtocol::kDataChunkBytes;
// Out of descriptors: accepting is tried again after this.
constexpr int kAcceptRetryMs = 100;
constexpr int kAcceptsPerTurn = 64;

int MsUntil(std::chrono::steady_clock::time_point when, std::chrono::steady_clock::time_point now) {
    if (when == std::chrono::steady_clock::time_point::max())
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(when - now).count();
    // Rounded up, so that the wait never ends just before the deadline and spins.
    return static_cast<int>(std::clamp<std::int64_t>(left + 1, 0, 60000));
}
} // namespace

struct CNetServer::Connection {
    std::uint64_t id = 0;
    CNetSocket socket;
    CNetFrameReader reader{NetProtocol::kMaxRequestBytes};
    std::unique_ptr<CNetSession> session;
    std::deque<std::vector<std::uint8_t>> inbox; // whole frames the session has not had yet
    std::vector<std::uint8_t> outbox;            // frames to send; the first `sent` bytes went
    std::size_t sent = 0;
    bool stepping = false; // a step of the session is posted or running
    // The session's state as its last step left it.
    bool greeted = false;
    bool ending = false;
    Clock::time_point nextStep = Clock::time_point::max();
    Clock::time_point accepted;
    Clock::time_point frameStarted; // the frame the reader is inside began then
    Clock::time_point lastSent;     // the outbox last moved (or filled) then
    std::uint32_t events = 0;       // what epoll waits for

    std::size_t Unsent() const { return outbox.size() - sent; }
};

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
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    epoll_event wake{EPOLLIN, {.u64 = kWakeId}};
    if (m_epoll < 0 || m_wake < 0 || ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wake, &wake) != 0) {
        error = "cannot wait on " + m_address;
        Stop();
        return false;
    }
    epoll_event listen{0, {.u64 = kListenerId}};
    ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_listener.Fd(), &listen);
    WatchListener(true);
    m_port = m_listener.LocalPort();
    m_receiveBuffer.resize(kReceiveBytes);
    m_workers = std::make_unique<CNetWorkers>(kWorkerThreads);
    m_stopping = false;
    m_thread = std::thread([this] { Loop(); });
    return true;
}

void CNetServer::Stop() {
    if (m_thread.joinable()) {
        m_stopping = true;
        Wake();
        m_thread.join();
    }
    // The steps still posted finish first; then no thread but this one has a session.
    m_workers.reset();
    m_done.clear();
    m_connections.clear(); // each session closes its backend handle
    m_listener.Close();
    for (int* fd : {&m_epoll, &m_wake})
        if (*fd >= 0)
            ::close(std::exchange(*fd, -1));
}

void CNetServer::Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
}

void CNetServer::Loop() {
    epoll_event events[kEventsPerWait];
    while (!m_stopping) {
        const int timeout = MsUntil(Check(Clock::now()), Clock::now());
        const int ready = ::epoll_wait(m_epoll, events, kEventsPerWait, timeout);
        const Clock::time_point now = Clock::now();
        for (int i = 0; i < ready; ++i) {
            const std::uint64_t id = events[i].data.u64;
            if (id == kListenerId) {
                Accept(now);
            } else if (id == kWakeId) {
                std::uint64_t count = 0;
                [[maybe_unused]] const ssize_t got = ::read(m_wake, &count, sizeof count);
            } else {
                // Either may drop the connection, so it is looked up for each.
                if (const auto found = m_connections.find(id);
                    found != m_connections.end() &&
                    (events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR)))
                    Receive(*found->second, now);
                if (const auto found = m_connections.find(id); found != m_connections.end() &&
                                                               found->second->socket.Valid() &&
                                                               (events[i].events & EPOLLOUT))
                    Transmit(*found->second, now);
            }
        }
        TakeDone(now);
    }
}

void CNetServer::WatchListener(bool on) {
    m_listening = on;
    epoll_event listen{on ? std::uint32_t(EPOLLIN) : 0u, {.u64 = kListenerId}};
    ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, m_listener.Fd(), &listen);
}

void CNetServer::Accept(Clock::time_point now) {
    for (int i = 0; i < kAcceptsPerTurn; ++i) {
        int error = 0;
        CNetSocket socket = m_listener.Accept(&error);
        if (!socket.Valid()) {
            if (error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM) {
                // The connection waits in the backlog until descriptors are free again;
                // meanwhile the others are served.
                WatchListener(false);
                m_acceptAgain = now + std::chrono::milliseconds(kAcceptRetryMs);
            }
            if (error != ECONNABORTED && error != EINTR)
                return;
            continue;
        }
        auto connection = std::make_unique<Connection>();
        connection->id = m_nextId++;
        connection->socket = std::move(socket);
        connection->session = std::make_unique<CNetSession>(m_backend, m_address);
        connection->accepted = now;
        epoll_event watch{EPOLLIN, {.u64 = connection->id}};
        if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, connection->socket.Fd(), &watch) != 0)
            continue; // the descriptor closes with the connection
        connection->events = EPOLLIN;
        m_connections.emplace(connection->id, std::move(connection));
    }
}

void CNetServer::Receive(Connection& connection, Clock::time_point now) {
    const long got = connection.socket.Read(m_receiveBuffer.data(), m_receiveBuffer.size());
    if (got == 0)
        return;
    const bool wasInside = connection.reader.InsideFrame();
    bool framed = false;
    const bool sound =
        got > 0 &&
        connection.reader.Feed(std::span(m_receiveBuffer.data(), std::size_t(got)),
                               [&](std::span<const std::uint8_t> payload) {
                                   connection.inbox.emplace_back(payload.begin(), payload.end());
                                   framed = true;
                               });
    if (!sound) {
        Drop(connection); // closed, failed, or a frame beyond the largest request
        return;
    }
    if (connection.reader.InsideFrame() && (framed || !wasInside))
        connection.frameStarted = now;
    Schedule(connection, now);
    Watch(connection);
}

void CNetServer::Transmit(Connection& connection, Clock::time_point now) {
    while (connection.Unsent() > 0) {
        const long sent = connection.socket.Write(connection.outbox.data() + connection.sent,
                                                  connection.Unsent());
        if (sent < 0) {
            Drop(connection);
            return;
        }
        if (sent == 0)
            break;
        connection.sent += static_cast<std::size_t>(sent);
        connection.lastSent = now;
    }
    if (connection.Unsent() == 0) {
        connection.outbox.clear();
        connection.sent = 0;
    }
    Schedule(connection, now);
    Watch(connection);
}

void CNetServer::Watch(Connection& connection) {
    std::uint32_t events = 0;
    if (connection.inbox.size() < kMaxQueuedFrames && !connection.ending)
        events |= EPOLLIN;
    if (connection.Unsent() > 0)
        events |= EPOLLOUT;
    if (events == connection.events || !connection.socket.Valid())
        return;
    connection.events = events;
    epoll_event watch{events, {.u64 = connection.id}};
    ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, connection.socket.Fd(), &watch);
}

void CNetServer::Schedule(Connection& connection, Clock::time_point now) {
    if (connection.stepping || !connection.socket.Valid() || connection.ending)
        return;
    const bool mayPush = connection.Unsent() < kPushBelowBytes;
    if (connection.inbox.empty() && !(mayPush && connection.nextStep <= now))
        return;
    connection.stepping = true;
    CNetSession* session = connection.session.get();
    m_workers->Post([this, id = connection.id, session, mayPush,
                     frames = std::exchange(connection.inbox, {})]() mutable {
        Done done{id, {}, {}, false, false, {}};
        session->Step(frames, mayPush, done.out);
        done.frames = std::move(frames);
        done.greeted = session->Greeted();
        done.ending = session->Ending();
        done.nextStep = session->NextStep();
        {
            std::lock_guard lock(m_doneLock);
            m_done.push_back(std::move(done));
        }
        Wake();
    });
}

void CNetServer::TakeDone(Clock::time_point now) {
    std::vector<Done> finished;
    {
        std::lock_guard lock(m_doneLock);
        finished.swap(m_done);
    }
    for (Done& done : finished) {
        const auto found = m_connections.find(done.id);
        if (found == m_connections.end())
            continue;
        Connection& connection = *found->second;
        connection.stepping = false;
        // Frames that came during the step follow those it left.
        for (auto& frame : connection.inbox)
            done.frames.push_back(std::move(frame));
        connection.inbox = std::move(done.frames);
        connection.greeted = done.greeted;
        connection.ending = done.ending;
        connection.nextStep = done.nextStep;
        if (!connection.socket.Valid()) {
            Drop(connection);
            continue;
        }
        if (connection.Unsent() == 0)
            connection.lastSent = now;
        connection.outbox.insert(connection.outbox.end(), done.out.begin(), done.out.end());
        Transmit(connection, now);
    }
}

void CNetServer::Drop(Connection& connection) {
    connection.socket.Close(); // also leaves the epoll set
    if (connection.stepping)
        return; // TakeDone drops it again once the step is over
    // Closing the backend handle may take the recorder a while: not on this thread.
    m_workers->Post([session = std::shared_ptr<CNetSession>(
                         std::move(connection.session))]() mutable { session.reset(); });
    m_connections.erase(connection.id);
}

CNetServer::Clock::time_point CNetServer::Check(Clock::time_point now) {
    using std::chrono::milliseconds;
    Clock::time_point next = Clock::time_point::max();
    if (!m_listening) {
        if (now >= m_acceptAgain)
            WatchListener(true);
        else
            next = m_acceptAgain;
    }
    std::vector<Connection*> dropped;
    for (auto& [id, pointer] : m_connections) {
        Connection& connection = *pointer;
        if (!connection.socket.Valid())
            continue; // its step is still running
        const Clock::time_point opening =
            connection.accepted + milliseconds(NetProtocol::kOpeningMs);
        const Clock::time_point inFrame =
            connection.frameStarted + milliseconds(NetProtocol::kFrameStallMs);
        const Clock::time_point sending =
            connection.lastSent + milliseconds(NetProtocol::kSendStallMs);
        const bool waitsOpening = !connection.greeted && !connection.stepping;
        const bool inside = connection.reader.InsideFrame();
        const bool unsent = connection.Unsent() > 0;
        if ((waitsOpening && now >= opening) || (inside && now >= inFrame) ||
            (unsent && now >= sending) || (connection.ending && !connection.stepping && !unsent)) {
            dropped.push_back(&connection);
            continue;
        }
        Schedule(connection, now);
        if (waitsOpening)
            next = std::min(next, opening);
        if (inside)
            next = std::min(next, inFrame);
        if (unsent)
            next = std::min(next, sending);
        if (!connection.stepping && !connection.ending && connection.Unsent() < kPushBelowBytes)
            next = std::min(next, connection.nextStep);
    }
    for (Connection* connection : dropped)
        Drop(*connection);
    return next;
}
