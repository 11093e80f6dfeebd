// The "Calibration ..." command: the channels it takes from the selected cells, its refusals in
// their order, the mode, and the checks before the dialog.
#include "setup/CalCommand.h"

#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/UpdateHints.h"
#include "setup/ChannelTableFixture.h"
#include "setup/ChannelTableRules.h"
#include "support/FakePrompt.h"
#include "support/RecordTestConditions.h"
#include "support/TestSlots.h"

#include <gtest/gtest.h>

#include <functional>

namespace Col = ChannelTableColumn;

namespace {

using Cells = std::vector<CCalCommand::CellPos>;

class CHintRecorder : public IView {
public:
    void OnUpdate(IView*, int hint, const CUpdateData*) override { hints.push_back(hint); }
    std::vector<int> hints;
};

} // namespace

TEST(CalCommandTest, RefusalsComeInTheirOrderWithTheirTexts) {
    struct Case {
        Cells cells;
        std::function<void(CRecCnd&)> change;
        std::string message;
    };
    const auto none = [](CRecCnd&) {};
    const Case cases[] = {
        {{}, none, "Selected Range failed !"},
        {{{1, Col::kCalVal1}, {2, Col::kCalVal1}},
         [](CRecCnd& c) { c.m_channels[1].m_enabled = 0; },
         "Please set the channels' to be ON!"},
        {{{1, Col::kCalVal1}, {16, Col::kCalVal1}}, none, "Calc channel can not execute CAL!"},
        {{{17, Col::kCalVal2}}, none, "Please set the channels' to be ON!"},   // calc, off
        {{{13, Col::kMinusCalVal}}, none, "CAN channel can not execute CAL!"}, // and 32 bits
        {{{12, Col::kCalVal1}},
         [](CRecCnd& c) { c.m_channels[11].SetDataType(1); },
         "The  channel can not execute CAL except INT16"},
        {{{1, Col::kSignalName}, {2, Col::kPhyVal1}},
         none,
         "Please select the Cal_VAL1, Cal_VAL2 or -Cal_VAL cells of the channels to calibrate!"},
    };
    for (const Case& c : cases) {
        std::vector<CRecCnd> units = MakeTableConditions();
        c.change(units[0]);
        const CChannelTableRules rules(units[0], 100, {});
        CFakePrompt prompt;
        EXPECT_FALSE(CCalCommand::Gather(rules, c.cells, prompt)) << c.message;
        ASSERT_EQ(prompt.Messages().size(), 1u) << c.message;
        EXPECT_EQ(prompt.Messages()[0].text, c.message);
        EXPECT_EQ(prompt.Messages()[0].icon, PromptIcon::Stop);
    }
}

