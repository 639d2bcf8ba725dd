// COrvelApp: the application: start-up order, the objects of one run, application commands.
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "resources/Language.h"

class CCommandRouter;
class CMainFrame;
class COrvelDoc;
class COrvelDocHost;
class COrvelView;
class CQtMessageBox;
class CQtWaitPump;
class CSignalNotifier;
class CSystemClock;
class IClock;
class QPrinter;

// Where a run keeps its files and what it measures time with. The program itself always runs
// with the defaults; tests and tools place a run in a folder of their own.
struct AppOptions {
    std::string exeDir;             // folder of "Orvel.cfg" and "log.txt"; empty: the executable's
    std::string portsDir;           // published ports; empty: "ports" in exeDir
    const IClock* clock = nullptr;  // the system clock when null
    std::optional<Language> language;  // the user interface's language when empty
};

class COrvelApp : public QObject {
    Q_OBJECT
public:
    explicit COrvelApp(AppOptions options = {});
    // Destroys the frame and view, then the document (which stores "Orvel.cfg", closes the port).
    ~COrvelApp() override;

    // Settings, frame and view, then the instruments (or the file named in arguments), then the
    // view's initial update and the window. False when the program must end without a window.
    bool InitInstance(const QStringList& arguments = {});

    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    // SIGINT or SIGTERM: open dialogs end as cancelled, waits fail, the window closes unasked.
    void OnTerminationSignal();
    // Handles SIGINT and SIGTERM from now on.
    bool InstallSignalHandlers();

    Language GetLanguage() const { return m_language; }
    COrvelDoc* Document() const { return m_doc.get(); }
    COrvelDocHost* DocumentHost() const { return m_docHost.get(); }
    CMainFrame* Frame() const { return m_frame.get(); }
    COrvelView* View() const { return m_view; }
    CCommandRouter& Router() const { return *m_router; }
    CQtWaitPump& WaitPump() const { return *m_pump; }
    QPrinter& Printer() const { return *m_printer; }

private:
    void RegisterCommands();

    AppOptions m_options;
    Language m_language;
    std::unique_ptr<CSystemClock> m_systemClock;
    const IClock* m_clock;
    std::unique_ptr<CQtWaitPump> m_pump;
    std::unique_ptr<CQtMessageBox> m_messageBox;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<CSignalNotifier> m_signals;
    std::unique_ptr<COrvelDoc> m_doc;
    std::unique_ptr<COrvelDocHost> m_docHost;
    std::unique_ptr<CCommandRouter> m_router;
    std::unique_ptr<CMainFrame> m_frame;
    COrvelView* m_view = nullptr;  // owned by the frame
};
