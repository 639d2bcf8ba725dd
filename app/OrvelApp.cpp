// COrvelApp: the application: start-up order, the objects of one run, application commands.
#include "app/OrvelApp.h"

#include <QPointer>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLocale>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>

#include "app/AboutDlg.h"
#include "app/CommandRouter.h"
#include "app/MainFrame.h"
#include "app/OrvelDocHost.h"
#include "app/QtMessageBox.h"
#include "app/QtWaitPump.h"
#include "app/SignalNotifier.h"
#include "display/qt/OrvelView.h"
#include "document/HomeFolder.h"
#include "document/OrvelDoc.h"
#include "link/PortMap.h"
#include "measurement/IClock.h"
#include "resources/StringTable.h"

namespace {

Language SystemLanguage() {
    return LanguageFromLocaleName(QLocale::system().name().toStdString());
}

// "Halvo Files (*.wsx)": the filter of the document string, its fourth part.
QString DocumentFilter(Language language) {
    const QStringList parts =
        QString::fromUtf8(LoadResString(IDS_DOCUMENT_TEMPLATE, language)).split(QLatin1Char('\n'));
    return parts.size() > 3 ? parts[3] : QString();
}

}  // namespace

COrvelApp::COrvelApp(AppOptions options)
    : m_options(std::move(options)),
      m_language(m_options.language.value_or(SystemLanguage())),
      m_systemClock(std::make_unique<CSystemClock>()),
      m_clock(m_options.clock != nullptr ? m_options.clock : m_systemClock.get()),
      m_pump(std::make_unique<CQtWaitPump>()),
      m_messageBox(std::make_unique<CQtMessageBox>(m_language, m_pump.get())),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_router(std::make_unique<CCommandRouter>()) {
    if (m_options.exeDir.empty()) {
        m_options.exeDir = CHomeFolder::Resolve();
    }
    if (m_options.exeDir.back() != '/') {
        m_options.exeDir += '/';
    }
    if (m_options.portsDir.empty()) {
        m_options.portsDir = m_options.exeDir + "ports";
    }
}

COrvelApp::~COrvelApp() {
    m_frame.reset();
    m_view = nullptr;
    if (m_doc) {
        m_doc->SetHost(nullptr);
    }
    m_doc.reset();
}

bool COrvelApp::InitInstance(const QStringList& arguments) {
    m_doc = std::make_unique<COrvelDoc>(m_options.exeDir, m_language);
    m_doc->m_link.SetPortMap(CPortMap(m_options.portsDir));
    m_doc->m_link.SetWaitPump(m_pump.get());
    m_doc->SetMessageBox(m_messageBox.get());

    m_frame = std::make_unique<CMainFrame>(m_language, *m_router, *m_pump);
    if (!m_frame->OnCreate()) {
        return false;
    }
    m_view = new COrvelView(*m_doc, *m_messageBox, *m_clock, m_frame.get());
    m_view->SetPrinter(m_printer.get());
    m_frame->SetView(m_view);
    m_frame->SetFileOpener([this](const QString& path) { m_docHost->OnOpenDocument(path); });
    m_messageBox->SetParent(m_frame.get());
    m_messageBox->SetUnattended(
        [view = QPointer<COrvelView>(m_view)] { return view != nullptr && view->IsIntervalOn(); });
    m_docHost = std::make_unique<COrvelDocHost>(*m_doc, m_pump.get());
    m_docHost->Attach(m_frame.get(), m_view);
    m_doc->SetHost(m_docHost.get());
    RegisterCommands();

    // A file named on the command line is opened without data and without instruments.
    const QStringList files = arguments.mid(1);
    if (!files.isEmpty()) {
        m_docHost->OnOpenDocument(files.front());
    } else if (!m_docHost->OnNewDocument()) {
        return false;
    }
    m_frame->show();
    m_view->OnInitialUpdate();
    m_frame->UpdateCommandUI();
    return true;
}

