// COrvelDoc: the document's core: settings, the current data set and the instrument link.
#pragma once

#include <string>

#include "data/NonCopyable.h"
#include "data/RadData.h"
#include "document/IDocumentHost.h"
#include "document/OrvelSettings.h"
#include "link/Zeb530.h"
#include "resources/Language.h"

class IFileDialogs;
class IMessageBox;
class IPortChooser;

class COrvelDoc : public COrvelSettings, CNonCopyable {
public:
    // Loads "Orvel.cfg" from exeDir.
    explicit COrvelDoc(std::string exeDir, Language language = Language::English);
    // Stores the settings and closes the port.
    ~COrvelDoc() override;

    // The host and message box must outlive the document (or be detached with nullptr).
    void SetHost(IDocumentHost* host) { m_host = host; }
    void SetMessageBox(IMessageBox* messageBox);

    // Opens the stored port and sets up both instruments, asking for another port until the
    // set-up succeeds (true) or the user cancels (false).
    bool OnNewDocument(IPortChooser& chooser);
    // Brings both instruments into a known state; 0 after showing what failed.
    int SetupInstruments();
    // The text the "Sensor Information" dialog shows.
    std::string GetSensorInfoText() const;
    // Empties the current data set.
    void DeleteContents();

    // Save (57603): the whole data set to a new file, never over an existing one.
    void OnFileSave(IFileDialogs& dialogs);
    // Save Append (32794): the latest record onto an existing file of the same sensor type, or
    // the whole set into a new file.
    void OnFileSaveAppend(IFileDialogs& dialogs);
    // Save with Count (32774): the latest record as a CSV of counts per second.
    void OnSaveWithCount(IFileDialogs& dialogs);
    // The three save commands are enabled while the data set holds a record.
    bool CanSave() const { return m_radData.GetSize() > 0; }

    // Appends text to a file, creating it when missing; 1 written, 0 failed.
    static int AppendTextFile(const std::string& path, const std::string& text);

    // Window-system glue; silent without a host.
    void SetModifiedFlag(bool modified);
    bool IsModified() const { return m_modified; }
    void SetTitle(const std::string& title);
    const std::string& GetTitle() const { return m_title; }
    void UpdateAllViews();
    void StoreSettings() { LoadSaveConfig(m_cfgPath, kStore); }
    // Shows a text of the string table, or a fixed text, with OK.
    void ShowMessage(unsigned id);
    void ShowText(const std::string& text);

    Language m_language;
    CRadData m_radData;
    CZeb530 m_link;

private:
    bool TakeMemo(IFileDialogs& dialogs);
    bool AppendToExistingFile(const std::string& path);
    void FinishSave(const std::string& path);
    void SaveWholeSet(const std::string& path);

    IDocumentHost* m_host = nullptr;
    IMessageBox* m_messageBox = nullptr;
    bool m_modified = false;
    std::string m_title;
};
