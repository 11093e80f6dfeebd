// One panel of the separate charts: the channel it shows, where its title, plot and value box
// lie, the transform of its plot (time across, the channel's separate chart scale up) and the
// format of its values.
#pragma once

#include "monitor/ChartRect.h"
#include "monitor/DataFormat.h"
#include "monitor/Grp.h"

#include <cstdint>
#include <string>

class CChCnd;

class CGrpChInfo {
public:
    static constexpr std::int16_t kDefaultStyle = 3;

    CGrpChInfo(CChCnd& condition, int index, std::string name);

    CChCnd& GetCondition() const { return *m_cnd; }
    int GetIndex() const { return m_index; }
    const std::string& GetName() const { return m_name; }
    std::int16_t GetStyle() const { return m_style; }
    void SetStyle(std::int16_t style) { m_style = style; }
    CDataFormat& ValueFormat() { return m_format; }
    const CDataFormat& ValueFormat() const { return m_format; }

    // The panel's parts and its plot's transform over the time range.
    void Place(const ChartRect& panel, int titleLine, int valueLine, int charWidth, double start,
               double end);
    // The time range moved; the parts stay.
    void MoveTime(double start, double end);
    const ChartRect& GetPanel() const { return m_panel; }
    const ChartRect& GetTitleRect() const { return m_title; }
    const ChartRect& GetPlot() const { return m_plot; }
    const ChartRect& GetValueRect() const { return m_value; }
    const CGrp& Transform() const { return m_transform; }

    // "%s,%s,(%s,%s)%s": name, range, the scale's minimum and maximum, unit.
    std::string WaveTitle() const;
    // "%s  %s": name and unit.
    std::string DigitTitle() const;

private:
    CChCnd* m_cnd;
    int m_index;
    std::int16_t m_style = kDefaultStyle;
    std::string m_name;
    ChartRect m_panel;
    ChartRect m_title;
    ChartRect m_plot;
    ChartRect m_value;
    CGrp m_transform;
    CDataFormat m_format{CDataFormat::FRACTIONAL, 3};
};
