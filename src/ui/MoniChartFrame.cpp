#include "ui/MoniChartFrame.h"

#include "acquisition/ZT300SetDoc.h"
#include "ui/LogView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLabel* Pane(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

} // namespace

CMoniChartFrame::CMoniChartFrame(CZT300SetDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_log(new CLogView(this)), m_statusPane(Pane(this)),
      m_slotPane(Pane(this)), m_cardPane(Pane(this)), m_remotePane(Pane(this)) {
    setWindowTitle(QString::fromStdString(doc.GetTitle()) + tr(" - Monitor"));
    auto* panes = new QHBoxLayout;
    for (QLabel* pane : {m_statusPane, m_slotPane, m_cardPane, m_remotePane})
        panes->addWidget(pane);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_log, 1);
    layout->addLayout(panes);
    m_doc.AddView(this);
    // The panes follow the recorder as the status bar does on idle.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CMoniChartFrame::RefreshPanes);
    timer->start(500);
    RefreshPanes();
}

CMoniChartFrame::~CMoniChartFrame() {
    m_doc.RemoveView(this);
}

void CMoniChartFrame::OnUpdate(IView*, int, const CUpdateData*) {
    RefreshPanes();
}

void CMoniChartFrame::RefreshPanes() {
    m_statusPane->setText(QString::fromStdString(m_doc.GetStatusPaneText()));
    m_slotPane->setText(QString::fromStdString(m_doc.GetSlotPaneText()));
    m_cardPane->setText(QString::fromStdString(m_doc.GetCardPaneText()));
    m_remotePane->setText(m_doc.m_acq.remote ? tr("REMOTE") : tr("LOCAL"));
}
