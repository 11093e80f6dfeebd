// What a broken or hostile peer costs the link and the recorder server: the heap of a reply or
// request declaring millions of records, the heap of a stream of one-word sample frames, the
// threads and memory of zt300sim holding thousands of idle connections, and how long a status
// query lasts while the peer streams pieces of a card file at it.
#include "device/net/NetFrameReader.h"
#include "device/net/NetLink.h"
#include "device/net/NetMessage.h"
#include "device/net/NetProtocol.h"
#include "device/net/NetServer.h"
#include "device/net/NetSocket.h"
#include "device/sim/SimLink.h"
#include "support/SimProcess.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <new>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

// Every allocation of the process is counted, so a benchmark reads the peak of the heap.
namespace {
std::atomic<std::int64_t> g_heapBytes = 0;
std::atomic<std::int64_t> g_heapPeak = 0;

void* Allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block)
        throw std::bad_alloc();
    const auto now = g_heapBytes += static_cast<std::int64_t>(malloc_usable_size(block));
    for (auto peak = g_heapPeak.load(); now > peak && !g_heapPeak.compare_exchange_weak(peak, now);)
        ;
    return block;
}

void Release(void* block) {
    if (!block)
        return;
    g_heapBytes -= static_cast<std::int64_t>(malloc_usable_size(block));
    std::free(block);
}
} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete[](void* block) noexcept {
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    Release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    Release(block);
}

namespace {
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kAddress = "127.0.0.2";
constexpr std::uint32_t kHugeCount = 4'000'000;
constexpr std::size_t kHugeFrameBytes = 4u << 20;
constexpr int kIdleConnections = 3000;
constexpr const char* kConfig = "RECORDER ZT-300 127.0.0.2\n"
                                "SLOT 1 PN=QA-80VA TY=2 NCH=4 RV=10 CF=OFF ON=ALL\n";

double MiB(std::int64_t bytes) {
    return static_cast<double>(bytes) / (1 << 20);
}

// Sends bytes as they stand (several frames at once, or a frame cut anywhere).
bool SendRaw(CNetSocket& socket, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(socket.Fd(), bytes, size, MSG_NOSIGNAL);
        if (sent > 0) {
            bytes += sent;
            size -= static_cast<std::size_t>(sent);
            continue;
        }
        pollfd entry{socket.Fd(), POLLOUT, 0};
        if ((sent < 0 && errno != EAGAIN) || ::poll(&entry, 1, 5000) <= 0)
            return false;
    }
    return true;
}

// The next frame from the peer, within two seconds; frames read along with it are dropped.
std::optional<CNetMessage> NextFrame(CNetSocket& socket) {
    CNetFrameReader reader(NetProtocol::kMaxFrameBytes);
    std::optional<CNetMessage> frame;
    std::vector<std::uint8_t> buffer(64 << 10);
    for (const auto end = Clock::now() + 2s; !frame && Clock::now() < end;) {
        const long got = socket.WaitReadable(100) ? socket.Read(buffer.data(), buffer.size()) : 0;
        if (got < 0)
            break;
        reader.Feed(std::span(buffer.data(), std::size_t(got)),
                    [&](std::span<const std::uint8_t> payload) {
                        if (!frame)
                            frame.emplace(payload);
                    });
    }
    return frame;
}

// A request's sequence and ordinal.
std::pair<std::uint32_t, int> ReadRequest(CNetMessage& request) {
    request.GetU8();
    const std::uint32_t sequence = request.GetU32();
    return {sequence, request.GetI32()};
}

// Waits for the client's next request and hands its sequence and ordinal to `answer`.
void OnRequest(CNetSocket& peer, const std::function<void(std::uint32_t, int)>& answer) {
    if (std::optional<CNetMessage> request = NextFrame(peer)) {
        const auto [sequence, ordinal] = ReadRequest(*request);
        answer(sequence, ordinal);
    }
}

CNetMessage Reply(std::uint32_t sequence, int ordinal, int result) {
    CNetMessage reply;
    reply.PutU8(NetProtocol::kReply).PutU32(sequence).PutI32(ordinal).PutI32(result);
    return reply;
}

