// A channel of the monitor's common chart: its placement, colour and visibility live in the
// channel's condition, so they are saved with the condition file.
#pragma once

#include "monitor/CommonWaveChInfo.h"

class CChCnd;

class CMyCommonWaveChInfo : public CCommonWaveChInfo {
public:
    CMyCommonWaveChInfo(int index, CChCnd& condition)
        : CCommonWaveChInfo(index), m_cnd(condition) {}

    void SetVisible(bool visible) override;
    void SetY(std::int16_t y) override;
    void SetUnitsPerDivision(double units) override;
    void SetCenter(double center) override;
    void SetColor(std::uint32_t color) override;
    bool IsVisible() const override;
    std::int16_t GetY() const override;
    double GetUnitsPerDivision() const override;
    double GetCenter() const override;
    // A condition that holds no colour yet (0) shows the palette colour of the channel's index.
    std::uint32_t GetColor() const override;

    CChCnd& GetCondition() const { return m_cnd; }

private:
    CChCnd& m_cnd;
};
