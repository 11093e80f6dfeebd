// A link over two small simulated recorders (a MASTER and a SLAVE) on a clock the test moves.
#pragma once

#include "device/sim/SimLink.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

inline constexpr const char* kMasterAddress = "127.0.0.2";
inline constexpr const char* kSlaveAddress = "127.0.0.3";

class SimFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_link = CSimLink::FromConfigText(Config(), error, &m_clock);
        ASSERT_TRUE(m_link) << error;
        m_master = m_link->LnkOpen(kMasterAddress, 1000);
        m_slave = m_link->LnkOpen(kSlaveAddress, 1000);
        ASSERT_GT(m_master, 0);
        ASSERT_GT(m_slave, 0);
    }

    virtual std::string Config() const {
        return "RECORDER ZT-300 127.0.0.2\n"
               "SYNC MASTER\n"
               "RATE 100Hz\n"
               "CARD NONE\n"
               "SLOT 1 PN=QA-80VA TY=2 NCH=4 RV=10,5,500m CF=OFF,10Hz ON=1-2\n"
               "SLOT 3 PN=QA-80UA TY=19 NCH=2 RV=10 RS=2,5 CF=OFF ON=1\n"
               "SLOT 4 PN=QA-80FV TY=5 NCH=4 RF=1-2,10k,1k,3-4,100,10 ON=NONE\n"
               "SLOT 6 PN=QA-80CAN-K TY=10 NCH=4\n"
               "CANSIG 6 256,,8,1,1,16,1,0.100,0.000,Speed,km/h,0\n"
               "CANSIG 6 512,,8,1,1,32,1,0.001,0.000,Dist,m,2\n"
               "RECORDER ZT-500 127.0.0.3\n"
               "SYNC SLAVE\n"
               "RATE 100Hz\n"
               "SLOT 2 PN=QA-80VA TY=2 NCH=2 RV=10\n"
               "SLOT 3 PN=QA-80CAN-G TY=10 NCH=4 ACK=OFF,0\n";
    }

    CSimRecorder& Master() { return *m_link->FindRecorder(kMasterAddress); }
    CSimRecorder& Slave() { return *m_link->FindRecorder(kSlaveAddress); }

    CManualClock m_clock;
    std::unique_ptr<CSimLink> m_link;
    int m_master = 0;
    int m_slave = 0;
};
