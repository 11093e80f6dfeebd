// The CAN setting dialogs' widgets on an in-process simulated recorder: what each control shows
// and enables, marked rows, the commands through the buttons, and pictures of both dialogs.
// The simulated recorder's headers use the words Qt takes for its keywords: they come first.
#include "device/Device.h"
#include "device/sim/SimLink.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "support/MemorySettingsStore.h"

#include "ui/can/CANSetDlg.h"
#include "ui/can/CanSignalModel.h"
#include "ui/can/CanText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

#include "UiTestSupport.h"

namespace {

using Kind = CCanSetup::Kind;

const char* const kConfig = R"(
RECORDER ZT-300 127.0.0.2
SLOT 2 PN=QA-80CAN-K TY=10 NCH=56
CANSIG 2 256,,8,1,1,16,1,0.100,0.000,EngineSpeed,rpm,1
CANSIG 2 512,,8,1,1,32,1,0.001,0.000,Distance,m,2
SLOT 7 PN=QA-80CAN-G TY=11 NCH=56 ACK=ON,500
CANSIG 7 768,-1,8,0,1,16,1,0.5,1.5,WheelSpeed,km/h,0
CANSIG 7 769,-1,8,0,1,32,1,1.0,0.0,Pressure,kPa,4
)";

QString Fixture(const char* name) {
    return QStringLiteral(ZT300_TEST_DATA_DIR "/can/") + QString::fromLatin1(name);
}

// The ticked rows, or -1 when the rows carry no check box.
int Checked(const QTableView* list) {
    int ticked = 0;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QVariant state = model->index(row, 0).data(Qt::CheckStateRole);
        if (!state.isValid())
            return -1;
        ticked += state.toInt() == Qt::Checked ? 1 : 0;
    }
    return ticked;
}

QStringList TabTexts(const QTabBar* tabs) {
    QStringList texts;
    for (int tab = 0; tab < tabs->count(); ++tab)
        texts << tabs->tabText(tab);
    return texts;
}

void ClickTab(QTabBar* tabs, int tab) {
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
}

} // namespace

class CanSetDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_device.reset(); // before the link it uses
        std::string error;
        m_link = CSimLink::FromConfigText(kConfig, error, &m_clock);
        QVERIFY2(m_link, error.c_str());
        m_device = std::make_unique<CDevice>(*m_link, m_prompt, m_clock);
        m_device->SetDeviceName("ZT-300");
        QVERIFY(m_device->Open("127.0.0.2"));
        QVERIFY(m_device->ReadModules());
        m_prompt.Clear();
        m_store.m_values.clear();
    }

    void kDialogShowsTheModuleThenPagesWithMarks() {
        m_store.WriteString("CCANSetDlg_Section", "DBC_File", Fixture("basic.dbc").toStdString());
        CCANSetDlg dialog(CCanSetup::Create(Kind::K, m_device.get(), m_prompt, m_store));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("QA-80CAN-K Setting"));
        QCOMPARE(dialog.SlotList()->count(), 1);
        QCOMPARE(dialog.SlotList()->currentText(), QStringLiteral("2"));
        QVERIFY(dialog.SlotList()->isEnabled());
        QCOMPARE(dialog.SwitchBox()->text(), QStringLiteral("XCP-SW"));
        QCOMPARE(dialog.Caption()->text(), QStringLiteral("DB Data at SlotNo_2"));
        QCOMPARE(Column(dialog.List(), 11), (QStringList{"EngineSpeed", "Distance"}));
        QCOMPARE(Checked(dialog.List()), -1); // no check boxes
        QCOMPARE(dialog.PageWords()->text(), QStringLiteral("3"));
        QCOMPARE(TabTexts(dialog.Tabs()), (QStringList{"basic.dbc", " ( Empty ) "}));
        QVERIFY(!dialog.CheckAllButton()->isEnabled()); // the module's list has no selection
        QVERIFY(dialog.DbcSourceButton()->isChecked());
        QVERIFY(!dialog.DcdSourceButton()->isEnabled());

        // A new page on the empty tab; its marked rows are coloured and explained.
        ClickTab(dialog.Tabs(), 1);
        QCOMPARE(dialog.List()->model()->rowCount(), 0);
        QVERIFY(!dialog.DeleteButton()->isEnabled());
        dialog.LoadDbcFile(Fixture("exactness.dbc"));
        QCOMPARE(TabTexts(dialog.Tabs()),
                 (QStringList{"basic.dbc", "exactness.dbc", " ( Empty ) "}));
        QCOMPARE(dialog.Tabs()->currentIndex(), 1);
        QCOMPARE(dialog.Caption()->text(), QStringLiteral("CRO:   DTO: "));
        QVERIFY(dialog.LeftOut()->isHidden());
        const QModelIndex fine = dialog.List()->model()->index(0, 3);
        QCOMPARE(fine.data(Qt::BackgroundRole).value<QColor>(), CCanSignalModel::kMarkedBackground);
        QCOMPARE(fine.data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Factor 0.000127465 is sent as 0.000"));
        QVERIFY(!dialog.List()->model()->index(2, 3).data(Qt::BackgroundRole).isValid());
        QCOMPARE(dialog.List()->model()->index(0, 8).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));

        QVERIFY(dialog.CheckAllButton()->isEnabled());
        QVERIFY(!dialog.UncheckAllButton()->isEnabled());
        QTest::mouseClick(dialog.CheckAllButton(), Qt::LeftButton);
        QCOMPARE(Checked(dialog.List()), 4);
        QVERIFY(!dialog.CheckAllButton()->isEnabled());
        QVERIFY(dialog.UncheckAllButton()->isEnabled());
        QCOMPARE(dialog.SelectedSignals()->text(), QStringLiteral("4"));
        // Ticking a marked row by hand is allowed; the counts follow at once.
        QAbstractItemModel* model = dialog.List()->model();
        QVERIFY(model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(dialog.SelectedSignals()->text(), QStringLiteral("5"));
        dialog.resize(dialog.sizeHint());
        QVERIFY(SaveShot(dialog, "zt300_can_k_setting.png"));

        // The header sorts; a second click reverses.
        QHeaderView* header = dialog.List()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(11) + 5, 5));
        QCOMPARE(Column(dialog.List(), 11).first(), QStringLiteral("Eighth"));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(11) + 5, 5));
        QCOMPARE(Column(dialog.List(), 11).first(), QStringLiteral("Tiny"));
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        dialog.SearchEdit()->setText(QStringLiteral("moto"));
        dialog.Search(true);
        QCOMPARE(dialog.List()->currentIndex().data().toString(), QStringLiteral("Ch7"));

        // Send DB asks about the marked signal, then shows what the module holds.
        QTest::mouseClick(dialog.SendDbButton(), Qt::LeftButton);
        QCOMPARE(m_prompt.MessageTexts().back(), std::string("Writing CAN DB OK!"));
        QCOMPARE(dialog.Caption()->text(), QStringLiteral("DB Data at SlotNo_2"));
        QCOMPARE(dialog.List()->model()->rowCount(), 5);
        QCOMPARE(dialog.SelectedWords()->text(), QStringLiteral("5"));

        // Delete brings the empty tab back.
        ClickTab(dialog.Tabs(), 0);
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
        QCOMPARE(TabTexts(dialog.Tabs()), (QStringList{"exactness.dbc", " ( Empty ) "}));

        m_prompt.QueueAnswer(PromptAnswer::Cancel);
        dialog.reject(); // no XCP sent: the question keeps the dialog
        QCOMPARE(m_prompt.MessageTexts().back(), std::string("XCP has not been sent.  Quit OK?"));
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(m_store.GetString("CCANSetDlg_Section", "DBC_File", "?"),
                 Fixture("basic.dbc").toStdString()); // not written while the dialog stays
        dialog.reject();
        QCOMPARE(m_store.GetString("CCANSetDlg_Section", "DBC_File", "?"),
                 Fixture("exactness.dbc").toStdString());
    }

    void gDialogOnFilesAloneAndOnTheModule() {
        CCANSetDlg alone(CCanSetup::Create(Kind::G, nullptr, m_prompt, m_store));
        QCOMPARE(alone.windowTitle(), QStringLiteral("QA-80CAN-G Setting"));
        QCOMPARE(alone.SwitchBox()->text(), QStringLiteral("ACK ON"));
        QVERIFY(!alone.SlotList()->isEnabled());
        QVERIFY(!alone.SwitchBox()->isEnabled());
        QVERIFY(!alone.SendDbButton()->isEnabled());
        QVERIFY(!alone.ClearDbButton()->isEnabled());
        QVERIFY(!alone.SendXcpButton()->isEnabled());
        QVERIFY(!alone.SaveDcdButton()->isEnabled());
        alone.LoadDbcFile(Fixture("long_signals.dbc"));
        QCOMPARE(alone.LeftOut()->text(), QStringLiteral("3 signals of 48, 64 bits left out"));
        QVERIFY(!alone.LeftOut()->isHidden());
        QVERIFY(alone.SaveDcdButton()->isEnabled());
        QCOMPARE(alone.PageSignals()->text(), QStringLiteral("5"));
        QCOMPARE(alone.PageWords()->text(), QStringLiteral("9"));
        alone.LoadDbcFile(Fixture("none.dbc")); // nothing changes
        QCOMPARE(alone.PageSignals()->text(), QStringLiteral("5"));
        QVERIFY(m_prompt.MessageTexts().back().find("Cannot find this file.") != std::string::npos);

        CCANSetDlg dialog(CCanSetup::Create(Kind::G, m_device.get(), m_prompt, m_store));
        QCOMPARE(dialog.SlotList()->currentText(), QStringLiteral("7"));
        QVERIFY(dialog.SwitchBox()->isChecked());
        QCOMPARE(Column(dialog.List(), 8), (QStringList{"0.5", "1.0"}));
        QCOMPARE(Column(dialog.List(), 13), (QStringList{"INT16", "FLOAT32"}));
        dialog.SwitchBox()->click();
        QVERIFY(!dialog.Setup().IsAckOn());
        dialog.resize(dialog.sizeHint());
        QVERIFY(SaveShot(dialog, "zt300_can_g_setting.png"));
        dialog.reject();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_link->FindRecorder("127.0.0.2")->GetCanModule(7)->Execute("ACK"),
                 std::string("OFF,500"));
    }

    void canTextsAreUtf8OrWindows1252() {
        QCOMPARE(CanTextToQt("\xB0"
                             "C"),
                 QStringLiteral("\u00B0C"));
        QCOMPARE(CanTextToQt("\xC2\xB0"
                             "C"),
                 QStringLiteral("\u00B0C"));
        QCOMPARE(CanTextToQt("\x80 \x9F"), QStringLiteral("\u20AC \u0178"));
        QCOMPARE(CanTextToQt("rpm"), QStringLiteral("rpm"));
    }

private:
    CManualClock m_clock;
    CFakePrompt m_prompt;
    CMemorySettingsStore m_store;
    std::unique_ptr<CSimLink> m_link;
    std::unique_ptr<CDevice> m_device;
};

QTEST_MAIN(CanSetDlgTest)
#include "CanSetDlgTest.moc"
