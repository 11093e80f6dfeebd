#include "setup/CalTemplate.h"

#include "acquisition/RecorderSettings.h"
#include "acquisition/ZT300SetDoc.h"
#include "conditions/ConditionTables.h"
#include "conditions/RecCnd.h"
#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"
#include "framework/UpdateHints.h"
#include "setup/ChannelTableRules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace {

constexpr const char* kNumberFormat = "%5.3f";
// The condition file keeps a channel's texts between "," and "="; these would cut them.
constexpr std::string_view kConditionBreakers = ",=";
constexpr int kFieldsFrom3 = 15;
constexpr int kFieldsBefore3 = 11;
constexpr std::size_t kFirstChannelLine = 4;

struct HeaderColumn {
    const char* text;
    int width;
};
constexpr std::array<HeaderColumn, 11> kHeaderColumns{{{"Ch", 2},
                                                       {"SIGNAL NAME ", 24},
                                                       {"V_CAL", 8},
                                                       {"UNIT", 8},
                                                       {"AMP", 8},
                                                       {"UNIT", 8},
                                                       {"ZERO_CAL", 8},
                                                       {"MEMO ", 12},
                                                       {"COEFF", 10},
                                                       {"ScaleMin", 10},
                                                       {"ScaleMax", 10}}};

// The fields of a channel line, 1-based as the format counts them.
enum Field : int {
    kChannelNo = 1,
    kName,
    kVCal,
    kPhyUnit,
    kAmp,
    kAmpUnit,
    kZeroCal,
    kMemo,
    kCoeff,
    kScaleMin,
    kScaleMax,
    kPhy1,
    kCal1,
    kPhy2,
    kCal2
};

std::string Number(double value) {
    return FormatText(kNumberFormat, value);
}

