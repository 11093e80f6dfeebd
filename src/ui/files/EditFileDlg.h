// "Edit File": the header texts and the file name of one listed recording.
#pragma once

#include "setup/RecordListEdit.h"

#include <QDialog>

class QLineEdit;

class CEditFileDlg : public QDialog {
    Q_OBJECT

public:
    explicit CEditFileDlg(const RecordEdit& edit, QWidget* parent = nullptr);

    RecordEdit GetEdit() const;

    QLineEdit* TestInfo() const { return m_testInfo; }
    QLineEdit* Memo1() const { return m_memo1; }
    QLineEdit* Memo2() const { return m_memo2; }
    QLineEdit* FileName() const { return m_fileName; }

private:
    QLineEdit* m_testInfo;
    QLineEdit* m_memo1;
    QLineEdit* m_memo2;
    QLineEdit* m_fileName;
};
