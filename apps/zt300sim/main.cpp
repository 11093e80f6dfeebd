// zt300sim: simulated recorders on the network, each served on its own address.
//
//   zt300sim [--config FILE] [--port N]
//
// Without --config the built-in configuration (data/sim/default.conf) is served. Every recorder
// of the configuration listens on its address at the recorders' port (47300 unless --port says
// otherwise; the addresses are loopback ones such as 127.0.0.2). Once every listener is up the
// program prints the line "ready" on standard output, so that a script or a test can wait for
// it. SIGTERM or SIGINT end it after closing every connection (exit code 0); a configuration
// that cannot be read or an address that cannot be listened on ends it with exit code 1, a wrong
// command line with 2, each with the reason on standard error.
#include "device/net/NetProtocol.h"
#include "device/net/NetServer.h"
#include "device/sim/SimLink.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <pthread.h>
#include <string>
#include <vector>

namespace {
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

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

// The signals are blocked in every thread and taken by the main thread alone.
sigset_t BlockStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
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

    std::string error;
    std::unique_ptr<CSimLink> link = options.configPath.empty()
                                         ? CSimLink::FromDefaultConfig()
                                         : CSimLink::FromConfigFile(options.configPath, error);
    if (!link) {
        std::cerr << "zt300sim: " << options.configPath << ": " << error << "\n";
        return kExitFailure;
    }
    std::vector<std::unique_ptr<CNetServer>> servers;
    for (CSimRecorder* recorder : link->GetRecorders()) {
        servers.push_back(
            std::make_unique<CNetServer>(*link, recorder->GetAddress(), options.port));
        if (!servers.back()->Start(error)) {
            std::cerr << "zt300sim: " << recorder->GetName() << ": " << error << "\n";
            return kExitFailure;
        }
        std::cerr << "zt300sim: " << recorder->GetName() << " on " << recorder->GetAddress() << ":"
                  << servers.back()->Port() << "\n";
    }
    std::cout << "ready" << std::endl;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    for (auto& server : servers)
        server->Stop();
    return 0;
}
