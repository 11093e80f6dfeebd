#include "ui/voice/QtAudioInput.h"

#include "monitor/AudioConverter.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

QAudioFormat NoteFormat() {
    QAudioFormat format;
    format.setSampleRate(IAudioInput::kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    return format;
}

std::optional<AudioFormat> ToAudioFormat(const QAudioFormat& format) {
    AudioFormat converted;
    converted.channels = format.channelCount();
    converted.rate = format.sampleRate();
    switch (format.sampleFormat()) {
    case QAudioFormat::UInt8:
        converted.sample = SampleFormat::UInt8;
        break;
    case QAudioFormat::Int16:
        converted.sample = SampleFormat::Int16;
        break;
    case QAudioFormat::Int32:
        converted.sample = SampleFormat::Int32;
        break;
    case QAudioFormat::Float:
        converted.sample = SampleFormat::Float;
        break;
    default:
        return std::nullopt;
    }
    if (converted.channels < 1 || converted.rate < 1)
        return std::nullopt;
    return converted;
}

} // namespace

CQtAudioInput::CQtAudioInput(QObject* parent) : QObject(parent) {}

CQtAudioInput::~CQtAudioInput() {
    Close();
}

std::string CQtAudioInput::Open(BufferDone done) {
    Close();
    m_device = QMediaDevices::defaultAudioInput();
    if (m_device.isNull())
        return kNoDevice;
    QAudioFormat format = NoteFormat();
    m_converter.reset();
    if (!m_device.isFormatSupported(format)) {
        format = m_device.preferredFormat();
        const std::optional<AudioFormat> own = ToAudioFormat(format);
        if (!own)
            return kOpenError;
        m_converter = std::make_unique<CAudioConverter>(*own);
    }
    m_source = new QAudioSource(m_device, format, this);
    m_done = std::move(done);
    m_error.clear();
    connect(m_source, &QAudioSource::stateChanged, this, &CQtAudioInput::OnStateChanged);
    auto* devices = new QMediaDevices(m_source);
    connect(devices, &QMediaDevices::audioInputsChanged, this, &CQtAudioInput::OnDevicesChanged);
    return {};
}

std::string CQtAudioInput::AddBuffer(int index, std::uint8_t* data, std::size_t size) {
    if (m_source == nullptr)
        return kNoDevice;
    if (!m_error.empty())
        return m_error;
    m_queue.push_back({index, data, size, 0});
    Deliver();
    return {};
}

std::string CQtAudioInput::Start() {
    if (m_source == nullptr)
        return kNoDevice;
    m_io = m_source->start();
    if (m_io == nullptr || m_source->error() != QAudio::NoError)
        return kOpenError;
    connect(m_io, &QIODevice::readyRead, this, &CQtAudioInput::OnReadyRead);
    return {};
}

void CQtAudioInput::Stop() {
    if (m_source != nullptr) {
        if (m_io != nullptr)
            disconnect(m_io, nullptr, this, nullptr);
        m_source->stop();
    }
    m_io = nullptr;
    m_queue.clear();
    m_pending.clear();
}

void CQtAudioInput::Close() {
    Stop();
    delete m_source;
    m_source = nullptr;
    m_done = {};
}

void CQtAudioInput::OnReadyRead() {
    if (m_io == nullptr)
        return;
    const QByteArray bytes = m_io->readAll();
    const std::span<const std::uint8_t> raw(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                            static_cast<std::size_t>(bytes.size()));
    if (m_converter)
        m_converter->Convert(raw, m_pending);
    else
        m_pending.insert(m_pending.end(), raw.begin(), raw.end());
    Deliver();
}

// Fills the queued buffers in order; a full one goes back to its owner.
void CQtAudioInput::Deliver() {
    while (!m_pending.empty() && !m_queue.empty()) {
        Queued& buffer = m_queue.front();
        const std::size_t take = std::min(buffer.size - buffer.filled, m_pending.size());
        std::memcpy(buffer.data + buffer.filled, m_pending.data(), take);
        buffer.filled += take;
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(take));
        if (buffer.filled < buffer.size)
            break;
        const Queued done = buffer;
        m_queue.pop_front();
        m_done(done.index, done.filled);
    }
    // Sound nobody queued a buffer for is lost, as with a real device; it must not pile up.
    if (m_queue.empty() && m_pending.size() > 4 * static_cast<std::size_t>(kSampleRate))
        m_pending.clear();
}

void CQtAudioInput::OnStateChanged() {
    if (m_source == nullptr || m_io == nullptr)
        return;
    switch (m_source->error()) {
    case QAudio::NoError:
    case QAudio::UnderrunError:
        return;
    case QAudio::OpenError:
        Fail(kOpenError);
        return;
    default:
        Fail(kIoError);
        return;
    }
}

void CQtAudioInput::OnDevicesChanged() {
    const QList<QAudioDevice> inputs = QMediaDevices::audioInputs();
    if (m_source != nullptr && !inputs.contains(m_device))
        Fail(kRemoved);
}

void CQtAudioInput::Fail(const char* error) {
    if (!m_error.empty())
        return;
    m_error = error;
    std::deque<Queued> queued;
    queued.swap(m_queue);
    for (const Queued& buffer : queued)
        m_done(buffer.index, buffer.filled);
}
