// The monitor's charts and digit lists on a running acquisition of simulated recorders, driven
// message by message as the monitor window would.
#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/UpdateHints.h"
#include "monitor/ChannelLimits.h"
#include "monitor/MyCommonWaveChInfo.h"
#include "monitor/UpdateDataInfo.h"
#include "support/FakePrompt.h"
#include "support/MessageQueue.h"
#include "ui/grid/GridCtrl.h"
#include "ui/monitor/MoniChartView.h"
#include "ui/monitor/MoniCommonDigitListView.h"
#include "ui/monitor/MoniCommonView.h"
#include "ui/monitor/MoniDigitListView.h"

#include <QElapsedTimer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"

#include <array>
#include <thread>

namespace {

// Slot 1: a sawtooth, a square wave of +-6000 counts (half period 60 samples), a sine, a sawtooth.
constexpr const char* kConfig = R"(RECORDER ZT-300 127.0.0.2
SYNC SINGLE
RATE 1kHz
SLOT 1 PN=QA-80VA TY=2 NCH=4 RV=10,5 CF=OFF ON=1-4
)";
constexpr int kSquare = 1;

class CMonitorRun {
public:
    CMonitorRun(CRecorderSettings& settings, const QString& folder) {
        std::string error;
        m_link = CSimLink::FromConfigText(kConfig, error, &m_clock);
        m_doc = std::make_unique<CZT300SetDoc>(
            DocServices{*m_link, m_prompt, m_clock, settings, folder.toStdString() + "/"});
        if (!m_doc->OnOpenDocument("127_0_0_2_ZT-300")) {
            m_doc.reset();
            return;
        }
        m_doc->GetConditions()[0].m_hddRecFolder = folder.toStdString();
    }
    ~CMonitorRun() {
        if (m_doc)
            m_doc->StopArmed(false);
    }
    CZT300SetDoc& Doc() { return *m_doc; }
    CChCnd& Channel(int i) { return m_doc->GetConditions()[0].m_channels[std::size_t(i)]; }
    // Shows the channels marked 1 in the chart, hides the others.
    void Show(const std::array<int, 4>& visible) {
        for (int c = 0; c < 4; ++c)
            Channel(c).m_visible = visible[std::size_t(c)];
    }
    bool Arm() {
        m_doc->SetMessageTarget(&m_queue);
        return m_doc->Arm(false);
    }
    // Hands the run's messages to the document for `ms`, as the monitor window would.
    void Pump(int ms) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
            for (const auto& message : m_queue.Drain())
                m_doc->OnThreadMessage(message.id, message.wparam, message.lparam);
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

private:
    CSystemClock m_clock;
    CFakePrompt m_prompt;
    CMessageQueue m_queue;
    std::unique_ptr<CSimLink> m_link;
    std::unique_ptr<CZT300SetDoc> m_doc;
};

QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

QRgb Rgb(std::uint32_t colour) {
    return qRgb(ChartColour::Red(colour), ChartColour::Green(colour), ChartColour::Blue(colour)) &
           0xFFFFFF;
}

} // namespace

class MonitorChartsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CRecorderSettings m_settings;

