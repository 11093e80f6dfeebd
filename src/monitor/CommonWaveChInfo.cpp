#include "monitor/CommonWaveChInfo.h"

void CCommonWaveChInfo::PlaceOn(const ChartRect& plot, int firstDivision, int divisions) {
    const double units = GetUnitsPerDivision();
    const double bottomValue = GetCenter() - (GetY() - firstDivision) * units;
    m_transform.SetWorld(plot, 0.0, bottomValue, 1.0, bottomValue + divisions * units);
}
