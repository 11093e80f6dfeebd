// One cell of the grid widget: its text, kind, colours and what the user may do with it.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QVariant>

enum class GridCellKind {
    Text,
    Check,   // a check box, with or without text beside it
    Colour,  // a swatch of `colour`
    Choice,  // a drop-down list of `choices`
    Numeric, // a number typed in place
};

struct GridCell {
    QString text;
    GridCellKind kind = GridCellKind::Text;
    bool editable = false;  // the text may be changed in place
    bool checkable = false; // the check box may be toggled
    bool checked = false;
    bool freeText = false; // a choice cell that also takes typed text
    bool integer = false;  // a numeric cell of whole numbers
    QStringList choices;
    QColor textColour; // invalid: the grid's default
    QColor backColour; // invalid: the grid's default
    QColor colour;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    QIcon icon;
    QVariant itemData; // whatever the owner keeps with the cell
};
