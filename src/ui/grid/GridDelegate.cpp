#include "ui/grid/GridDelegate.h"

#include "ui/grid/GridModel.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QIntValidator>
#include <QLineEdit>
#include <QPainter>

namespace {

GridCellKind KindOf(const QModelIndex& index) {
    return static_cast<GridCellKind>(index.data(CGridModel::KindRole).toInt());
}

} // namespace

CGridDelegate::CGridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QWidget* CGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    switch (KindOf(index)) {
    case GridCellKind::Choice: {
        auto* combo = new QComboBox(parent);
        combo->addItems(index.data(CGridModel::ChoicesRole).toStringList());
        combo->setEditable(index.data(CGridModel::FreeTextRole).toBool());
        return combo;
    }
    case GridCellKind::Numeric: {
        auto* edit = new QLineEdit(parent);
        if (index.data(CGridModel::IntegerRole).toBool())
            edit->setValidator(new QIntValidator(edit));
        else
            edit->setValidator(new QDoubleValidator(edit));
        return edit;
    }
    default:
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
}

void CGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QString text = index.data(Qt::EditRole).toString();
        const int at = combo->findText(text, Qt::MatchFixedString);
        if (at >= 0)
            combo->setCurrentIndex(at);
        else if (combo->isEditable())
            combo->setEditText(text);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void CGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void CGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (KindOf(index) != GridCellKind::Colour)
        return;
    const QColor colour = index.data(CGridModel::ColourRole).value<QColor>();
    if (!colour.isValid())
        return;
    painter->save();
    const QRect swatch = option.rect.adjusted(3, 3, -3, -3);
    painter->fillRect(swatch, colour);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    painter->restore();
}
