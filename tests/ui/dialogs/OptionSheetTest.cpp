#include "ui/dialogs/OptionSheet.h"
#include "support/FakePrompt.h"
#include "ui/dialogs/ACQModePage.h"
#include "ui/dialogs/ChartPage.h"
#include "ui/dialogs/GeneralPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

namespace {

template <class T> T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        qFatal("no child %s", name);
    return child;
}

CRecorderSettings StoredSettings() {
    CRecorderSettings settings("/opt/zt300/");
    settings.m_multiZt300 = 1;
    settings.m_calRef = 0;
    settings.m_calFileRef = "/data/last.cal";
    settings.m_balWarnPercent = 40;
    settings.m_chartType = 0;
    settings.m_yGridCnt = 25;
    settings.m_xWidth = 30;
    settings.m_xGrid = 5;
    settings.m_decimalDigit = 2;
    settings.m_externalSignal = 1;
    settings.m_ctrlInput = 1;
    settings.m_realTimeMark = 1;
    settings.m_rtmStartCode = "12";
    settings.m_useQu800 = 1;
    settings.m_relayControl = 1;
    settings.m_relayFilePath = "/data/relay.n66";
    settings.m_relaySettings[3] = 9;
    return settings;
}

bool NoDriver() {
    return false;
}

// The sheet refused a value: it stays on `page` and says `message`, alone.
void ExpectRefusal(COptionSheet& sheet, CFakePrompt& prompt, int page, const std::string& message) {
    QCOMPARE(sheet.Tabs()->currentIndex(), page);
    QCOMPARE(prompt.MessageTexts(), std::vector<std::string>{message});
    prompt.Clear();
}

} // namespace

class OptionSheetTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheGivenValuesAndReturnsTheEditedOnes() {
        CFakePrompt prompt;
        COptionSheet sheet(StoredSettings(), prompt, [] { return true; });
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Option Setting"));
        QCOMPARE(sheet.Tabs()->tabText(0), QStringLiteral("General"));
        QCOMPARE(sheet.Tabs()->tabText(1), QStringLiteral("Chart"));
        QCOMPARE(sheet.Tabs()->tabText(2), QStringLiteral("ACQ Mode"));

        QWidget* general = sheet.GeneralPage();
        QVERIFY(Child<QCheckBox>(general, "multiZt300")->isChecked());
        QCOMPARE(Child<QCheckBox>(general, "calRef")->text(),
                 QStringLiteral("Refer Cal Info when loading condition."));
        QCOMPARE(Child<QLineEdit>(general, "calFile")->text(), QStringLiteral("/data/last.cal"));
        QVERIFY(!Child<QLineEdit>(general, "calFile")->isEnabled());
        QVERIFY(!Child<QPushButton>(general, "calFileButton")->isEnabled());
        QCOMPARE(Child<QLineEdit>(general, "balWarn")->text(), QStringLiteral("40"));

        QWidget* chart = sheet.ChartPage();
        QVERIFY(Child<QRadioButton>(chart, "separate")->isChecked());
        auto* width = Child<QComboBox>(chart, "xWidth");
        QCOMPARE(width->count(), 14);
        QCOMPARE(width->itemText(13), QStringLiteral(" 5 Hour"));
        QCOMPARE(width->currentText(), QStringLiteral("30 sec"));
        QCOMPARE(Child<QLineEdit>(chart, "xGrid")->text(), QStringLiteral("5"));
        QVERIFY(!Child<QLineEdit>(chart, "yGridCnt")->isEnabled());
        QCOMPARE(Child<QComboBox>(chart, "decimalDigit")->currentText(), QStringLiteral("2"));

