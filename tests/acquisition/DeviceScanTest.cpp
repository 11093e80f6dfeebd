#include "acquisition/DeviceScan.h"
#include "device/sim/SimLink.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

namespace {

// A link whose scan finds nobody and whose clock moves 7 s per scan.
class CSilentNetwork : public CSimLink {
public:
    explicit CSilentNetwork(CManualClock& clock) : m_clock(clock) {}
    int LnkResetWSA(int) override { return resetResult; }
    int LnkScanDevices(std::string& list) override {
        m_clock.Advance(7000);
        ++scans;
        list.clear();
        return 0;
    }
    int LnkSetIPAddress(const std::string& a, const std::string& b, const std::string& c,
                        const std::string& d) override {
        texts = {a, b, c, d};
        return setResult;
    }
    int resetResult = 0;
    int setResult = 1;
    int scans = 0;
    std::vector<std::string> texts;

private:
    CManualClock& m_clock;
};

} // namespace

TEST(DeviceScanTest, FindsTheRecordersAndLetsTheUserChoose) {
    CManualClock clock;
    CFakePrompt prompt;
    auto link = CSimLink::FromDefaultConfig(&clock);
    CDeviceScan scan(*link, prompt, clock);

    std::vector<bool> offered;
    auto keepSecond = [&](std::vector<RecorderEntry>& recorders, std::vector<bool> ticked) {
        offered = ticked;
        recorders.erase(recorders.begin());
        return true;
    };
    EXPECT_EQ(scan.Scan(false, keepSecond), "127_0_0_3_ZT-500");
    EXPECT_EQ(offered, (std::vector<bool>{true, false}));
    EXPECT_EQ(prompt.m_progressTexts.front(), "Scanning Device ...");
    EXPECT_FALSE(prompt.m_progressOpen);

    EXPECT_EQ(scan.Scan(true,
                        [&](std::vector<RecorderEntry>&, std::vector<bool> ticked) {
                            offered = ticked;
                            return true;
                        }),
              "127_0_0_2_ZT-300,127_0_0_3_ZT-500");
    EXPECT_EQ(offered, (std::vector<bool>{true, true}));
    EXPECT_EQ(scan.Scan(true, [](std::vector<RecorderEntry>&, std::vector<bool>) { return false; }),
              "");
}

TEST(DeviceScanTest, GivesUpAfterAMinuteOrOnCancel) {
    CManualClock clock;
    CFakePrompt prompt;
    CSilentNetwork link(clock);
    CDeviceScan scan(link, prompt, clock);
    const auto never = [](std::vector<RecorderEntry>&, std::vector<bool>) { return true; };

    EXPECT_EQ(scan.Scan(false, never), "");
    EXPECT_EQ(link.scans, 9); // 63 s after the ninth scan
    EXPECT_EQ(prompt.m_progressTexts.at(1), "Scanning Device ...7 seconds");
    EXPECT_EQ(prompt.m_percentText, "93%"); // 56 s of 60
    EXPECT_TRUE(prompt.MessageTexts().empty());

    link.scans = 0;
    prompt.CancelAtPoll(3);
    EXPECT_EQ(scan.Scan(false, never), "");
    EXPECT_EQ(link.scans, 2);

    link.resetResult = 10093;
    EXPECT_EQ(scan.Scan(false, never), "");
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"LnkResetWSA failed ! ErrorCode = 10093"});
}

TEST(DeviceScanTest, SetsTheAddressOfTheChosenRecorder) {
    CManualClock clock;
    CFakePrompt prompt;
    auto link = CSimLink::FromDefaultConfig(&clock);
    CDeviceScan scan(*link, prompt, clock);
    const auto first = [](std::vector<RecorderEntry>& recorders, std::vector<bool> ticked) {
        EXPECT_EQ(ticked, (std::vector<bool>{true, false}));
        recorders.resize(1);
        return true;
    };
    IpAddressSetting shown;
    const auto cancel = [&](IpAddressSetting& setting) {
        shown = setting;
        return false;
    };
    EXPECT_FALSE(scan.SetIpAddress(first, cancel));
    EXPECT_EQ(shown.oldAddress, "127.0.0.2");
    EXPECT_EQ(shown.newAddress, "192.168.1.201");
    EXPECT_EQ(shown.mask, "255.255.255.0");
    EXPECT_EQ(shown.gateway, "192.168.1.1");

    CSilentNetwork silent(clock);
    CDeviceScan nobody(silent, prompt, clock);
    const auto accept = [](IpAddressSetting& setting) {
        setting.newAddress = "10.0.0.7";
        return true;
    };
    prompt.QueueAnswer(PromptAnswer::Cancel);
    EXPECT_FALSE(nobody.SetIpAddress(first, accept));
    EXPECT_EQ(prompt.MessageTexts().back(), "No device connection! Continue?");
    EXPECT_TRUE(nobody.SetIpAddress(first, accept)); // OK goes on with the factory address
    EXPECT_EQ(silent.texts, (std::vector<std::string>{"192.168.1.201", "10.0.0.7", "255.255.255.0",
                                                      "192.168.1.1"}));
    EXPECT_EQ(prompt.MessageTexts().back(), "Setting IP OK!");
    silent.setResult = 0;
    EXPECT_FALSE(nobody.SetIpAddress(first, accept));
    EXPECT_EQ(prompt.MessageTexts().back(), "Setting IP failed!");
}
