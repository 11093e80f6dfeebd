#include "ui/plotview/CursorTableModel.h"

#include "ui/plotview/ChannelListModel.h"

#include <QColor>

#include <algorithm>
#include <cmath>

namespace {

std::uint64_t NearestRow(double row, std::uint64_t rows) {
    return static_cast<std::uint64_t>(
        std::clamp(std::round(row), 0.0, static_cast<double>(rows - 1)));
}

} // namespace

void CCursorTableModel::Update(const CRecordReader* record, const CChannelListModel* channels,
                               std::optional<double> first, std::optional<double> second) {
    beginResetModel();
    m_lines.clear();
    if (record != nullptr && channels != nullptr && first && second && record->GetRowCount() > 0) {
        const std::uint64_t rows = record->GetRowCount();
        const std::uint64_t a = NearestRow(*first, rows);
        const std::uint64_t b = NearestRow(*second, rows);
        for (const std::size_t channel : channels->GetShownChannels()) {
            const RecordChannel& info = record->GetChannels()[channel];
            const int decimals = info.ValueDecimals();
            const double atFirst = record->Value(channel, a);
            const double atSecond = record->Value(channel, b);
            Line line;
            line.name = QString::fromStdString(info.name);
            line.colour = channels->GetColour(channel);
            line.values[0] = QString::fromStdString(ValueText(atFirst, decimals));
            line.values[1] = QString::fromStdString(ValueText(atSecond, decimals));
            line.values[2] = QString::fromStdString(ValueText(atSecond - atFirst, decimals));
            m_lines.push_back(line);
        }
    }
    endResetModel();
}

int CCursorTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int CCursorTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CCursorTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Line& line = m_lines[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return index.column() == kName ? line.name : line.values[index.column() - 1];
    if (role == Qt::ForegroundRole && index.column() == kName)
        return line.colour;
    if (role == Qt::TextAlignmentRole && index.column() != kName)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant CCursorTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kName:
        return QStringLiteral("Channel");
    case kFirst:
        return QStringLiteral("C1");
    case kSecond:
        return QStringLiteral("C2");
    default:
        return QStringLiteral("C2 - C1");
    }
}
