#include "setup/ChannelTableCalcSetting.h"

#include "conditions/CalcChCnd.h"
#include "conditions/ConditionTables.h"
#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"
#include "setup/ChannelTableRules.h"

CChannelTableCalcSetting CChannelTableCalcSetting::FromChannel(const CCalcChCnd& calc) {
    CChannelTableCalcSetting setting;
    setting.m_name = calc.m_name;
    setting.m_unit = calc.m_phyUnit;
    setting.m_function = calc.m_function;
    setting.m_args = calc.m_param;
    setting.m_max = calc.m_scaleHigh;
    setting.m_min = calc.m_scaleLow;
    return setting;
}

bool CChannelTableCalcSetting::ArgumentEnabled(std::int32_t function, int argument) {
    using namespace ConditionTables;
    if (function < 0 || function >= static_cast<std::int32_t>(kCalcFunctions.size()))
        return false;
    switch (argument) {
    case 0:
        return true;
    case 1:
        return function != kCalcRev;
    case 2:
        return function == kCalcRms || function == kCalcMul || function == kCalcTld;
    default:
        return false;
    }
}

bool CChannelTableCalcSetting::Check(IPrompt& prompt) const {
    if (!CChannelTableRules::CheckFreeText(m_name, prompt) ||
        !CChannelTableRules::CheckFreeText(m_unit, prompt))
        return false;
    if (m_function == ConditionTables::kCalcSma &&
        (m_args[1] < kSmaWindowMin || m_args[1] > kSmaWindowMax)) {
        prompt.MessageBox(FormatText("Please enter an integer between %u and %u.",
                                     static_cast<unsigned>(kSmaWindowMin),
                                     static_cast<unsigned>(kSmaWindowMax)),
                          PromptIcon::Exclamation);
        return false;
    }
    if (!(m_max > m_min)) {
        prompt.MessageBox("Error : Max <= Min ", PromptIcon::Stop);
        return false;
    }
    return true;
}

void CChannelTableCalcSetting::Store(CCalcChCnd& calc) const {
    calc.m_name = m_name;
    calc.m_phyUnit = m_unit;
    calc.m_function = m_function;
    calc.m_param = m_args;
    // The range text takes the unit, so the unit goes first.
    calc.SetScale(m_max, m_min);
}
