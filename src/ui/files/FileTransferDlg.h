// "File Transfer": the card of one recorder as a folder tree and a file list, a PC folder as a
// second list, and copy, move, delete and format between them.
#pragma once

#include "setup/CardTransfer.h"
#include "setup/FileTransferSettings.h"

#include <QDialog>

#include <memory>
#include <string>

class CDevice;
class CQtPrompt;
class CTransferRowModel;
class ISettingsStore;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
struct CardTreeItem;

class CFileTransferDlg : public QDialog {
    Q_OBJECT

public:
    // `dataFolder` is the target folder when none was kept.
    CFileTransferDlg(CDevice& device, ISettingsStore& store, const std::string& dataFolder,
                     QWidget* parent = nullptr);
    ~CFileTransferDlg() override;

    // Reads the card and shows the dialog; without a card only the message shows.
    int Run();
    // Reads the card and fills the tree; false, after the message, without a card.
    bool Open();

    // Shows the folder's files in the card list, as selecting it in the tree does.
    void SelectCardFolder(const std::string& path);
    void SetTargetFolder(const std::string& folder);
    // The card files selected, in list order.
    std::vector<std::string> SelectedCardFiles() const;

    QTreeWidget* Tree() const { return m_tree; }
    QTableView* CardList() const { return m_cardList; }
    QTableView* PcList() const { return m_pcList; }
    QLabel* CardTotal() const { return m_cardTotal; }
    QLineEdit* TargetFolder() const { return m_target; }
    QPushButton* CopyButton() const { return m_copy; }
    QPushButton* MoveButton() const { return m_move; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* FormatButton() const { return m_format; }
    QPushButton* CloseButton() const { return m_close; }
    CQtPrompt& Prompt() const { return *m_prompt; }

    void done(int result) override;

private:
    QWidget* BuildCardSide();
    QWidget* BuildPcSide();
    void RebuildTree();
    void AddTreeItems(QTreeWidgetItem* parent, const CardTreeItem& item);
    void ShowCardFolder();
    void FillPcList();
    void SortList(QTableView* list, CTransferRowModel* model, const CSortState& sort);
    void Run(CCardTransfer::Kind kind);
    void Format();
    void Apply(const CCardTransfer::Refresh& refresh);
    void ChooseFolder();
    void UpdateButtons();
    void SetBusy(bool busy);

    ISettingsStore& m_store;
    std::unique_ptr<CQtPrompt> m_prompt; // its progress window disables this dialog
    CCardTransfer m_transfer;
    FileTransferSettings m_settings;
    std::string m_folderPath; // the card folder shown; empty for none
    bool m_busy = false;

    QTreeWidget* m_tree;
    QLabel* m_cardTotal;
    QTableView* m_cardList;
    CTransferRowModel* m_cardRows;
    QLineEdit* m_target;
    QToolButton* m_browse;
    QTableView* m_pcList;
    CTransferRowModel* m_pcRows;
    QPushButton* m_copy;
    QPushButton* m_move;
    QPushButton* m_delete;
    QPushButton* m_format;
    QPushButton* m_close;
};

// The "File Transfer" command on a connected recorder.
void TransferCardFiles(CDevice& device, ISettingsStore& store, const std::string& dataFolder,
                       QWidget* parent);