        QWidget* acq = sheet.AcqModePage();
        QVERIFY(Child<QCheckBox>(acq, "externalSignal")->isEnabled());
        QCOMPARE(Child<QLineEdit>(acq, "startCode")->text(), QStringLiteral("12"));
        QVERIFY(Child<QCheckBox>(acq, "useQu800")->isChecked());
        QVERIFY(!Child<QCheckBox>(acq, "relayControl")->isHidden());
        QVERIFY(Child<QCheckBox>(acq, "relayControl")->isChecked());
        QVERIFY(Child<QPushButton>(acq, "relaySetting")->isHidden());

        // Edit one field of each kind.
        Child<QCheckBox>(general, "multiZt300")->setChecked(false);
        Child<QCheckBox>(general, "calRef")->setChecked(true);
        QVERIFY(Child<QLineEdit>(general, "calFile")->isEnabled());
        sheet.GeneralPage()->SetFileChooser(
            [](const std::string& start) { return std::optional<std::string>(start + ".new"); });
        Child<QPushButton>(general, "calFileButton")->click();
        Child<QLineEdit>(general, "balWarn")->setText("75");
        Child<QRadioButton>(chart, "common")->setChecked(true);
        QVERIFY(Child<QLineEdit>(chart, "yGridCnt")->isEnabled());
        Child<QLineEdit>(chart, "yGridCnt")->setText("32");
        width->setCurrentIndex(6);
        emit width->activated(6); // " 2 min" with its grid step
        QCOMPARE(Child<QLineEdit>(chart, "xGrid")->text(), QStringLiteral("30"));
        Child<QComboBox>(chart, "decimalDigit")->setCurrentIndex(4);
        Child<QCheckBox>(acq, "externalSignal")->setChecked(false);
        Child<QLineEdit>(acq, "pauseCode")->setText("99");
        Child<QCheckBox>(acq, "useQu800")->setChecked(false);
        Child<QCheckBox>(acq, "relayControl")->setChecked(false);
        sheet.accept();

        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QVERIFY(prompt.Messages().empty());
        const CRecorderSettings& out = sheet.GetSettings();
        QCOMPARE(out.m_multiZt300, 0);
        QCOMPARE(out.m_calRef, 1);
        QCOMPARE(out.m_calFileRef, std::string("/data/last.cal.new"));
        QCOMPARE(int(out.m_balWarnPercent), 75);
        QCOMPARE(out.m_chartType, 1);
        QCOMPARE(out.m_yGridCnt, 32);
        QCOMPARE(out.m_xWidth, 120);
        QCOMPARE(out.m_xGrid, 30.0);
        QCOMPARE(out.m_decimalDigit, 4);
        QCOMPARE(out.m_externalSignal, 0);
        QCOMPARE(out.m_rtmPauseCode, std::string("99"));
        QCOMPARE(out.m_useQu800, 0);
        QCOMPARE(out.m_relayControl, 0);
        // Not on the sheet: handed back as given.
        QCOMPARE(out.m_relayFilePath, std::string("/data/relay.n66"));
        QCOMPARE(int(out.m_relaySettings[3]), 9);
        QCOMPARE(out.m_viewerPgm, std::string("/opt/zt300/plotview"));
    }

    void eachRefusedValueShowsItsMessageAndKeepsItsPage() {
        CFakePrompt prompt;
        COptionSheet sheet(StoredSettings(), prompt, NoDriver);
        sheet.show();
        auto* balWarn = Child<QLineEdit>(sheet.GeneralPage(), "balWarn");
        balWarn->setText("101");
        sheet.Tabs()->setCurrentIndex(1);
        QCOMPARE(prompt.Messages().at(0).icon, PromptIcon::Exclamation);
        ExpectRefusal(sheet, prompt, 0, "Please enter an integer between 0 and 100.");
        balWarn->setText("100");
        sheet.Tabs()->setCurrentIndex(1);
        QCOMPARE(sheet.Tabs()->currentIndex(), 1);

        auto* xGrid = Child<QLineEdit>(sheet.ChartPage(), "xGrid");
        xGrid->setText("0.2"); // below 30 / 100
        sheet.accept();
        QVERIFY(sheet.isVisible());
        ExpectRefusal(sheet, prompt, 1, "Please enter a number between 0.3 and 30.");
        xGrid->setText("0.3");
        Child<QRadioButton>(sheet.ChartPage(), "common")->setChecked(true);
        Child<QLineEdit>(sheet.ChartPage(), "yGridCnt")->setText("65");
        sheet.Tabs()->setCurrentIndex(2);
        ExpectRefusal(sheet, prompt, 1, "Please enter an integer between 8 and 64.");
        // Back to the separate charts the count is not used and not checked.
        Child<QRadioButton>(sheet.ChartPage(), "separate")->setChecked(true);
        sheet.Tabs()->setCurrentIndex(2);
        QCOMPARE(sheet.Tabs()->currentIndex(), 2);

        // A one-figure code is refused only with control-code input on.
        auto* stop = Child<QLineEdit>(sheet.AcqModePage(), "stopCode");
        stop->setText("7");
        sheet.accept();
        QVERIFY(sheet.isVisible());
        QCOMPARE(prompt.Messages().at(0).icon, PromptIcon::Stop);
        ExpectRefusal(sheet, prompt, 2, "Please input 2 figures digit number (0~9)!");
        Child<QCheckBox>(sheet.AcqModePage(), "ctrlInput")->setChecked(false);
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(sheet.GetSettings().m_rtmStopCode, std::string("7"));
        QCOMPARE(sheet.GetSettings().m_yGridCnt, 25);
    }

    void storedValuesOutsideTheListsAndWithoutDriver() {
        CFakePrompt prompt;
        CRecorderSettings stored = StoredSettings();
        stored.m_xWidth = 45;
        stored.m_xGrid = 9;
        stored.m_decimalDigit = 7;
        stored.m_balWarnPercent = 300;
        stored.m_rtmStartCode = "7";
        COptionSheet sheet(stored, prompt, NoDriver);
        auto* width = Child<QComboBox>(sheet.ChartPage(), "xWidth");
        QCOMPARE(width->currentIndex(), 0);
        QCOMPARE(Child<QLineEdit>(sheet.ChartPage(), "xGrid")->text(), QStringLiteral("0.1"));
        QCOMPARE(Child<QComboBox>(sheet.ChartPage(), "decimalDigit")->currentIndex(), -1);
        auto* external = Child<QCheckBox>(sheet.AcqModePage(), "externalSignal");
        QVERIFY(!external->isEnabled());
        QVERIFY(external->isChecked());

        // Stored values out of range are refused on OK, on pages never opened too.
        sheet.accept();
        ExpectRefusal(sheet, prompt, 0, "Please enter an integer between 0 and 100.");
        Child<QLineEdit>(sheet.GeneralPage(), "balWarn")->setText("50");
        sheet.accept();
        ExpectRefusal(sheet, prompt, 2, "Please input 2 figures digit number (0~9)!");
        Child<QLineEdit>(sheet.AcqModePage(), "startCode")->setText("07");
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        const CRecorderSettings& out = sheet.GetSettings();
        QCOMPARE(out.m_xWidth, 1);
        QCOMPARE(out.m_xGrid, 0.1);
        QCOMPARE(out.m_decimalDigit, 7);
        QCOMPARE(out.m_externalSignal, 1);
    }

    void codeFieldsTakeOnlyDigitsAndPoint() {
        CFakePrompt prompt;
        COptionSheet sheet(StoredSettings(), prompt, NoDriver);
        auto* start = Child<QLineEdit>(sheet.AcqModePage(), "startCode");
        start->clear();
        QTest::keyClicks(start, "7a-.9");
        QCOMPARE(start->text(), QStringLiteral("7.9"));
        QTest::keyClick(start, Qt::Key_Backspace);
        QCOMPARE(start->text(), QStringLiteral("7."));
    }
};

QTEST_MAIN(OptionSheetTest)
#include "OptionSheetTest.moc"