// A recorder of its own making on a free port: it answers the open, then `script` has the
// connection and the sequence of the request after the open.
class CFakeRecorder {
public:
    using Script = std::function<void(CNetSocket&)>;
    explicit CFakeRecorder(Script script) {
        std::string error;
        m_listener = CNetSocket::Listen(kAddress, 0, error);
        m_thread = std::thread([this, script] {
            CNetSocket peer;
            for (auto end = Clock::now() + 5s; !peer.Valid() && Clock::now() < end;) {
                m_listener.WaitReadable(100);
                peer = m_listener.Accept();
            }
            std::optional<CNetMessage> open = NextFrame(peer);
            if (!open)
                return;
            const auto [sequence, ordinal] = ReadRequest(*open);
            peer.SendFrame(Reply(sequence, ordinal, 1).Bytes(), CNetSocket::After(1000));
            script(peer);
        });
    }
    ~CFakeRecorder() { m_thread.join(); }
    std::uint16_t Port() const { return m_listener.LocalPort(); }

private:
    CNetSocket m_listener;
    std::thread m_thread;
};

// A reply payload of the largest frame that declares kHugeCount channel records.
std::vector<std::uint8_t> HugeRecords(CNetMessage head) {
    head.PutU32(kHugeCount);
    std::vector<std::uint8_t> bytes = head.Bytes();
    bytes.resize(kHugeFrameBytes);
    return bytes;
}

void BM_ClientHugeCountReply(benchmark::State& state) {
    for (auto _ : state) {
        CFakeRecorder fake([](CNetSocket& peer) {
            OnRequest(peer, [&](std::uint32_t sequence, int ordinal) {
                peer.SendFrame(HugeRecords(Reply(sequence, ordinal, 1)), CNetSocket::After(5000));
                NextFrame(peer); // until the client closes
            });
        });
        CNetLink link(fake.Port());
        const int handle = link.LnkOpen(kAddress, 2000);
        const std::int64_t base = g_heapBytes;
        g_heapPeak = base;
        std::vector<LinkChannelRecord> records;
        const int result = link.LnkGetSlotChannels(handle, 1, records);
        state.counters["peak_heap_MiB"] = MiB(g_heapPeak - base);
        state.counters["result"] = result;
        state.counters["records_kept"] = static_cast<double>(records.size());
    }
}

void BM_ServerHugeCountRequest(benchmark::State& state) {
    std::string error;
    std::unique_ptr<CSimLink> sim = CSimLink::FromConfigText(kConfig, error);
    CNetServer server(*sim, kAddress, 0);
    if (!server.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        CNetSocket client = CNetSocket::Connect(kAddress, server.Port(), CNetSocket::After(1000));
        CNetMessage open;
        open.PutU8(NetProtocol::kRequest).PutU32(1).PutI32(LinkOrdinal::kOpen).PutI32(0);
        open.PutU32(NetProtocol::kMagic).PutText(kAddress).PutI32(1000);
        client.SendFrame(open.Bytes(), CNetSocket::After(1000));
        NextFrame(client);
        CNetMessage head;
        head.PutU8(NetProtocol::kRequest).PutU32(2).PutI32(LinkOrdinal::kSetSlotChannels);
        head.PutI32(1).PutI32(1).PutI32(2).PutI32(4);
        const std::vector<std::uint8_t> request = HugeRecords(head);
        const std::int64_t base = g_heapBytes;
        g_heapPeak = base;
        const bool sent = client.SendFrame(request, CNetSocket::After(5000));
        std::optional<CNetMessage> reply = sent ? NextFrame(client) : std::nullopt;
        state.counters["peak_heap_MiB"] = MiB(g_heapPeak - base);
        state.counters["answered"] = reply.has_value();
    }
}

void BM_ClientOneWordFrames(benchmark::State& state) {
    for (auto _ : state) {
        std::atomic<std::int64_t> frames = 0;
        CFakeRecorder fake([&frames](CNetSocket& peer) {
            // 64 Ki frames of one word each per write, until the client drops the connection.
            std::vector<std::uint8_t> batch;
            for (int i = 0; i < 65536; ++i)
                batch.insert(batch.end(), {3, 0, 0, 0, NetProtocol::kData, 0x34, 0x12});
            while (frames < 64'000'000 && SendRaw(peer, batch.data(), batch.size()))
                frames += 65536;
        });
        const std::int64_t base = g_heapBytes;
        g_heapPeak = base;
        CNetLink link(fake.Port());
        const int handle = link.LnkOpen(kAddress, 2000);
        const auto start = Clock::now();
        while (link.LnkGetStatus(handle) != RecorderStatus::kCommError2 &&
               Clock::now() - start < 60s)
            std::this_thread::sleep_for(10ms);
        state.counters["peak_heap_MiB"] = MiB(g_heapPeak - base);
        state.counters["frames_sent"] = static_cast<double>(frames.load());
        state.counters["status"] = link.LnkGetStatus(handle);
    }
}

