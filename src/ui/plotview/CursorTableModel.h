// The two cursors' readout: for each shown channel its value at cursor 1 and 2 and the
// difference, at the rows nearest to the cursors.
#pragma once

#include "records/RecordReader.h"

#include <QAbstractTableModel>
#include <QColor>

#include <optional>
#include <vector>

class CChannelListModel;

class CCursorTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kName, kFirst, kSecond, kDifference, kColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Cursors as row positions of `record`; no record, or no cursors, empties the table.
    void Update(const CRecordReader* record, const CChannelListModel* channels,
                std::optional<double> first, std::optional<double> second);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Line {
        QString name;
        QString values[3];
        QColor colour;
    };
    std::vector<Line> m_lines;
};
