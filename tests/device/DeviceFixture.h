// One CDevice on tapped simulated recorders, with a scripted prompt and a clock.
#pragma once

#include "TapLink.h"
#include "device/Device.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class DeviceFixture : public ::testing::Test {
protected:
    static constexpr const char* kAddress = "127.0.0.2";
    // The modules every kind of test needs: amplifiers of each kind, an inertial module and
    // both kinds of CAN module, with two signals each.
    static const char* const kConfig;

    void SetUp() override;
    CSimRecorder& Recorder() { return *m_tap->FindRecorder(kAddress); }
    // Opens and reads the modules, clearing what that recorded.
    void Connect();

    CManualClock m_clock;
    std::unique_ptr<CTapLink> m_tap;
    CFakePrompt m_prompt;
    std::unique_ptr<CDevice> m_device;
};
