// CMainFrame: the main window: menus, toolbar, status bar, accelerators and closing.
#include "app/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "app/CommandRouter.h"
#include "app/ToolbarIcons.h"
#include "display/qt/OrvelView.h"
#include "link/IWaitPump.h"
#include "resources/StringTable.h"

CMainFrame::CMainFrame(Language language, CCommandRouter& router, IWaitPump& pump, QWidget* parent)
    : QMainWindow(parent), m_language(language), m_router(router), m_pump(pump) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(QIcon(ApplicationImage(32)));
    resize(800, 640);
    connect(&m_router, &CCommandRouter::commandDone, this, [this] { UpdateCommandUI(); });
}

bool CMainFrame::OnCreate() {
    if (!CreateToolBar() || !CreateStatusBar()) {
        return false;
    }
    CreateMenus();
    CreateAccelerators();
    RemoveMenuCommand(ID_SAVE_COUNT);
    setAcceptDrops(true);
    UpdateCommandUI();
    return true;
}

void CMainFrame::SetView(COrvelView* view) {
    m_view = view;
    setCentralWidget(view);
    connect(view, &COrvelView::measurementEnded, this, &CMainFrame::OnMeasurementEnded);
    connect(view, &COrvelView::commandStateChanged, this, &CMainFrame::UpdateCommandUI);
    view->SetContextMenuHandler([this](const QPoint& at) { TrackPopupMenu(at); });
}

QAction* CMainFrame::MakeCommandAction(const MenuItemDef& item) {
    const auto it = m_commands.find(item.command);
    if (it != m_commands.end()) {
        return it->second;
    }
    auto* action = new QAction(QString::fromUtf8(item.text), this);
    action->setData(item.command);
    const CommandPrompt prompt = LoadCommandPrompt(item.command, m_language);
    action->setStatusTip(QString::fromStdString(prompt.statusText));
    action->setToolTip(QString::fromStdString(prompt.toolTip));
    action->setIcon(ToolbarIcon(item.command));
    action->setIconVisibleInMenu(false);
    const unsigned id = item.command;
    connect(action, &QAction::triggered, this, [this, id] { m_router.Post(id); });
    m_commands[id] = action;
    return action;
}

void CMainFrame::FillMenu(QMenu* menu, std::span<const MenuItemDef> items) {
    for (const MenuItemDef& item : items) {
        if (item.command == ID_SEPARATOR) {
            menu->addSeparator();
        } else {
            menu->addAction(MakeCommandAction(item));
        }
    }
    // The update handlers decide each item's state just before the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateActions(menu->actions()); });
}

void CMainFrame::CreateMenus() {
    for (const MenuPopupDef& popup : LoadMenuResource(IDR_MAINFRAME, m_language)) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.text));
        FillMenu(menu, popup.items);
    }
}

bool CMainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
    m_toolBar->setMovable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    const auto menu = LoadMenuResource(IDR_MAINFRAME, m_language);
    for (const unsigned id : ToolbarButtons()) {
        if (id == ID_SEPARATOR) {
            m_toolBar->addSeparator();
            continue;
        }
        // The button shares the action of its menu item.
        const char* text = "";
        for (const MenuPopupDef& popup : menu) {
            for (const MenuItemDef& item : popup.items) {
                if (item.command == id) {
                    text = item.text;
                }
            }
        }
        m_toolBar->addAction(MakeCommandAction({text, id}));
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    return m_toolBar->actions().size() == static_cast<qsizetype>(ToolbarButtons().size());
}

bool CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    for (const unsigned id : StatusBarIndicators()) {
        if (id == ID_SEPARATOR) {
            // The message pane: "Ready" while no prompt is shown in its place.
            m_messagePane =
                new QLabel(QString::fromUtf8(LoadResString(IDS_IDLE_MESSAGE, m_language)), bar);
            m_messagePane->setObjectName(QStringLiteral("messagePane"));
            bar->addWidget(m_messagePane, 1);
            continue;
        }
        auto* indicator = new QLabel(QString::fromUtf8(LoadResString(id, m_language)), bar);
        indicator->setObjectName(QStringLiteral("indicator%1").arg(id));
        indicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        indicator->setAlignment(Qt::AlignCenter);
        // Lock-key states are not reported to the program; the panes stay greyed as when off.
        indicator->setEnabled(false);
        bar->addPermanentWidget(indicator);
    }
    return m_messagePane != nullptr;
}

void CMainFrame::CreateAccelerators() {
    for (const AcceleratorDef& accel : Accelerators()) {
        auto* action = new QAction(this);
        action->setData(accel.command);
        action->setShortcut(QKeySequence::fromString(QString::fromLatin1(accel.keys)));
        action->setShortcutContext(Qt::WindowShortcut);
        const unsigned id = accel.command;
        connect(action, &QAction::triggered, this, [this, id] { m_router.Post(id); });
        addAction(action);
        m_accelerators.push_back(action);
    }
}

void CMainFrame::RemoveMenuCommand(unsigned id) {
    const auto it = m_commands.find(id);
    if (it == m_commands.end()) {
        return;
    }
    QAction* action = it->second;
    for (QAction* top : menuBar()->actions()) {
        if (QMenu* menu = top->menu()) {
            menu->removeAction(action);
        }
    }
    m_commands.erase(it);
    delete action;
}

QAction* CMainFrame::CommandAction(unsigned id) const {
    const auto it = m_commands.find(id);
    return it != m_commands.end() ? it->second : nullptr;
}

void CMainFrame::UpdateActions(const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        m_router.UpdateAction(action);
    }
}

void CMainFrame::UpdateCommandUI() {
    for (const auto& [id, action] : m_commands) {
        m_router.UpdateAction(action);
    }
    for (QAction* action : m_accelerators) {
        m_router.UpdateAction(action);
    }
}

QMenu* CMainFrame::TrackPopupMenu(const QPoint& globalPos) {
    const auto popups = LoadMenuResource(IDR_CONTEXT_MENU, m_language);
    if (popups.empty()) {
        return nullptr;
    }
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("contextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const MenuItemDef& item : popups.front().items) {
        if (item.command == ID_SEPARATOR) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setData(item.command);
        action->setStatusTip(
            QString::fromStdString(LoadCommandPrompt(item.command, m_language).statusText));
        const unsigned id = item.command;
        connect(action, &QAction::triggered, this, [this, id] { m_router.Post(id); });
    }
    UpdateActions(menu->actions());
    menu->popup(globalPos);
    return menu;
}

void CMainFrame::CloseWithoutQuestion() {
    m_noQuestion = true;
    if (m_view != nullptr) {
        m_view->StopIntervalWithoutQuestion();
    }
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_closeAgreed) {
        if (!m_noQuestion && m_view != nullptr && !m_view->QueryClose()) {
            event->ignore();
            return;
        }
        m_closeAgreed = true;
    }
    // The document must not go while a measurement still uses it: every wait now fails at
    // once, and the close completes when the sequence has unwound.
    if (m_view != nullptr && m_view->IsMeasuring()) {
        m_closePending = true;
        m_pump.RequestQuit();
        event->ignore();
        return;
    }
    m_closePending = false;
    event->accept();
}

void CMainFrame::OnMeasurementEnded() {
    UpdateCommandUI();
    if (m_closePending) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void CMainFrame::showEvent(QShowEvent* event) {
    m_wasShown = true;
    QMainWindow::showEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    // Opening empties the data set a running sequence is filling.
    if (m_view != nullptr && m_view->IsMeasuring()) {
        return;
    }
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile() && m_openFile) {
        event->acceptProposedAction();
        m_openFile(urls.front().toLocalFile());
    }
}
