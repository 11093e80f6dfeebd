#include "ui/monitor/MyStatusBar.h"

#include <QLabel>
#include <QProgressBar>

namespace {

QLabel* NewPane(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

CMyStatusBar::CMyStatusBar(QWidget* parent)
    : QStatusBar(parent), m_text(NewPane(this)), m_progress(new QProgressBar(this)),
      m_status(NewPane(this)), m_counts(NewPane(this)), m_record(NewPane(this)),
      m_slots(NewPane(this)), m_card(NewPane(this)), m_remote(NewPane(this)) {
    setSizeGripEnabled(false);
    // The bar is pane 2 itself, so it always lies exactly inside the pane's rectangle.
    m_progress->setObjectName(QStringLiteral("progress110"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(true);
    m_progress->setAlignment(Qt::AlignCenter);
    m_progress->setMinimumWidth(230);
    addWidget(m_text, 1);
    addPermanentWidget(m_progress);
    addPermanentWidget(m_status);
    addPermanentWidget(m_counts);
    addPermanentWidget(m_record);
    addPermanentWidget(m_slots);
    addPermanentWidget(m_card);
    addPermanentWidget(m_remote);
}

QLabel* CMyStatusBar::Label(int pane) const {
    switch (pane) {
    case kText:
        return m_text;
    case kStatus:
        return m_status;
    case kCounts:
        return m_counts;
    case kRecord:
        return m_record;
    case kSlots:
        return m_slots;
    case kCard:
        return m_card;
    case kRemote:
        return m_remote;
    default:
        return nullptr;
    }
}

QWidget* CMyStatusBar::PaneWidget(int pane) const {
    if (pane == kChartWidth)
        return m_progress;
    return Label(pane);
}

void CMyStatusBar::SetPaneText(int pane, const QString& text) {
    if (pane == kChartWidth) {
        // A "%" in the text would be read as a placeholder of the bar's format.
        m_progress->setFormat(QString(text).replace(QLatin1Char('%'), QStringLiteral("%%")));
        return;
    }
    if (QLabel* label = Label(pane); label != nullptr && label->text() != text)
        label->setText(text);
}

QString CMyStatusBar::PaneText(int pane) const {
    if (pane == kChartWidth)
        return m_progress->format().replace(QStringLiteral("%%"), QStringLiteral("%"));
    const QLabel* label = Label(pane);
    return label != nullptr ? label->text() : QString();
}

void CMyStatusBar::SetProgress(int percent) {
    m_progress->setValue(percent < 0 ? 0 : std::min(percent, 100));
}
