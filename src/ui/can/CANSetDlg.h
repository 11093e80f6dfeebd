// "QA-80CAN-K Setting" and "QA-80CAN-G Setting": the widgets of the CAN setting dialog. What
// they show and do is CCanSetup's; the dialog paints it and forwards the user's commands.
#pragma once

#include "setup/CanSetup.h"

#include <QDialog>

#include <memory>

class CCanSignalModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTableView;
class QToolButton;

class CCANSetDlg : public QDialog {
    Q_OBJECT

public:
    // Restores the pages of the last use and reads the first module's database.
    CCANSetDlg(std::unique_ptr<CCanSetup> setup, QWidget* parent = nullptr);
    ~CCANSetDlg() override;

    CCanSetup& Setup() const { return *m_setup; }

    // What the "..." buttons do once a file was chosen.
    void LoadDbcFile(const QString& path);
    void LoadDcdFile(const QString& path);
    void SetXcpFile(const QString& path);
    void SaveDcdFile(const QString& path);
    // "Next" and "Prev" of the search field.
    void Search(bool forward);

    QComboBox* SlotList() const { return m_slotList; }
    QCheckBox* SwitchBox() const { return m_switch; } // "XCP-SW" (K) or "ACK ON" (G)
    QRadioButton* DbcSourceButton() const { return m_dbcSource; }
    QRadioButton* DcdSourceButton() const { return m_dcdSource; }
    QTabBar* Tabs() const { return m_tabs; }
    QLabel* Caption() const { return m_caption; }
    QLabel* LeftOut() const { return m_leftOut; }
    QTableView* List() const { return m_list; }
    QLabel* PageSignals() const { return m_pageSignals; }
    QLabel* PageWords() const { return m_pageWords; }
    QLabel* SelectedSignals() const { return m_selectedSignals; }
    QLabel* SelectedWords() const { return m_selectedWords; }
    QLineEdit* SearchEdit() const { return m_search; }
    QPushButton* CheckAllButton() const { return m_checkAll; }
    QPushButton* UncheckAllButton() const { return m_uncheckAll; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* SendDbButton() const { return m_sendDb; }
    QPushButton* ClearDbButton() const { return m_clearDb; }
    QPushButton* SendXcpButton() const { return m_sendXcp; }
    QPushButton* SaveDcdButton() const { return m_saveDcd; }

public slots:
    // Closing by "Quit", Escape or the window's close box asks what leaving asks.
    void reject() override;

private:
    QWidget* CreateTopRow();
    QWidget* CreateFileRows();
    QWidget* CreateCountRow();
    QWidget* CreateSearchRow();
    QWidget* CreateButtonColumn();
    void ConnectControls();
    QPushButton* AddButton(const char* text, void (CCANSetDlg::*handler)());
    QToolButton* AddBrowse(QWidget* parent, void (CCANSetDlg::*handler)());
    // A file to open, from a file dialog starting in the folder of the path `near` shows.
    QString AskOpenPath(const char* title, const char* filter, const QLineEdit* near);
    void ChooseDbcFile();
    void ChooseDcdFile();
    void ChooseXcpFile();
    void ChooseDcdToSave();
    // Runs a command of the setup, then shows what it changed.
    template <class Command> void Run(Command command);
    // Shows the whole state of the setup.
    void Refresh();
    void RefreshTabs();
    void RefreshCounts();
    void RefreshButtons();
    void SizeColumns();

    std::unique_ptr<CCanSetup> m_setup;
    CCanSignalModel* m_model = nullptr;
    QComboBox* m_slotList = nullptr;
    QCheckBox* m_switch = nullptr;
    QRadioButton* m_dbcSource = nullptr;
    QRadioButton* m_dcdSource = nullptr;
    QLineEdit* m_dbcPath = nullptr;
    QLineEdit* m_dcdPath = nullptr;
    QLineEdit* m_xcpPath = nullptr;
    QTabBar* m_tabs = nullptr;
    QLabel* m_caption = nullptr;
    QLabel* m_leftOut = nullptr;
    QTableView* m_list = nullptr;
    QLabel* m_pageSignals = nullptr;
    QLabel* m_pageWords = nullptr;
    QLabel* m_selectedSignals = nullptr;
    QLabel* m_selectedWords = nullptr;
    QLineEdit* m_search = nullptr;
    QPushButton* m_checkAll = nullptr;
    QPushButton* m_uncheckAll = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_sendDb = nullptr;
    QPushButton* m_clearDb = nullptr;
    QPushButton* m_sendXcp = nullptr;
    QPushButton* m_saveDcd = nullptr;
    QPushButton* m_quit = nullptr;
};

class CDevice;
class IPrompt;
class ISettingsStore;

// The menu commands "QA-80CAN-K Init..." and "QA-80CAN-G Init...": the dialog on the recorder
// (none: on files alone), modal.
void RunCanSetDlg(CCanSetup::Kind kind, CDevice* device, IPrompt& prompt, ISettingsStore& store,
                  QWidget* parent);
