// One channel of the common waveform chart: where its trace lies (grid division, centre value,
// units per division), its colour and name, and its own transform and band.
#pragma once

#include "monitor/ChartColour.h"
#include "monitor/ChartRect.h"
#include "monitor/DataFormat.h"
#include "monitor/Grp.h"

#include <cstdint>
#include <string>

class CCommonWaveChInfo {
public:
    explicit CCommonWaveChInfo(int index) : m_index(index) {}
    virtual ~CCommonWaveChInfo() = default;

    virtual void SetIndex(int index) { m_index = index; }
    virtual void SetName(const std::string& name) { m_name = name; }
    virtual void SetVisible(bool visible) { m_visible = visible; }
    virtual void SetY(std::int16_t y) { m_y = y; }
    virtual void SetUnitsPerDivision(double units) { m_unitsPerDivision = units; }
    virtual void SetCenter(double center) { m_center = center; }
    virtual void SetColor(std::uint32_t color) { m_color = color; }
    virtual void SetGain(double gain) { m_gain = gain; }
    virtual void SetOffset(double offset) { m_offset = offset; }
    virtual int GetIndex() const { return m_index; }
    virtual const std::string& GetName() const { return m_name; }
    virtual bool IsVisible() const { return m_visible; }
    virtual std::int16_t GetY() const { return m_y; }
    virtual double GetUnitsPerDivision() const { return m_unitsPerDivision; }
    virtual double GetCenter() const { return m_center; }
    virtual std::uint32_t GetColor() const { return m_color; }
    virtual double GetGain() const { return m_gain; }
    virtual double GetOffset() const { return m_offset; }

    CGrp& Transform() { return m_transform; }
    const CGrp& Transform() const { return m_transform; }
    const ChartRect& GetBand() const { return m_band; }
    void SetBand(const ChartRect& band) { m_band = band; }
    CDataFormat& ValueFormat() { return m_valueFormat; }
    const CDataFormat& ValueFormat() const { return m_valueFormat; }

    // The channel's transform over `plot`: time from `start` to `end` across, and up the
    // `divisions` divisions from `firstDivision` its values, centred on its own division, each
    // division spanning its units per division.
    void PlaceOn(const ChartRect& plot, int firstDivision, int divisions, double start, double end);

private:
    int m_index;
    std::string m_name;
    bool m_visible = true;
    double m_unitsPerDivision = 1.0;
    std::int16_t m_y = 0;
    double m_center = 0.0;
    std::uint32_t m_color = ChartColour::kBlue;
    double m_gain = 1.0;
    double m_offset = 0.0;
    CGrp m_transform;
    ChartRect m_band;
    CDataFormat m_valueFormat{CDataFormat::FRACTIONAL, 2};
};
