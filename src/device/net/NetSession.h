// One served connection: the requests of one client handle, carried out on the recorder's
// link in order, and the recorder's samples pushed to the client.
#pragma once

#include "device/net/NetMessage.h"
#include "device/net/NetSocket.h"
#include "framework/LinkLibrary.h"

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CNetSession {
public:
    // When the backend loses the recorder (a data query answers -1 and the status -10) the
    // connection closes, as a real recorder's would.
    CNetSession(CNetSocket socket, ILinkLibrary& backend, std::string address);
    ~CNetSession();
    CNetSession(const CNetSession&) = delete;
    CNetSession& operator=(const CNetSession&) = delete;

    void Stop() { m_socket.Shutdown(); }
    bool Done() const { return m_done; }

private:
    void Run();
    // False when the connection is to end after this frame.
    bool Serve(CNetMessage frame);
    // The result of the request; its out-values go to `out`. Sets m_ending for the requests
    // that end the connection.
    int Dispatch(int ordinal, CNetMessage& args, CNetMessage& out);
    int DispatchOpen(int ordinal, CNetMessage& args, CNetMessage& out);
    // Each group answers its own ordinals and nothing for the others.
    std::optional<int> DispatchCondition(int ordinal, CNetMessage& args, CNetMessage& out);
    std::optional<int> DispatchRun(int ordinal, CNetMessage args, CNetMessage& out);
    std::optional<int> DispatchText(int ordinal, CNetMessage args, CNetMessage& out);
    // Sends the next block of samples within the client's credit; true when more are waiting.
    // Also notices a lost recorder.
    bool Pump();
    // A card file and its partner, copied by the recorder to a folder of its own, sent ahead of
    // the reply.
    int CopyToClient(const std::string& cardPath, const std::string& name);
    bool SendFile(const std::filesystem::path& path);
    // Between the start of a run and its stop samples are looked for often, otherwise seldom.
    int NoteRun(int ordinal, int first, int result);
    void SendStreamCode(int code);
    bool Send(const std::vector<std::uint8_t>& payload);

    CNetSocket m_socket;
    ILinkLibrary& m_backend;
    const std::string m_address;

    // Used by the session thread only.
    std::uint32_t m_sequence = 0; // of the request being served
    int m_handle = 0;             // the backend's handle while the client has the recorder open
    int m_credit = 0;
    bool m_pumpNow = false;
    int m_streamCode = 0;
    bool m_running = false;
    bool m_lostRecorder = false;
    bool m_ending = false;
    bool m_sendFailed = false;
    std::vector<std::uint8_t> m_chunk;

    std::atomic<bool> m_done = false;
    std::thread m_thread;
};
