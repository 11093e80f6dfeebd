// Calibration end to end, in process (CSimLink) and over the network against zt300sim: three
// channels get known inputs, Cal1 and Cal2 run through the command and the dialog, and a short
// record then holds, through its header's scaling, the physical values of the inputs applied.
// The simulator's and the network's headers come before Qt's, which reserves some of their
// names.
#include "device/net/NetLink.h"
#include "device/sim/SimLink.h"
#include "support/SimProcess.h"

#include "acquisition/ZT300SetDoc.h"
#include "conditions/TextNumbers.h"
#include "framework/Clock.h"
#include "setup/CalStatistics.h"
#include "setup/ChannelTableCell.h"
#include "support/FakePrompt.h"
#include "support/MessageQueue.h"
#include "support/RecordTestConditions.h"
#include "ui/calibration/CalibrationCommands.h"
#include "ui/calibration/CalibrationDlg.h"
#include "ui/grid/GridCtrl.h"
#include "ui/setup/ZT300SetView.h"

#include <QtTest>

#include <array>
#include <fstream>

namespace Col = ChannelTableColumn;

namespace {

const std::string kConfig = ZT300_TEST_DATA_DIR "/cal/three_inputs.conf";

struct Input {
    double value;
    double noise;
};
// Channel 3 is switched to its 500 mV range, so its inputs are in millivolts.
constexpr std::array<Input, 3> kCal1{{{8.0, 0.002}, {-3.0, 0.002}, {400.0, 0.1}}};
constexpr std::array<Input, 3> kCal2{{{2.0, 0.002}, {1.0, 0.002}, {-100.0, 0.1}}};
constexpr std::array<Input, 3> kRecorded{{{5.0, 0.0}, {-1.5, 0.0}, {150.0, 0.0}}};

std::vector<double> HeaderNumbers(const TextLines& header, const std::string& key) {
    std::vector<double> numbers;
    for (const std::string& line : header) {
        if (!line.starts_with(key + " "))
            continue;
        TextLines items;
        for (const std::string& item : CTextFile::SplitText(items, ",", line.substr(key.size())))
            numbers.push_back(ReadReal(item));
    }
    return numbers;
}

} // namespace

class CalibrationEndToEndTest : public QObject {
    Q_OBJECT

private:
    CSystemClock m_clock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;
    CMessageQueue m_queue;

    static void ApplyInputs(CDevice& device, const std::array<Input, 3>& inputs) {
        for (int c = 0; c < 3; ++c) {
            const std::string command =
                FormatText("1SIMIN %d,%g,%g", c + 1, inputs[static_cast<std::size_t>(c)].value,
                           inputs[static_cast<std::size_t>(c)].noise);
            QCOMPARE(device.GetLink().LnkSetCommand(device.GetHandle(), command), 1);
        }
    }

    // The command on the selected cells of `column`, the dialog measuring two seconds, OK.
    void Calibrate(CZT300SetDoc& doc, CZT300SetView& view, int column) {
        view.Grid().SelectCells(1, column, 3, column);
        const bool ok = CCalibrationCommands::Calibrate(
            doc, view, m_prompt, nullptr, [](CCalibrationDlg& dialog) {
                if (!dialog.StartMeasuring())
                    return false;
                dialog.show();
                const bool measured = QTest::qWaitFor(
                    [&] {
                        const auto stats = dialog.Statistics().Snapshot();
                        return std::all_of(
                            stats.begin(), stats.end(),
                            [](const CalChannelStats& s) { return s.count >= 2000; });
                    },
                    20000);
                dialog.accept();
                return measured;
            });
        QVERIFY(ok);
    }

    static void ExpectPoints(const CZT300SetDoc& doc, const CZT300SetView& view, int column,
                             const std::array<Input, 3>& inputs) {
        for (int c = 0; c < 3; ++c) {
            const CChCnd& ch = doc.GetConditions()[0].m_channels[static_cast<std::size_t>(c)];
            const double factor = ch.GetRangeValue() * CChCnd::kRangePerCount;
            const double point = column == Col::kCalVal1 ? ch.m_amp1 : ch.m_amp0;
            // The recorder's residual is the zero the measuring takes off.
            const double expected =
                inputs[static_cast<std::size_t>(c)].value - ch.GetBalanceCorrection() * factor;
            QVERIFY2(std::fabs(point - expected) <=
                         inputs[static_cast<std::size_t>(c)].noise + factor / 2,
                     qPrintable(
                         QStringLiteral("channel %1: %2 for %3").arg(c).arg(point).arg(expected)));
            const QString cell =
                const_cast<CZT300SetView&>(view).Grid().Model().Cell(c + 1, column).text;
            QCOMPARE(cell,
                     QString::fromStdString(FormatText("%5.3f", point) + (c == 2 ? "mV" : "V")));
        }
    }

