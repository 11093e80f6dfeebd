// The main window: the multiple-document frame whose menu follows the active child window.
#pragma once

#include <QMainWindow>

class QAction;
class QMdiArea;
class QMenu;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);

    static constexpr const char* kAppTitle = "ZT300CTL";

    // The action of a command id in the current menu, or nullptr.
    QAction* FindCommand(int id) const;
    QMdiArea* MdiArea() const { return m_mdiArea; }

private:
    QAction* AddCommand(QMenu* menu, const QString& text, int id, bool enabled);
    void BuildNoDocumentMenu();
    void ShowAbout();

    QMdiArea* m_mdiArea = nullptr;
};
