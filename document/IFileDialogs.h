// IFileDialogs: the save dialog and the "Data Memo" dialog as the save commands use them.
#pragma once

#include <string>

struct SAVEDIALOG {
    std::string title;
    std::string filter;            // "Name(*.ext)|*.ext|All Files(*.*)|*.*||"
    std::string defaultExtension;  // added to a name typed without one
    std::string initialName;
    bool confirmOverwrite = false;  // the dialog itself asks before replacing a file
};

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // Shows the platform's save dialog; false on Cancel, else path holds the chosen file.
    virtual bool ChooseSaveFile(const SAVEDIALOG& dialog, std::string& path) = 0;
    // Shows the "Data Memo" dialog (at most 50 characters); false on Cancel.
    virtual bool EditMemo(std::string& memo) = 0;
};
