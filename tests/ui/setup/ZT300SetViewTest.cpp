#include "ui/setup/ZT300SetView.h"
#include "acquisition/RecorderSettings.h"
#include "acquisition/ZT300SetDoc.h"
#include "framework/LinkLibrary.h"
#include "framework/UpdateHints.h"
#include "setup/ChannelTableFixture.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "ui/LinkFactory.h"
#include "ui/grid/GridCtrl.h"
#include "ui/setup/CalcChSettingDlg.h"
#include "ui/setup/FvAmpSettingDlg.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"

namespace Col = ChannelTableColumn;

class ZT300SetViewTest : public QObject {
    Q_OBJECT

private:
    std::vector<CRecCnd> m_units;
    CRecorderSettings m_settings;
    CFakePrompt m_prompt;
    std::unique_ptr<CZT300SetView> m_view;
    std::vector<QString> m_dialogs; // titles of the dialogs the view ran

    CGridModel& Model() { return m_view->Grid().Model(); }
    QString Text(int row, int column) { return Model().Cell(row, column).text; }
    CChCnd& Ch(int index) { return m_units[0].m_channels[static_cast<std::size_t>(index)]; }
    bool SetText(int row, int column, const QString& text) {
        return Model().setData(Model().IndexOf(row, column), text, Qt::EditRole);
    }
    void DoubleClick(int row, int column) {
        CGridCtrl& grid = m_view->Grid();
        grid.scrollTo(Model().IndexOf(row, column));
        const QPoint centre = grid.visualRect(Model().IndexOf(row, column)).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centre);
    }

