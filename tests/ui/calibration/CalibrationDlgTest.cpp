// The calibration dialog on simulated recorders: its panels and buttons, range steps by double
// clicks, OK and Cancel, a refused start and a lost recorder; and the Simulated Inputs window.
// The simulator's headers come before Qt's, which reserves some of their names.
#include "device/sim/SimInputs.h"
#include "device/sim/SimLink.h"

#include "acquisition/ZT300SetDoc.h"
#include "device/Device.h"
#include "framework/Clock.h"
#include "setup/CalStatistics.h"
#include "support/FakePrompt.h"
#include "ui/calibration/CalPanelWnd.h"
#include "ui/calibration/CalibrationCommands.h"
#include "ui/calibration/CalibrationDlg.h"
#include "ui/calibration/SimInputsWnd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"

namespace {

// Eight voltage channels at 1 kHz; channel n is fed n - 4.5 volts (n = 1..8) with 0.05 V noise.
std::string Config(const std::string& faults = "") {
    std::string text = "RECORDER ZT-300 127.0.0.2\nRATE 1kHz\n" + faults +
                       "SLOT 1 PN=QA-80VA TY=2 NCH=8 RV=10,5 ON=ALL\n";
    for (int n = 1; n <= 8; ++n)
        text += "INPUT 1-" + std::to_string(n) + " " + std::to_string(n - 4.5) + " 0.05\n";
    return text;
}

} // namespace

class CalibrationDlgTest : public QObject {
    Q_OBJECT

private:
    CSystemClock m_clock;
    std::unique_ptr<CSimLink> m_link;
    CFakePrompt m_prompt;
    std::unique_ptr<CDevice> m_device;
    CRecCnd m_condition;

    void Connect(const std::string& faults = "") {
        m_device.reset(); // it closes its connection through the link
        std::string error;
        m_link = CSimLink::FromConfigText(Config(faults), error, &m_clock);
        QVERIFY2(m_link, error.c_str());
        m_device = std::make_unique<CDevice>(*m_link, m_prompt, m_clock);
        QVERIFY(m_device->Open("127.0.0.2"));
        QVERIFY(m_device->ReadModules());
        m_condition = CRecCnd();
        QVERIFY(m_device->LoadCondition(m_condition));
        m_prompt.Clear();
    }
    CalRequest Request(CalMode mode, std::size_t count) {
        CalRequest request{mode, {}};
        for (std::size_t i = 0; i < count; ++i)
            request.channels.push_back(&m_condition.m_channels[i]);
        return request;
    }
    static bool WaitForSamples(const CCalibrationDlg& dialog, std::uint32_t count) {
        return QTest::qWaitFor(
            [&] {
                const std::vector<CalChannelStats> stats = dialog.Statistics().Snapshot();
                return std::all_of(stats.begin(), stats.end(), [&](const CalChannelStats& s) {
                    return s.paused != 0 || s.count >= count;
                });
            },
            10000);
    }

private slots:
    void init() { Connect(); }
    void cleanup() {
        m_device.reset();
        m_link.reset();
    }

    void panelsButtonsAndTitleFollowTheChannels() {
        CCalibrationDlg seven(*m_device, m_condition, Request(CalMode::Cal2, 7), m_prompt);
        QCOMPARE(seven.windowTitle(), QStringLiteral("Calibration --- Cal2"));
        QCOMPARE(seven.Panels().size(), QSize(600, 660));
        QVERIFY(seven.AllCheck() != nullptr);
        QCOMPARE(seven.AllCheck()->objectName(), QStringLiteral("button2001"));
        QCOMPARE(seven.Panels().ResetButton(6)->objectName(), QStringLiteral("button2016"));
        QCOMPARE(seven.Panels().StopButton(6)->objectName(), QStringLiteral("button2036"));
        QCOMPARE(seven.Panels().StopButton(6)->geometry().bottom() < 660, true);
        CCalibrationDlg one(*m_device, m_condition, Request(CalMode::MCal, 1), m_prompt);
        QCOMPARE(one.windowTitle(), QStringLiteral("Calibration --- MCal"));
        QVERIFY(one.AllCheck() == nullptr);
        QCOMPARE(one.Panels().size(), QSize(150, 330));
    }

