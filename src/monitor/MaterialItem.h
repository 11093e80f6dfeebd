// One material of the material parameter file: its name, identifier, unit, specification limits
// and the parameters of its fatigue (S-N curve) evaluation, which are kept and written unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class CMaterialItem {
public:
    static constexpr int kColumnCount = 25;

    // The 25 columns joined by ",": texts as they are, flags "1" or "0", whole numbers "%i",
    // reals "%e".
    std::string Format() const;
    // A line of exactly 25 columns; numbers that are not numbers read as 0. Other lines are
    // refused and leave the item as it was.
    bool Parse(const std::string& line);

    bool operator==(const CMaterialItem&) const = default;

    std::string m_material;
    std::string m_id;
    std::string m_unit;
    std::string m_max; // upper specification limit ("MaxSpec.Value")
    std::string m_min; // lower specification limit ("MinSpec.Value")
    std::string m_damage;
    std::string m_life;
    std::int32_t m_calChk = 1;
    double m_calValue = 1.0;
    std::string m_calUnit = "h";
    std::int32_t m_line = 1; // curve type
    double m_sValue = 1.0;
    std::int32_t m_slope = -3;
    std::array<double, 8> m_sn{}; // S1, N1, S2, N2, S3, N3, S4, N4
    std::int32_t m_s2Chk = 0;
    std::int32_t m_s3Chk = 0;
    std::int32_t m_invalidChk = 0;
    std::int32_t m_invalidCnt = 0;
};
