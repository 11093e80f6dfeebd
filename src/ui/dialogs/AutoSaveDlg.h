// "Auto Save Setting": whether the max/min result is saved after every record, to which file,
// appended or overwritten.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CAutoSaveDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kAppend = 0;
    static constexpr int kOverWrite = 1;

    CAutoSaveDlg(int autoSave, const std::string& filePath, int mode, QWidget* parent = nullptr);

    int GetAutoSave() const;
    std::string GetFilePath() const;
    int GetMode() const;

    QCheckBox* AutoSaveBox() const { return m_autoSave; }
    QRadioButton* AppendButton() const { return m_append; }
    QRadioButton* OverWriteButton() const { return m_overWrite; }
    QLineEdit* FileNameEdit() const { return m_fileName; }

private:
    void ChooseFile();

    QCheckBox* m_autoSave;
    QRadioButton* m_append;
    QRadioButton* m_overWrite;
    QLineEdit* m_fileName;
    QPushButton* m_browse;
};
