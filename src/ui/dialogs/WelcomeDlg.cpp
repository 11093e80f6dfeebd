#include "ui/dialogs/WelcomeDlg.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace {
constexpr int kButtonSize = 220;
constexpr int kIconSize = 96;

// A recorder rack on the left joined to a PC screen on the right.
QIcon ConnectPicture() {
    QPixmap picture(kIconSize, kIconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkGray, 2));
    painter.setBrush(QColor(70, 110, 160));
    painter.drawRect(6, 30, 30, 40);
    for (int slot = 0; slot < 4; ++slot)
        painter.fillRect(10 + slot * 6, 36, 4, 28, QColor(200, 220, 240));
    painter.setBrush(QColor(220, 230, 240));
    painter.drawRect(58, 28, 32, 24);
    painter.drawLine(74, 52, 74, 62);
    painter.drawLine(64, 62, 84, 62);
    painter.setPen(QPen(QColor(40, 160, 60), 3, Qt::DashLine));
    painter.drawLine(36, 50, 58, 40);
    return QIcon(picture);
}

// A condition sheet: a page with lines of settings.
QIcon OfflinePicture() {
    QPixmap picture(kIconSize, kIconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkGray, 2));
    painter.setBrush(Qt::white);
    painter.drawRect(26, 12, 44, 72);
    painter.setPen(QPen(QColor(70, 110, 160), 3));
    for (int line = 0; line < 6; ++line)
        painter.drawLine(32, 24 + line * 10, line % 2 == 0 ? 64 : 56, 24 + line * 10);
    return QIcon(picture);
}

} // namespace

CWelcomeDlg::CWelcomeDlg(QWidget* parent)
    : QDialog(parent),
      m_connect(AddChoice(QStringLiteral("CONNECT"),
                          QStringLiteral("CONNECT\n\nScan for recorders, connect,\nload their "
                                         "conditions and\ncontrol acquisition"),
                          ConnectPicture(), Choice::Connect)),
      m_noConnection(AddChoice(QStringLiteral("NOCON"),
                               QStringLiteral("NOCON\n\nWork offline: edit conditions\nand view "
                                              "recorded files"),
                               OfflinePicture(), Choice::NoConnection)) {
    setWindowTitle(QStringLiteral("ZT300CTL"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_connect);
    layout->addWidget(m_noConnection);
    m_connect->setFocus();
}

QToolButton* CWelcomeDlg::AddChoice(const QString& name, const QString& text, const QIcon& picture,
                                    Choice choice) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setIcon(picture);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(kIconSize, kIconSize));
    button->setMinimumSize(kButtonSize, kButtonSize);
    connect(button, &QToolButton::clicked, this, [this, choice] {
        m_choice = choice;
        accept();
    });
    return button;
}
