// CQtFileDialogs: the save dialog and the "Data Memo" dialog of the save commands, in Qt.
#include "document/qt/QtFileDialogs.h"

#include <QFileDialog>
#include <vector>

#include "data/FilePaths.h"
#include "data/qt/MemoDlg.h"

namespace {

std::vector<std::string> SplitBars(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t bar = filter.find('|', start);
        if (bar == std::string::npos) {
            parts.push_back(filter.substr(start));
            return parts;
        }
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
}

// Qt separates patterns with blanks and takes "*.*" literally (names with a dot only).
QString QtPatterns(const std::string& patterns) {
    QStringList list;
    for (const QString& p : QString::fromStdString(patterns).split(';', Qt::SkipEmptyParts)) {
        list << (p.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : p.trimmed());
    }
    return list.join(' ');
}

}  // namespace

QStringList CQtFileDialogs::NameFilters(const std::string& filter) {
    const std::vector<std::string> parts = SplitBars(filter);
    QStringList filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) {
            break;
        }
        // The dialog hides the appended pattern list, so the name shows exactly as written.
        filters << QString::fromStdString(parts[i]) + " (" + QtPatterns(parts[i + 1]) + ")";
    }
    return filters;
}

bool CQtFileDialogs::ChooseSaveFile(const SAVEDIALOG& dialog, std::string& path) {
    QFileDialog fd(m_parent, QString::fromStdString(dialog.title));
    fd.setAcceptMode(QFileDialog::AcceptSave);
    fd.setFileMode(QFileDialog::AnyFile);
    fd.setOption(QFileDialog::HideNameFilterDetails, true);
    fd.setOption(QFileDialog::DontConfirmOverwrite, !dialog.confirmOverwrite);
    fd.setNameFilters(NameFilters(dialog.filter));
    fd.setDefaultSuffix(QString::fromStdString(dialog.defaultExtension));
    if (!dialog.initialName.empty()) {
        fd.selectFile(QString::fromStdString(dialog.initialName));
    }
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty()) {
        return false;
    }
    path = WithDefaultExtension(fd.selectedFiles().front().toStdString(), dialog.defaultExtension);
    return true;
}

bool CQtFileDialogs::EditMemo(std::string& memo) {
    return CMemoDlg::Run(memo, m_language, m_parent);
}
