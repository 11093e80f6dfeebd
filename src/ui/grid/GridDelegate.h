// In-place editors and painting by cell kind: a line edit for text, a validated line edit for
// numbers, a combo box for lists and a swatch for colour cells.
#pragma once

#include <QStyledItemDelegate>

class CGridDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit CGridDelegate(QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
