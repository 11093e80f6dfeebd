#include "ui/dialogs/WelcomeDlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

namespace {
constexpr int kButtonSize = 220;
constexpr int kIconSize = 64;
} // namespace

CWelcomeDlg::CWelcomeDlg(QWidget* parent)
    : QDialog(parent),
      m_connect(AddChoice(QStringLiteral("CONNECT"),
                          QStringLiteral("CONNECT\n\nScan for recorders, connect,\nload their "
                                         "conditions and\ncontrol acquisition"),
                          QStyle::SP_DriveNetIcon, Choice::Connect)),
      m_noConnection(AddChoice(QStringLiteral("NOCON"),
                               QStringLiteral("NOCON\n\nWork offline: edit conditions\nand view "
                                              "recorded files"),
                               QStyle::SP_DirOpenIcon, Choice::NoConnection)) {
    setWindowTitle(QStringLiteral("ZT300CTL"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_connect);
    layout->addWidget(m_noConnection);
    m_connect->setDefault(true);
}

QPushButton* CWelcomeDlg::AddChoice(const QString& name, const QString& text,
                                    QStyle::StandardPixmap icon, Choice choice) {
    auto* button = new QPushButton(style()->standardIcon(icon), text, this);
    button->setObjectName(name);
    button->setIconSize(QSize(kIconSize, kIconSize));
    button->setMinimumSize(kButtonSize, kButtonSize);
    connect(button, &QPushButton::clicked, this, [this, choice] {
        m_choice = choice;
        accept();
    });
    return button;
}
