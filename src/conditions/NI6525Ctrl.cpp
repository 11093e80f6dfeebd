#include "conditions/NI6525Ctrl.h"

#include "framework/RelayOutput.h"

bool CNI6525Ctrl::Open(const std::string& device, std::uint8_t initialLevels) {
    Close();
    m_device = device;
    m_initialLevels = initialLevels;
    if (m_driver == nullptr || !m_driver->Open(device))
        return false;
    m_open = true;
    if (!SetAll(initialLevels)) {
        Close();
        return false;
    }
    return true;
}

void CNI6525Ctrl::Close() {
    if (!m_open)
        return;
    SetAll(m_initialLevels);
    m_driver->Close();
    m_open = false;
}

bool CNI6525Ctrl::SetPort(int port, int level) {
    return m_open && port >= 0 && port < kPortCount && m_driver->SetPort(port, level != 0 ? 1 : 0);
}

bool CNI6525Ctrl::SetAll(std::uint8_t levels) {
    bool all = true;
    for (int port = 0; port < kPortCount; ++port)
        all = SetPort(port, (levels >> port) & 1) && all;
    return all;
}
