#include "ui/dialogs/AutoSaveDlg.h"

#include "ui/dialogs/DialogText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CAutoSaveDlg::CAutoSaveDlg(int autoSave, const std::string& filePath, int mode, QWidget* parent)
    : QDialog(parent), m_autoSave(new QCheckBox(QStringLiteral("Auto Save"), this)),
      m_append(new QRadioButton(QStringLiteral("Append"), this)),
      m_overWrite(new QRadioButton(QStringLiteral("OverWrite"), this)),
      m_fileName(new QLineEdit(ToQString(filePath), this)),
      m_browse(new QPushButton(QStringLiteral("..."), this)) {
    setWindowTitle(QStringLiteral("Auto Save Setting"));
    m_autoSave->setChecked(autoSave != 0);
    (mode == kOverWrite ? m_overWrite : m_append)->setChecked(true);

    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(m_append);
    modeRow->addWidget(m_overWrite);
    modeRow->addStretch(1);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("File Name:"), this));
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_browse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_autoSave);
    layout->addLayout(modeRow);
    layout->addLayout(fileRow);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());

    connect(m_browse, &QPushButton::clicked, this, &CAutoSaveDlg::ChooseFile);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAutoSaveDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAutoSaveDlg::reject);
}

void CAutoSaveDlg::ChooseFile() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("File Name:"), m_fileName->text(), QStringLiteral("CSV Files (*.csv)"),
        nullptr, QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty())
        m_fileName->setText(path);
}

int CAutoSaveDlg::GetAutoSave() const {
    return m_autoSave->isChecked() ? 1 : 0;
}

std::string CAutoSaveDlg::GetFilePath() const {
    return ToStdString(m_fileName->text());
}

int CAutoSaveDlg::GetMode() const {
    return m_overWrite->isChecked() ? kOverWrite : kAppend;
}
