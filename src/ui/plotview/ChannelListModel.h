// The channels of the open record as the viewer lists them: name, unit and colour, each shown
// or hidden by its check box.
#pragma once

#include "records/RecordChannel.h"

#include <QAbstractTableModel>
#include <QColor>

#include <vector>

class CChannelListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kName, kUnit, kColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Every channel shown, coloured in list order.
    void SetChannels(const std::vector<RecordChannel>& channels);
    bool IsShown(std::size_t channel) const { return m_shown[channel]; }
    void SetShown(std::size_t channel, bool shown);
    void SetAllShown(bool shown);
    std::vector<std::size_t> GetShownChannels() const;
    QColor GetColour(std::size_t channel) const;
    std::size_t GetChannelCount() const { return m_channels.size(); }
    const RecordChannel& GetChannel(std::size_t channel) const { return m_channels[channel]; }

    // The colour of the n-th channel: distinct neighbours, readable on white.
    static QColor PaletteColour(std::size_t n);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void shownChanged();

private:
    std::vector<RecordChannel> m_channels;
    std::vector<bool> m_shown;
};
