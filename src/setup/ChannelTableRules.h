// What each cell of the channel table shows and whether it may be edited, and how an edit of a
// cell reaches the channel of its row.
#pragma once

#include "setup/ChannelTableCell.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CChCnd;
class CRecCnd;
class IPrompt;

class CChannelTableRules {
public:
    static constexpr std::uint32_t kSlotColour1 = 0xF0FFFF; // RGB 240, 255, 255
    static constexpr std::uint32_t kSlotColour2 = 0xE6FFFF; // RGB 230, 255, 255
    static constexpr std::uint32_t kWarnColour = 0xFF0000;
    static constexpr int kCalcIcon = 10;
    static const std::array<TableColumn, ChannelTableColumn::kCount> kColumns;

    // Every channel of every unit gets its running number (kept as the channel's monitor
    // number): unit by unit, a channel advances the count by its data words, and the four
    // calculation channels of a unit that computes them follow its channels one each.
    static void NumberChannels(std::vector<CRecCnd>& conditions);
    // The running number, or slot and 1-based channel written one after the other when the
    // channel has none.
    static int DisplayNumber(const CChCnd& channel);
    static int IconIndex(std::int32_t typeCode);
    // The unit part of a range text: what follows its leading number ("500mV" gives "mV").
    static std::string AmpUnit(const std::string& range);
    // A name, unit or memo the condition file could not read back (a comma splits the item, an
    // "=" may start a key) is refused with a message.
    static bool CheckFreeText(const std::string& text, IPrompt& prompt);
    // Whether an edit of this column is repeated on the other selected rows.
    static bool SpreadsToSelectedRows(int column);
    // A column's width in a font whose ten digits take `digitsWidth` pixels: the widths were
    // made for a font whose digits take 60, and grow with wider ones.
    static int ScaledWidth(int column, int digitsWidth);

    CChannelTableRules(CRecCnd& condition, int balWarnPercent, std::vector<std::string> units);

    // Grid rows: the header row, one per channel and four calculation rows when calculating.
    int RowCount() const { return static_cast<int>(m_rows.size()) + 1; }
    // The channel of a data row (1-based grid row), nullptr for any other row.
    CChCnd* RowChannel(int row) const;
    bool IsCalcRow(int row) const;
    std::int32_t RowTypeCode(int row) const;

    std::string HeaderText(int column) const;
    TableCell GetCell(int row, int column) const;

    // Stores an edited text into the row's channel; false when the text is refused or the cell
    // does not take edits (the cell then shows the channel's value again).
    bool ApplyText(int row, int column, const std::string& text, IPrompt& prompt);
    // The same edit on the other listed rows whose own choice list holds the text; gives the
    // rows that took it.
    std::vector<int> ApplyToRows(int row, int column, const std::string& text,
                                 const std::vector<int>& rows, IPrompt& prompt);
    // The check boxes: Channels switches the channel on, MON shows it on the monitor.
    bool ApplyCheck(int row, int column, bool checked);

private:
    struct Row {
        CChCnd* channel;
        bool calc;
        std::uint32_t colour;
    };

    const Row* FindRow(int row) const;
    TableCell ChannelCell(const Row& row, int column) const;
    TableCell CalcCell(const Row& row, int column) const;
    TableCell ModuleCell(const Row& row) const;
    TableCell RangeCell(const CChCnd& ch, std::int32_t type) const;
    TableCell FilterCell(const CChCnd& ch, std::int32_t type) const;
    TableCell BalanceCell(const CChCnd& ch) const;
    TableCell TriggerCell(const CChCnd& ch, std::int32_t type) const;
    TableCell TriggerValueCell(const CChCnd& ch, std::int32_t type) const;
    TableCell CalibrationCell(const CChCnd& ch, std::int32_t type, int column) const;
    bool StoreText(CChCnd& ch, std::int32_t type, int column, const std::string& text,
                   IPrompt& prompt);
    bool StoreRange(CChCnd& ch, std::int32_t type, const std::string& text);
    bool StoreTriggerValue(CChCnd& ch, std::int32_t type, const std::string& text);
    bool StoreScale(CChCnd& ch, int column, const std::string& text);

    CRecCnd& m_condition;
    int m_balWarnPercent;
    std::vector<std::string> m_units;
    std::vector<Row> m_rows;
};
