// The time-outs and buffer sizes the program hands to the link library, operation by operation,
// through a link that records them over the simulated recorders.
#include "acquisition/DeviceScan.h"
#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "support/FakePrompt.h"
#include "support/MessageQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <random>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Records every call that carries a time-out or a buffer size as "name arguments"; calls from
// threads other than the test's are kept apart.
class CArgumentLink : public CSimLink {
public:
    using CSimLink::CSimLink;

    std::vector<std::string> TakeCalls() {
        std::lock_guard lock(m_lock);
        return std::exchange(m_calls, {});
    }
    std::vector<std::string> ThreadCalls() {
        std::lock_guard lock(m_lock);
        return m_threadCalls;
    }

    int LnkResetWSA(int timeoutMs) override {
        Record("LnkResetWSA " + std::to_string(timeoutMs));
        return CSimLink::LnkResetWSA(timeoutMs);
    }
    int LnkOpen(const std::string& address, int timeoutMs) override {
        Record("LnkOpen " + address + " " + std::to_string(timeoutMs));
        return CSimLink::LnkOpen(address, timeoutMs);
    }
    int LnkGetStatusWait(int handle, int timeoutMs) override {
        Record("LnkGetStatusWait " + std::to_string(timeoutMs));
        return CSimLink::LnkGetStatusWait(handle, timeoutMs);
    }
    int LnkGetSlotList(int handle, std::vector<std::uint8_t>& slots) override {
        const bool zeroed = std::ranges::all_of(slots, [](std::uint8_t b) { return b == 0; });
        Record("LnkGetSlotList " + std::to_string(slots.size()) + (zeroed ? " zeroed" : ""));
        return CSimLink::LnkGetSlotList(handle, slots);
    }
    int LnkSetSlotChannels(int handle, int slot, int slotType, int count,
                           std::vector<LinkChannelRecord>& records) override {
        Record("LnkSetSlotChannels " + std::to_string(slot) + " " + std::to_string(slotType) + " " +
               std::to_string(count) + " " + std::to_string(records.size()));
        return CSimLink::LnkSetSlotChannels(handle, slot, slotType, count, records);
    }
    int LnkOpenAux(int handle, int code) override {
        Record("LnkOpenAux " + std::to_string(code));
        return CSimLink::LnkOpenAux(handle, code);
    }
    int LnkReadAux(int handle, std::uint8_t* buffer, int size) override {
        const bool preset =
            std::all_of(buffer, buffer + size, [](std::uint8_t b) { return b == 64; });
        Record("LnkReadAux " + std::to_string(size) + (preset ? " @" : ""));
        return CSimLink::LnkReadAux(handle, buffer, size);
    }
    int LnkSetGPSMode(int handle, int mode) override {
        Record("LnkSetGPSMode " + std::to_string(mode));
        return CSimLink::LnkSetGPSMode(handle, mode);
    }
    int LnkSetRemote(int handle, int on, int bufferBytes) override {
        Record("LnkSetRemote " + std::to_string(on) + " " + std::to_string(bufferBytes));
        return CSimLink::LnkSetRemote(handle, on, bufferBytes);
    }
    int LnkStartArmed(int handle, int bufferBytes) override {
        Record("LnkStartArmed " + std::to_string(bufferBytes));
        return CSimLink::LnkStartArmed(handle, bufferBytes);
    }
    int LnkStartAcq(int handle, int a, int b) override {
        Record("LnkStartAcq " + std::to_string(a) + " " + std::to_string(b));
        return CSimLink::LnkStartAcq(handle, a, b);
    }
    int LnkReadData(int handle, void* buffer, int bytes) override {
        Record("LnkReadData " + std::string(bytes % 2 == 0 ? "words" : "odd"));
        return CSimLink::LnkReadData(handle, buffer, bytes);
    }

    std::thread::id m_testThread = std::this_thread::get_id();

private:
    void Record(std::string call) {
        std::lock_guard lock(m_lock);
        (std::this_thread::get_id() == m_testThread ? m_calls : m_threadCalls)
            .push_back(std::move(call));
    }

    std::mutex m_lock;
    std::vector<std::string> m_calls;       // guarded by m_lock
    std::vector<std::string> m_threadCalls; // guarded by m_lock
};

class LinkArgumentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("zt300_link_arguments_" + std::to_string(std::random_device{}()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        CSimConfig config;
        ASSERT_EQ(config.Parse(CSimConfig::GetDefaultText()), "");
        m_link = std::make_unique<CArgumentLink>(&m_clock);
        for (const CSimRecorderConfig& recorder : config.GetRecorders())
            m_link->AddRecorder(recorder);
        m_settings.m_useQu800 = 1;
        m_doc = std::make_unique<CZT300SetDoc>(
            DocServices{*m_link, m_prompt, m_clock, m_settings, m_folder.string() + "/"});
        ASSERT_TRUE(m_doc->OnOpenDocument("127_0_0_2_ZT-300,127_0_0_3_ZT-500"));
        for (CRecCnd& condition : m_doc->GetConditions())
            condition.m_hddRecFolder = m_folder.string();
        m_doc->SetMessageTarget(&m_queue);
        m_link->TakeCalls();
    }
    void TearDown() override {
        m_doc.reset();
        fs::remove_all(m_folder);
    }

    // 30 seconds of sample frames, at least 10 frames, of a recorder's enabled channels.
    std::string ArmBytes(int recorder) const {
        const CRecCnd& condition = m_doc->GetConditions()[static_cast<std::size_t>(recorder)];
        const int rate = static_cast<int>(condition.GetRateHz());
        return std::to_string(condition.CountSampleWords(false) * std::max(30 * rate, 10) * 2);
    }

    fs::path m_folder;
    CSystemClock m_clock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;
    CMessageQueue m_queue;
    std::unique_ptr<CArgumentLink> m_link;
    std::unique_ptr<CZT300SetDoc> m_doc;
};

} // namespace

TEST_F(LinkArgumentsTest, EveryTimeOutAndBufferSizeHandedToTheLink) {
    CDevice& master = m_doc->GetDevice(0); // 127.0.0.2 is the MASTER, 127.0.0.3 the SLAVE
    CDevice& slave = m_doc->GetDevice(1);
    struct Row {
        const char* operation;
        std::function<void()> run;
        std::function<std::vector<std::string>()> calls;
    };
    using Calls = std::vector<std::string>;
    const Row rows[] = {
        {"device scan",
         [&] {
             CDeviceScan(*m_link, m_prompt, m_clock)
                 .Scan(true, [](std::vector<RecorderEntry>&, std::vector<bool>) { return false; });
         },
         [] { return Calls{"LnkResetWSA 500"}; }},
        {"Open", [&] { master.Open("127.0.0.2"); },
         [] { return Calls{"LnkOpen 127.0.0.2 30000"}; }},
        {"Reopen", [&] { slave.Reopen(); }, [] { return Calls{"LnkOpen 127.0.0.3 30000"}; }},
        {"ReadModules", [&] { slave.ReadModules(); },
         [] { return Calls{"LnkGetSlotList 256 zeroed"}; }},
        {"WriteCondition", // slot, type (a CAN-G module is sent as type 10), count, records
         [&] { slave.WriteCondition(m_doc->GetConditions()[1]); },
         [] {
             return Calls{"LnkSetSlotChannels 1 2 8 8", "LnkSetSlotChannels 2 9 4 4",
                          "LnkSetSlotChannels 3 10 56 56", "LnkSetSlotChannels 4 3 4 4"};
         }},
        {"SetGPSMode, GetGPSMode",
         [&] {
             bool on = false;
             master.SetGPSMode(true);
             master.GetGPSMode(on);
         },
         [] {
             return Calls{"LnkOpenAux 31", "LnkSetGPSMode 21"};
         }},
        {"Go to ARMED", [&] { m_doc->Arm(false); },
         [&] {
             return Calls{"LnkStartArmed " + ArmBytes(1), "LnkStartArmed " + ArmBytes(0),
                          "LnkGetStatusWait 2000"};
         }},
        {"Start CARDACQ", [&] { m_doc->StartAcq(CZT300SetDoc::AcqKind::Card); },
         [] {
             return Calls{"LnkStartAcq 0 0", "LnkStartAcq 0 0"};
         }},
        {"Stop ARMED", [&] { m_doc->StopArmed(false); },
         [] { return Calls{"LnkGetStatusWait 1000"}; }},
        {"Remote Control", [&] { m_doc->Arm(true); },
         [&] {
             return Calls{"LnkSetRemote 1 " + ArmBytes(1), "LnkSetRemote 1 " + ArmBytes(0),
                          "LnkGetStatusWait 2000"};
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operation);
        row.run();
        EXPECT_EQ(m_link->TakeCalls(), row.calls());
    }
    m_doc->StopArmed(false);

    // The data thread polls with a second's time-out, reads whole words and ends a remote run
    // with 0, 0; a mark forwarded to the optional unit reads 250-byte blocks preset to "@" from
    // the side stream.
    ASSERT_TRUE(m_doc->Arm(false));
    m_doc->StartAcq(CZT300SetDoc::AcqKind::Hdd);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!m_doc->m_acq.pcRecord && std::chrono::steady_clock::now() < until) {
        for (const auto& message : m_queue.Drain())
            m_doc->OnThreadMessage(message.id, message.wparam, message.lparam);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(m_doc->m_acq.pcRecord);
    m_doc->OnMark();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    m_doc->StopArmed(false);
    std::vector<std::string> kinds;
    for (const std::string& call : m_link->ThreadCalls()) {
        if (std::ranges::find(kinds, call) == kinds.end())
            kinds.push_back(call);
    }
    std::ranges::sort(kinds);
    EXPECT_EQ(kinds, (std::vector<std::string>{"LnkGetStatusWait 1000", "LnkOpenAux 30",
                                               "LnkReadAux 250 @", "LnkReadData words",
                                               "LnkSetRemote 0 0"}));
}
