// The "CANK XCP Status" window on an in-process simulated recorder with two K modules: the
// lines it polls, where it draws them, and its picture.
// The simulated recorder's headers use the words Qt takes for its keywords: they come first.
#include "device/Device.h"
#include "device/sim/SimLink.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"

#include "ui/can/XcpStatusDlg.h"

#include <QPushButton>
#include <QtTest>

#include "UiTestSupport.h"

namespace {

const char* const kConfig = R"(
RECORDER ZT-300 127.0.0.2
SLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10 CF=OFF
SLOT 2 PN=QA-80CAN-K TY=10 NCH=56
SLOT 6 PN=QA-80CAN-K TY=10 NCH=56
SLOT 7 PN=QA-80CAN-G TY=11 NCH=56 ACK=OFF,0
)";

// The first and last rows and the first column that hold a drawn pixel.
struct Ink {
    int top = -1;
    int bottom = -1;
    int left = -1;
};

Ink FindInk(const QImage& image, int fromRow, int toRow) {
    const QColor background = image.pixelColor(0, 0);
    Ink ink;
    for (int y = fromRow; y < toRow && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == background)
                continue;
            ink.top = ink.top < 0 ? y : ink.top;
            ink.bottom = y;
            ink.left = ink.left < 0 ? x : std::min(ink.left, x);
        }
    }
    return ink;
}

} // namespace

class XcpStatusDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_device.reset(); // before the link it uses
        std::string error;
        m_link = CSimLink::FromConfigText(kConfig, error, &m_clock);
        QVERIFY2(m_link, error.c_str());
        m_device = std::make_unique<CDevice>(*m_link, m_prompt, m_clock);
        QVERIFY(m_device->Open("127.0.0.2"));
        QVERIFY(m_device->ReadModules());
    }

    void pollsEveryKModuleAndDrawsItsLine() {
        QVERIFY(m_device->SetXcpSwitch(6, true));
        QVERIFY(m_device->WriteXcpProcedure(6, {"1 CONNECT x 0"}));
        QVERIFY(m_device->SendXcp(6));

        CXcpStatusDlg dialog(*m_device);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("CANK XCP Status"));
        QCOMPARE(dialog.CloseButton()->text(), QStringLiteral("Close"));
        dialog.show();
        QVERIFY(dialog.IsPolling());
        QTRY_COMPARE_WITH_TIMEOUT(
            dialog.GetLines(),
            (QStringList{QStringLiteral("Slot2 CAN_K  ---  0 Non XCP "),
                         QStringLiteral("Slot6 CAN_K  ---  3 XCP\u3000Send completely ")}),
            kSlowMs);
        // The next poll shows what the module says now.
        QVERIFY(m_device->SetXcpSwitch(2, true));
        QTRY_COMPARE_WITH_TIMEOUT(dialog.GetLines().first(),
                                  QStringLiteral("Slot2 CAN_K  ---  1 XCP\u3000time out "), 3000);

        // Five character widths in, the first line one text height down, the next two further.
        dialog.resize(dialog.sizeHint());
        QVERIFY(SaveShot(dialog, "zt300_xcp_status.png"));
        const QImage picture = dialog.LinesArea()->grab().toImage();
        const QFontMetrics metrics = dialog.LinesArea()->fontMetrics();
        const int height = metrics.height();
        const Ink first = FindInk(picture, 0, 2 * height);
        const Ink second = FindInk(picture, 2 * height, 4 * height);
        QVERIFY(first.top >= height && first.bottom < 2 * height);
        QCOMPARE(second.top - first.top, 2 * height);
        const int indent = 5 * metrics.averageCharWidth();
        QVERIFY2(first.left >= indent && first.left <= indent + 2,
                 qPrintable(QStringLiteral("%1 / %2").arg(first.left).arg(indent)));
        QVERIFY(FindInk(picture, 4 * height, picture.height()).top < 0); // two modules, two lines

        // A lost recorder shows the failed query's number.
        m_device->Close();
        dialog.Poll();
        QCOMPARE(dialog.GetLines().last(), QStringLiteral("Slot6 CAN_K  ---  65535 "));
        QTest::mouseClick(dialog.CloseButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.IsPolling());
    }

private:
    CManualClock m_clock;
    CFakePrompt m_prompt;
    std::unique_ptr<CSimLink> m_link;
    std::unique_ptr<CDevice> m_device;
};

QTEST_MAIN(XcpStatusDlgTest)
#include "XcpStatusDlgTest.moc"