private slots:
    void init() {
        m_units = MakeTableConditions();
        m_settings = CRecorderSettings();
        m_settings.m_regPhyUnits = "V,mV,uST,Hz,C,G";
        m_prompt.Clear();
        m_dialogs.clear();
        m_view = std::make_unique<CZT300SetView>();
        m_view->SetPrompt(&m_prompt);
        m_view->SetDialogRunner([this](QDialog& dialog) {
            m_dialogs.push_back(dialog.windowTitle());
            return int(QDialog::Rejected);
        });
        m_view->SetConditions(&m_units, 0, &m_settings);
        m_view->resize(1400, 700);
    }

    void tableShowsEveryModuleTypeWithItsTextsColoursAndEditability() {
        QCOMPARE(Model().GridRows(), 20);
        QCOMPARE(Model().GridColumns(), 20);
        QCOMPARE(Model().FixedRows(), 1);
        QCOMPARE(Model().FixedColumns(), 1);
        const QStringList headers{"ModuleType", "Channels", "Signal Name", "Range",
                                  "Filter",     "BAL(%)",   "MON",         "TRG",
                                  "TRG_V",      "Phy_Unit", "Phy_VAL1",    "Cal_VAL1",
                                  "Phy_VAL2",   "Cal_VAL2", "-Phy_VAL",    "-Cal_VAL",
                                  "ScaleMax",   "ScaleMin", "Material_ID", "Memo"};
        const int digitsWidth =
            m_view->Grid().fontMetrics().horizontalAdvance(QStringLiteral("0123456789"));
        for (int c = 0; c < 20; ++c) {
            QCOMPARE(Text(0, c), headers[c]);
            QVERIFY(m_view->Grid().ColumnWidth(c) >=
                    CChannelTableRules::ScaledWidth(c, digitsWidth));
        }
        QCOMPARE(Model().headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignCenter));

        QCOMPARE(GridRow(Model(), 1),
                 (QStringList{"QA-80V  1-1", "Ch1",      "Force",     "10V",         "10Hz",
                              "1.00",        "",         "ON",        "37.500(37%)", "kN",
                              "50.000",      "5.000V",   "0.000",     "0.000V",      "-1.000",
                              "0.000V",      "10.000kN", "-10.000kN", "STEEL_S355",  "left"}));
        // The module column is the vertical header, with the module's icon.
        QCOMPARE(Model().headerData(11, Qt::Vertical, Qt::DisplayRole).toString(),
                 QStringLiteral("QA-80IMU  6-1"));
        QVERIFY(Model().headerData(0, Qt::Vertical, Qt::DecorationRole).isValid());
        // The texts of the CAN, calculation, IMU and frequency modules.
        const std::tuple<int, int, QString> texts[] = {
            {13, 0, "QA-80CAN-K  7-1(2)"},  {16, 0, "QA-80CALC  9-1"},
            {13, Col::kRange, "UINT32"},    {11, Col::kRange, "00F3"},
            {5, Col::kFilter, "MG,1,1,FR"}, {16, Col::kFilter, "DIF=|ChA-ChB|,1,2"}};
        for (const auto& [row, column, text] : texts)
            QCOMPARE(Text(row, column), text);

        // Slot colours alternate; the calculation rows follow the last slot's.
        const auto back = [this](int row) {
            return Model()
                .data(Model().IndexOf(row, Col::kMemo), Qt::BackgroundRole)
                .value<QColor>();
        };
        QCOMPARE(back(1), QColor(240, 255, 255));
        QCOMPARE(back(3), QColor(230, 255, 255));
        QCOMPARE(back(15), QColor(230, 255, 255));
        QCOMPARE(back(16), QColor(240, 255, 255));

        // Typed into: an analogue channel's range and calibration, a calculation's scale; not the
        // balance, the channel box, a frequency filter, an IMU's calibration, a CAN range or a
        // calculation's name.
        const std::tuple<int, int, bool> editable[] = {
            {1, Col::kRange, true},     {1, Col::kCalVal1, true},      {1, Col::kBal, false},
            {1, Col::kChannels, false}, {5, Col::kFilter, false},      {12, Col::kCalVal1, false},
            {13, Col::kRange, false},   {16, Col::kSignalName, false}, {16, Col::kScaleMax, true}};
        for (const auto& [row, column, expected] : editable)
            QVERIFY2(bool(Model().flags(Model().IndexOf(row, column)) & Qt::ItemIsEditable) ==
                         expected,
                     qPrintable(QStringLiteral("row %1, column %2").arg(row).arg(column)));
        QVERIFY(Model().flags(Model().IndexOf(1, Col::kChannels)) & Qt::ItemIsUserCheckable);
        QCOMPARE(m_view->ChannelOfRow(2), &Ch(1));
        QCOMPARE(m_view->ChannelOfRow(16), &m_units[0].m_calcChannels[0]);
        QCOMPARE(CZT300SetView::FrameCaption("Test.czd"), QStringLiteral("Test.czd--- Setting"));
    }

    void editsReachTheChannelAndSpreadOverSelectedRows() {
        QSignalSpy edited(m_view.get(), &CZT300SetView::conditionEdited);
        QVERIFY(SetText(2, Col::kSignalName, "Torque"));
        QCOMPARE(Ch(1).m_name, std::string("Torque"));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited[0][0].toInt(), 0);

        // A range of another unit resets the calibration and redraws the row.
        QVERIFY(SetText(1, Col::kRange, "500mV"));
        QCOMPARE(Text(1, Col::kPhyUnit), QStringLiteral("mV"));
        QCOMPARE(Text(1, Col::kPhyVal1), QStringLiteral("1.000"));
        QCOMPARE(Text(1, Col::kScaleMax), QStringLiteral("500.000mV"));

        // A refused text shows the channel's value again.
        QVERIFY(SetText(2, Col::kScaleMax, "-50"));
        QCOMPARE(Text(2, Col::kScaleMax), QStringLiteral("10.000"));
        QCOMPARE(edited.size(), 2);
        QVERIFY(SetText(2, Col::kMemo, "a,b"));
        QCOMPARE(m_prompt.MessageTexts(),
                 std::vector<std::string>{"You can not use \",\" charactor"});
        QCOMPARE(Text(2, Col::kMemo), QString());

        m_view->Grid().SelectCells(1, Col::kFilter, 4, Col::kFilter);
        QVERIFY(SetText(1, Col::kFilter, "OFF"));
        QCOMPARE(Ch(1).m_filter, std::string("OFF"));
        QCOMPARE(Ch(2).m_filter, std::string("OFF"));
        QCOMPARE(Text(3, Col::kFilter), QStringLiteral("OFF"));
        QCOMPARE(Ch(3).m_filter, std::string()); // the temperature module has no filters
        QCOMPARE(edited.size(), 3);

        m_units[0].m_sendPending = 0;
        QVERIFY(
            Model().setData(Model().IndexOf(2, Col::kChannels), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(Ch(1).m_enabled, 0);
        QCOMPARE(m_units[0].m_sendPending, 1);
        QVERIFY(Model().setData(Model().IndexOf(2, Col::kMon), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(Ch(1).m_visible, 1);
        QCOMPARE(edited.size(), 5);

        // The material cell keeps what was typed but the channel does not take it.
        QVERIFY(SetText(1, Col::kMaterialId, "A_B"));
        QCOMPARE(Text(1, Col::kMaterialId), QStringLiteral("A_B"));
        QCOMPARE(Ch(0).m_mat[0], std::string("STEEL"));
    }

    void listEditedInPlaceReachesTheOtherSelectedRows() {
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        CGridCtrl& grid = m_view->Grid();
        grid.setFocus();
        grid.SelectCells(1, Col::kRange, 12, Col::kRange);
        QTest::keyClick(grid.viewport(), Qt::Key_F2);
        auto* combo = grid.viewport()->findChild<QComboBox*>();
        QVERIFY(combo);
        QCOMPARE(combo->count(), 3);
        combo->setCurrentIndex(combo->findText("5V"));
        QTest::keyClick(combo, Qt::Key_Return);
        QTRY_COMPARE(Ch(0).m_range, std::string("5V"));
        QCOMPARE(Ch(1).m_range, std::string("5V"));
        QCOMPARE(Ch(2).m_range, std::string("2000uST")); // "5V" is not a strain range
        QCOMPARE(Text(2, Col::kRange), QStringLiteral("5V"));
        QCOMPARE(Text(2, Col::kScaleMax), QStringLiteral("5.000"));
    }

    void pasteStoresEachCellByItsColumn() {
        CGridCtrl& grid = m_view->Grid();
        grid.SelectCells(1, Col::kSignalName, 1, Col::kSignalName);
        QCOMPARE(grid.PasteText("A\tOFF\tx\nB\t5V\t100Hz\n"), 4);
        QCOMPARE(Ch(0).m_name, std::string("A"));
        QCOMPARE(Ch(0).m_range, std::string("10V")); // not on the range list
        QCOMPARE(Ch(0).m_filter, std::string("10Hz"));
        QCOMPARE(Ch(1).m_name, std::string("B"));
        QCOMPARE(Ch(1).m_range, std::string("5V"));
        QCOMPARE(Ch(1).m_filter, std::string("100Hz"));
        QCOMPARE(Ch(2).m_filter, std::string()); // a paste is not spread over rows

        grid.SelectCells(1, Col::kSignalName, 2, Col::kRange);
        grid.Copy();
        QCOMPARE(grid.SelectionText(), QStringLiteral("A\t10V\nB\t5V\n"));
    }

    void lockedTableTakesNoEditsAndOpensNoDialogs() {
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->SetLocked(true);
        QVERIFY(!SetText(2, Col::kSignalName, "x"));
        QVERIFY(!(Model().flags(Model().IndexOf(2, Col::kSignalName)) & Qt::ItemIsEditable));
        QVERIFY(!Model().setData(Model().IndexOf(2, Col::kChannels), Qt::Unchecked,
                                 Qt::CheckStateRole));
        QCOMPARE(m_view->Grid().PasteText("y"), 0);
        DoubleClick(16, Col::kFilter);
        QVERIFY(m_dialogs.empty());
        m_view->Rebuild();
        QVERIFY(!SetText(2, Col::kSignalName, "x")); // still locked after a rebuild
        m_view->SetLocked(false);
        QVERIFY(SetText(2, Col::kSignalName, "x"));
    }

    void doubleClicksOpenTheDialogsOfCalculationAndFrequencyRows() {
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        DoubleClick(16, Col::kFilter);
        DoubleClick(5, Col::kFilter);
        DoubleClick(1, Col::kMaterialId);
        QCOMPARE(m_dialogs, (std::vector<QString>{"Calc Ch Setting", "FV Amp Setting"}));
        QVERIFY(!m_view->Grid().IsEditing());
        DoubleClick(16, Col::kMemo);
        QVERIFY(m_view->Grid().IsEditing());
        QCOMPARE(m_dialogs.size(), std::size_t(2));
    }

    void calcDialogStoresTheChannelAndRebuilds() {
        QSignalSpy edited(m_view.get(), &CZT300SetView::conditionEdited);
        m_view->SetDialogRunner([](QDialog& dialog) {
            auto& calc = dynamic_cast<CCalcChSettingDlg&>(dialog);
            calc.NameEdit()->setText("Sum");
            calc.FunctionBox()->setCurrentIndex(6);
            calc.MaxEdit()->setText("200");
            calc.MinEdit()->setText("0");
            calc.accept();
            return dialog.result();
        });
        m_view->OpenCalcChSetting(17);
        const CCalcChCnd& calc = m_units[0].m_calcChannels[1];
        QCOMPARE(calc.m_name, std::string("Sum"));
        QCOMPARE(calc.m_function, 6);
        QCOMPARE(calc.m_range, std::string("100"));
        QCOMPARE(Text(17, Col::kSignalName), QStringLiteral("Sum"));
        QCOMPARE(Text(17, Col::kFilter), QStringLiteral("SUM=|ChA+ChB|,0,0"));
        QCOMPARE(edited.size(), 1);
    }

    void fvDialogKeepsThePairInStep() {
        QSignalSpy edited(m_view.get(), &CZT300SetView::conditionEdited);
        m_view->SetDialogRunner([](QDialog& dialog) {
            auto& fv = dynamic_cast<CFvAmpSettingDlg&>(dialog);
            fv.ModeBox()->setCurrentIndex(fv.ModeBox()->findText("PL"));
            fv.DividerBox()->setValue(8);
            fv.accept();
            return dialog.result();
        });
        m_view->OpenFvAmpSetting(8); // channel index 3 of the frequency module
        QCOMPARE(Text(8, Col::kFilter), QStringLiteral("MG,8,1,PL"));
        QCOMPARE(Text(7, Col::kFilter), QStringLiteral("MG,1,1,PW"));
        QCOMPARE(m_units[0].m_sendPending, 1);
        QCOMPARE(edited.size(), 1);
    }

    void updateHintsRefreshTheirColumns() {
        QSignalSpy frame(m_view.get(), &CZT300SetView::frameRefreshRequested);
        Ch(1).m_balanceResidual = 25000;
        Ch(1).m_visible = 1;
        m_view->OnUpdate(nullptr, UpdateHint::kBalanceValuesRead, nullptr);
        QCOMPARE(Text(2, Col::kBal), QStringLiteral("100.00 *"));
        QCOMPARE(Model().data(Model().IndexOf(2, Col::kBal), Qt::ForegroundRole).value<QColor>(),
                 QColor(255, 0, 0));
        QVERIFY(!Model().Cell(2, Col::kMon).checked); // not re-read by hint 7
        m_view->OnUpdate(nullptr, UpdateHint::kRepaint, nullptr);
        QVERIFY(Model().Cell(2, Col::kMon).checked);

        m_units[0].m_hddLvlTrg = 1;
        m_view->OnUpdate(nullptr, UpdateHint::kNextRecordNameChanged, nullptr);
        QCOMPARE(Text(0, Col::kTrg), QStringLiteral("TRG"));
        m_view->OnUpdate(nullptr, UpdateHint::kConditionChanged, nullptr);
        QCOMPARE(Text(0, Col::kTrg), QStringLiteral("H_TRG"));
        QCOMPARE(Text(0, Col::kTrgV), QStringLiteral("H_TRG_V"));
        QCOMPARE(Text(11, Col::kTrg), QStringLiteral("-"));
        QCOMPARE(frame.size(), 2);
        QCOMPARE(frame[0][0].toInt(), 12);
        QCOMPARE(frame[1][0].toInt(), 1);

        // Another recorder; an index outside the list shows the first.
        m_view->SetConditions(&m_units, 1, &m_settings);
        QCOMPARE(Model().GridRows(), 4);
        QCOMPARE(Text(1, Col::kChannels), QStringLiteral("Ch22"));
        m_view->SetConditions(&m_units, 7, &m_settings);
        QCOMPARE(Model().GridRows(), 20);
        m_view->SetConditions(nullptr, 0, nullptr);
        QCOMPARE(Model().GridRows(), 1);
        QCOMPARE(m_view->CurrentCondition(), nullptr);
    }

    // Two recorders with every module of the demo, values of every width in the trigger
    // columns, calculation rows, both trigger kinds: no cell clips its text in the default font.
    void noCellClipsItsTextForAFullTwoRecorderCondition() {
        CManualClock clock;
        std::unique_ptr<ILinkLibrary> link = CreateLink(true, &clock, 0);
        QTemporaryDir dir;
        CZT300SetDoc doc(DocServices{*link, m_prompt, clock, m_settings, dir.path().toStdString()});
        QVERIFY(doc.OnOpenDocument("127_0_0_2_ZT-300,127_0_0_3_ZT-500"));
        std::vector<CRecCnd>& conditions = doc.GetConditions();
        CRecCnd& first = conditions[0];
        first.m_calc = 1;
        first.m_calcChannels[0].m_function = 3; // the longest formula text
        first.m_channels[0].m_lvlStTrgVal = 37.5;
        first.m_channels[1].m_lvlStTrgVal = 100.0;
        first.m_channels[2].m_hddLvlVal = -12345.678;
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        CGridCtrl& grid = m_view->Grid();
        QStyleOptionViewItem option;
        option.initFrom(grid.viewport());
        option.font = grid.font();
        for (int recorder = 0; recorder < 2; ++recorder) {
            for (int hddLevel = 0; hddLevel < 2; ++hddLevel) {
                conditions[static_cast<std::size_t>(recorder)].m_hddLvlTrg = hddLevel;
                m_view->SetConditions(&conditions, recorder, &m_settings);
                QVERIFY(grid.verticalHeader()->sizeHint().width() <= grid.ColumnWidth(0));
                for (int column = 1; column < Col::kCount; ++column) {
                    const int width = grid.ColumnWidth(column);
                    QVERIFY(grid.horizontalHeader()->sectionSizeHint(column - 1) <= width);
                    for (int row = 1; row < Model().GridRows(); ++row) {
                        const QModelIndex index = Model().IndexOf(row, column);
                        QVERIFY2(grid.itemDelegate()->sizeHint(option, index).width() <= width,
                                 qPrintable(QStringLiteral("%1 in column %2 of %3")
                                                .arg(Text(row, column))
                                                .arg(column)
                                                .arg(width)));
                    }
                }
                m_view->grab().save(QDir::temp().filePath(
                    QStringLiteral("zt300_table_%1_%2.png").arg(recorder).arg(hddLevel)));
            }
        }
        first.m_hddLvlTrg = 0;
        m_view->SetConditions(&conditions, 0, &m_settings);
        QCOMPARE(Text(1, Col::kTrgV), QStringLiteral("3.750(37%)"));
        QCOMPARE(Text(2, Col::kTrgV), QStringLiteral("10.000(100%)"));
        // An edit that makes a text wider widens its column.
        const int before = grid.ColumnWidth(Col::kSignalName);
        QVERIFY(SetText(1, Col::kSignalName, QString(60, QLatin1Char('W'))));
        QVERIFY(grid.ColumnWidth(Col::kSignalName) > before);
    }

    void printsToPdfAndSavesAPicture() {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("table.pdf"));
        m_view->SetPrintTitle("Test.czd");
        QVERIFY(m_view->PrintTo(printer));
        QVERIFY(QFileInfo(dir.filePath("table.pdf")).size() > 1000);

        // The preview draws through the same printing when it asks for its pages.
        QPrinter previewTarget(QPrinter::HighResolution);
        previewTarget.setOutputFormat(QPrinter::PdfFormat);
        previewTarget.setOutputFileName(dir.filePath("preview.pdf"));
        m_view->SetDialogRunner([&previewTarget](QDialog& dialog) {
            auto& preview = dynamic_cast<QPrintPreviewDialog&>(dialog);
            emit preview.paintRequested(&previewTarget);
            return int(QDialog::Rejected);
        });
        m_view->PrintPreview();
        QVERIFY(QFileInfo(dir.filePath("preview.pdf")).size() > 1000);

        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        QVERIFY(m_view->grab().save(QDir::temp().filePath("zt300_setview.png")));
    }
};

QTEST_MAIN(ZT300SetViewTest)
#include "ZT300SetViewTest.moc"
