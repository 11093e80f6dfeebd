// Voice notes while acquiring: the microphone is listened to one second at a time; a loud second
// starts a note, the third quiet one (or 200 seconds) ends it, and the note is written as a WAVE
// file named after the HDD record, with a mark at the sample where it began.
//
// Threads: the input hands back its buffers on its own thread, which only posts kMessage to the
// UI thread; everything else, OnBufferFull included, runs on the UI thread.
#pragma once

#include "framework/Clock.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class IAudioInput;
class IMessageTarget;
class IPrompt;
class IVoiceNoteHost;

class CVoiceRecorder {
public:
    static constexpr int kMessage = 0x465;
    static constexpr std::size_t kBufferBytes = 11025; // one second
    static constexpr int kBufferCount = 2;
    static constexpr std::size_t kCaptureBytes = 2205000; // 200 seconds
    static constexpr double kStartLevel = 40.0;
    static constexpr double kQuietLevel = 20.0;
    static constexpr int kQuietBuffers = 3;

    enum class State { Listening = 0, Error = 1, Finish = 2, Recording = 3 };

    // Buffers come back through `target` (the monitor window) as kMessage, to be handed to
    // OnBufferFull in the order they were posted.
    CVoiceRecorder(IAudioInput& input, IVoiceNoteHost& host, IPrompt& prompt, const IClock& clock,
                   IMessageTarget& target);
    ~CVoiceRecorder();
    CVoiceRecorder(const CVoiceRecorder&) = delete;
    CVoiceRecorder& operator=(const CVoiceRecorder&) = delete;

    // Opens the microphone and starts listening; on failure says why and stays stopped.
    bool Start();
    void Stop();
    // The "Voice" command: Stop while listening, else Start.
    void Toggle();
    bool IsListening() const { return m_listening; }

    // kMessage, with the parameters it was posted with.
    void OnBufferFull(std::intptr_t wparam, std::intptr_t lparam);

    State GetState() const { return m_state; }
    std::uint32_t GetCapturedBytes() const { return m_captured; }
    const std::string& GetFileName() const { return m_fileName; }

    // The root mean square of the samples around their middle value 128.
    static double Level(std::span<const std::uint8_t> samples);
    // The record file without its extension, "_hhmmss" of `now`, ".wav". Only a "." of the file
    // name itself starts an extension, never one of a folder.
    static std::string NoteFileName(const std::string& recordFile, const LocalTime& now);

private:
    void Listen(std::span<const std::uint8_t> samples);
    void BeginNote();
    // Stops and then shows `error` (after stopping, so nothing arrives while the box is open).
    void Fail(const std::string& error, bool withIcon);
    void WriteWave();
    void ResetNote();

    IAudioInput& m_input;
    IVoiceNoteHost& m_host;
    IPrompt& m_prompt;
    const IClock& m_clock;
    IMessageTarget& m_target;
    bool m_listening = false;
    // Buffers posted by an earlier listening are told apart and dropped.
    std::uint32_t m_generation = 0;
    std::vector<std::uint8_t> m_buffers[kBufferCount];
    std::vector<std::uint8_t> m_capture;
    std::uint32_t m_captured = 0;
    std::uint32_t m_toWrite = 0;
    int m_quietCount = 0;
    State m_state = State::Listening;
    std::string m_fileName;
};
