#include "monitor/GrpChInfo.h"

#include "conditions/ChCnd.h"
#include "monitor/MonitorChannels.h"
#include "monitor/PanelLayout.h"

#include <utility>

CGrpChInfo::CGrpChInfo(CChCnd& condition, int index, std::string name)
    : m_cnd(&condition), m_index(index), m_name(std::move(name)) {}

void CGrpChInfo::Place(const ChartRect& panel, int titleLine, int valueLine, int charWidth,
                       double start, double end) {
    m_panel = panel;
    const PanelParts parts = SplitPanel(panel, titleLine, valueLine, charWidth);
    m_title = parts.title;
    m_plot = parts.plot;
    m_value = parts.value;
    MoveTime(start, end);
}

void CGrpChInfo::MoveTime(double start, double end) {
    const CScale& scale = m_cnd->m_sepChart;
    m_transform.SetWorld(m_plot, start, scale.m_min, end, scale.m_max);
}

std::string CGrpChInfo::WaveTitle() const {
    const CScale& scale = m_cnd->m_sepChart;
    auto value = [this](double v) {
        std::string text = m_format.Format(v);
        text.erase(0, text.find_first_not_of(' '));
        return text;
    };
    return m_name + "," + m_cnd->m_range + ",(" + value(scale.m_min) + "," + value(scale.m_max) +
           ")" + MonitorChannelUnit(*m_cnd);
}

std::string CGrpChInfo::DigitTitle() const {
    return m_name + "  " + MonitorChannelUnit(*m_cnd);
}
