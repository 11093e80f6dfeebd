// The relay output module control: it keeps what it was opened with and switches the eight ports
// through an output driver. Without a driver (this program drives no module) opening fails.
#pragma once

#include <cstdint>
#include <string>

class IRelayOutput;

class CNI6525Ctrl {
public:
    static constexpr int kPortCount = 8;
    static constexpr const char* kDeviceName = "NI6525";

    explicit CNI6525Ctrl(IRelayOutput* driver = nullptr) : m_driver(driver) {}
    ~CNI6525Ctrl() { Close(); }
    CNI6525Ctrl(const CNI6525Ctrl&) = delete;
    CNI6525Ctrl& operator=(const CNI6525Ctrl&) = delete;

    // Stores the device name and the initial levels (bit n for port n), then opens the module
    // and sets every port to its initial level. False when there is no module.
    bool Open(const std::string& device, std::uint8_t initialLevels);
    // Sets the ports back to their initial levels and closes the module.
    void Close();
    bool SetPort(int port, int level);
    bool IsOpen() const { return m_open; }

    const std::string& GetDevice() const { return m_device; }
    std::uint8_t GetInitialLevels() const { return m_initialLevels; }

private:
    bool SetAll(std::uint8_t levels);

    IRelayOutput* m_driver;
    std::string m_device;
    std::uint8_t m_initialLevels = 0;
    bool m_open = false;
};
