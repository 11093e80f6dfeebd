// "Option Setting": the program settings on the pages "General", "Chart" and "ACQ Mode". The
// sheet edits a copy; after OK the caller takes the values back and tells the views.
#pragma once

#include "acquisition/RecorderSettings.h"
#include "ui/dialogs/ACQModePage.h"

#include <QDialog>

#include <array>

class IPrompt;
class QTabWidget;
class CChartPage;
class CGeneralPage;

class COptionSheet : public QDialog {
    Q_OBJECT

public:
    // `externalInput` tells whether the external input module's driver loads on this PC.
    COptionSheet(const CRecorderSettings& settings, IPrompt& prompt,
                 const CACQModePage::InputProbe& externalInput, QWidget* parent = nullptr);

    const CRecorderSettings& GetSettings() const { return m_values; }

    CGeneralPage* GeneralPage() const { return m_general; }
    CChartPage* ChartPage() const { return m_chart; }
    CACQModePage* AcqModePage() const { return m_acqMode; }
    QTabWidget* Tabs() const { return m_tabs; }

    void accept() override;

private:
    void PageChanged(int page);
    void ShowRefusedPage(COptionPage* page);
    COptionPage* Page(int index) const;

    CRecorderSettings m_values;
    QTabWidget* m_tabs;
    CGeneralPage* m_general;
    CChartPage* m_chart;
    CACQModePage* m_acqMode;
    int m_currentPage = 0;
};
