// zt300sim: simulated recorders on the network, each served on its own address.
//
//   zt300sim [--config FILE] [--port N]
//
// Without --config the built-in configuration (data/sim/default.conf) is served. Every recorder
// of the configuration listens on its address at the recorders' port (47300 unless --port says
// otherwise; the addresses are loopback ones such as 127.0.0.2); a recorder whose address is
// set over the network moves to its new address. Once every listener is up the program prints
// the line "ready" on standard output, so that a script or a test can wait for it. Any number of
// clients is served by a few threads per recorder; a client that sends no first request within
// seconds, or stops inside a request, is dropped. SIGTERM or SIGINT end it after closing every
// connection (exit code 0); a configuration that cannot be read or an address that cannot be
// listened on ends it with exit code 1, a wrong command line with 2, each with the reason on
// standard error.
#include "device/net/NetProtocol.h"
#include "device/net/NetServer.h"
#include "device/sim/SimLink.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <pthread.h>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr long kAddressCheckNs = 200'000'000;

struct Served {
    CSimRecorder* recorder;
    std::unique_ptr<CNetServer> server;
};

struct Options {
    std::string configPath; // empty: the built-in configuration
    std::uint16_t port = NetProtocol::kPort;
};

bool ParsePort(const std::string& text, std::uint16_t& port) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > 65535)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (option == "--config")
            options.configPath = value;
        else if (option != "--port" || !ParsePort(value, options.port))
            return false;
    }
    return true;
}

bool Serve(CSimLink& link, Served& served, std::uint16_t port) {
    std::string error;
    served.server = std::make_unique<CNetServer>(link, served.recorder->GetAddress(), port);
    if (!served.server->Start(error)) {
        std::cerr << "zt300sim: " << served.recorder->GetName() << ": " << error << "\n";
        return false;
    }
    std::cerr << "zt300sim: " << served.recorder->GetName() << " on " << served.server->Address()
              << ":" << served.server->Port() << "\n";
    return true;
}

// A recorder given a new address listens there from now on, as a real one would; the old
// listener goes, since the recorder no longer answers to that address.
void FollowAddressChanges(CSimLink& link, std::vector<Served>& recorders, std::uint16_t port) {
    for (Served& served : recorders)
        if (served.recorder->GetAddress() != served.server->Address())
            Serve(link, served, port);
}

// Each client's connection takes a descriptor: take as many as the system allows this process.
// Beyond them clients wait to be accepted until others leave.
void RaiseDescriptorLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// The signals are blocked in every thread and taken by the main thread alone. A shell starts a
// background job with SIGINT ignored, and an ignored signal would never reach the wait.
sigset_t BlockStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return signals;
}
} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::cerr << "usage: zt300sim [--config FILE] [--port N]\n";
        return kExitUsage;
    }
    const sigset_t stopSignals = BlockStopSignals();
    RaiseDescriptorLimit();

    std::string error;
    std::unique_ptr<CSimLink> link = options.configPath.empty()
                                         ? CSimLink::FromDefaultConfig()
                                         : CSimLink::FromConfigFile(options.configPath, error);
    if (!link) {
        std::cerr << "zt300sim: " << error << "\n";
        return kExitFailure;
    }
    std::vector<Served> recorders;
    for (CSimRecorder* recorder : link->GetRecorders()) {
        recorders.push_back({recorder, nullptr});
        if (!Serve(*link, recorders.back(), options.port))
            return kExitFailure;
    }
    std::cout << "ready" << std::endl;

    const timespec tick{0, kAddressCheckNs};
    for (;;) {
        const int signal = sigtimedwait(&stopSignals, nullptr, &tick);
        if (signal == SIGINT || signal == SIGTERM)
            break;
        FollowAddressChanges(*link, recorders, options.port);
    }
    recorders.clear(); // stops every server before the link goes
    return 0;
}
