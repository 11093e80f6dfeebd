#include "ui/dialogs/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About ZT300CTL"));
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(48, 48));
    auto* text = new QLabel(
        VersionText() + QStringLiteral("\nControl program of the ZT300 / ZT500 data recorders."),
        this);
    text->setObjectName("versionText");
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);
}

QString CAboutDlg::VersionText() {
    return QStringLiteral("ZT300CTL Version %1").arg(QStringLiteral(ZT300CTL_VERSION));
}