void COrvelApp::RegisterCommands() {
    CCommandRouter& r = *m_router;
    COrvelDocHost* doc = m_docHost.get();
    COrvelView* view = m_view;
    CMainFrame* frame = m_frame.get();
    const auto canSave = [doc] { return doc->OnUpdateFileSave(); };
    const auto idle = [view] { return view->m_controller.CanReplaceDocument(); };

    r.Add(
        ID_FILE_SAVE, [doc] { doc->OnFileSave(); }, canSave);
    r.Add(
        ID_SAVE_APPEND, [doc] { doc->OnSaveAppend(); }, canSave);
    r.Add(
        ID_SAVE_COUNT, [doc] { doc->OnSaveCount(); }, canSave);
    r.Add(ID_MEAS_SETTING, [doc] { doc->OnMeasSetting(); });
    r.Add(ID_GRAPH_SETTING, [doc] { doc->OnGraphSetting(); });
    r.Add(ID_SENSOR_INFO, [doc] { doc->ShowSensorInfo(); });

    r.Add(
        ID_MEAS_EXECUTE, [view] { view->OnMeasExecute(); },
        [view] { return view->OnUpdateMeasExecute(); });
    r.Add(
        ID_INTERVAL_MEAS, [view] { view->OnIntervalMeas(); },
        [view] { return view->OnUpdateIntervalMeas(); });
    r.Add(ID_FILE_PRINT, [view] { view->OnFilePrint(); });
    r.Add(ID_FILE_PRINT_DIRECT, [view] { view->OnFilePrintDirect(); });
    r.Add(ID_FILE_PRINT_PREVIEW, [view] { view->OnFilePrintPreview(); });

    r.Add(ID_APP_ABOUT, [this] { OnAppAbout(); });
    // New and Open replace what the running sequence works on: not while it runs.
    r.Add(
        ID_FILE_NEW, [this] { OnFileNew(); }, idle);
    r.Add(
        ID_FILE_OPEN, [this] { OnFileOpen(); }, idle);
    r.Add(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });

    r.Add(ID_APP_EXIT, [frame] { frame->close(); });
    r.Add(
        ID_VIEW_TOOLBAR, [frame] { frame->ToolBar()->setVisible(!frame->ToolBar()->isVisible()); },
        {}, [frame] { return frame->ToolBar()->isVisible(); });
    r.Add(
        ID_VIEW_STATUS_BAR,
        [frame] { frame->statusBar()->setVisible(!frame->statusBar()->isVisible()); }, {},
        [frame] { return frame->statusBar()->isVisible(); });
}

void COrvelApp::OnAppAbout() {
    CAboutDlg dialog(m_language, QString::fromStdString(m_options.exeDir), m_frame.get());
    dialog.exec();
}

void COrvelApp::OnFileNew() {
    m_docHost->OnFileNew();
}

void COrvelApp::OnFileOpen() {
    const QString path = QFileDialog::getOpenFileName(m_frame.get(), QString(),
                                                      QString::fromStdString(m_options.exeDir),
                                                      DocumentFilter(m_language));
    if (!path.isEmpty()) {
        m_docHost->OnOpenDocument(path);
    }
}

void COrvelApp::OnFilePrintSetup() {
    QPageSetupDialog dialog(m_printer.get(), m_frame.get());
    dialog.exec();
}

bool COrvelApp::InstallSignalHandlers() {
    m_signals = std::make_unique<CSignalNotifier>();
    connect(m_signals.get(), &CSignalNotifier::received, this, [this] { OnTerminationSignal(); });
    return m_signals->Install();
}

void COrvelApp::OnTerminationSignal() {
    m_pump->RequestQuit();
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog->isVisible() && dialog->isModal()) {
            dialog->reject();
        }
    }
    if (m_frame && m_frame->isVisible()) {
        m_frame->CloseWithoutQuestion();
    }
}
