// The two-contact USB input module, whose driver library is loaded by name at run time.
#pragma once

#include <cstdint>

class IDigitalInput {
public:
    virtual ~IDigitalInput() = default;
    // Loads the driver library; false when it or one of its functions is missing.
    virtual bool Load() = 0;
    virtual void Unload() = 0;
    // Opens module 0; false when the library is not loaded or the module does not answer.
    virtual bool Open() = 0;
    // The two input bytes (non-zero is "on"); false when the module could not be read.
    virtual bool Read(std::uint8_t& input1, std::uint8_t& input2) = 0;
    virtual void Close() = 0;
};
