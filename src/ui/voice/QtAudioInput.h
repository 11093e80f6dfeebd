// The microphone through Qt Multimedia: the default input device, captured as 8-bit unsigned
// mono at 11025 Hz, or in the device's own format and converted to that.
#pragma once

#include "framework/AudioInput.h"

#include <QAudioDevice>
#include <QObject>

#include <deque>
#include <memory>
#include <vector>

class CAudioConverter;
class QAudioSource;
class QIODevice;

class CQtAudioInput : public QObject, public IAudioInput {
    Q_OBJECT

public:
    static constexpr const char* kNoDevice = "No audio input device is available.";
    static constexpr const char* kOpenError = "The audio input device could not be opened.";
    static constexpr const char* kIoError = "The audio input device stopped delivering sound.";
    static constexpr const char* kRemoved = "The audio input device was removed.";

    explicit CQtAudioInput(QObject* parent = nullptr);
    ~CQtAudioInput() override;

    std::string Open(BufferDone done) override;
    std::string AddBuffer(int index, std::uint8_t* data, std::size_t size) override;
    std::string Start() override;
    void Stop() override;
    void Close() override;
    bool IsOpen() const override { return m_source != nullptr; }

private:
    struct Queued {
        int index;
        std::uint8_t* data;
        std::size_t size;
        std::size_t filled;
    };
    void OnReadyRead();
    void OnStateChanged();
    void OnDevicesChanged();
    // The device failed: the queued buffers go back with what they hold, and no more are taken.
    void Fail(const char* error);
    void Deliver();

    BufferDone m_done;
    QAudioDevice m_device;
    QAudioSource* m_source = nullptr;
    QIODevice* m_io = nullptr;
    std::unique_ptr<CAudioConverter> m_converter; // when the device has its own format
    std::vector<std::uint8_t> m_pending;          // converted samples not yet in a buffer
    std::deque<Queued> m_queue;
    std::string m_error;
};