    // Arms, records half a second and stops; the record's rows as physical values.
    std::vector<std::array<double, 3>> Record(CZT300SetDoc& doc, const std::string& folder) {
        const std::string name = doc.GetNextRecordName();
        if (!doc.Arm(false))
            return {};
        doc.StartAcq(CZT300SetDoc::AcqKind::Hdd);
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
        while (std::chrono::steady_clock::now() < end) {
            for (const auto& message : m_queue.Drain())
                doc.OnThreadMessage(message.id, message.wparam, message.lparam);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        doc.StopAcq();
        doc.StopArmed(false);
        TextLines header;
        if (!CTextFile::ReadTextLines(folder + "/" + name + ".hdr", header).empty())
            return {};
        const std::vector<double> slope = HeaderNumbers(header, "SLOPE");
        const std::vector<double> offset = HeaderNumbers(header, "Y_OFFSET");
        std::ifstream data(folder + "/" + name + ".dat", std::ios::binary);
        std::vector<std::array<double, 3>> rows;
        std::array<std::int16_t, 3> counts{};
        while (slope.size() == 3 && offset.size() == 3 &&
               data.read(reinterpret_cast<char*>(counts.data()), sizeof counts)) {
            std::array<double, 3> row{};
            for (std::size_t c = 0; c < 3; ++c)
                row[c] = counts[c] * slope[c] + offset[c];
            rows.push_back(row);
        }
        return rows;
    }

private slots:
    void calibratesThenRecordsTheAppliedValues_data() {
        QTest::addColumn<bool>("network");
        QTest::newRow("CSimLink") << false;
        QTest::newRow("zt300sim") << true;
    }

    void calibratesThenRecordsTheAppliedValues() {
        QFETCH(bool, network);
        CTempFolder folder(network ? "cal-e2e-net" : "cal-e2e-sim");
        const std::uint16_t port = network ? FreePort() : 0;
        std::unique_ptr<CSimProcess> simulator;
        std::unique_ptr<ILinkLibrary> link;
        if (network) {
            simulator = std::make_unique<CSimProcess>(port, kConfig);
            QCOMPARE(simulator->FirstLine(10000), std::string("ready"));
            link = std::make_unique<CNetLink>(port);
        } else {
            std::string error;
            link = CSimLink::FromConfigFile(kConfig, error, &m_clock);
            QVERIFY2(link, error.c_str());
        }
        CZT300SetDoc doc(DocServices{*link, m_prompt, m_clock, m_settings, folder.Path() + "/"});
        QVERIFY(doc.OnOpenDocument("127_0_0_2_ZT-300"));
        CRecCnd& unit = doc.GetConditions()[0];
        unit.m_hddRecFolder = folder.Path();
        unit.m_hddRecFileExt = 1;
        unit.m_channels[2].SetRange("500mV");
        doc.ConditionEdited(0); // sent to the recorder by the pre-start check
        doc.UpdateNextRecordName();
        doc.SetMessageTarget(&m_queue);
        CZT300SetView view;
        view.SetConditions(&doc.GetConditions(), 0, &m_settings);
        doc.AddView(&view);

        ApplyInputs(doc.GetDevice(0), kCal1);
        Calibrate(doc, view, Col::kCalVal1);
        ExpectPoints(doc, view, Col::kCalVal1, kCal1);
        ApplyInputs(doc.GetDevice(0), kCal2);
        Calibrate(doc, view, Col::kCalVal2);
        ExpectPoints(doc, view, Col::kCalVal2, kCal2);
        QVERIFY(doc.IsModified());

        // The physical values of the two points are the inputs themselves.
        for (std::size_t c = 0; c < 3; ++c) {
            unit.m_channels[c].m_phy1 = kCal1[c].value;
            unit.m_channels[c].m_phy0 = kCal2[c].value;
        }
        ApplyInputs(doc.GetDevice(0), kRecorded);
        const std::vector<std::array<double, 3>> rows = Record(doc, folder.Path());
        QVERIFY(rows.size() > 100);
        for (const std::array<double, 3>& row : rows) {
            for (std::size_t c = 0; c < 3; ++c) {
                const double count = unit.m_channels[c].GetUnitPerCount();
                QVERIFY2(std::fabs(row[c] - kRecorded[c].value) <= count,
                         qPrintable(QStringLiteral("channel %1: %2").arg(c).arg(row[c])));
            }
        }
        // The only box: the pre-start check of the first calibration sending the new range.
        QCOMPARE(m_prompt.MessageTexts().size(), std::size_t{1});
        QVERIFY(m_prompt.MessageTexts()[0].starts_with("The recording condition may be modified."));
        m_prompt.Clear();
        doc.RemoveView(&view);
    }
};

QTEST_MAIN(CalibrationEndToEndTest)
#include "CalibrationEndToEndTest.moc"
