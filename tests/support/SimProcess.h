// A zt300sim child process for end-to-end tests: started on a port of the test's own, read up to
// its "ready" line, killed when the test ends however it ends.
#pragma once

#include "device/net/NetSocket.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

// A zt300sim child process, killed when the test ends however it ends.
class CSimProcess {
    using Clock = std::chrono::steady_clock;

public:
    // With `tempFolder` the simulator keeps its temporary files there (TMPDIR), so that a test
    // that kills it can remove what it left.
    explicit CSimProcess(std::uint16_t port,
                         const std::string& config = ZT300_TEST_DATA_DIR "/net/two_recorders.conf",
                         const std::string& tempFolder = {}) {
        int out[2];
        if (::pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string portText = std::to_string(port);
        std::vector<const char*> args = {ZT300_SIM_PROGRAM, "--config",       config.c_str(),
                                         "--port",          portText.c_str(), nullptr};
        std::vector<std::string> variables;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            if (tempFolder.empty() || std::string(*variable).rfind("TMPDIR=", 0) != 0)
                variables.emplace_back(*variable);
        }
        if (!tempFolder.empty())
            variables.push_back("TMPDIR=" + tempFolder);
        std::vector<char*> environment;
        for (std::string& variable : variables)
            environment.push_back(variable.data());
        environment.push_back(nullptr);
        if (posix_spawn(&m_pid, ZT300_SIM_PROGRAM, &actions, nullptr,
                        const_cast<char* const*>(args.data()), environment.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        m_output = out[0];
    }
    ~CSimProcess() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        ::close(m_output);
    }

    // The first line of standard output, or empty after `timeoutMs`.
    std::string FirstLine(int timeoutMs) {
        std::string line;
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        char c = 0;
        while (Clock::now() < end) {
            pollfd entry{m_output, POLLIN, 0};
            if (::poll(&entry, 1, 50) <= 0)
                continue;
            if (::read(m_output, &c, 1) != 1 || c == '\n')
                break;
            line += c;
        }
        return line;
    }

    void Signal(int signal) { ::kill(m_pid, signal); }
    pid_t Pid() const { return m_pid; }

    // The exit code, or -1 when the process did not end normally within `timeoutMs`.
    int WaitExit(int timeoutMs) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        int status = 0;
        while (Clock::now() < end) {
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t m_pid = -1;
    int m_output = -1;
};

// A port free on both recorder addresses, so a test does not meet another one's recorders.
inline std::uint16_t FreePort(const char* first = "127.0.0.2", const char* second = "127.0.0.3") {
    std::string error;
    for (int attempt = 0; attempt < 20; ++attempt) {
        CNetSocket one = CNetSocket::Listen(first, 0, error);
        const std::uint16_t port = one.LocalPort();
        if (one.Valid() && CNetSocket::Listen(second, port, error).Valid())
            return port;
    }
    return 0;
}
