// The signal list of the CAN setting dialogs: the rows of the list on screen, a check box in the
// first column of a DBC page, and the colour and tool tip of signals a K module cannot take
// exactly.
#pragma once

#include <QAbstractTableModel>

class CCanSetup;

class CCanSignalModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static const QColor kMarkedBackground;

    explicit CCanSignalModel(CCanSetup& setup, QObject* parent = nullptr);

    // The list on screen was replaced, sorted or its selection changed.
    void Reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The width of each column in characters of the dialog's font.
    static int ColumnChars(int column);

signals:
    void SelectionChanged();

private:
    CCanSetup& m_setup;
};