    void stopStartAndResetActOnOneChannelOrWithAllOnEvery() {
        CCalibrationDlg dialog(*m_device, m_condition, Request(CalMode::Cal1, 3), m_prompt);
        dialog.show();
        CCalPanelWnd& panels = dialog.Panels();
        QTest::mouseClick(panels.StopButton(1), Qt::LeftButton);
        QCOMPARE(panels.StopButton(1)->text(), QStringLiteral("Start"));
        QCOMPARE(panels.StopButton(0)->text(), QStringLiteral("Stop"));
        QCOMPARE(dialog.Statistics().Get(1).paused, 1);
        dialog.AllCheck()->setChecked(true);
        QTest::mouseClick(panels.StopButton(0), Qt::LeftButton); // running: all pause
        for (int i = 0; i < 3; ++i)
            QCOMPARE(panels.StopButton(i)->text(), QStringLiteral("Start"));
        QTest::mouseClick(panels.StopButton(2), Qt::LeftButton); // paused: all run
        for (int i = 0; i < 3; ++i)
            QCOMPARE(dialog.Statistics().Get(i).paused, 0);

        QVERIFY(dialog.StartMeasuring());
        QVERIFY(WaitForSamples(dialog, 100));
        dialog.AllCheck()->setChecked(false);
        QTest::mouseClick(panels.ResetButton(0), Qt::LeftButton);
        QVERIFY(dialog.Statistics().Get(1).count >= 100);
        dialog.AllCheck()->setChecked(true);
        QTest::mouseClick(panels.ResetButton(0), Qt::LeftButton);
        dialog.reject();
        for (int i = 0; i < 3; ++i)
            QVERIFY(dialog.Statistics().Get(i).count < 100);
    }

    void doubleClicksStepTheRanges() {
        CCalibrationDlg dialog(*m_device, m_condition, Request(CalMode::Cal1, 7), m_prompt);
        dialog.show();
        QWidget& panels = dialog.Panels();
        const auto range = [&](int i) { return dialog.Statistics().Get(i).displayRange; };
        QTest::mouseDClick(&panels, Qt::LeftButton, {}, QPoint(160, 40)); // panel 1
        QCOMPARE(range(1), 5.0);
        QCOMPARE(range(0), 10.0);
        QTest::mouseDClick(&panels, Qt::RightButton, {}, QPoint(160, 40));
        QTest::mouseDClick(&panels, Qt::RightButton, {}, QPoint(160, 40));
        QCOMPARE(range(1), 20.0);
        QTest::mouseDClick(&panels, Qt::LeftButton, {}, QPoint(500, 500)); // no panel there
        QCOMPARE(range(0), 5.0);
        QCOMPARE(range(1), 10.0);
        QCOMPARE(range(6), 5.0);
    }

