// The wave-audio input: one microphone delivering 8-bit unsigned mono samples at 11025 Hz into
// buffers the caller queues and gets back filled, one after the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class IAudioInput {
public:
    static constexpr int kSampleRate = 11025;

    // Called on the input's own thread when queued buffer `index` comes back: filled with `bytes`
    // samples, or with fewer (even none) when the input was stopped or the device went away.
    using BufferDone = std::function<void(int index, std::size_t bytes)>;

    virtual ~IAudioInput() = default;

    // Opens the default input device for 8-bit unsigned mono at 11025 Hz. Empty on success,
    // else the error text to show (no device, or a device that cannot deliver the format).
    virtual std::string Open(BufferDone done) = 0;
    // Queues a buffer of the caller's, which the input fills up to `size` bytes and hands back
    // by `done`; the caller leaves it alone until then. Empty, or the error text.
    virtual std::string AddBuffer(int index, std::uint8_t* data, std::size_t size) = 0;
    // Starts the capture into the queued buffers. Empty, or the error text.
    virtual std::string Start() = 0;
    // Stops the capture and drops every queued buffer without handing it back; no `done` call
    // runs once it returns, so the caller may free the buffers.
    virtual void Stop() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};
