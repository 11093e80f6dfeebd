// The rows of "Select Connection": number from 1, address and name, with a tick in the first
// column.
#pragma once

#include "acquisition/RecorderList.h"
#include "setup/OptionConnection.h"

#include <QAbstractTableModel>

#include <vector>

class CConnectionListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kNumberColumn, kAddressColumn, kNameColumn, kColumnCount };

    CConnectionListModel(const std::vector<RecorderEntry>& recorders, ConnectionTicks ticks,
                         bool singleChoice, QObject* parent = nullptr);

    const ConnectionTicks& GetTicks() const { return m_ticks; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void TicksChanged();

private:
    const std::vector<RecorderEntry>& m_recorders;
    ConnectionTicks m_ticks;
    bool m_singleChoice;
};