    void okStoresEachMeanAndCancelStoresNothing() {
        const CalRequest request = Request(CalMode::Cal2, 8);
        {
            CCalibrationDlg dialog(*m_device, m_condition, request, m_prompt);
            QVERIFY(dialog.StartMeasuring());
            dialog.show();
            QVERIFY(WaitForSamples(dialog, 1000));
            QVERIFY(SaveShot(dialog, "calibration.png"));
            dialog.accept();
            QVERIFY(!dialog.IsMeasuring());
            QCOMPARE(m_link->LnkGetStatus(m_device->GetHandle()), RecorderStatus::kIdle);
        }
        for (std::size_t i = 0; i < 8; ++i) {
            // The mean of at least a thousand samples of an even +-0.05 V noise.
            const double input = static_cast<double>(i) + 1 - 4.5;
            QVERIFY2(std::fabs(m_condition.m_channels[i].m_amp0 - input) < 0.01,
                     qPrintable(QString::number(m_condition.m_channels[i].m_amp0)));
        }
        const double stored = m_condition.m_channels[0].m_amp0;
        CCalibrationDlg dialog(*m_device, m_condition, request, m_prompt);
        QVERIFY(dialog.StartMeasuring());
        QVERIFY(WaitForSamples(dialog, 10));
        dialog.close();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_condition.m_channels[0].m_amp0, stored);
        QVERIFY(m_prompt.MessageTexts().empty());
    }

    void aRefusedStartClosesAsCancelled() {
        Connect("FAULT ERROR 10 -7\n");
        CCalibrationDlg dialog(*m_device, m_condition, Request(CalMode::Cal1, 2), m_prompt);
        QCOMPARE(dialog.Execute(), int(QDialog::Rejected));
        QCOMPARE(m_prompt.MessageTexts(), std::vector<std::string>{"Start ARMED failed! -7"});
    }

    void aLostRecorderEndsTheDialogAndStoresNothing() {
        CCalibrationDlg dialog(*m_device, m_condition, Request(CalMode::Cal1, 2), m_prompt);
        QVERIFY(dialog.StartMeasuring());
        dialog.show();
        QVERIFY(WaitForSamples(dialog, 10));
        m_link->FindRecorder("127.0.0.2")->DropConnections();
        QVERIFY(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 10000));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_condition.m_channels[0].m_amp1, 1.0);
        QCOMPARE(m_prompt.MessageTexts(),
                 std::vector<std::string>{
                     "Comm Error ! The calibration stopped and stored nothing. -1"});
    }

    void templateFileDialogsAskWithTheirTitlesAndFilter() {
        QTemporaryDir dir;
        CRecorderSettings settings;
        CZT300SetDoc doc(DocServices{*m_link, m_prompt, m_clock, settings, ""});
        QVERIFY(doc.OnNewDocument());
        QStringList asked;
        const std::string base = dir.filePath(QStringLiteral("unit")).toStdString();
        const auto choose = [&](const QString& title, const QString& filter) {
            asked << title << filter;
            return base;
        };
        QVERIFY(CCalibrationCommands::ExportCal(doc, m_prompt, nullptr, choose));
        QVERIFY(QFile::exists(QString::fromStdString(base + ".cal")));
        const auto chooseExported = [&](const QString& title, const QString& filter) {
            asked << title << filter;
            return base + ".cal";
        };
        // A unit without channels exports no channel line, which an import refuses.
        QVERIFY(!CCalibrationCommands::ImportCal(doc, m_prompt, nullptr, chooseExported));
        QCOMPARE(asked, (QStringList{"Export to a Calibration Template File",
                                     "Calibration Template Files (*.cal *.tmp)",
                                     "Import from a Calibration Template File",
                                     "Calibration Template Files (*.cal *.tmp)"}));
        QCOMPARE(m_prompt.MessageTexts(),
                 (std::vector<std::string>{"Exported CAL OK!",
                                           base + ".cal:No calibration line. Nothing was "
                                                  "imported."}));
    }

    void simulatedInputsWindowSetsAndListsInputs() {
        CSimInputsWnd window(nullptr, CSimInputs::ForLink(*m_link));
        QCOMPARE(window.windowTitle(), QStringLiteral("Simulated Inputs"));
        QCOMPARE(window.RecorderChoice()->count(), 1);
        QCOMPARE(window.ChannelChoice()->count(), 8);
        QCOMPARE(window.InputList()->count(), 8);
        window.ChannelChoice()->setCurrentIndex(2);
        window.ValueEdit()->setValue(-7.25);
        window.NoiseEdit()->setValue(0.5);
        window.ApplyInput();
        QCOMPARE(m_link->FindRecorder("127.0.0.2")->GetInput(1, 2), (CSimInput{-7.25, 0.5}));
        QCOMPARE(window.InputList()->item(2)->text(),
                 QStringLiteral("127.0.0.2  1-3:  -7.2500 +- 0.5000"));
        QVERIFY(SaveShot(window, "simulated_inputs.png"));
        window.RemoveInput();
        QCOMPARE(window.InputList()->count(), 7);
        QCOMPARE(m_link->FindRecorder("127.0.0.2")->GetInput(1, 2), std::nullopt);
    }
};

QTEST_MAIN(CalibrationDlgTest)
#include "CalibrationDlgTest.moc"
