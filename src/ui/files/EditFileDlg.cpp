#include "ui/files/EditFileDlg.h"

#include "ui/dialogs/DialogText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

CEditFileDlg::CEditFileDlg(const RecordEdit& edit, QWidget* parent)
    : QDialog(parent), m_testInfo(new QLineEdit(ToQString(edit.testInfo), this)),
      m_memo1(new QLineEdit(ToQString(edit.memo1), this)),
      m_memo2(new QLineEdit(ToQString(edit.memo2), this)),
      m_fileName(new QLineEdit(ToQString(edit.fileName), this)) {
    setWindowTitle(tr("Edit File"));
    auto* form = new QFormLayout;
    form->addRow(tr("TestInfo :"), m_testInfo);
    form->addRow(tr("Memo1 :"), m_memo1);
    form->addRow(tr("Memo2 :"), m_memo2);
    form->addRow(tr("File Name :"), m_fileName);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    connect(buttons, &QDialogButtonBox::accepted, this, &CEditFileDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEditFileDlg::reject);
}

RecordEdit CEditFileDlg::GetEdit() const {
    return {ToStdString(m_testInfo->text()), ToStdString(m_memo1->text()),
            ToStdString(m_memo2->text()), ToStdString(m_fileName->text())};
}
