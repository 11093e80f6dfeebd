#include "ui/plotview/ChannelListModel.h"

#include <QPixmap>

#include <array>

namespace {

constexpr int kSwatchSize = 12;

const char* KindText(SampleKind kind) {
    switch (kind) {
    case SampleKind::UInt16:
        return "unsigned 16-bit";
    case SampleKind::Int32:
        return "signed 32-bit";
    case SampleKind::UInt32:
        return "unsigned 32-bit";
    case SampleKind::Float32:
        return "32-bit float";
    case SampleKind::Int16:
        break;
    }
    return "signed 16-bit";
}

} // namespace

QColor CChannelListModel::PaletteColour(std::size_t n) {
    static const std::array<QColor, 12> kColours = {
        QColor(31, 119, 180),  QColor(214, 39, 40),  QColor(44, 160, 44), QColor(148, 103, 189),
        QColor(255, 127, 14),  QColor(23, 190, 207), QColor(140, 86, 75), QColor(227, 119, 194),
        QColor(127, 127, 127), QColor(188, 189, 34), QColor(0, 0, 128),   QColor(0, 100, 0)};
    return kColours[n % kColours.size()];
}

void CChannelListModel::SetChannels(const std::vector<RecordChannel>& channels) {
    beginResetModel();
    m_channels = channels;
    m_shown.assign(channels.size(), true);
    endResetModel();
    emit shownChanged();
}

void CChannelListModel::SetShown(std::size_t channel, bool shown) {
    if (channel >= m_shown.size() || m_shown[channel] == shown)
        return;
    m_shown[channel] = shown;
    const QModelIndex at = index(static_cast<int>(channel), kName);
    emit dataChanged(at, at, {Qt::CheckStateRole});
    emit shownChanged();
}

void CChannelListModel::SetAllShown(bool shown) {
    m_shown.assign(m_channels.size(), shown);
    if (!m_channels.empty())
        emit dataChanged(index(0, kName), index(rowCount() - 1, kName), {Qt::CheckStateRole});
    emit shownChanged();
}

std::vector<std::size_t> CChannelListModel::GetShownChannels() const {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < m_shown.size(); ++i) {
        if (m_shown[i])
            shown.push_back(i);
    }
    return shown;
}

QColor CChannelListModel::GetColour(std::size_t channel) const {
    return PaletteColour(channel);
}

int CChannelListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_channels.size());
}

int CChannelListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CChannelListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const RecordChannel& channel = m_channels[row];
    if (role == Qt::DisplayRole)
        return QString::fromStdString(index.column() == kName ? channel.name : channel.unit);
    if (index.column() != kName)
        return {};
    if (role == Qt::CheckStateRole)
        return m_shown[row] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DecorationRole) {
        QPixmap swatch(kSwatchSize, kSwatchSize);
        swatch.fill(GetColour(row));
        return swatch;
    }
    if (role == Qt::ToolTipRole) {
        QString tip = QStringLiteral("%1, %2").arg(QString::fromStdString(channel.series),
                                                   QString::fromLatin1(KindText(channel.kind)));
        if (!channel.range.empty())
            tip += QStringLiteral(", range %1").arg(QString::fromStdString(channel.range));
        if (channel.calculated)
            tip += QStringLiteral(", calculated");
        return tip;
    }
    return {};
}

bool CChannelListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != kName || role != Qt::CheckStateRole)
        return false;
    SetShown(static_cast<std::size_t>(index.row()), value.toInt() == Qt::Checked);
    return true;
}

QVariant CChannelListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == kName ? QStringLiteral("Channel") : QStringLiteral("Unit");
}

Qt::ItemFlags CChannelListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == kName)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}
