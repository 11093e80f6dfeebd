#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/UpdateHints.h"
#include "support/FakePrompt.h"
#include "support/MemorySettingsStore.h"
#include "ui/grid/GridCtrl.h"
#include "ui/material/MatView.h"
#include "ui/monitor/MoniChartFrame.h"
#include "ui/monitor/MoniDigitListBase.h"
#include "ui/relay/RelaySetInfoView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"

#include <fstream>
#include <thread>

namespace {

const QString kFixtures = QStringLiteral(ZT300_TEST_DATA_DIR "/monitor/");

// Records the hints the document sends.
class CHintLog : public IView {
public:
    void OnUpdate(IView*, int hint, const CUpdateData*) override { m_hints.push_back(hint); }
    std::vector<int> m_hints;
};

// A material file line with a name, an identifier and two limits.
std::string MaterialLine(const char* name, const char* id, const char* max, const char* min) {
    CMaterialItem item;
    item.m_material = name;
    item.m_id = id;
    item.m_max = max;
    item.m_min = min;
    return item.Format();
}

} // namespace

class MatViewTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CSystemClock m_clock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;
    CMemorySettingsStore m_store;
    std::unique_ptr<CSimLink> m_link;

    std::unique_ptr<CZT300SetDoc> NewDocument() {
        DocServices services{*m_link, m_prompt, m_clock, m_settings,
                             m_dir.path().toStdString() + "/"};
        services.store = &m_store;
        auto doc = std::make_unique<CZT300SetDoc>(services);
        doc->OnNewDocument();
        return doc;
    }

