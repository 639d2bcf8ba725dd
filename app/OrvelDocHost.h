// COrvelDocHost: the document's window-system side: title, redraws and the document's commands.
#pragma once

#include <QString>
#include <memory>

#include "data/NonCopyable.h"
#include "document/IDocumentHost.h"
#include "resources/Language.h"

class CComSelDlg;
class CMainFrame;
class COrvelDoc;
class COrvelView;
class IWaitPump;

class COrvelDocHost : public IDocumentHost, CNonCopyable {
public:
    COrvelDocHost(COrvelDoc& doc, const IWaitPump* pump);
    ~COrvelDocHost() override;

    // The frame and its view; the port dialog is made here, owned by the frame.
    void Attach(CMainFrame* frame, COrvelView* view);

    // IDocumentHost.
    void SetTitle(const std::string& title) override;
    void SetModifiedFlag(bool) override {}
    void UpdateAllViews() override;
    // "<title> - Halvo", "Untitled" standing for a document without a title.
    QString WindowTitle() const;

    // The connection loop at start-up: false when the user cancelled the port choice.
    bool OnNewDocument();
    // New: with the instruments connected, the stored port is in use, so the port choice comes
    // first (it lists only ports that open now); Cancel leaves the connection as it is. With the
    // port closed (never opened, or lost) the stored port is tried first.
    void OnFileNew();
    // Open, a dropped file or a file on the command line: the data set is emptied, the file's
    // name becomes the title; no file content is read and the instruments are not touched.
    void OnOpenDocument(const QString& path);

    // Save, Save Append and Save with Count are enabled when the data set holds a record.
    bool OnUpdateFileSave() const;
    void ShowSensorInfo();

    // The save commands through the platform's save dialog and the memo dialog, and the two
    // settings dialogs; each stores the settings file when it changes them.
    void OnFileSave();
    void OnSaveAppend();
    void OnSaveCount();
    void OnMeasSetting();
    void OnGraphSetting();

    CComSelDlg* PortDialog() const { return m_portDlg; }

private:
    COrvelDoc& m_doc;
    const IWaitPump* m_pump;
    CMainFrame* m_frame = nullptr;
    COrvelView* m_view = nullptr;
    CComSelDlg* m_portDlg = nullptr;
};
