// "View ACQ Files": the recordings of a PC folder with their dates, test information and rates;
// their header texts and names edited, recordings deleted, and one opened in the viewer program
// with a double click.
#pragma once

#include "setup/RecordList.h"
#include "setup/SortState.h"

#include <QDialog>

#include <memory>
#include <string>

class CQtPrompt;
class CRecorderSettings;
class CRecordRowModel;
class IProcessLauncher;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

class CViewAcqFilesDlg : public QDialog {
    Q_OBJECT

public:
    // `launcher` starts the viewer program; a waiting launch hides the program's main window.
    CViewAcqFilesDlg(const std::string& folder, const std::string& viewer,
                     IProcessLauncher& launcher, QWidget* parent = nullptr);
    ~CViewAcqFilesDlg() override;

    const std::string& GetFolder() const { return m_list.GetFolder(); }
    const std::string& GetViewer() const { return m_viewer; }
    void SetFolder(const std::string& folder);
    void SetViewer(const std::string& viewer);

    // What the buttons and the double click do, on the rows of the list.
    void EditSelected();
    void DeleteSelected();
    void View(int row);
    void SortBy(int column);

    QTableView* List() const { return m_table; }
    QLineEdit* FolderText() const { return m_folderText; }
    QLineEdit* ViewerText() const { return m_viewerText; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* DeleteButton() const { return m_delete; }
    const CRecordList& Records() const { return m_list; }
    CQtPrompt& Prompt() const { return *m_prompt; }

private:
    void Fill(const std::string& folder);
    void ChooseFolder();
    void ChooseViewer();
    void UpdateButtons();

    IProcessLauncher& m_launcher;
    std::unique_ptr<CQtPrompt> m_prompt;
    std::string m_viewer;
    CRecordList m_list;
    CSortState m_sort;
    bool m_sorted = false; // by a column the user clicked; else by file name

    QLineEdit* m_folderText;
    QToolButton* m_folderBrowse;
    QLineEdit* m_viewerText;
    QToolButton* m_viewerBrowse;
    QTableView* m_table;
    CRecordRowModel* m_rows;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_close;
};

// The "View ACQ file..." command: the dialog on the folder and viewer of the settings, which take
// both back when it closes.
void ViewAcqFiles(CRecorderSettings& settings, QWidget* mainWindow);