private slots:
    void init() { m_settings = CRecorderSettings(); }

    void commonChartDrawsTheEnvelopeWhereTheTransformSays() {
        CMonitorRun run(m_settings, m_dir.path());
        run.Show({1, 1, 0, 0}); // up to the square wave
        CMoniCommonView view(run.Doc(), m_settings);
        view.resize(900, 500);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.GetChannels().size(), std::size_t(4));
        QCOMPARE(view.GetTimeEnd(), 10.0);
        QVERIFY2(!view.CanAutoScale(), "nothing in the ring yet");

        QVERIFY(run.Arm());
        run.Pump(1500);
        const CCpsRingBuf* ring = run.Doc().GetDisplayRing();
        QVERIFY(ring->NewestRel() > 50);
        // The ring holds the simulator's square wave: every extreme is one of its two levels.
        const double high = run.Channel(kSquare).CountToPhys(6000);
        const double low = run.Channel(kSquare).CountToPhys(-6000);
        QVERIFY(high - low > 4.0);
        auto isLevel = [&](double v) { return qFuzzyCompare(v, high) || qFuzzyCompare(v, low); };
        for (int r = 0; r <= ring->NewestRel(); ++r) {
            const CpsEntry& entry = ring->GetPoint(r)[kSquare];
            QVERIFY(isLevel(entry.minimum));
            QVERIFY(isLevel(entry.maximum));
        }

        QVERIFY(view.CanAutoScale());
        view.BandAutoScale(true);
        const CCommonWaveChInfo& square = *view.GetChannels()[kSquare];
        QCOMPARE(square.GetY(), std::int16_t(18)); // two bands of 12 divisions
        QCOMPARE(square.GetUnitsPerDivision(), 0.5);
        QImage picture;
        view.RenderTo(picture);
        const CGrp& grp = square.Transform();
        const QRgb colour = Rgb(square.GetColor());
        int flat = 0;
        // Whether the points around r (all that can share its pixel column or join it) sit on
        // one level.
        auto flatAround = [&](int r) {
            for (int k = r - 3; k <= r + 3; ++k) {
                const CpsEntry& e = ring->GetPoint(k)[kSquare];
                if (e.minimum != e.maximum || e.maximum != ring->GetPoint(r)[kSquare].maximum)
                    return false;
            }
            return true;
        };
        for (int r = 3; r + 3 <= ring->NewestRel(); ++r) {
            const CpsEntry& entry = ring->GetPoint(r)[kSquare];
            const int x = grp.X(ring->TimeOf(r));
            QCOMPARE(At(picture, x, grp.Y(entry.maximum)), colour);
            QCOMPARE(At(picture, x, grp.Y(entry.minimum)), colour);
            if (flatAround(r)) {
                // A flat stretch is one pixel high: nothing at the middle of the band.
                QVERIFY(At(picture, x, grp.Y((high + low) / 2)) != colour);
                ++flat;
            }
        }
        QVERIFY(flat > 10);
        // The other visible channel lies in the lower band, the hidden ones nowhere.
        QCOMPARE(view.GetChannels()[0]->GetY(), std::int16_t(6));
        QVERIFY(view.GetChannels()[2]->GetBand().IsEmpty());

        // Hint 4 takes the chart width from the settings, hint 11 the divisions.
        m_settings.m_xWidth = 30;
        m_settings.m_xGrid = 5.0;
        m_settings.m_yGridCnt = 20;
        run.Doc().UpdateAllViews(nullptr, UpdateHint::kChartWidthChanged);
        QCOMPARE(view.GetTimeEnd() - view.GetTimeStart(), 30.0);
        QCOMPARE(view.GetTimeGrid(), 5.0);
        QCOMPARE(view.GetDivisions(), 20);
        QCOMPARE(view.TimeFormat().GetDigits(), 0);
    }

    void commonChartScrollsByTheMinimumStepAndSelectsWithTab() {
        m_settings.m_xWidth = 1; // the data pass the right edge after a second
        m_settings.m_xGrid = 0.2;
        CMonitorRun run(m_settings, m_dir.path());
        run.Show({1, 1, 1, 1});
        CMoniCommonView view(run.Doc(), m_settings);
        view.resize(700, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.TimeFormat().GetDigits(), 1);
        QVERIFY(run.Arm());
        run.Pump(2500);
        QVERIFY2(view.GetTimeStart() > 0.5, qPrintable(QString::number(view.GetTimeStart())));
        const CCpsRingBuf* ring = run.Doc().GetDisplayRing();
        QVERIFY(ring->TimeOf(ring->NewestRel()) <= view.GetTimeEnd() + 1e-9);

        // An update with no new point beyond the edge draws in place; one just beyond scrolls.
        CUpdateDataInfo info(ring->NewestRel(), 0);
        view.repaint();
        QCOMPARE(view.OnNewData(&info), LiveStep::Action::DrawNew);

        // Tab walks up the divisions; past the top the selection stays.
        view.SelectChannel(0);
        std::vector<int> order{0};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(&view, Qt::Key_Tab);
            order.push_back(view.GetSelected());
        }
        QCOMPARE(order, (std::vector<int>{0, 1, 2, 3, 3, 3}));
        QTest::keyClick(&view, Qt::Key_Backtab);
        QCOMPARE(view.GetSelected(), 2);

        // Cursors move with the arrows and read the selected channel.
        view.Cursors().ShowCursors(true);
        const int before = view.Cursors().GetCursor(0);
        QTest::keyClick(&view, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(view.Cursors().GetCursor(0), before + 10);

        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath("chart.pdf"));
        view.Print(printer);
        QVERIFY(QFileInfo(m_dir.filePath("chart.pdf")).size() > 1000);
    }

    void separateChartsFollowTheRunAndTheirScales() {
        m_settings.m_xWidth = 1;
        m_settings.m_xGrid = 0.2;
        CMonitorRun run(m_settings, m_dir.path());
        run.Show({1, 1, 1, 0});
        CMoniChartView view(run.Doc(), m_settings, nullptr);
        view.resize(800, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.GetGroups().size(), std::size_t(4));
        QVERIFY(view.HasVisibleChannel());
        QVERIFY(!view.CanAutoScale());
        QVERIFY(run.Arm());
        run.Pump(2500);
        QVERIFY2(view.GetTimeStart() > 0.5, "the panels scrolled");
        view.repaint();

        // The newest points of the square wave lie in its panel where its transform puts them.
        const CGrpChInfo& square = view.GetGroups()[kSquare];
        QCOMPARE(square.GetPanel().top, 201); // three panels, one column, 200 pixels each
        const CCpsRingBuf* ring = run.Doc().GetDisplayRing();
        const QImage& picture = view.Picture();
        int checked = 0;
        for (int r = ring->NewestRel(); r > ring->NewestRel() - 20; --r) {
            const int x = square.Transform().X(ring->TimeOf(r));
            if (x >= square.GetPlot().right)
                continue;
            const CpsEntry& entry = ring->GetPoint(r)[kSquare];
            QCOMPARE(At(picture, x, square.Transform().Y(entry.maximum)),
                     qRgb(255, 255, 0) & 0xFFFFFF);
            ++checked;
        }
        QVERIFY(checked > 10);

        // Auto-scale fits the ring; Offset moves by half the span; Reset takes the range scale.
        QVERIFY(view.CanAutoScale());
        view.AutoScale();
        QVERIFY(qFuzzyCompare(run.Channel(kSquare).m_sepChart.m_max,
                              run.Channel(kSquare).CountToPhys(6000)));
        const CScale fitted = run.Channel(kSquare).m_sepChart;
        view.Offset();
        QVERIFY(view.IsOffset());
        QCOMPARE(run.Channel(kSquare).m_sepChart.m_min,
                 fitted.m_min + (fitted.m_max - fitted.m_min) / 2);
        view.ResetScale();
        QCOMPARE(run.Channel(kSquare).m_sepChart, run.Channel(kSquare).GetChartScale());

        // Double clicks zoom the panel's scale and toggle its value box.
        const CScale before = run.Channel(kSquare).m_sepChart;
        const QPoint inPlot((square.GetPlot().left + square.GetPlot().right) / 2,
                            square.GetPlot().top + 5);
        QTest::mouseDClick(&view, Qt::LeftButton, {}, inPlot);
        QCOMPARE(run.Channel(kSquare).m_sepChart.m_max - run.Channel(kSquare).m_sepChart.m_min,
                 (before.m_max - before.m_min) / 2);
        const QPoint inValues(square.GetValueRect().left + 3, square.GetValueRect().bottom - 3);
        QTest::mouseDClick(&view, Qt::LeftButton, {}, inValues);
        QCOMPARE(run.Channel(kSquare).m_valueBox, 1);

        // Digit panels show the max/min values; a right click cycles the panel's style.
        view.SetDisplayType(CMoniChartView::kDigit);
        QCOMPARE(view.OnNewData(nullptr), LiveStep::Action::Page);
        QTest::mouseClick(&view, Qt::RightButton, {},
                          QPoint(inPlot.x(), square.GetPanel().bottom - 10));
        QCOMPARE(view.GetGroups()[kSquare].GetStyle(), std::int16_t(1));
        QImage digits;
        view.RenderTo(digits);
        QVERIFY(digits.pixelColor(square.GetPanel().left + 1, square.GetPanel().top + 1) ==
                QColor(Qt::black));
    }

    void digitListsShowValuesLimitsAndPlacement() {
        CMonitorRun run(m_settings, m_dir.path());
        run.Channel(kSquare).m_mat = {"Steel", "S1", "1.0", ""}; // upper limit exceeded
        run.Channel(2).m_mat = {"", "", "30", "-30"};            // both respected
        const CMatLimits limits;
        CMoniDigitListView list(run.Doc(), m_settings, &limits);
        CMoniCommonDigitListView common(run.Doc(), m_settings, &limits);
        CGridModel& model = list.Grid().Model();
        QCOMPARE(list.RowCount(), 4);
        QCOMPARE(model.Cell(0, 2).text, QStringLiteral("MIN"));
        QCOMPARE(model.Cell(1, 0).text, QStringLiteral("1-1(Ch10)"));
        QCOMPARE(model.Cell(1, 4).text, QStringLiteral("V"));
        QVERIFY(run.Arm());
        QCOMPARE(model.Cell(1, 2).text, QStringLiteral("-")); // "no data yet"
        run.Pump(1200);
        QTRY_VERIFY_WITH_TIMEOUT(model.Cell(2, 2).text != QStringLiteral("-"), kSlowMs);
        QCOMPARE(model.Cell(2, 3).textColour, QColor(255, 0, 0));
        QVERIFY2(model.Cell(2, 1).text.endsWith(QLatin1Char(')')), "with the raw reading");
        QCOMPARE(model.Cell(3, 3).textColour, QColor(0, 160, 0));
        QVERIFY2(!model.Cell(1, 3).textColour.isValid(), "no limits: the default colour");
        CGridModel& placement = common.Grid().Model();
        QVERIFY(!placement.Cell(2, CMoniCommonDigitListView::kValue).text.contains('('));

        // Ctrl+click on Name: checked rows first, then the next click by number alone.
        run.Show({0, 0, 0, 1});
        list.OnHeaderClicked(0, Qt::ControlModifier);
        QCOMPARE(list.RowChannel(1).index, 3);
        list.OnHeaderClicked(0, Qt::ControlModifier);
        QCOMPARE(list.RowChannel(1).index, 0);
        list.OnHeaderClicked(0, Qt::NoModifier);
        QCOMPARE(list.RowChannel(1).index, 0); // "without Ctrl the header only selects"

        // A ticked box shows the channel in the chart and tells the other views.
        QVERIFY(model.setData(model.IndexOf(1, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(run.Channel(0).m_visible, 1);
        QVERIFY2(placement.Cell(1, 0).checked, "the other list re-read its boxes");

        // Placement edits: an out-of-range division leaves the channel where it was.
        const auto gridNo = [&](const QString& text) {
            return placement.setData(placement.IndexOf(1, CMoniCommonDigitListView::kGridNo), text,
                                     Qt::EditRole);
        };
        gridNo(QStringLiteral("12"));
        QCOMPARE(run.Channel(0).m_gridCentreDiv, std::int16_t(12));
        gridNo(QStringLiteral("64"));
        QCOMPARE(run.Channel(0).m_gridCentreDiv, std::int16_t(12));
        QCOMPARE(placement.Cell(1, CMoniCommonDigitListView::kGridNo).text, QStringLiteral("12"));
        placement.setData(placement.IndexOf(1, CMoniCommonDigitListView::kDiv),
                          QStringLiteral("-1"), Qt::EditRole);
        QCOMPARE(placement.Cell(1, CMoniCommonDigitListView::kDiv).text, QStringLiteral("1.000"));
        placement.setData(placement.IndexOf(1, CMoniCommonDigitListView::kZeroP),
                          QStringLiteral("2.5"), Qt::EditRole);
        QCOMPARE(run.Channel(0).m_gridCentreValue, 2.5);
        QCOMPARE(placement.Cell(1, CMoniCommonDigitListView::kZeroP).text, QStringLiteral("2.500"));
        common.SetColourChooser([](const QColor&) { return QColor(10, 20, 30); });
        emit common.Grid().cellClicked(1, CMoniCommonDigitListView::kColour);
        QCOMPARE(run.Channel(0).m_gridColour, ChartColour::Rgb(10, 20, 30));
        QCOMPARE(placement.Cell(1, CMoniCommonDigitListView::kColour).colour, QColor(10, 20, 30));

        // Ctrl+click on MIN starts the chart ranges again.
        QVERIFY(run.Doc().GetDisplayRing()->GetRange(0).maximum >= 0.0 ||
                run.Doc().GetDisplayRing()->GetRange(0).minimum <= 0.0);
        list.OnHeaderClicked(2, Qt::ControlModifier);
        QCOMPARE(run.Doc().GetDisplayRing()->GetRange(0).maximum, CCpsRingBuf::kEmptyRange.maximum);
    }
};

QTEST_MAIN(MonitorChartsTest)
#include "MonitorChartsTest.moc"