// A status query while the peer sends a piece of a card file carrying the query's sequence
// every 100 ms for 14 s, then the reply.
void BM_ClientStatusUnderFilePieces(benchmark::State& state) {
    for (auto _ : state) {
        CFakeRecorder fake([](CNetSocket& peer) {
            OnRequest(peer, [&](std::uint32_t sequence, int ordinal) {
                for (auto end = Clock::now() + 14s; Clock::now() < end;) {
                    CNetMessage piece;
                    piece.PutU8(NetProtocol::kFile).PutU32(sequence).PutText("x.dat");
                    if (!peer.SendFrame(piece.PutText("ab").Bytes(), CNetSocket::After(1000)))
                        return;
                    std::this_thread::sleep_for(100ms);
                }
                peer.SendFrame(Reply(sequence, ordinal, RecorderStatus::kArmed).Bytes(),
                               CNetSocket::After(1000));
            });
        });
        CNetLink link(fake.Port());
        const int handle = link.LnkOpen(kAddress, 2000);
        const auto start = Clock::now();
        const int status = link.LnkGetStatus(handle);
        state.counters["seconds"] = std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["status"] = status;
        link.LnkClose(handle);
    }
}

std::string ProcStatus(pid_t pid, const std::string& key) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(file, line);)
        if (line.starts_with(key + ":"))
            return line.substr(key.size() + 1);
    return "";
}

// User and system time of a process.
double CpuSeconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    std::vector<std::string> fields;
    while (file >> field)
        fields.push_back(field);
    if (fields.size() < 15)
        return 0;
    return (std::stod(fields[13]) + std::stod(fields[14])) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Connections that opened the recorder and then stay silent, as programs left open.
void BM_SimIdleConnections(benchmark::State& state) {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    std::uint16_t port = 0;
    {
        std::string error;
        port = CNetSocket::Listen("127.0.0.1", 0, error).LocalPort();
    }
    for (auto _ : state) {
        CSimProcess sim(port);
        if (sim.FirstLine(10000) != "ready") {
            state.SkipWithError("zt300sim did not start");
            return;
        }
        const std::string rssBefore = ProcStatus(sim.Pid(), "VmRSS");
        std::vector<CNetSocket> clients;
        int opened = 0;
        for (int i = 0; i < kIdleConnections; ++i) {
            CNetSocket client = CNetSocket::Connect(kAddress, port, CNetSocket::After(2000));
            CNetMessage open;
            open.PutU8(NetProtocol::kRequest).PutU32(1).PutI32(LinkOrdinal::kOpen).PutI32(0);
            open.PutU32(NetProtocol::kMagic).PutText(kAddress).PutI32(1000);
            if (client.SendFrame(open.Bytes(), CNetSocket::After(1000)) && NextFrame(client))
                ++opened;
            clients.push_back(std::move(client));
        }
        std::this_thread::sleep_for(500ms);
        // The processor time the server takes over two seconds of holding them.
        const double cpuBefore = CpuSeconds(sim.Pid());
        std::this_thread::sleep_for(2s);
        state.counters["cpu_percent"] = (CpuSeconds(sim.Pid()) - cpuBefore) * 100 / 2;
        state.counters["opened"] = opened;
        state.counters["threads"] = std::stod(ProcStatus(sim.Pid(), "Threads"));
        state.counters["rss_MiB"] = std::stod(ProcStatus(sim.Pid(), "VmRSS")) / 1024;
        state.counters["rss_MiB_before"] = std::stod(rssBefore) / 1024;
    }
}

BENCHMARK(BM_ClientHugeCountReply)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ServerHugeCountRequest)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ClientOneWordFrames)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ClientStatusUnderFilePieces)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SimIdleConnections)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

BENCHMARK_MAIN();
