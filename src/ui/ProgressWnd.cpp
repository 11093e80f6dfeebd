#include "ui/ProgressWnd.h"

#include "framework/Prompt.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

CProgressWnd::CProgressWnd(QWidget* owner)
    : QDialog(owner), m_owner(owner), m_text(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_percent(new QLabel(this)), m_cancel(new QPushButton(tr("Cancel"), this)) {
    setModal(false);
    setMinimumWidth(360);
    m_bar->setTextVisible(false);
    m_percent->setMinimumWidth(40);
    m_percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* barRow = new QHBoxLayout;
    barRow->addWidget(m_bar, 1);
    barRow->addWidget(m_percent);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(barRow);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    SetRange(0, 100);
}

CProgressWnd::~CProgressWnd() {
    EnableOwner(true);
}

void CProgressWnd::Open(const QString& title, const QString& text) {
    setWindowTitle(title);
    m_text->setText(text);
    m_cancelled = false;
    EnableOwner(false);
    show();
    QApplication::processEvents();
}

void CProgressWnd::SetText(const QString& text) {
    m_text->setText(text);
    QApplication::processEvents();
}

void CProgressWnd::SetRange(int low, int high) {
    m_low = low;
    m_high = high;
    m_bar->setRange(low, high);
}

void CProgressWnd::SetPos(int pos) {
    QApplication::processEvents();
    m_bar->setValue(std::clamp(pos, std::min(m_low, m_high), std::max(m_low, m_high)));
    m_percent->setText(QString::fromStdString(FormatProgressPercent(pos, m_low, m_high)));
}

void CProgressWnd::ShowBar(bool show) {
    m_bar->setVisible(show);
}
void CProgressWnd::ShowPercent(bool show) {
    m_percent->setVisible(show);
}
void CProgressWnd::ShowCancel(bool show) {
    m_cancel->setVisible(show);
}
void CProgressWnd::SetCancelText(const QString& text) {
    m_cancel->setText(text);
}

bool CProgressWnd::CheckCancel() {
    QApplication::processEvents();
    return std::exchange(m_cancelled, false);
}

void CProgressWnd::reject() {
    if (!m_cancel->isHidden())
        m_cancelled = true;
}

void CProgressWnd::Close() {
    hide();
    EnableOwner(true);
}

QString CProgressWnd::Text() const {
    return m_text->text();
}
QString CProgressWnd::PercentText() const {
    return m_percent->text();
}

// The owner cannot be used while the operation runs, but the progress window itself must stay
// usable, so it is a separate top-level window rather than a child of the disabled owner.
void CProgressWnd::EnableOwner(bool enable) {
    if (m_owner == nullptr || m_ownerDisabled == !enable)
        return;
    m_owner->setEnabled(enable);
    setEnabled(true);
    m_ownerDisabled = !enable;
}
