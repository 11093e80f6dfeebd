#include "support/FakePrompt.h"
#include "ui/setup/CalcChSettingDlg.h"
#include "ui/setup/FvAmpSettingDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

class SetupDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void calcDialogEnablesArgumentsByFunctionAndRefusesAnEmptyScale() {
        CChannelTableCalcSetting setting;
        setting.m_name = "Diff";
        setting.m_function = 2;
        setting.m_args = {1, 2, 3, 4};
        setting.m_max = 10.0;
        setting.m_min = 10.0;
        CFakePrompt prompt;
        CCalcChSettingDlg dialog(setting, 18, prompt);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Calc Ch Setting"));
        QCOMPARE(dialog.NumberLabel()->text(), QStringLiteral("Ch18"));
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        for (const char* text : {"Name :", "Unit :", "Function :", "Argument :", "MAX  :", "MIN :"})
            QVERIFY2(labels.contains(QString::fromLatin1(text)), text);
        QCOMPARE(dialog.FunctionBox()->count(), 10);
        QCOMPARE(dialog.FunctionBox()->itemText(1), QStringLiteral("ABS_V=sqrt(ChA^2+ChB^2)\t  "));
        QCOMPARE(dialog.FunctionBox()->currentIndex(), 2);
        QCOMPARE(dialog.ArgumentEdit(2)->text(), QStringLiteral("3"));

        const auto enabled = [&dialog] {
            QList<bool> flags;
            for (int i = 0; i < 4; ++i)
                flags << dialog.ArgumentEdit(i)->isEnabled();
            return flags;
        };
        QCOMPARE(enabled(), (QList<bool>{true, false, false, false}));
        dialog.FunctionBox()->setCurrentIndex(7);
        QCOMPARE(enabled(), (QList<bool>{true, true, true, false}));
        dialog.FunctionBox()->setCurrentIndex(0);
        QCOMPARE(enabled(), (QList<bool>{true, true, false, false}));
        dialog.FunctionBox()->setCurrentIndex(-1);
        QCOMPARE(enabled(), (QList<bool>{false, false, false, false}));

        dialog.FunctionBox()->setCurrentIndex(0);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected)); // still open
        QCOMPARE(prompt.MessageTexts(), std::vector<std::string>{"Error : Max <= Min "});
        dialog.MinEdit()->setText("-10");
        dialog.UnitEdit()->setText("kW");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Setting().m_min, -10.0);
        QCOMPARE(dialog.Setting().m_unit, std::string("kW"));
        QCOMPARE(dialog.Setting().m_function, 0);
    }

    void fvDialogOffersTheModesOfThePairAndNeedsBothLists() {
        CChannelTableFvSetting setting;
        setting.m_input = 1;
        setting.m_mode = 1;
        setting.m_divider = 4;
        setting.m_smoothing = 300;
        setting.m_modeChoices = {1, 2};
        CFvAmpSettingDlg dialog(setting);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("FV Amp Setting"));
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        for (const char* text : {"Interface Type ( fin ) :", "fme  :", "Frequency DIV ( fdv ) :",
                                 "Smoothing Factor ( fsm ) :"})
            QVERIFY2(labels.contains(QString::fromLatin1(text)), text);
        QCOMPARE(dialog.InputBox()->currentText(), QStringLiteral("TTL"));
        QCOMPARE(dialog.ModeBox()->count(), 2);
        QCOMPARE(dialog.ModeBox()->itemText(0), QStringLiteral("PW"));
        QCOMPARE(dialog.SmoothingBox()->value(), 100);
        QCOMPARE(dialog.DividerBox()->maximum(), 255);
        QVERIFY(dialog.OkButton()->isEnabled());
        dialog.InputBox()->setCurrentIndex(-1);
        QVERIFY(!dialog.OkButton()->isEnabled());
        dialog.InputBox()->setCurrentIndex(2);
        dialog.ModeBox()->setCurrentIndex(1);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Setting().m_input, 2);
        QCOMPARE(dialog.Setting().m_mode, 2);
        QCOMPARE(dialog.Setting().m_divider, 4);

        setting.m_input = 7; // an unknown input leaves the list without a selection
        const CFvAmpSettingDlg unknown(setting);
        QVERIFY(!unknown.OkButton()->isEnabled());
    }
};

QTEST_MAIN(SetupDialogsTest)
#include "SetupDialogsTest.moc"
