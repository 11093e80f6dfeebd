// Text commands of simulated CAN modules through the link: acknowledge and text replies.
#include "SimFixture.h"

namespace {
const std::string kNak(1, static_cast<char>(LinkCode::kNak));
const std::string kAck(1, static_cast<char>(LinkCode::kAck));
} // namespace

class SimCanModuleTest : public SimFixture {
protected:
    std::string Query(int handle, const std::string& text) {
        std::string reply;
        EXPECT_EQ(m_link->LnkQueryCommand(handle, text, reply), 1) << text;
        return reply;
    }
};

TEST_F(SimCanModuleTest, DatabaseReadsWritesAndClears) {
    EXPECT_EQ(Query(m_master, "6CRD 0"), "2,3");
    EXPECT_EQ(Query(m_master, "6DBR 1"), "1,256,,8,1,1,16,1,0.100,0.000,Speed,km/h,0,1");
    EXPECT_EQ(Query(m_master, "6DBR 2"), "2,512,,8,1,1,32,1,0.001,0.000,Dist,m,2,2");
    EXPECT_EQ(Query(m_master, "6DBR 3"), "ERROR");

    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6DBW 0"), 1);
    EXPECT_EQ(Query(m_master, "6CRD 0"), "0,0");
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6CR0 1000"), 1);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6DT0 1001"), 1);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6DBW 1,300,,8,1,1,32,1,1.000,0.000,Temp,C,4"), 1);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6DBW 3,300,,8,1,1,16,1,1.000,0.000,Gap,C,0"),
              LinkCode::kNak); // signals are written in order
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6DBW 2,300,,8,1,1,16,1,1.000,0.000"),
              LinkCode::kNak); // fields missing
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XCR"), 1);
    EXPECT_EQ(Query(m_master, "6DBR 1"), "1,300,,8,1,1,32,1,1.000,0.000,Temp,C,4,2");

    // The new database decides the frame: one FLOAT32 channel of two words.
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 10000), 1);
    const std::vector<SimFrameChannel> layout = Master().GetFrameLayout();
    ASSERT_EQ(layout.back().slot, 6);
    EXPECT_EQ(layout.back().dataType, 4);
    EXPECT_EQ(Master().GetFrameWords(), 5);
    // While ARMED the database can be read but not changed.
    EXPECT_EQ(Query(m_master, "6CRD 0"), "1,2");
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6DBW 0"), LinkCode::kNak);
}

TEST_F(SimCanModuleTest, DatabaseTakesAtMost56Words) {
    ASSERT_EQ(m_link->LnkSetCommand(m_master, "6DBW 0"), 1);
    for (int n = 1; n <= 28; ++n) {
        ASSERT_EQ(m_link->LnkSetCommand(m_master, "6DBW " + std::to_string(n) +
                                                      ",1,,8,1,1,32,1,1.000,0.000,S,u,2"),
                  1);
    }
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6DBW 29,1,,8,1,1,16,1,1.000,0.000,S,u,0"),
              LinkCode::kNak);
    EXPECT_EQ(Query(m_master, "6CRD 0"), "28,56");
}

TEST_F(SimCanModuleTest, XcpProcedureSwitchAndStatus) {
    EXPECT_EQ(Query(m_master, "6XSW"), "OFF");
    EXPECT_EQ(Query(m_master, "6XST"), "0");
    // Switched on without a procedure, a send times out.
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XSW ON"), 1);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XSN"), 1);
    EXPECT_EQ(Query(m_master, "6XST"), "2");
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XSW OFF"), 1);
    // Procedure lines are taken only in the write that "XCR" opens; a database write ends it.
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XCP 10 0"), LinkCode::kNak);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XCR"), 1);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6DBW 0"), 1);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XCP 10 0"), LinkCode::kNak);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XCR"), 1);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XCP 10 2,A1,B2"), 1);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XSN"), LinkCode::kNak); // switch is off
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XSW ON"), 1);
    EXPECT_EQ(Query(m_master, "6XST"), "1");
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XSN"), 1);
    EXPECT_EQ(Query(m_master, "6XST"), "3");
    EXPECT_EQ(Query(m_master, "6XSW"), "ON");
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XSW MAYBE"), LinkCode::kNak);
    EXPECT_EQ(Master().GetCanModule(6)->GetXcpLines(), (std::vector<std::string>{"10 2,A1,B2"}));
    // Through the text-reply operation an acknowledge command answers its byte.
    EXPECT_EQ(Query(m_master, "6XSW OFF"), kAck);
}

TEST_F(SimCanModuleTest, AcknowledgeSettingOfModuleG) {
    EXPECT_EQ(Query(m_slave, "3ACK"), "OFF,0");
    EXPECT_EQ(m_link->LnkSetCommand(m_slave, "3ACK ON,100"), 1);
    EXPECT_EQ(Query(m_slave, "3ACK"), "ON,100");
    EXPECT_EQ(m_link->LnkSetCommand(m_slave, "3ACK SOMETIMES"), LinkCode::kNak);
    EXPECT_EQ(Query(m_master, "6ACK"), kNak); // module K has no such setting
    // Module G takes factor and offset as text and gives them back as written.
    EXPECT_EQ(m_link->LnkSetCommand(m_slave, "3DBW 1,768,-1,8,0,1,17,1,0.5,-3,W,km/h,2"), 1);
    EXPECT_EQ(Query(m_slave, "3DBR 1"), "1,768,-1,8,0,1,17,1,0.5,-3,W,km/h,2,2");
}

TEST_F(SimCanModuleTest, CommandsToOtherSlotsUnknownOnesAndInjectedNaks) {
    EXPECT_EQ(Query(m_master, "1CRD 0"), kNak);
    EXPECT_EQ(Query(m_master, "CRD 0"), kNak);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6FOO"), LinkCode::kNak);
    Master().AddNakCommand("6XSW");
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XSW ON"), LinkCode::kNak);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XCR"), 1);
    Master().SetOperationError(LinkOrdinal::kSetCommand, -3);
    EXPECT_EQ(m_link->LnkSetCommand(m_master, "6XCR"), -3);
}
