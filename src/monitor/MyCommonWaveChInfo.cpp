#include "monitor/MyCommonWaveChInfo.h"

#include "conditions/ChCnd.h"

void CMyCommonWaveChInfo::SetVisible(bool visible) {
    m_cnd.m_visible = visible ? 1 : 0;
}

void CMyCommonWaveChInfo::SetY(std::int16_t y) {
    m_cnd.m_gridCentreDiv = y;
}

void CMyCommonWaveChInfo::SetUnitsPerDivision(double units) {
    m_cnd.m_gridUnitsPerDiv = units;
}

void CMyCommonWaveChInfo::SetCenter(double center) {
    m_cnd.m_gridCentreValue = center;
}

void CMyCommonWaveChInfo::SetColor(std::uint32_t color) {
    m_cnd.m_gridColour = color;
}

bool CMyCommonWaveChInfo::IsVisible() const {
    return m_cnd.m_visible != 0;
}

std::int16_t CMyCommonWaveChInfo::GetY() const {
    return m_cnd.m_gridCentreDiv;
}

double CMyCommonWaveChInfo::GetUnitsPerDivision() const {
    return m_cnd.m_gridUnitsPerDiv;
}

double CMyCommonWaveChInfo::GetCenter() const {
    return m_cnd.m_gridCentreValue;
}

std::uint32_t CMyCommonWaveChInfo::GetColor() const {
    return m_cnd.m_gridColour != 0 ? m_cnd.m_gridColour : ChartColour::TraceColour(GetIndex());
}
