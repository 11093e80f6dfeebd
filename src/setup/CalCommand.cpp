#include "setup/CalCommand.h"

#include "acquisition/ZT300SetDoc.h"
#include "conditions/ConditionTables.h"
#include "framework/Prompt.h"
#include "framework/UpdateHints.h"
#include "setup/ChannelTableRules.h"

#include <map>

namespace Col = ChannelTableColumn;

namespace {

// Which of Cal_VAL1, Cal_VAL2 and -Cal_VAL are selected in a row.
struct RowCells {
    bool cal1 = false;
    bool cal2 = false;
    bool minus = false;
};

// The reason a row cannot be calibrated, or nullptr.
const char* Refusal(const CChannelTableRules& rules, int row) {
    const CChCnd& channel = *rules.RowChannel(row);
    const std::int32_t type = rules.RowTypeCode(row);
    if (channel.m_enabled == 0)
        return "Please set the channels' to be ON!";
    if (rules.IsCalcRow(row))
        return "Calc channel can not execute CAL!";
    if (type == ModuleType::kCanK || type == ModuleType::kCanG)
        return "CAN channel can not execute CAL!";
    if (channel.m_dataType != 0)
        return "The  channel can not execute CAL except INT16";
    return nullptr;
}

} // namespace

std::optional<CalRequest> CCalCommand::Gather(const CChannelTableRules& rules,
                                              const std::vector<CellPos>& selected,
                                              IPrompt& prompt) {
    if (selected.empty()) {
        prompt.MessageBox("Selected Range failed !", PromptIcon::Stop);
        return std::nullopt;
    }
    std::map<int, RowCells> rows; // ordered by row
    for (const auto& [row, column] : selected) {
        if (rules.RowChannel(row) == nullptr)
            continue;
        if (column == Col::kCalVal1)
            rows[row].cal1 = true;
        else if (column == Col::kCalVal2)
            rows[row].cal2 = true;
        else if (column == Col::kMinusCalVal)
            rows[row].minus = true;
    }
    CalRequest request;
    bool cal1 = false;
    bool cal2 = false;
    for (const auto& [row, cells] : rows) {
        if (request.channels.size() == kMaxChannels)
            break;
        if (const char* refusal = Refusal(rules, row)) {
            prompt.MessageBox(refusal, PromptIcon::Stop);
            return std::nullopt;
        }
        request.channels.push_back(rules.RowChannel(row));
        cal1 = cal1 || cells.cal1;
        cal2 = cal2 || cells.cal2;
    }
    if (request.channels.empty()) {
        // The dialog needs a channel; the user may have selected other columns of the rows.
        prompt.MessageBox("Please select the Cal_VAL1, Cal_VAL2 or -Cal_VAL cells of the channels "
                          "to calibrate!",
                          PromptIcon::Stop);
        return std::nullopt;
    }
    request.mode = cal1 ? CalMode::Cal1 : cal2 ? CalMode::Cal2 : CalMode::MCal;
    return request;
}

bool CCalCommand::Run(CZT300SetDoc& doc, const CChannelTableRules& rules,
                      const std::vector<CellPos>& selected, IPrompt& prompt,
                      const RunDialog& runDialog) {
    const std::optional<CalRequest> request = Gather(rules, selected, prompt);
    if (!request || !doc.PreStartCheck())
        return false;
    if (!doc.HasCurrentRecorder() ||
        doc.GetConditions()[static_cast<std::size_t>(doc.GetCurrentIndex())].GetRateHz() <= 0.0) {
        prompt.MessageBox("No Device or dbSampRate <= 0 !", PromptIcon::Stop);
        return false;
    }
    const int index = doc.GetCurrentIndex();
    if (!runDialog(doc.GetDevice(index), doc.GetConditions()[static_cast<std::size_t>(index)],
                   *request))
        return false;
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(nullptr, UpdateHint::kConditionChanged);
    return true;
}

const char* CCalCommand::ModeTitle(CalMode mode) {
    switch (mode) {
    case CalMode::Cal1:
        return "Calibration --- Cal1";
    case CalMode::MCal:
        return "Calibration --- MCal";
    default:
        return "Calibration --- Cal2";
    }
}

double& CCalCommand::Point(CChCnd& channel, CalMode mode) {
    switch (mode) {
    case CalMode::Cal1:
        return channel.m_amp1;
    case CalMode::MCal:
        return channel.m_amp2;
    default:
        return channel.m_amp0;
    }
}

void CCalCommand::StoreMeans(const CalRequest& request, const std::vector<double>& means) {
    for (std::size_t i = 0; i < request.channels.size() && i < means.size(); ++i)
        Point(*request.channels[i], request.mode) = means[i];
}
