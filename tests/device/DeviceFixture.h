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
    static constexpr const char* kConfig = R"(
RECORDER ZT-300 127.0.0.2
SYNC MASTER
RATE 1kHz
SLOT 1 PN=QA-80VA TY=2 NCH=4 RV=10,5,500m,1 CF=OFF,100Hz ON=1-2
SLOT 2 PN=QA-80SG TY=3 NCH=2 RS=2,5 CF=OFF,10Hz ON=1-2
SLOT 3 PN=QA-80UA TY=19 NCH=2 RV=10 RS=2,5 CF=OFF ON=1
SLOT 4 PN=QA-80FV TY=5 NCH=4 RF=1-2,10k,1k,3-4,100 ON=1
SLOT 5 PN=QA-80DI TY=7 NCH=2 ON=1
SLOT 6 PN=QA-80IMU TY=8 NCH=58 ON=NONE
SLOT 7 PN=QA-80CAN-K TY=10 NCH=56 ON=ALL
CANSIG 7 256,,8,1,1,16,1,0.100,-40.000,EngineSpeed,rpm,0
CANSIG 7 512,,8,1,1,32,1,0.001,0.000,Distance,m,2
SLOT 8 PN=QA-80CAN-G TY=10 NCH=56 ACK=ON,250 ON=1
CANSIG 8 768,-1,8,0,1,16,1,0.5,1.5,WheelSpeed,km/h,0
CANSIG 8 769,-1,8,0,1,32,1,1.0,0.0,Pressure,kPa,4

RECORDER ZT-500 127.0.0.3
SLOT 3 PN=QA-80VA TY=2 NCH=2 RV=10 CF=OFF
)";

    void SetUp() override {
        CSimConfig config;
        const std::string error = config.Parse(kConfig);
        ASSERT_TRUE(error.empty()) << error;
        m_tap = std::make_unique<CTapLink>(&m_clock);
        for (const CSimRecorderConfig& recorder : config.GetRecorders())
            m_tap->AddRecorder(recorder);
        m_device = std::make_unique<CDevice>(*m_tap, m_prompt, m_clock);
        m_device->SetDeviceName("ZT-300");
    }
    CSimRecorder& Recorder() { return *m_tap->FindRecorder(kAddress); }
    // Opens and reads the modules, clearing what that recorded.
    void Connect() {
        ASSERT_TRUE(m_device->Open(kAddress));
        ASSERT_TRUE(m_device->ReadModules());
        m_tap->ClearRecord();
        m_prompt.Clear();
    }

    CManualClock m_clock;
    std::unique_ptr<CTapLink> m_tap;
    CFakePrompt m_prompt;
    std::unique_ptr<CDevice> m_device;
};
