#include "ui/DlopenDigitalInput.h"

#include <utility>

#include <dlfcn.h>

namespace {

// The module the program uses is always the first one.
constexpr std::int16_t kDevice = 0;

template <typename Function> Function Lookup(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

} // namespace

CDlopenDigitalInput::CDlopenDigitalInput(std::string libraryName)
    : m_libraryName(std::move(libraryName)) {}

CDlopenDigitalInput::~CDlopenDigitalInput() {
    Close();
    Unload();
}

bool CDlopenDigitalInput::Load() {
    if (m_library != nullptr)
        return true;
    m_library = dlopen(m_libraryName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_library == nullptr)
        return false;
    m_open = Lookup<OpenFunction>(m_library, "Tusbs02in_Device_Open");
    m_read = Lookup<ReadFunction>(m_library, "Tusbs02in_Read");
    m_close = Lookup<CloseFunction>(m_library, "Tusbs02in_Device_Close");
    if (m_open == nullptr || m_read == nullptr || m_close == nullptr) {
        Unload();
        return false;
    }
    return true;
}

void CDlopenDigitalInput::Unload() {
    Close();
    if (m_library != nullptr)
        dlclose(m_library);
    m_library = nullptr;
    m_open = nullptr;
    m_read = nullptr;
    m_close = nullptr;
}

bool CDlopenDigitalInput::Open() {
    if (m_open == nullptr)
        return false;
    m_deviceOpen = m_open(kDevice) == 0;
    return m_deviceOpen;
}

bool CDlopenDigitalInput::Read(std::uint8_t& input1, std::uint8_t& input2) {
    if (!m_deviceOpen)
        return false;
    return m_read(kDevice, &input1, &input2) == 0;
}

void CDlopenDigitalInput::Close() {
    if (m_deviceOpen && m_close != nullptr)
        m_close(kDevice);
    m_deviceOpen = false;
}
