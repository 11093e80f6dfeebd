// A stand-in for the USB input module's driver library: the contacts and the module's answer
// to opening come from the environment, so a test can switch them.
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

int g_openCount = 0;

} // namespace

extern "C" {

std::int16_t Tusbs02in_Device_Open(std::int16_t device) {
    if (device != 0 || std::getenv("ZT300_FAKE_INPUT_ABSENT") != nullptr)
        return 1;
    ++g_openCount;
    return 0;
}

#ifndef ZT300_FAKE_WITHOUT_READ
static std::uint8_t Input(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && std::strcmp(value, "1") == 0 ? 1 : 0;
}

std::int16_t Tusbs02in_Read(std::int16_t device, std::uint8_t* input1, std::uint8_t* input2) {
    if (device != 0 || g_openCount == 0)
        return 1;
    *input1 = Input("ZT300_FAKE_INPUT1");
    *input2 = Input("ZT300_FAKE_INPUT2");
    return 0;
}
#endif

void Tusbs02in_Device_Close(std::int16_t device) {
    if (device == 0 && g_openCount > 0)
        --g_openCount;
}
}
