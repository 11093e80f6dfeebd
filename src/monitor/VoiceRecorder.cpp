#include "monitor/VoiceRecorder.h"

#include "conditions/TextNumbers.h"
#include "framework/AudioInput.h"
#include "framework/MessageTarget.h"
#include "framework/Prompt.h"
#include "monitor/VoiceNoteHost.h"
#include "monitor/WaveFile.h"

#include <cmath>

namespace {

std::intptr_t PackBuffer(std::uint32_t generation, int index) {
    return static_cast<std::intptr_t>((static_cast<std::uint64_t>(generation) << 8) |
                                      static_cast<std::uint64_t>(index));
}

} // namespace

CVoiceRecorder::CVoiceRecorder(IAudioInput& input, IVoiceNoteHost& host, IPrompt& prompt,
                               const IClock& clock, IMessageTarget& target)
    : m_input(input), m_host(host), m_prompt(prompt), m_clock(clock), m_target(target) {}

CVoiceRecorder::~CVoiceRecorder() {
    Stop();
}

double CVoiceRecorder::Level(std::span<const std::uint8_t> samples) {
    if (samples.empty())
        return 0.0;
    double sum = 0.0;
    for (const std::uint8_t sample : samples) {
        const double centred = static_cast<double>(sample) - 128.0;
        sum += centred * centred;
    }
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

std::string CVoiceRecorder::NoteFileName(const std::string& recordFile, const LocalTime& now) {
    const std::size_t dot = recordFile.rfind('.');
    const std::size_t separator = recordFile.find_last_of("/\\");
    const bool extension =
        dot != std::string::npos && (separator == std::string::npos || dot > separator);
    return (extension ? recordFile.substr(0, dot) : recordFile) +
           FormatText("_%02d%02d%02d.wav", now.hour, now.minute, now.second);
}

bool CVoiceRecorder::Start() {
    if (m_listening)
        return true;
    ++m_generation;
    const std::uint32_t generation = m_generation;
    std::string error = m_input.Open([this, generation](int index, std::size_t bytes) {
        m_target.Post(kMessage, PackBuffer(generation, index), static_cast<std::intptr_t>(bytes));
    });
    if (!error.empty()) {
        m_state = State::Error;
        m_prompt.MessageBox(error, PromptIcon::Stop);
        return false;
    }
    m_listening = true;
    m_capture.assign(kCaptureBytes, 0);
    ResetNote();
    m_state = State::Listening;
    for (int i = 0; i < kBufferCount && error.empty(); ++i) {
        m_buffers[i].assign(kBufferBytes, 128);
        error = m_input.AddBuffer(i, m_buffers[i].data(), kBufferBytes);
    }
    if (error.empty())
        error = m_input.Start();
    if (!error.empty()) {
        Fail(error, false);
        return false;
    }
    return true;
}

void CVoiceRecorder::Stop() {
    if (!m_listening)
        return;
    m_input.Stop();
    m_input.Close();
    m_listening = false;
    for (auto& buffer : m_buffers)
        std::vector<std::uint8_t>().swap(buffer);
    std::vector<std::uint8_t>().swap(m_capture);
    ResetNote();
}

void CVoiceRecorder::Toggle() {
    if (m_listening)
        Stop();
    else
        Start();
}

void CVoiceRecorder::ResetNote() {
    m_captured = 0;
    m_toWrite = 0;
    m_quietCount = 0;
}

void CVoiceRecorder::Fail(const std::string& error, bool withIcon) {
    Stop();
    m_state = State::Error;
    m_prompt.MessageBox(error, withIcon ? PromptIcon::Stop : PromptIcon::None);
}

void CVoiceRecorder::OnBufferFull(std::intptr_t wparam, std::intptr_t lparam) {
    const auto packed = static_cast<std::uint64_t>(wparam);
    const int index = static_cast<int>(packed & 0xFF);
    if (!m_listening || !m_input.IsOpen() || (packed >> 8) != m_generation || index < 0 ||
        index >= kBufferCount)
        return;
    std::vector<std::uint8_t>& buffer = m_buffers[index];
    const std::size_t bytes = std::min(static_cast<std::size_t>(lparam), buffer.size());
    if (m_host.IsAcquiring())
        Listen({buffer.data(), bytes});
    if (const std::string error = m_input.AddBuffer(index, buffer.data(), buffer.size());
        !error.empty()) {
        // What was captured so far is still written before the recorder stops.
        if (m_state == State::Finish || m_state == State::Recording) {
            m_state = State::Finish;
            if (m_toWrite > 0)
                WriteWave();
        }
        Fail(error, false);
        return;
    }
    if (m_state == State::Finish && m_toWrite > 0)
        WriteWave();
}

void CVoiceRecorder::Listen(std::span<const std::uint8_t> samples) {
    const double level = Level(samples);
    if (m_state != State::Recording && level > kStartLevel)
        BeginNote();
    if (m_state == State::Recording && level < kQuietLevel && ++m_quietCount >= kQuietBuffers)
        m_state = State::Finish;
    if (m_captured + samples.size() > kCaptureBytes) {
        m_state = State::Finish;
    } else if (m_state == State::Recording) {
        std::copy(samples.begin(), samples.end(), m_capture.begin() + m_captured);
        m_captured += static_cast<std::uint32_t>(samples.size());
        m_toWrite += static_cast<std::uint32_t>(samples.size());
    }
}

void CVoiceRecorder::BeginNote() {
    m_state = State::Recording;
    ResetNote();
    m_fileName = NoteFileName(m_host.GetRecordFileName(), m_clock.GetLocalTime());
    m_host.AddVoiceMark(m_fileName);
}

// The note is written, or discarded when it cannot be; either way listening goes on.
void CVoiceRecorder::WriteWave() {
    const std::string error = CWaveFile::Write(m_fileName, {m_capture.data(), m_toWrite});
    m_state = State::Listening;
    ResetNote();
    if (!error.empty())
        m_prompt.MessageBox(error,
                            error == CWaveFile::kOpenFailed ? PromptIcon::Stop : PromptIcon::None);
}
