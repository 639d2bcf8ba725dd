// CIntDlg: the "Interval Measurement" dialog: daily window, period, data files, memo, auto-start.
#include "measurement/qt/IntDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>

#include "data/qt/MemoDlg.h"
#include "document/OrvelDoc.h"
#include "document/qt/DialogExchange.h"
#include "document/qt/QtFileDialogs.h"
#include "measurement/IntervalScheduler.h"
#include "measurement/IntervalStartCheck.h"
#include "resources/DialogTexts.h"
#include "resources/StringTable.h"

namespace {

constexpr int kDialogWidth = 230;
constexpr int kDialogHeight = 190;
constexpr int kHourMax = 23;
constexpr int kMinuteMax = 59;
constexpr int kPeriodMinutesMax = 9999;
constexpr const char* kDataFileFilter = "Halvo Data Files(*.wsx)|*.wsx|All Files(*.*)|*.*||";
constexpr const char* kDataFileExtension = "wsx";

QString Text(DialogTextId id, Language language) {
    return QString::fromUtf8(LoadDialogText(id, language));
}

std::string WithoutTrailingSlashes(std::string path) {
    while (!path.empty() && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// A spin position of a time span in seconds, held to the spin's range before narrowing.
int SpinPosition(int64_t value, int minimum, int maximum) {
    return static_cast<int>(std::clamp<int64_t>(value, minimum, maximum));
}

}  // namespace

CIntDlg::CIntDlg(Language language, QWidget* parent)
    : CExchangeDialog(parent),
      m_language(language),
      m_template(*this, language, kDialogWidth, kDialogHeight) {
    setWindowTitle(Text(DialogTextId::IntervalTitle, language));
    CreateTimeControls();
    CreateFileControls();
    m_template.PlaceOkCancel(DialogTextId::IntervalStart, {118, 168, 50, 14},
                             DialogTextId::IntervalCancel, {173, 168, 50, 14});
}

QSpinBox* CIntDlg::AddSpin(int id, int x, int y, int w, int maximum, int minimum) {
    auto* spin = new QSpinBox(this);
    spin->setRange(minimum, maximum);
    spin->setWrapping(true);
    spin->setDisplayIntegerBase(10);
    m_template.Place(spin, {x, y, w, 14}, id);
    return spin;
}

// The Japanese template sets "From", "To" and "min" a little apart and has no "every".
void CIntDlg::CreateTimeControls() {
    const bool japanese = m_language == Language::Japanese;
    auto label = [this](DialogTextId id, const DialogRect& r, int controlId) {
        auto* l = new QLabel(Text(id, m_language), this);
        m_template.Place(l, r, controlId);
        l->setVisible(!l->text().isEmpty());
        return l;
    };
    QLabel* from =
        label(DialogTextId::IntervalFrom, {japanese ? 16 : 10, 12, 20, 8}, CDialogTemplate::kNoId);
    m_fromHour = AddSpin(IDC_FROM_HOUR, 32, 10, 28, kHourMax);
    label(DialogTextId::IntervalColon, {62, 12, 5, 8}, CDialogTemplate::kNoId);
    m_fromMinute = AddSpin(IDC_FROM_MINUTE, 68, 10, 28, kMinuteMax);
    QLabel* to =
        label(DialogTextId::IntervalTo, {japanese ? 114 : 108, 12, 16, 8}, CDialogTemplate::kNoId);
    m_toHour = AddSpin(IDC_TO_HOUR, 126, 10, 28, kHourMax);
    label(DialogTextId::IntervalColon, {156, 12, 5, 8}, CDialogTemplate::kNoId);
    m_toMinute = AddSpin(IDC_TO_MINUTE, 162, 10, 28, kMinuteMax);
    label(DialogTextId::IntervalEvery, {10, 32, 20, 8}, CDialogTemplate::kNoId);
    m_periodSpin = AddSpin(IDC_PERIOD, 32, 30, 36, kPeriodMinutesMax, 1);
    QLabel* minutes =
        label(DialogTextId::IntervalMin, {japanese ? 71 : 72, 32, 24, 8}, IDC_MIN_LABEL);
    m_fromHour->setAccessibleName(from->text());
    m_fromMinute->setAccessibleName(from->text());
    m_toHour->setAccessibleName(to->text());
    m_toMinute->setAccessibleName(to->text());
    m_periodSpin->setAccessibleName(minutes->text());
}

void CIntDlg::CreateFileControls() {
    auto* fileGroup = new QGroupBox(Text(DialogTextId::IntervalFileName, m_language), this);
    m_template.Place(fileGroup, {7, 50, 216, 76});
    m_userFile = new QRadioButton(Text(DialogTextId::IntervalUserDefine, m_language), this);
    m_template.Place(m_userFile, {15, 62, 150, 10}, IDC_USER_FILE);
    m_fileEdit = new QLineEdit(this);
    m_template.Place(m_fileEdit, {25, 74, 150, 14}, IDC_FILE);
    m_fileEdit->setAccessibleName(m_userFile->text());
    m_fileRef = new QPushButton(Text(DialogTextId::IntervalRef, m_language), this);
    m_template.Place(m_fileRef, {180, 74, 35, 14}, IDC_FILE_REF);
    m_autoName = new QRadioButton(Text(DialogTextId::IntervalAutomatic, m_language), this);
    m_template.Place(m_autoName, {15, 93, 200, 10}, IDC_AUTO_NAME);
    m_folderEdit = new QLineEdit(this);
    m_template.Place(m_folderEdit, {25, 105, 150, 14}, IDC_FOLDER);
    m_folderEdit->setAccessibleName(m_autoName->text());
    m_folderRef = new QPushButton(Text(DialogTextId::IntervalRef, m_language), this);
    m_template.Place(m_folderRef, {180, 105, 35, 14}, IDC_FOLDER_REF);
    auto* names = new QButtonGroup(this);
    names->addButton(m_userFile, 0);
    names->addButton(m_autoName, 1);

    auto* memoGroup = new QGroupBox(Text(DialogTextId::IntervalDataMemo, m_language), this);
    m_template.Place(memoGroup, {7, 130, 216, 30});
    m_memoEdit = new QLineEdit(this);
    m_template.Place(m_memoEdit, {15, 141, 200, 14}, IDC_MEMO);
    m_memoEdit->setAccessibleName(memoGroup->title());
    m_autoStartCheck = new QCheckBox(Text(DialogTextId::IntervalAutoStart, m_language), this);
    m_template.Place(m_autoStartCheck, {10, 170, 100, 10}, IDC_AUTO_START);

    connect(m_userFile, &QRadioButton::toggled, this, &CIntDlg::UpdateEnabling);
    connect(m_folderRef, &QPushButton::clicked, this, &CIntDlg::OnFolderRef);
    connect(m_fileRef, &QPushButton::clicked, this, &CIntDlg::OnFileRef);
}

bool CIntDlg::Run(COrvelDoc& doc, CIntervalScheduler& scheduler, QWidget* parent) {
    CIntDlg dlg(doc.m_language, parent);
    dlg.m_start = doc.m_intervalStart;
    dlg.m_end = doc.m_intervalEnd;
    dlg.m_period = doc.m_intervalPeriod;
    dlg.m_folder = doc.m_dataFolder;
    dlg.m_file = doc.m_intervalFile;
    dlg.m_strMemo = doc.m_dataMemo;
    dlg.m_nameMode = doc.m_autoFileName == 1 ? 1 : 0;
    dlg.m_autoStart = doc.m_autoStart;
    while (dlg.exec() == QDialog::Accepted) {
        if (dlg.m_folder.empty() || dlg.m_folder.back() != '/') {
            dlg.m_folder += '/';
        }
        // Taken over before the checks: a refused start leaves them in the document, unsaved.
        doc.m_intervalStart = dlg.m_start;
        doc.m_intervalEnd = dlg.m_end;
        doc.m_intervalPeriod = dlg.m_period;
        doc.m_dataFolder = dlg.m_folder;
        doc.m_intervalFile = dlg.m_file;
        doc.m_dataMemo = dlg.m_strMemo;
        doc.m_autoFileName = dlg.m_nameMode != 0 ? 1 : 0;
        doc.m_autoStart = dlg.m_autoStart;
        const bool passed = IntervalStartChecksPass(doc);
        dlg.m_file = doc.m_intervalFile;  // shown again with the extension it gained
        if (passed) {
            doc.StoreSettings();
            scheduler.StartInterval();
            return true;
        }
    }
    return false;
}

bool CIntDlg::DoDataExchange(bool save) {
    if (save) {
        return ReadControls();
    }
    FillControls();
    return true;
}

void CIntDlg::FillControls() {
    m_fromHour->setValue(SpinPosition(m_start / 3600 % 24, 0, kHourMax));
    m_fromMinute->setValue(SpinPosition(m_start / 60 % 60, 0, kMinuteMax));
    m_toHour->setValue(SpinPosition(m_end / 3600 % 24, 0, kHourMax));
    m_toMinute->setValue(SpinPosition(m_end / 60 % 60, 0, kMinuteMax));
    m_periodSpin->setValue(SpinPosition(m_period / 60, 1, kPeriodMinutesMax));
    CDialogExchange dx(*this, m_language, false);
    dx.Text(m_folderEdit, m_folder);
    dx.Text(m_fileEdit, m_file);
    dx.Text(m_memoEdit, m_strMemo, CMemoDlg::kMaxMemoChars);
    (m_nameMode == 0 ? m_userFile : m_autoName)->setChecked(true);
    m_autoStartCheck->setChecked(m_autoStart != 0);
    UpdateEnabling();
}

bool CIntDlg::ReadControls() {
    for (QSpinBox* spin : {m_fromHour, m_fromMinute, m_toHour, m_toMinute, m_periodSpin}) {
        spin->interpretText();
    }
    m_start = (int64_t{m_fromHour->value()} * 60 + m_fromMinute->value()) * 60;
    m_end = (int64_t{m_toHour->value()} * 60 + m_toMinute->value()) * 60;
    m_period = int64_t{m_periodSpin->value()} * 60;
    CDialogExchange dx(*this, m_language, true);
    dx.Text(m_folderEdit, m_folder);
    dx.Text(m_fileEdit, m_file);
    m_nameMode = m_userFile->isChecked() ? 0 : 1;
    m_autoStart = m_autoStartCheck->isChecked() ? 1 : 0;
    return dx.Text(m_memoEdit, m_strMemo, CMemoDlg::kMaxMemoChars);
}

void CIntDlg::UpdateEnabling() {
    const bool user = m_userFile->isChecked();
    m_fileEdit->setEnabled(user);
    m_fileRef->setEnabled(user);
    m_folderEdit->setEnabled(!user);
    m_folderRef->setEnabled(!user);
}

void CIntDlg::OnFolderRef() {
    QFileDialog browser(this, QString::fromUtf8(LoadResString(IDS_SELECT_DATA_FOLDER, m_language)));
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly, true);
    browser.setDirectory(
        QString::fromStdString(WithoutTrailingSlashes(m_folderEdit->text().toStdString())));
    if (browser.exec() != QDialog::Accepted || browser.selectedFiles().isEmpty()) {
        return;
    }
    QString chosen = browser.selectedFiles().front();
    if (!chosen.endsWith('/')) {
        chosen += '/';
    }
    m_folderEdit->setText(chosen);
}

void CIntDlg::OnFileRef() {
    SAVEDIALOG dialog;
    dialog.title = LoadResString(IDS_SAVE_TITLE, m_language);
    dialog.filter = kDataFileFilter;
    dialog.defaultExtension = kDataFileExtension;
    dialog.initialName = m_fileEdit->text().toStdString();
    std::string path;
    if (CQtFileDialogs(this, m_language).ChooseSaveFile(dialog, path)) {
        m_fileEdit->setText(QString::fromStdString(path));
    }
}
