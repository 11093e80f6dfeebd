// One served connection: the requests of one client handle, carried out on the recorder's
// link in order, and the recorder's samples and card files pushed to the client. It neither
// reads nor writes the socket: the server hands it the frames that came and sends what it
// produced, so that many connections share a few threads.
#pragma once

#include "device/net/NetMessage.h"
#include "framework/LinkLibrary.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CNetSession {
public:
    using Clock = std::chrono::steady_clock;

    // When the backend loses the recorder (a data query answers -1 and the status -10) the
    // connection closes, as a real recorder's would.
    CNetSession(ILinkLibrary& backend, std::string address);
    // Closes the backend handle the client left open.
    ~CNetSession();
    CNetSession(const CNetSession&) = delete;
    CNetSession& operator=(const CNetSession&) = delete;

    // Serves `frames` (payloads, in the order they came) and takes them out of the queue; a card
    // copy in progress leaves them waiting. Then, when `mayPush` (the client has taken most of
    // what was sent), pushes the next block of samples or the next piece of the copy. What is
    // to be sent is appended to `out` as whole frames. Called by one thread at a time.
    void Step(std::deque<std::vector<std::uint8_t>>& frames, bool mayPush,
              std::vector<std::uint8_t>& out);
    // The first request has been served.
    bool Greeted() const { return m_greeted; }
    // The connection is to close once what was produced is sent.
    bool Ending() const { return m_ending; }
    // When a Step without frames has something to do (samples, the copy, a check of the
    // recorder); time_point::max() when nothing.
    Clock::time_point NextStep() const;

private:
    // False when the connection is to end after this frame.
    bool Serve(CNetMessage frame, std::vector<std::uint8_t>& out);
    // The result of the request; its out-values go to `out`. Sets m_ending for the requests
    // that end the connection.
    int Dispatch(int ordinal, CNetMessage& args, CNetMessage& out);
    int DispatchOpen(int ordinal, CNetMessage& args, CNetMessage& out);
    // Each group answers its own ordinals and nothing for the others.
    std::optional<int> DispatchCondition(int ordinal, CNetMessage& args, CNetMessage& out);
    std::optional<int> DispatchRun(int ordinal, CNetMessage args, CNetMessage& out);
    std::optional<int> DispatchText(int ordinal, CNetMessage args, CNetMessage& out);
    // The next piece of a card copy, or samples when they are due.
    void Push(std::vector<std::uint8_t>& out);
    // Appends the next block of samples within the client's credit; true when more are
    // waiting. Also notices a lost recorder.
    bool Pump(std::vector<std::uint8_t>& out);
    // Has the recorder copy a card file and its partner to a folder of its own; on success
    // their pieces go to the client ahead of the reply (m_copy).
    int BeginCopy(const std::string& cardPath, const std::string& name);
    // The next piece of the copy, or once all went, its reply.
    void SendPiece(std::vector<std::uint8_t>& out);
    void EndCopy();
    // Between the start of a run and its stop samples are looked for often, otherwise seldom.
    int NoteRun(int ordinal, int first, int result);
    void SendStreamCode(int code, std::vector<std::uint8_t>& out);

    ILinkLibrary& m_backend;
    const std::string m_address;

    // A card copy whose files are on their way to the client.
    struct Copy {
        std::filesystem::path folder;
        std::vector<std::filesystem::path> files;
        std::size_t next = 0;   // the file being sent
        std::ifstream file;     // open while one is being sent
        CNetMessage reply;      // sent after the last piece
        std::uint32_t sequence; // of the copy request
    };

    std::uint32_t m_sequence = 0; // of the request being served
    int m_handle = 0;             // the backend's handle while the client has the recorder open
    int m_credit = 0;
    bool m_pumpNow = false;
    bool m_more = false; // the last pump left samples waiting
    Clock::time_point m_nextPump;
    int m_streamCode = 0;
    bool m_running = false;
    bool m_greeted = false;
    bool m_ending = false;
    std::unique_ptr<Copy> m_copy;
};
