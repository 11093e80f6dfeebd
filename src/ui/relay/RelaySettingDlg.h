// "Trg Setting for NI6525": the relay setting dialog. It edits a copy of the condition's
// watch-dog values and monitor channel rows (the rules are CRelayTable's); OK hands them back.
#pragma once

#include "conditions/RelayTable.h"

#include <QDialog>

#include <functional>

class CGridCtrl;
class IPrompt;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class CRelaySettingDlg : public QDialog {
    Q_OBJECT

public:
    // Asks for the relay settings file to import (save false) or export to (save true); empty
    // when the user cancelled.
    using FileChooser = std::function<QString(bool save)>;
    // Runs the port setting dialog (tests answer it themselves).
    using PortDialogRunner = std::function<int(QDialog& dialog)>;

    CRelaySettingDlg(const CRecCnd& condition, std::vector<int> portLevels, IPrompt& prompt,
                     QWidget* parent = nullptr);

    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    void SetPortDialogRunner(PortDialogRunner runner) { m_runPortDialog = std::move(runner); }

    // OK: the edits go into `condition`; the ports' initial values are GetPortLevels().
    void ApplyTo(CRecCnd& condition) const { m_table.ApplyTo(condition); }
    const std::vector<int>& GetPortLevels() const { return m_table.PortLevels(); }
    const CRelayTable& Table() const { return m_table; }

    CGridCtrl* Grid() const { return m_grid; }
    QListWidget* ChannelList() const { return m_channels; }
    QLineEdit* SafeTimerEdit() const { return m_safeTimer; }
    QLineEdit* TrgTimerEdit() const { return m_trgTimer; }
    QCheckBox* RecStopBox() const { return m_recStopOn; }
    QLineEdit* RecStopEdit() const { return m_recStop; }
    QCheckBox* RecStartBox() const { return m_recStart; }
    QLineEdit* AutoMonitorEdit() const { return m_autoMonitor; }

    void AddSelectedChannel();
    void DeleteSelectedRow();
    void ShowPortSetting();
    void ImportFromFile();
    void ExportToFile();
    void accept() override;

private:
    QWidget* BuildDogFields();
    void FillDogFields();
    void FillGrid();
    void FillRow(int row);
    void OnCellEdited(int gridRow, int column, const QString& text);
    void OnCellChecked(int gridRow, int column, bool checked);
    // The watch-dog fields into the copy; false (with the message shown) when one is refused.
    bool TakeDogFields();

    CRelayTable m_table;
    IPrompt& m_prompt;
    FileChooser m_chooseFile;
    PortDialogRunner m_runPortDialog;
    CGridCtrl* m_grid;
    QListWidget* m_channels;
    QLineEdit* m_safeTimer = nullptr;
    QLineEdit* m_trgTimer = nullptr;
    QCheckBox* m_recStopOn = nullptr;
    QLineEdit* m_recStop = nullptr;
    QCheckBox* m_recStart = nullptr;
    QLineEdit* m_autoMonitor = nullptr;
};
