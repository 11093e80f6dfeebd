#include "ui/calibration/CalibrationDlg.h"

#include "conditions/RecCnd.h"
#include "conditions/TextNumbers.h"
#include "device/Device.h"
#include "framework/Prompt.h"
#include "setup/CalStatistics.h"
#include "setup/ExecCalThreadInfo.h"
#include "ui/QtMessageTarget.h"
#include "ui/calibration/CalPanelWnd.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CCalibrationDlg::CCalibrationDlg(CDevice& device, CRecCnd& condition, const CalRequest& request,
                                 IPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_device(device), m_condition(condition), m_request(request),
      m_prompt(prompt), m_statistics(std::make_unique<CCalStatistics>(condition, request.channels)),
      m_target(new CQtMessageTarget(
          [this](int id, std::intptr_t wparam, std::intptr_t) { OnThreadMessage(id, wparam); },
          this)),
      m_panels(new CCalPanelWnd(request.channels, *m_statistics, this)) {
    // "Calibration", named after the point it measures.
    setWindowTitle(QString::fromLatin1(CCalCommand::ModeTitle(request.mode)));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_panels);
    if (request.channels.size() > 1) {
        m_all = new QCheckBox(tr("ALL"), this);
        m_all->setObjectName(QStringLiteral("button%1").arg(kAllId));
        connect(m_all, &QCheckBox::toggled, m_panels, &CCalPanelWnd::SetAll);
        layout->addWidget(m_all);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

CCalibrationDlg::~CCalibrationDlg() {
    StopMeasuring();
}

bool CCalibrationDlg::StartMeasuring() {
    StopMeasuring();
    m_statistics->ResetAll();
    m_thread = std::make_unique<CExecCalThreadInfo>(*m_target, m_device, *m_statistics,
                                                    m_condition.CountSampleWords(false),
                                                    m_condition.GetRateHz());
    if (const int result = m_thread->Start(); result != 1) {
        m_thread.reset();
        m_prompt.MessageBox(FormatText("Start ARMED failed! %d", result), PromptIcon::Stop);
        return false;
    }
    return true;
}

int CCalibrationDlg::Execute() {
    if (!StartMeasuring())
        return Rejected;
    return exec();
}

bool CCalibrationDlg::IsMeasuring() const {
    return m_thread && m_thread->IsRunning();
}

void CCalibrationDlg::StopMeasuring() {
    if (m_thread)
        m_thread->Stop();
    m_thread.reset();
}

void CCalibrationDlg::accept() {
    StopMeasuring();
    CCalCommand::StoreMeans(m_request, m_statistics->Means());
    QDialog::accept();
}

void CCalibrationDlg::reject() {
    StopMeasuring();
    QDialog::reject();
}

void CCalibrationDlg::OnThreadMessage(int id, std::intptr_t wparam) {
    if (id == CExecCalThreadInfo::kUpdateMessage) {
        m_panels->update();
    } else if (id == CExecCalThreadInfo::kCommErrorMessage && m_thread) {
        // The recorder is lost: nothing measured from here on can be trusted.
        StopMeasuring();
        m_prompt.MessageBox(
            FormatText("Comm Error ! The calibration stopped and stored nothing. %d",
                       static_cast<int>(wparam)),
            PromptIcon::Stop);
        reject();
    }
}
