// The "Calibration ..." command of the channel table: which selected channels take part, which
// calibration point the mode names, and the checks before the calibration dialog opens.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class CChCnd;
class CChannelTableRules;
class CDevice;
class CRecCnd;
class CZT300SetDoc;
class IPrompt;

// The calibration point a run stores its means into (the numbers are the program's own).
enum class CalMode : int {
    Cal1 = 0, // the first calibration value, Cal_VAL1
    MCal = 1, // the negative-side calibration value, -Cal_VAL
    Cal2 = 2, // the second calibration value, Cal_VAL2
};

struct CalRequest {
    CalMode mode = CalMode::Cal1;
    std::vector<CChCnd*> channels; // in table row order
};

class CCalCommand {
public:
    using CellPos = std::pair<int, int>; // grid row, grid column
    // Runs the dialog on the unit's recorder and condition; true when it ended with OK.
    using RunDialog = std::function<bool(CDevice&, CRecCnd&, const CalRequest&)>;

    static constexpr std::size_t kMaxChannels = 12;

    // The channels of the rows whose Cal_VAL1, Cal_VAL2 or -Cal_VAL cell is selected, and the
    // mode those cells choose; none after telling the user why.
    static std::optional<CalRequest> Gather(const CChannelTableRules& rules,
                                            const std::vector<CellPos>& selected, IPrompt& prompt);
    // The whole command on the document's current unit: gathering, the pre-start check, the
    // dialog. After OK the table is rebuilt and the document is modified; true then.
    static bool Run(CZT300SetDoc& doc, const CChannelTableRules& rules,
                    const std::vector<CellPos>& selected, IPrompt& prompt,
                    const RunDialog& runDialog);

    static const char* ModeTitle(CalMode mode);
    // The calibration value of a channel that a mode names.
    static double& Point(CChCnd& channel, CalMode mode);
    // OK of the dialog: each mean into its channel's point.
    static void StoreMeans(const CalRequest& request, const std::vector<double>& means);
};
