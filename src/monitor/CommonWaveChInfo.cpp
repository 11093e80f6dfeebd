#include "monitor/CommonWaveChInfo.h"

void CCommonWaveChInfo::PlaceOn(const ChartRect& plot, int firstDivision, int divisions,
                                double start, double end) {
    const double units = GetUnitsPerDivision();
    const double bottomValue = GetCenter() - (GetY() - firstDivision) * units;
    m_transform.SetWorld(plot, start, bottomValue, end, bottomValue + divisions * units);
}
