// The main window: the multiple-document frame whose menu follows the active child window.
#pragma once

#include <QMainWindow>

#include <functional>

class ICommandHandler;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;

enum class MenuKind { NoDocument, Setup, Monitor };

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);

    static constexpr const char* kAppTitle = "ZT300CTL";

    // Until a handler is set only Exit and About work.
    void SetCommandHandler(ICommandHandler* handler);
    void SetMenuKind(MenuKind kind);
    MenuKind GetMenuKind() const { return m_kind; }
    // The action of a command id in the current menu, or nullptr.
    QAction* FindCommand(int id) const;
    // Asks the handler for every command's enabled and checked state, as the idle update does.
    void UpdateCommandStates();
    QMdiArea* MdiArea() const { return m_mdiArea; }
    void SetStatusText(const QString& text);

    // Asked before the frame closes (documents, settings); false keeps the program open.
    void SetCloseHandler(std::function<bool()> handler) { m_closeHandler = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct CommandEntry {
        int id;
        const char* text;
        const char* key;
    };
    QAction* AddCommand(QMenu* menu, const CommandEntry& entry);
    void AddCommands(QMenu* menu, std::initializer_list<CommandEntry> entries);
    void BuildNoDocumentMenu();
    void BuildSetupMenu();
    void BuildMonitorMenu();
    void AddWindowCommands(QMenu* menu);
    void AddHelpMenu();
    void RunCommand(int id);
    void ShowAbout();

    QMdiArea* m_mdiArea = nullptr;
    QLabel* m_statusText = nullptr;
    QTimer* m_idleTimer = nullptr;
    ICommandHandler* m_handler = nullptr;
    MenuKind m_kind = MenuKind::NoDocument;
    QList<QAction*> m_hiddenCommands; // accelerators without a menu entry
    std::function<bool()> m_closeHandler;
};
