// CMainFrame: the main window: menus, toolbar, status bar, accelerators and closing.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include "resources/Language.h"
#include "resources/MenuResources.h"

class CCommandRouter;
class COrvelView;
class IWaitPump;
class QLabel;
class QMenu;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(Language language, CCommandRouter& router, IWaitPump& pump,
               QWidget* parent = nullptr);

    // Toolbar, status bar, menus and accelerators from the resources; "Save with Count" leaves
    // the menu here. False when the frame cannot be completed.
    bool OnCreate();
    void SetView(COrvelView* view);
    COrvelView* View() const { return m_view; }

    // Asks every update handler and enables, disables and checks the items and buttons.
    void UpdateCommandUI();
    // The action of a menu item or toolbar button (one per command), or of an accelerator.
    QAction* CommandAction(unsigned id) const;
    const std::vector<QAction*>& AcceleratorActions() const { return m_accelerators; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* MessagePane() const { return m_messagePane; }

    // Menu 139 at a screen point; its items go through the same routing and enabling.
    QMenu* TrackPopupMenu(const QPoint& globalPos);

    // SIGINT, SIGTERM: closes as Exit does but asks nothing (an interval measurement stops).
    void CloseWithoutQuestion();
    // Files dropped on the window are opened through this.
    void SetFileOpener(std::function<void(const QString&)> opener) {
        m_openFile = std::move(opener);
    }
    bool WasShown() const { return m_wasShown; }

public slots:
    // A measurement returned: a close that waited for it goes ahead now.
    void OnMeasurementEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    QAction* MakeCommandAction(const MenuItemDef& item);
    void FillMenu(QMenu* menu, std::span<const MenuItemDef> items);
    bool CreateToolBar();
    bool CreateStatusBar();
    void CreateMenus();
    void CreateAccelerators();
    void RemoveMenuCommand(unsigned id);
    void UpdateActions(const QList<QAction*>& actions);

    Language m_language;
    CCommandRouter& m_router;
    IWaitPump& m_pump;
    COrvelView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    std::map<unsigned, QAction*> m_commands;
    std::vector<QAction*> m_accelerators;
    std::function<void(const QString&)> m_openFile;
    bool m_closeAgreed = false;   // the view agreed (or no question is asked)
    bool m_closePending = false;  // waiting for a measurement to unwind
    bool m_noQuestion = false;
    bool m_wasShown = false;
};
