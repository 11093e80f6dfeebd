#include "ui/dialogs/OptionSheet.h"

#include "ui/dialogs/ChartPage.h"
#include "ui/dialogs/GeneralPage.h"

#include <QDialogButtonBox>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

COptionSheet::COptionSheet(const CRecorderSettings& settings, IPrompt& prompt,
                           const CACQModePage::InputProbe& externalInput, QWidget* parent)
    : QDialog(parent), m_values(settings), m_tabs(new QTabWidget(this)),
      m_general(new CGeneralPage(m_values, prompt, m_tabs)),
      m_chart(new CChartPage(m_values, prompt, m_tabs)),
      m_acqMode(new CACQModePage(m_values, prompt, externalInput, m_tabs)) {
    setWindowTitle(QStringLiteral("Option Setting"));
    m_tabs->addTab(m_general, QStringLiteral("General"));
    m_tabs->addTab(m_chart, QStringLiteral("Chart"));
    m_tabs->addTab(m_acqMode, QStringLiteral("ACQ Mode"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &COptionSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionSheet::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &COptionSheet::PageChanged);
    for (COptionPage* page :
         {static_cast<COptionPage*>(m_general), static_cast<COptionPage*>(m_chart),
          static_cast<COptionPage*>(m_acqMode)})
        connect(page, &COptionPage::ValueRefused, this, &COptionSheet::ShowRefusedPage);
}

COptionPage* COptionSheet::Page(int index) const {
    return static_cast<COptionPage*>(m_tabs->widget(index));
}

void COptionSheet::PageChanged(int page) {
    // A page with a refused value is not left: the refusal brings it back.
    if (page != m_currentPage && Page(m_currentPage)->Leave())
        m_currentPage = page;
}

void COptionSheet::ShowRefusedPage(COptionPage* page) {
    const QSignalBlocker blocker(m_tabs);
    m_tabs->setCurrentWidget(page);
    m_currentPage = m_tabs->currentIndex();
}

void COptionSheet::accept() {
    // Every page is checked, not only the visited ones, so that a stored value out of range is
    // not handed back unseen.
    const int first = m_currentPage;
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (!Page((first + i) % m_tabs->count())->Leave())
            return;
    }
    QDialog::accept();
}
