// The material list of a document: the file it came from, "..." to choose another, and a
// read-only grid of the materials with their specification limits.
#pragma once

#include "framework/View.h"

#include <QWidget>

#include <functional>

class CGridCtrl;
class CZT300SetDoc;
class IPrompt;
class QLineEdit;
class QPushButton;

class CMatView : public QWidget, public IView {
    Q_OBJECT

public:
    static constexpr const char* kDialogTitle =
        "Select a Material Template File(*.zai) or CSV File(*.csv)";
    static constexpr const char* kDialogFilter =
        "Material Template Files(*.zai), CSV Files(*.csv) (*.zai *.csv)";
    // Asks for the file to load; empty when the user cancelled.
    using FileChooser = std::function<QString()>;

    CMatView(CZT300SetDoc& doc, IPrompt& prompt, QWidget* parent = nullptr);
    ~CMatView() override;

    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // "...": another file replaces the document's list when it can be read.
    void ChooseFile();
    void Rebuild();

    CZT300SetDoc& GetDocument() const { return m_doc; }
    QLineEdit* PathField() const { return m_path; }
    QPushButton* BrowseButton() const { return m_browse; }
    CGridCtrl* Grid() const { return m_grid; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();

    CZT300SetDoc& m_doc;
    IPrompt& m_prompt;
    FileChooser m_chooseFile;
    QLineEdit* m_path;
    QPushButton* m_browse;
    CGridCtrl* m_grid;
};
