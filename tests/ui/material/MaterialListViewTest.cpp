#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/UpdateHints.h"
#include "support/FakePrompt.h"
#include "support/MemorySettingsStore.h"
#include "ui/grid/GridCtrl.h"
#include "ui/material/MatView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

namespace {

const QString kFixtures = QStringLiteral(ZT300_TEST_DATA_DIR "/monitor/");

// Records the hints the document sends.
class CHintLog : public IView {
public:
    void OnUpdate(IView*, int hint, const CUpdateData*) override { m_hints.push_back(hint); }
    std::vector<int> m_hints;
};

} // namespace

class MatViewTest : public QObject {
    Q_OBJECT

private:
    QStringList Row(CMatView& view, int row) {
        QStringList texts;
        for (int column = 0; column < 6; ++column)
            texts << view.Grid()->Model().Cell(row, column).text;
        return texts;
    }

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
            QCOMPARE(Row(view, 0), (QStringList{"No.", "Materials", "ID", "Unit", "MaxSpec.Value",
                                                "MinSpec.Value"}));
            QCOMPARE(view.Grid()->Model().GridRows(), 4);
            QCOMPARE(Row(view, 1), (QStringList{"1", "Steel", "S355", "MPa", "355", "-355"}));
            QCOMPARE(Row(view, 3), (QStringList{"3", "Rubber", "NR-60", "kN", "4.5", ""}));
            QVERIFY(view.Grid()->Model().Cell(1, 4).align & Qt::AlignRight);
            QVERIFY(view.Grid()->Model().IsReadOnly());
            if (!qEnvironmentVariable("ZT300_SCREENSHOTS").isEmpty())
                view.grab().save(qEnvironmentVariable("ZT300_SCREENSHOTS") + "/mat-view.png");

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
            QCOMPARE(Row(view, 2), (QStringList{"2", "Cu", "C101", "A", "12.5", "-2"}));
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
};

QTEST_MAIN(MatViewTest)
#include "MaterialListViewTest.moc"
