// COrvelDocHost: the document's window-system side: title, redraws and the document's commands.
#include "app/OrvelDocHost.h"

#include <QFileInfo>

#include "app/MainFrame.h"
#include "display/qt/GraphDlg.h"
#include "display/qt/OrvelView.h"
#include "document/OrvelDoc.h"
#include "document/qt/QtFileDialogs.h"
#include "link/qt/ComSelDlg.h"
#include "link/qt/ProfDlg.h"
#include "measurement/qt/ConfDlg.h"
#include "resources/StringTable.h"

COrvelDocHost::COrvelDocHost(COrvelDoc& doc, const IWaitPump* pump) : m_doc(doc), m_pump(pump) {}

COrvelDocHost::~COrvelDocHost() = default;

void COrvelDocHost::Attach(CMainFrame* frame, COrvelView* view) {
    m_frame = frame;
    m_view = view;
    m_portDlg = new CComSelDlg(m_doc.m_link.PortMap(), m_doc.m_language, m_pump, frame);
    if (m_frame != nullptr) {
        m_frame->setWindowTitle(WindowTitle());
    }
}

QString COrvelDocHost::WindowTitle() const {
    QString title = QString::fromStdString(m_doc.GetTitle());
    if (title.isEmpty()) {
        title = m_doc.m_language == Language::Japanese ? QStringLiteral("無題")
                                                       : QStringLiteral("Untitled");
    }
    return title + QStringLiteral(" - ") +
           QString::fromUtf8(LoadResString(IDS_APP_TITLE, m_doc.m_language));
}

void COrvelDocHost::SetTitle(const std::string&) {
    if (m_frame != nullptr) {
        m_frame->setWindowTitle(WindowTitle());
    }
}

void COrvelDocHost::UpdateAllViews() {
    if (m_view != nullptr) {
        m_view->update();
    }
    if (m_frame != nullptr) {
        m_frame->UpdateCommandUI();
    }
}

bool COrvelDocHost::OnNewDocument() {
    m_doc.SetTitle(std::string());
    return m_doc.OnNewDocument(*m_portDlg);
}

void COrvelDocHost::OnFileNew() {
    m_doc.DeleteContents();
    m_doc.SetTitle(std::string());
    m_doc.SetModifiedFlag(false);
    UpdateAllViews();
    if (m_doc.m_link.IsOpen()) {
        int port = m_doc.m_comPort;
        if (!m_portDlg->ChoosePort(port)) {
            return;
        }
        m_doc.m_comPort = port;
        m_doc.StoreSettings();
    }
    m_doc.OnNewDocument(*m_portDlg);
    UpdateAllViews();
}

void COrvelDocHost::OnOpenDocument(const QString& path) {
    m_doc.DeleteContents();
    m_doc.SetTitle(QFileInfo(path).fileName().toStdString());
    m_doc.SetModifiedFlag(false);
    UpdateAllViews();
}

bool COrvelDocHost::OnUpdateFileSave() const {
    return m_doc.CanSave();
}

void COrvelDocHost::ShowSensorInfo() {
    CProfDlg dialog(m_doc.m_language, m_frame);
    dialog.m_text = QString::fromStdString(m_doc.GetSensorInfoText());
    dialog.exec();
}

void COrvelDocHost::OnFileSave() {
    CQtFileDialogs dialogs(m_frame, m_doc.m_language);
    m_doc.OnFileSave(dialogs);
    UpdateAllViews();
}

void COrvelDocHost::OnSaveAppend() {
    CQtFileDialogs dialogs(m_frame, m_doc.m_language);
    m_doc.OnFileSaveAppend(dialogs);
    UpdateAllViews();
}

void COrvelDocHost::OnSaveCount() {
    CQtFileDialogs dialogs(m_frame, m_doc.m_language);
    m_doc.OnSaveWithCount(dialogs);
}

void COrvelDocHost::OnMeasSetting() {
    CConfDlg::Run(m_doc, m_frame);
}

void COrvelDocHost::OnGraphSetting() {
    CGraphDlg::Run(m_doc, m_frame);
}