TEST(CalCommandTest, ModeComesFromTheSelectedColumnsOfAtMostTwelveRows) {
    CRecCnd unit;
    AddTestSlot(
        unit, 1, "QA-80VA", 2, 14, {"10V"}, {}, [](int) { return true; }, false);
    const CChannelTableRules rules(unit, 100, {});
    Cells twelve;
    for (int row = 1; row <= 12; ++row)
        twelve.push_back({row, Col::kCalVal2});
    twelve.push_back({13, Col::kCalVal1}); // the thirteenth row does not count
    twelve.push_back({14, Col::kCalVal1});
    const std::pair<Cells, CalMode> cases[] = {
        {{{2, Col::kCalVal2}, {1, Col::kCalVal1}}, CalMode::Cal1},
        {{{1, Col::kCalVal2}, {3, Col::kMinusCalVal}, {3, Col::kPhyVal2}}, CalMode::Cal2},
        {{{2, Col::kMinusCalVal}}, CalMode::MCal},
        {twelve, CalMode::Cal2},
    };
    for (const auto& [cells, mode] : cases) {
        CFakePrompt prompt;
        const std::optional<CalRequest> request = CCalCommand::Gather(rules, cells, prompt);
        ASSERT_TRUE(request);
        EXPECT_EQ(request->mode, mode);
        EXPECT_TRUE(prompt.Messages().empty());
    }
    CFakePrompt prompt;
    const std::optional<CalRequest> request = CCalCommand::Gather(rules, twelve, prompt);
    ASSERT_EQ(request->channels.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(request->channels[i], &unit.m_channels[i]);
    EXPECT_STREQ(CCalCommand::ModeTitle(CalMode::Cal1), "Calibration --- Cal1");
    EXPECT_STREQ(CCalCommand::ModeTitle(CalMode::MCal), "Calibration --- MCal");
    EXPECT_STREQ(CCalCommand::ModeTitle(CalMode::Cal2), "Calibration --- Cal2");
}

TEST(CalCommandTest, RunChecksTheDocumentThenStoresTheMeansOfOk) {
    CTempFolder folder("cal-command");
    std::string error;
    auto link = CSimLink::FromConfigText("RECORDER ZT-300 127.0.0.2\nRATE 100Hz\n"
                                         "SLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10,5 ON=1-2\n",
                                         error);
    ASSERT_TRUE(link) << error;
    CFakePrompt prompt;
    CSystemClock clock;
    CRecorderSettings settings;
    CZT300SetDoc doc(DocServices{*link, prompt, clock, settings, folder.Path() + "/"});
    ASSERT_TRUE(doc.OnOpenDocument("127_0_0_2_ZT-300"));
    CHintRecorder view;
    doc.AddView(&view);
    CRecCnd& unit = doc.GetConditions()[0];
    unit.m_hddRecFolder = folder.Path();
    const CChannelTableRules rules(unit, 100, {});
    int dialogs = 0;
    bool ok = true;
    const CCalCommand::RunDialog dialog = [&](CDevice& device, CRecCnd& condition,
                                              const CalRequest& request) {
        ++dialogs;
        EXPECT_EQ(&device, &doc.GetDevice(0));
        EXPECT_EQ(&condition, &unit);
        if (ok)
            CCalCommand::StoreMeans(request, {1.25, -0.5});
        return ok;
    };
    const auto run = [&](Cells cells) {
        return CCalCommand::Run(doc, rules, cells, prompt, dialog);
    };

    EXPECT_TRUE(run({{1, Col::kCalVal2}, {2, Col::kCalVal2}}));
    EXPECT_EQ(unit.m_channels[0].m_amp0, 1.25);
    EXPECT_EQ(unit.m_channels[1].m_amp0, -0.5);
    EXPECT_TRUE(run({{1, Col::kMinusCalVal}, {2, Col::kMinusCalVal}}));
    EXPECT_EQ(unit.m_channels[1].m_amp2, -0.5);
    EXPECT_TRUE(run({{1, Col::kCalVal1}, {2, Col::kMinusCalVal}}));
    EXPECT_EQ(unit.m_channels[1].m_amp1, -0.5);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.hints, (std::vector<int>(3, UpdateHint::kConditionChanged)));
    EXPECT_TRUE(prompt.Messages().empty());

    // Cancel stores nothing and leaves the document as it was.
    doc.SetModifiedFlag(false);
    ok = false;
    EXPECT_FALSE(run({{1, Col::kCalVal1}}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.hints.size(), 3u);

    // The pre-start check speaks for itself; a rate that is no rate stops before the dialog.
    unit.m_hddRecFolder = folder.File("missing");
    EXPECT_FALSE(run({{1, Col::kCalVal1}}));
    unit.m_hddRecFolder = folder.Path();
    unit.m_rate = "EXT";
    EXPECT_FALSE(run({{1, Col::kCalVal1}}));
    EXPECT_EQ(prompt.MessageTexts(), (std::vector<std::string>{"HDD (" + folder.File("missing") +
                                                                   ") Folder does not exist!",
                                                               "No Device or dbSampRate <= 0 !"}));
    EXPECT_EQ(dialogs, 4);
    doc.RemoveView(&view);
}