private slots:
    void init() { m_link = CSimLink::FromDefaultConfig(&m_clock); }

    void showsTheRememberedListAndLoadsAnother() {
        m_store.WriteString("ZT300DOC_Section", "Mat_FilePath",
                            (kFixtures + "materials.zai").toStdString());
        auto doc = NewDocument();
        CHintLog hints;
        doc->AddView(&hints);
        {
            CMatView view(*doc, m_prompt);
            view.resize(520, 200);
            view.show();
            QCOMPARE(view.PathField()->text(), kFixtures + "materials.zai");
            QVERIFY(view.PathField()->isReadOnly());
            QCOMPARE(view.BrowseButton()->text(), QStringLiteral("..."));
            QCOMPARE(view.BrowseButton()->width(), 2 * view.PathField()->height());
            QCOMPARE(
                GridRow(view.Grid()->Model(), 0),
                (QStringList{"No.", "Materials", "ID", "Unit", "MaxSpec.Value", "MinSpec.Value"}));
            QCOMPARE(view.Grid()->Model().GridRows(), 4);
            QCOMPARE(GridRow(view.Grid()->Model(), 1),
                     (QStringList{"1", "Steel", "S355", "MPa", "355", "-355"}));
            QCOMPARE(GridRow(view.Grid()->Model(), 3),
                     (QStringList{"3", "Rubber", "NR-60", "kN", "4.5", ""}));
            QVERIFY(view.Grid()->Model().Cell(1, 4).align & Qt::AlignRight);
            QVERIFY(view.Grid()->Model().IsReadOnly());
            QVERIFY(SaveShot(view, "mat-view.png"));

            // A file that is not a material file: its message, nothing changes.
            const QString bad = m_dir.filePath("bad.zai");
            std::ofstream(bad.toStdString()) << "Material File\r\n";
            QString chosen = bad;
            view.SetFileChooser([&chosen] { return chosen; });
            view.ChooseFile();
            QCOMPARE(m_prompt.MessageTexts(),
                     std::vector<std::string>{bad.toStdString() +
                                              ":Unexpected file format.\nLine 1: Material File"});
            QCOMPARE(m_prompt.m_messages[0].icon, PromptIcon::Stop);
            QCOMPARE(view.PathField()->text(), kFixtures + "materials.zai");
            QCOMPARE(view.Grid()->Model().GridRows(), 4);
            QVERIFY(hints.m_hints.empty());

            // A list of comma-separated values replaces it; the lists recolour.
            chosen = kFixtures + "materials.csv";
            view.ChooseFile();
            QCOMPARE(view.PathField()->text(), chosen);
            QCOMPARE(view.Grid()->Model().GridRows(), 3);
            QCOMPARE(GridRow(view.Grid()->Model(), 2),
                     (QStringList{"2", "Cu", "C101", "A", "12.5", "-2"}));
            QCOMPARE(hints.m_hints, std::vector<int>{UpdateHint::kMaxMinChanged});
            chosen.clear(); // cancelled
            view.ChooseFile();
            QCOMPARE(view.PathField()->text(), kFixtures + "materials.csv");
        }
        doc->RemoveView(&hints);
        doc.reset();
        // The document remembers the file for the next one.
        QCOMPARE(m_store.GetString("ZT300DOC_Section", "Mat_FilePath", ""),
                 (kFixtures + "materials.csv").toStdString());
    }

    // A demo acquisition: the monitor's digit list colours MIN and MAX of the channels that
    // refer to a material of the document's list against that material's limits.
    void digitListColoursAChannelOutsideItsMaterialLimits() {
        const QString list = m_dir.filePath("limits.zai");
        std::ofstream(list.toStdString(), std::ios::binary)
            << "Material Parameter File\r\nlimits\r\nheader\r\n"
            << MaterialLine("Tight", "T1", "", "-0.0001") << "\r\n"
            << MaterialLine("Wide", "W1", "1000000", "-1000000") << "\r\n";
        m_store.WriteString("ZT300DOC_Section", "Mat_FilePath", list.toStdString());
        DocServices services{*m_link, m_prompt, m_clock, m_settings,
                             m_dir.path().toStdString() + "/"};
        services.store = &m_store;
        CZT300SetDoc doc(services);
        QVERIFY(doc.OnOpenDocument("127_0_0_2_ZT-300"));
        CRecCnd& condition = doc.GetConditions()[0];
        condition.m_hddRecFolder = m_dir.path().toStdString();
        condition.m_channels[0].m_mat = {"Tight", "T1", "", ""};
        condition.m_channels[1].m_mat = {"Wide", "W1", "0", "0"}; // the list's limits count

        CMoniChartFrame frame(doc, nullptr, &m_settings, nullptr);
        frame.SetChannelLimits(&doc.GetMaterials());
        frame.resize(1000, 700);
        frame.show();
        QCOMPARE(frame.GetLowerSplitter()->count(), 2);
        QVERIFY(CRelaySetInfoView::FollowRelayControl(frame, true, m_settings.m_relaySettings));
        QCOMPARE(frame.GetLowerSplitter()->count(), 3);
        QVERIFY(doc.Arm(false));
        CGridModel& model = frame.GetDigitList()->Grid().Model();
        QTRY_VERIFY_WITH_TIMEOUT(model.Cell(2, 3).text != QStringLiteral("-"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(model.Cell(1, 3).textColour, QColor(255, 0, 0), kSlowMs);
        QCOMPARE(model.Cell(1, 2).textColour, QColor(255, 0, 0));
        QCOMPARE(model.Cell(2, 3).textColour, QColor(0, 160, 0));
        QVERIFY2(!model.Cell(3, 3).textColour.isValid(), "no material: the default colour");
        QVERIFY(SaveShot(frame, "monitor-relay.png"));

        // Another list from the material view: the colours follow at once.
        const QString swapped = m_dir.filePath("swapped.zai");
        std::ofstream(swapped.toStdString(), std::ios::binary)
            << "Material Parameter File\r\nlimits\r\nheader\r\n"
            << MaterialLine("Tight", "T1", "", "-1000000") << "\r\n";
        CMatView view(doc, m_prompt);
        view.SetFileChooser([&swapped] { return swapped; });
        view.ChooseFile();
        QTRY_COMPARE_WITH_TIMEOUT(model.Cell(1, 3).textColour, QColor(0, 160, 0), kSlowMs);
        QCOMPARE(model.Cell(2, 3).textColour, QColor(255, 0, 0)); // its own values: 0 and 0
        doc.StopArmed(false);
        QVERIFY(!CRelaySetInfoView::FollowRelayControl(frame, false, m_settings.m_relaySettings));
        QCOMPARE(frame.GetLowerSplitter()->count(), 2);
    }
};

QTEST_MAIN(MatViewTest)
#include "MaterialListViewTest.moc"
