// The calibration dialog: measures the mean of up to twelve channels live from the recorder
// while a known input is applied; OK stores each mean into the calibration point of the mode.
#pragma once

#include "setup/CalCommand.h"

#include <QDialog>

#include <cstdint>
#include <memory>

class CCalPanelWnd;
class CCalStatistics;
class CDevice;
class CExecCalThreadInfo;
class CQtMessageTarget;
class CRecCnd;
class IPrompt;
class QCheckBox;

class CCalibrationDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kAllId = 2001;

    CCalibrationDlg(CDevice& device, CRecCnd& condition, const CalRequest& request, IPrompt& prompt,
                    QWidget* parent = nullptr);
    ~CCalibrationDlg() override;

    // Starts armed acquisition and the measuring thread; false after telling the user.
    bool StartMeasuring();
    // StartMeasuring, then the dialog until OK or Cancel; Rejected when the start failed.
    int Execute();
    bool IsMeasuring() const;

    const CCalStatistics& Statistics() const { return *m_statistics; }
    CCalPanelWnd& Panels() const { return *m_panels; }
    // The "ALL" check box; none with a single channel.
    QCheckBox* AllCheck() const { return m_all; }

    // OK: stop measuring, store the means. Cancel and closing store nothing.
    void accept() override;
    void reject() override;

private:
    void OnThreadMessage(int id, std::intptr_t wparam);
    void StopMeasuring();

    CDevice& m_device;
    CRecCnd& m_condition;
    CalRequest m_request;
    IPrompt& m_prompt;
    std::unique_ptr<CCalStatistics> m_statistics;
    CQtMessageTarget* m_target;
    std::unique_ptr<CExecCalThreadInfo> m_thread;
    CCalPanelWnd* m_panels;
    QCheckBox* m_all = nullptr;
};
