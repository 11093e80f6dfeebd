#include "ui/dialogs/ChartPage.h"

#include "setup/OptionChecks.h"
#include "ui/dialogs/DialogText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString FromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CChartPage::CChartPage(CRecorderSettings& values, IPrompt& prompt, QWidget* parent)
    : COptionPage(values, prompt, parent),
      m_separate(new QRadioButton(QStringLiteral("Seperate"), this)),
      m_common(new QRadioButton(QStringLiteral("Common"), this)), m_xWidth(new QComboBox(this)),
      m_xGrid(new QLineEdit(this)),
      m_yGridCnt(new QLineEdit(QString::number(values.m_yGridCnt), this)),
      m_decimalDigit(new QComboBox(this)) {
    m_separate->setObjectName("separate");
    m_common->setObjectName("common");
    m_xWidth->setObjectName("xWidth");
    m_xGrid->setObjectName("xGrid");
    m_yGridCnt->setObjectName("yGridCnt");
    m_decimalDigit->setObjectName("decimalDigit");

    m_xGrid->setMaximumWidth(80);
    m_yGridCnt->setMaximumWidth(80);
    (values.m_chartType == 1 ? m_common : m_separate)->setChecked(true);
    for (const ChartWidth& width : kChartWidths)
        m_xWidth->addItem(FromView(width.label));
    const ChartWidthChoice width = ChooseChartWidth(values.m_xWidth, values.m_xGrid);
    m_xWidth->setCurrentIndex(width.row);
    m_widthSeconds = width.seconds;
    m_xGrid->setText(QString::fromStdString(FormatOptionNumber(width.gridSeconds)));
    for (std::string_view digits : kDecimalDigitChoices)
        m_decimalDigit->addItem(FromView(digits));
    // A stored count outside the list shows no choice and stays as it is unless one is chosen.
    m_decimalDigit->setCurrentIndex(values.m_decimalDigit >= 0 &&
                                            values.m_decimalDigit < m_decimalDigit->count()
                                        ? values.m_decimalDigit
                                        : -1);

    auto* chartType = new QGroupBox(QStringLiteral("Chart Type :"), this);
    auto* typeRow = new QHBoxLayout(chartType);
    typeRow->addWidget(m_separate);
    typeRow->addWidget(m_common);
    typeRow->addStretch(1);

    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(m_xGrid);
    gridRow->addWidget(new QLabel(QStringLiteral("sec"), this));
    gridRow->addStretch(1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("X_WIDTH :"), m_xWidth);
    form->addRow(QStringLiteral("X_GRID :"), gridRow);
    form->addRow(QStringLiteral("Y_GRID_CNT :"), m_yGridCnt);
    form->addRow(QStringLiteral("Decimal Digit :"), m_decimalDigit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chartType);
    layout->addLayout(form);
    layout->addStretch(1);

    connect(m_xWidth, &QComboBox::activated, this, &CChartPage::ChooseWidth);
    connect(m_common, &QRadioButton::toggled, this, &CChartPage::UpdateYGridEnabled);
    UpdateYGridEnabled();
}

void CChartPage::ChooseWidth(int row) {
    const ChartWidthChoice width = ChartWidthOfRow(row);
    m_widthSeconds = width.seconds;
    m_xGrid->setText(QString::fromStdString(FormatOptionNumber(width.gridSeconds)));
}

void CChartPage::UpdateYGridEnabled() {
    m_yGridCnt->setEnabled(m_common->isChecked());
}

bool CChartPage::Leave() {
    double grid = m_values.m_xGrid;
    if (!Accept(CheckXGrid(ToStdString(m_xGrid->text()), m_widthSeconds, grid), m_xGrid))
        return false;
    // The count is used by the common chart only; while it cannot be edited it is kept as it is.
    int yGridCnt = m_values.m_yGridCnt;
    if (m_common->isChecked() &&
        !Accept(CheckYGridCnt(ToStdString(m_yGridCnt->text()), yGridCnt), m_yGridCnt))
        return false;
    m_values.m_chartType = m_common->isChecked() ? 1 : 0;
    m_values.m_xWidth = m_widthSeconds;
    m_values.m_xGrid = grid;
    m_values.m_yGridCnt = yGridCnt;
    if (m_decimalDigit->currentIndex() >= 0)
        m_values.m_decimalDigit = m_decimalDigit->currentIndex();
    return true;
}
