// The setup window of a document: the recorder-wide settings of the current recorder above the
// channel table, and one tab per recorder.
#pragma once

#include "framework/View.h"

#include <QWidget>

class CRecCnd;
class CZT300SetDoc;
class IPrompt;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabBar;
class QVBoxLayout;

class CZT300SetFrame : public QWidget, public IView {
    Q_OBJECT

public:
    CZT300SetFrame(CZT300SetDoc& doc, IPrompt& prompt, QWidget* parent = nullptr);
    ~CZT300SetFrame() override;

    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;
    // The channel table goes below the bar.
    void SetView(QWidget* view);
    CZT300SetDoc& GetDocument() const { return m_doc; }
    // The recorder-wide fields take no edits while the document is ARMED.
    void RefreshLock();

    static constexpr int kCardFolderLimit = 21;
    static constexpr int kFileNameLimit = 73;

    // Fields by their labels, for tests and the table's neighbours.
    QLineEdit* CardFolderEdit() const { return m_cardFolder; }
    QLineEdit* FileNameEdit() const { return m_fileName; }
    QComboBox* RateList() const { return m_rate; }
    QComboBox* SyncList() const { return m_sync; }
    QLabel* NextRecordLabel() const { return m_nextRecord; }
    QTabBar* RecorderTabs() const { return m_tabs; }
    QCheckBox* HddLvlTrgCheck() const { return m_hddLvlTrg; }
    QCheckBox* CalcCheck() const { return m_calc; }
    QSpinBox* PreTimeBox() const { return m_pre; }
    QSpinBox* PostTimeBox() const { return m_post; }
    QLabel* TimeLabel() const { return m_timeLabel; }

signals:
    void recorderChanged(int index);

private:
    QWidget* BuildBar();
    CRecCnd& Current() const;
    void LoadFields();
    void FillRates(int list);
    void Edited();
    void OnHddLvlTrgToggled(bool checked);
    void OnCalcToggled(bool checked);
    void TableRuleChanged();
    void OnSyncChosen(int row);
    void OnNameEditFinished(QLineEdit* edit, int limit, QString& accepted);
    void ApplyNames();
    void ChooseFolder();
    void ShowTimes();

    CZT300SetDoc& m_doc;
    IPrompt& m_prompt;
    bool m_loading = false;
    QString m_acceptedFolder;
    QString m_acceptedName;

    QLabel* m_timeLabel = nullptr;
    QSpinBox* m_pre = nullptr;
    QSpinBox* m_post = nullptr;
    QComboBox* m_rate = nullptr;
    QButtonGroup* m_rateLists = nullptr;
    QComboBox* m_sync = nullptr;
    QCheckBox* m_hddLvlTrg = nullptr;
    QCheckBox* m_useRs232c = nullptr;
    QLineEdit* m_cardFolder = nullptr;
    QLabel* m_hddFolder = nullptr;
    QLineEdit* m_fileName = nullptr;
    QButtonGroup* m_naming = nullptr;
    QLineEdit* m_testInfo[3] = {};
    QLineEdit* m_memo1 = nullptr;
    QLineEdit* m_memo2 = nullptr;
    QCheckBox* m_calc = nullptr;
    QButtonGroup* m_subSamp = nullptr;
    QLabel* m_nextRecord = nullptr;
    QWidget* m_bar = nullptr;
    QTabBar* m_tabs = nullptr;
    QVBoxLayout* m_layout = nullptr;
};
