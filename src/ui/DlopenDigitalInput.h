// The USB input module through its vendor's driver library, loaded by name at run time.
#pragma once

#include "framework/DigitalInput.h"

#include <cstdint>
#include <string>

class CDlopenDigitalInput : public IDigitalInput {
public:
    static constexpr const char* kLibraryName = "libtusbsin.so";

    explicit CDlopenDigitalInput(std::string libraryName = kLibraryName);
    ~CDlopenDigitalInput() override;
    CDlopenDigitalInput(const CDlopenDigitalInput&) = delete;
    CDlopenDigitalInput& operator=(const CDlopenDigitalInput&) = delete;

    bool Load() override;
    void Unload() override;
    bool Open() override;
    bool Read(std::uint8_t& input1, std::uint8_t& input2) override;
    void Close() override;

private:
    using OpenFunction = std::int16_t (*)(std::int16_t device);
    using ReadFunction = std::int16_t (*)(std::int16_t device, std::uint8_t* input1,
                                          std::uint8_t* input2);
    using CloseFunction = void (*)(std::int16_t device);

    std::string m_libraryName;
    void* m_library = nullptr;
    OpenFunction m_open = nullptr;
    ReadFunction m_read = nullptr;
    CloseFunction m_close = nullptr;
    bool m_deviceOpen = false;
};
