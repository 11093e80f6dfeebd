// What one cell of the channel table holds, independent of the widget that draws it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ChannelTableColumn {
enum : int {
    kModuleType = 0,
    kChannels,
    kSignalName,
    kRange,
    kFilter,
    kBal,
    kMon,
    kTrg,
    kTrgV,
    kPhyUnit,
    kPhyVal1,
    kCalVal1,
    kPhyVal2,
    kCalVal2,
    kMinusPhyVal,
    kMinusCalVal,
    kScaleMax,
    kScaleMin,
    kMaterialId,
    kMemo,
    kCount
};
} // namespace ChannelTableColumn

enum class TableAlign { Left, Centre, Right };

enum class TableCellKind {
    Text,   // plain text, typed in place when editable
    Check,  // a check box, with or without text
    Choice, // a drop-down list; `freeText` also takes typed text
};

struct TableColumn {
    std::string_view header;
    int width; // pixels
    TableAlign align;
};

struct TableCell {
    std::string text;
    TableCellKind kind = TableCellKind::Text;
    bool editable = false;  // the text (or the list choice) may be changed
    bool checkable = false; // the check box may be toggled
    bool checked = false;
    bool freeText = false;
    std::vector<std::string> choices;
    std::optional<std::uint32_t> textColour; // 0xRRGGBB; none draws the default colour
    std::uint32_t backColour = 0xFFFFFF;
    TableAlign align = TableAlign::Left;
    int icon = -1; // index into the module image strip; -1 draws none
};