// A tab or a line break inside a text would split the line in a spreadsheet.
std::string CellText(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

bool IsCalibrated(const CRecCnd& condition, const CChCnd& channel) {
    return !ModuleType::IsCanType(condition.GetSlotOf(channel).m_typeCode);
}

std::string HeaderLine() {
    std::string line;
    for (const HeaderColumn& column : kHeaderColumns) {
        if (!line.empty())
            line += '\t';
        line += FormatText("%*.*s", column.width, column.width, column.text);
    }
    return line + "\tPHY1\tCAL1\tPHY2\tCAL2";
}

std::string ChannelLine(const CChCnd& ch) {
    const double zero = ch.GetAmpOffset();
    const double amp = ch.m_amp1 - zero;
    const double coeff = amp == 0.0 ? 0.0 : ch.m_phy1 / amp;
    const CScale& scale = ch.m_sepChartScale;
    const bool noScale = scale.m_min == 0.0 && scale.m_max == 0.0;
    const std::vector<std::string> fields{
        FormatText("%d", CChannelTableRules::DisplayNumber(ch)),
        CellText(ch.m_name),
        Number(ch.m_phy1),
        CellText(ch.m_phyUnit),
        Number(amp),
        CellText(CChannelTableRules::AmpUnit(ch.m_range)),
        Number(0.0 - zero), // 0 - 0 is +0: no "-0.000"
        CellText(ch.m_memo),
        Number(coeff),
        noScale ? std::string() : Number(scale.m_min),
        noScale ? std::string() : Number(scale.m_max),
        Number(ch.m_phy1),
        Number(ch.m_amp1),
        Number(ch.m_phy0),
        Number(ch.m_amp0),
    };
    std::string line = fields.front();
    for (std::size_t i = 1; i < fields.size(); ++i)
        line += '\t' + fields[i];
    return line;
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The whole text as a finite number ("+1.5" too).
std::optional<double> ReadWholeReal(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ReadWholeInt(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The file version in the second field of the "INTERVAL:" line ("VER3"); 1 without one.
int ReadVersion(const std::string& line) {
    TextLines fields;
    CTextFile::SplitText(fields, "\t", line);
    if (fields.size() < 2)
        return 1;
    const std::size_t digits = fields[1].find_first_of("0123456789");
    if (digits == std::string::npos)
        return 1;
    return static_cast<int>(
        std::clamp<std::int64_t>(ReadWholeNumber(fields[1].substr(digits)), 1, 1000));
}

// What one line gives its channels.
struct LineValues {
    std::vector<CChCnd*> channels;
    std::string name;
    std::string phyUnit;
    std::string memo;
    std::optional<std::pair<double, double>> scale; // minimum, maximum
    double phy1 = 0.0;
    double amp1 = 0.0;
    double phy0 = 0.0;
    double amp0 = 0.0;
};

class CLineReader {
public:
    CLineReader(std::vector<CRecCnd>& conditions, const std::vector<int>& units, int version)
        : m_conditions(conditions), m_units(units), m_version(version) {}

    // The values of line `lineNo` (1-based); none when the line is not taken. `error` says why
    // the line is wrong.
    std::optional<LineValues> Read(int lineNo, const std::string& line, std::string& error);

private:
    std::vector<CChCnd*> Match(int number, const std::string& unit) const;
    std::optional<double> NumberField(int field, std::string& error) const;
    bool TextField(int field, std::string& text, std::string& error) const;
    const std::string& At(int field) const { return m_fields[static_cast<std::size_t>(field - 1)]; }

    std::vector<CRecCnd>& m_conditions;
    const std::vector<int>& m_units;
    int m_version;
    int m_lineNo = 0;
    TextLines m_fields;
};

std::vector<CChCnd*> CLineReader::Match(int number, const std::string& unit) const {
    std::vector<CChCnd*> found;
    for (const int index : m_units) {
        CRecCnd& condition = m_conditions[static_cast<std::size_t>(index)];
        for (CChCnd& ch : condition.m_channels) {
            if (IsCalibrated(condition, ch) && CChannelTableRules::DisplayNumber(ch) == number &&
                EqualNoCase(CChannelTableRules::AmpUnit(ch.m_range), unit))
                found.push_back(&ch);
        }
    }
    return found;
}

std::optional<double> CLineReader::NumberField(int field, std::string& error) const {
    const std::optional<double> value = ReadWholeReal(At(field));
    if (!value)
        error = FormatText("Line %d: field %d (\"%s\") is not a number.", m_lineNo, field,
                           At(field).c_str());
    return value;
}

bool CLineReader::TextField(int field, std::string& text, std::string& error) const {
    text = At(field);
    if (text.find_first_of(kConditionBreakers) == std::string::npos)
        return true;
    error = FormatText("Line %d: field %d (\"%s\") holds \",\" or \"=\", which a condition "
                       "cannot keep.",
                       m_lineNo, field, text.c_str());
    return false;
}

std::optional<LineValues> CLineReader::Read(int lineNo, const std::string& line,
                                            std::string& error) {
    m_lineNo = lineNo;
    CTextFile::SplitText(m_fields, "\t", line);
    for (std::string& field : m_fields)
        field = Trim(field);
    const auto lastText = std::ranges::find_if(m_fields.rbegin(), m_fields.rend(),
                                               [](const std::string& f) { return !f.empty(); });
    const int used = static_cast<int>(m_fields.rend() - lastText);
    if (used == 0)
        return std::nullopt; // a blank line, as spreadsheets leave at the end
    const int wanted = m_version >= CCalTemplate::kVersion ? kFieldsFrom3 : kFieldsBefore3;
    if (used > wanted || static_cast<int>(m_fields.size()) < wanted) {
        error = FormatText("Line %d has %d fields; a calibration line has %d.", lineNo,
                           static_cast<int>(m_fields.size()), wanted);
        return std::nullopt;
    }
    if (At(kChannelNo).empty())
        return std::nullopt;
    const std::optional<int> number = ReadWholeInt(At(kChannelNo));
    if (!number) {
        NumberField(kChannelNo, error);
        return std::nullopt;
    }
    LineValues values;
    values.channels = Match(*number, At(kAmpUnit));
    if (values.channels.empty()) {
        error = FormatText("Line %d: the unit has no channel Ch%d measured in \"%s\".", lineNo,
                           *number, At(kAmpUnit).c_str());
        return std::nullopt;
    }
    if (At(kVCal).empty() || At(kAmp).empty() || At(kZeroCal).empty())
        return std::nullopt;
    const std::optional<double> vCal = NumberField(kVCal, error);
    const std::optional<double> amp = vCal ? NumberField(kAmp, error) : std::nullopt;
    const std::optional<double> zeroCal = amp ? NumberField(kZeroCal, error) : std::nullopt;
    if (!zeroCal || !TextField(kName, values.name, error) ||
        !TextField(kPhyUnit, values.phyUnit, error) || !TextField(kMemo, values.memo, error))
        return std::nullopt;
    if (!At(kScaleMin).empty() || !At(kScaleMax).empty()) {
        const std::optional<double> low = NumberField(kScaleMin, error);
        const std::optional<double> high = low ? NumberField(kScaleMax, error) : std::nullopt;
        if (!high)
            return std::nullopt;
        if (*high > *low)
            values.scale = std::pair{*low, *high};
    }
    if (m_version >= CCalTemplate::kVersion) {
        // Both points as the channel holds them: the file gives back exactly what it took.
        double* points[] = {&values.phy1, &values.amp1, &values.phy0, &values.amp0};
        for (int field = kPhy1; field <= kCal2; ++field) {
            const std::optional<double> value = NumberField(field, error);
            if (!value)
                return std::nullopt;
            *points[field - kPhy1] = *value;
        }
    } else {
        // Older files carry one point and the zero: the offset point sits at physical 0.
        const double zero = -*zeroCal;
        values.phy1 = *vCal;
        values.amp1 = *amp + zero;
        values.phy0 = 0.0;
        values.amp0 = zero;
    }
    return values;
}

void Apply(const LineValues& values) {
    for (CChCnd* ch : values.channels) {
        ch->m_name = values.name;
        ch->m_phyUnit = values.phyUnit;
        ch->m_memo = values.memo;
        if (values.scale) {
            CScale& scale = ch->m_sepChartScale;
            scale.m_min = values.scale->first;
            scale.m_max = values.scale->second;
            scale.m_div = Step125((scale.m_max - scale.m_min) / 5);
        }
        ch->m_phy1 = values.phy1;
        ch->m_amp1 = values.amp1;
        ch->m_phy0 = values.phy0;
        ch->m_amp0 = values.amp0;
    }
}

std::string FileMessage(const std::string& path, const std::string& error) {
    return path + ":" + error + " Nothing was imported.";
}

} // namespace

void CCalTemplate::FormatLines(std::vector<CRecCnd>& conditions, int unit, TextLines& lines) {
    CChannelTableRules::NumberChannels(conditions);
    const CRecCnd& condition = conditions.at(static_cast<std::size_t>(unit));
    lines.clear();
    lines.push_back("TITLE:" + condition.m_memo + " , " + condition.m_memo2);
    lines.push_back(FormatText("INTERVAL:\tVER%d", kVersion));
    lines.push_back("XUNIT:");
    lines.push_back(HeaderLine());
    for (const CChCnd& ch : condition.m_channels) {
        if (IsCalibrated(condition, ch))
            lines.push_back(ChannelLine(ch));
    }
}

std::string CCalTemplate::ApplyLines(std::vector<CRecCnd>& conditions,
                                     const std::vector<int>& units, const TextLines& lines) {
    static constexpr std::array<const char*, 3> kHeads{"TITLE:", "INTERVAL:", "XUNIT:"};
    for (std::size_t i = 0; i < kHeads.size(); ++i) {
        if (i >= lines.size() || lines[i].find(kHeads[i]) == std::string::npos)
            return FormatText("Line %d does not contain \"%s\".", static_cast<int>(i + 1),
                              kHeads[i]);
    }
    CChannelTableRules::NumberChannels(conditions);
    CLineReader reader(conditions, units, ReadVersion(lines[1]));
    std::vector<LineValues> taken;
    for (std::size_t i = kFirstChannelLine; i < lines.size(); ++i) {
        std::string error;
        std::optional<LineValues> values = reader.Read(static_cast<int>(i + 1), lines[i], error);
        if (!error.empty())
            return error;
        if (values)
            taken.push_back(std::move(*values));
    }
    if (taken.empty())
        return "No calibration line.";
    for (const LineValues& values : taken)
        Apply(values);
    return {};
}

std::string CCalTemplate::ApplyFile(std::vector<CRecCnd>& conditions, const std::vector<int>& units,
                                    const std::string& path) {
    TextLines lines;
    if (std::string message = CTextFile::ReadTextLines(path, lines); !message.empty())
        return message;
    const std::string error = ApplyLines(conditions, units, lines);
    return error.empty() ? error : FileMessage(path, error);
}

bool CCalTemplate::Export(CZT300SetDoc& doc, const std::string& path, IPrompt& prompt) {
    TextLines lines;
    FormatLines(doc.GetConditions(), doc.GetShownIndex(), lines);
    if (const std::string message = CTextFile::WriteTextLines(path, lines); !message.empty()) {
        prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    prompt.MessageBox(kExportedOk, PromptIcon::Information);
    return true;
}

bool CCalTemplate::Import(CZT300SetDoc& doc, const std::string& path, IPrompt& prompt,
                          const std::function<void()>& beep) {
    const std::string message = ApplyFile(doc.GetConditions(), {doc.GetShownIndex()}, path);
    if (!message.empty()) {
        if (beep)
            beep();
        prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(nullptr, UpdateHint::kConditionChanged);
    return true;
}

void CCalTemplate::ApplyReference(std::vector<CRecCnd>& conditions,
                                  const CRecorderSettings& settings, IPrompt& prompt) {
    if (settings.m_calRef == 0 || settings.m_calFileRef.empty())
        return;
    std::vector<int> units(conditions.size());
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<int>(i);
    if (const std::string message = ApplyFile(conditions, units, settings.m_calFileRef);
        !message.empty())
        prompt.MessageBox(message, PromptIcon::Stop);
}
