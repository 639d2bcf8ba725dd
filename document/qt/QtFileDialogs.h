// CQtFileDialogs: the save dialog and the "Data Memo" dialog of the save commands, in Qt.
#pragma once

#include <QStringList>
#include <string>

#include "document/IFileDialogs.h"
#include "resources/Language.h"

class QWidget;

class CQtFileDialogs : public IFileDialogs {
public:
    // The dialogs open over parent (none: centred on the screen).
    CQtFileDialogs(QWidget* parent, Language language) : m_parent(parent), m_language(language) {}

    // A modal save dialog: title, filter, initial name as given; a name chosen without an
    // extension gets the default one; an existing file is only questioned when asked for.
    bool ChooseSaveFile(const SAVEDIALOG& dialog, std::string& path) override;
    bool EditMemo(std::string& memo) override;

    // "Name(*.ext)|*.ext|All Files(*.*)|*.*||" as Qt name filters that show the names as they
    // stand and match like the patterns ("*.*" matches every file).
    static QStringList NameFilters(const std::string& filter);

private:
    QWidget* m_parent;
    Language m_language;
};
