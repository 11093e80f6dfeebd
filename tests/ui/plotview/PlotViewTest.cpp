#include "records/TraceWindow.h"
#include "ui/plotview/ChannelListModel.h"
#include "ui/plotview/CursorTableModel.h"
#include "ui/plotview/PlotViewWindow.h"
#include "ui/plotview/TraceView.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kFixture = QStringLiteral(ZT300_TEST_DATA_DIR "/records/plotview/");

// The cursor readout as lines "name | C1 | C2 | C2 - C1".
QStringList Readout(const CCursorTableModel& model) {
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        lines << cells.join(QStringLiteral(" | "));
    }
    return lines;
}

void WaitForOverview(const CPlotViewWindow& window) {
    QTRY_VERIFY_WITH_TIMEOUT(window.IsOverviewComplete(), 10000);
}

// How many pixels of the image have this colour.
int CountPixels(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    }
    return count;
}

} // namespace

class PlotViewTest : public QObject {
    Q_OBJECT

private slots:
    void opensARecordWithItsChannelsMarksAndCursorValues();
    void aRecordNotFinishedSaysSoAndAFailedOpenKeepsTheOpenOne();
    void zoomPanSelectionAndHiddenChannelsReachTheView();
    void writesAPdfOfTheView();
};

void PlotViewTest::opensARecordWithItsChannelsMarksAndCursorValues() {
    CPlotViewWindow window;
    window.resize(1200, 800);
    window.show();
    QString error;
    QVERIFY(window.OpenRecord(kFixture + "Small_00001.hdr", &error));
    QCOMPARE(error, QString());
    WaitForOverview(window);
    QCOMPARE(window.windowTitle(), QStringLiteral("Small_00001 - plotview"));
    QCOMPARE(window.GetNotesText(), QString());
    const CChannelListModel& channels = window.GetChannels();
    QCOMPARE(channels.rowCount(), 4);
    QCOMPARE(channels.index(1, CChannelListModel::kName).data().toString(),
             QStringLiteral("(M)1-13"));
    QCOMPARE(channels.index(3, CChannelListModel::kUnit).data().toString(), QStringLiteral("uST"));
    QCOMPARE(channels.index(0, CChannelListModel::kName).data(Qt::CheckStateRole).toInt(),
             static_cast<int>(Qt::Checked));

    // The cursors on rows 1 and 3 read those rows' physical values.
    CTraceView& view = window.GetTraceView();
    view.SetCursor(0, 1.2);
    view.SetCursor(1, 2.9);
    QCOMPARE(Readout(window.GetCursorTable()),
             (QStringList{"(M)Load | 0.3 | 13.0068 | 12.7068",
                          "(M)1-13 | -0.0004 | 858993.4588 | 858993.4592",
                          "(M)Sum, avg | 100 | 0.004 | -99.996",
                          "(S)3-5 | -0.08 | -2621.44 | -2621.36"}));
    QCOMPARE(window.GetCursorTimesText(),
             QStringLiteral("C1 -0.01 s    C2 0.01 s    \u0394t 0.02 s    1/\u0394t 50 Hz"));
    view.SetWallClock(true);
    QCOMPARE(view.TimeText(2.0), QStringLiteral("2026-03-07 09:05:04.00"));
    view.SetCursorsShown(false);
    QCOMPARE(window.GetCursorTable().rowCount(), 0);
}

void PlotViewTest::aRecordNotFinishedSaysSoAndAFailedOpenKeepsTheOpenOne() {
    QTemporaryDir folder;
    QVERIFY(QFile::copy(kFixture + "Small_00001.hdr", folder.filePath("Small_00001.hdr.part")));
    QVERIFY(QFile::copy(kFixture + "Small_00001.dat", folder.filePath("Small_00001.dat")));
    QFile data(folder.filePath("Small_00001.dat"));
    QVERIFY(data.open(QIODevice::Append));
    data.write("\x01\x02\x03", 3); // half a row
    data.close();

    CPlotViewWindow window;
    QVERIFY(window.OpenRecord(folder.filePath("Small_00001.dat")));
    QCOMPARE(window.windowTitle(), QStringLiteral("Small_00001 - plotview (not finished)"));
    QCOMPARE(window.GetNotesText(),
             QStringLiteral(
                 "The record is not finished (still being recorded, or stopped before its end): it "
                 "was read from its provisional header Small_00001.hdr.part and shows "
                 "the 5 whole rows on the disk.<br>Small_00001.dat ends in part of a "
                 "row: its last 3 bytes are left out."));
    QCOMPARE(window.GetRecord()->GetRowCount(), std::uint64_t{5});

    QString error;
    QVERIFY(!window.OpenRecord(folder.filePath("Other.hdr"), &error));
    QCOMPARE(error, folder.filePath("Other.hdr") + " : Header File not exist!");
    QVERIFY(window.GetRecord() != nullptr);
    QCOMPARE(window.windowTitle(), QStringLiteral("Small_00001 - plotview (not finished)"));
}

void PlotViewTest::zoomPanSelectionAndHiddenChannelsReachTheView() {
    CPlotViewWindow window;
    window.resize(1200, 800);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.OpenRecord(kFixture + "Small_00001.hdr"));
    WaitForOverview(window);
    CTraceView& view = window.GetTraceView();
    // Five rows are fewer than the zoom limit allows: the whole record is at most zoomed in.
    QVERIFY(view.GetWindow().ShowsAll());

    // A drag with the right button over the middle of the traces zooms to that time: the limit.
    const int y = view.height() / 2;
    const QPoint from(view.width() / 3, y);
    const QPoint to(view.width() / 2, y);
    QTest::mousePress(&view, Qt::RightButton, Qt::NoModifier, from);
    QTest::mouseMove(&view, to);
    QTest::mouseRelease(&view, Qt::RightButton, Qt::NoModifier, to);
    QCOMPARE(view.GetWindow().GetRowsPerPixel(), 1.0 / CTraceWindow::kMaxPixelsPerRow);

    // Hidden channels are not drawn: (M)Load's colour disappears from the picture.
    view.ShowAll();
    const QColor load = window.GetChannels().GetColour(0);
    QVERIFY(CountPixels(view.grab().toImage(), load) > 20);
    window.GetChannels().setData(window.GetChannels().index(0, CChannelListModel::kName),
                                 Qt::Unchecked, Qt::CheckStateRole);
    QCOMPARE(window.GetChannels().GetShownChannels(), (std::vector<std::size_t>{1, 2, 3}));
    QCOMPARE(CountPixels(view.grab().toImage(), load), 0);
    view.grab().save(QDir::temp().filePath(QStringLiteral("plotview-test.png")));
}

void PlotViewTest::writesAPdfOfTheView() {
    QTemporaryDir folder;
    CPlotViewWindow window;
    QCOMPARE(window.WritePdf(folder.filePath("none.pdf")), QStringLiteral("No record is open."));
    QVERIFY(window.OpenRecord(kFixture + "Small_00001.hdr"));
    WaitForOverview(window);
    window.GetTraceView().SetCursorsShown(true);
    QCOMPARE(window.WritePdf(folder.filePath("view.pdf")), QString());
    QFile pdf(folder.filePath("view.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QVERIFY(pdf.size() > 2000);
}

QTEST_MAIN(PlotViewTest)
#include "PlotViewTest.moc"
