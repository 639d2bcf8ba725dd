// CConfDlg: the "Meas. Setting" dialog for the site and the shadow band's edge angle.
#include "measurement/qt/ConfDlg.h"

#include <QLabel>
#include <QLineEdit>

#include "document/OrvelDoc.h"
#include "document/qt/DialogExchange.h"
#include "document/qt/DialogTemplate.h"
#include "resources/DialogTexts.h"

namespace {

QString Text(DialogTextId id, Language language) {
    return QString::fromUtf8(LoadDialogText(id, language));
}

}  // namespace

CConfDlg::CConfDlg(Language language, QWidget* parent)
    : CExchangeDialog(parent), m_language(language) {
    const CDialogTemplate t(*this, language, 170, 68);
    setWindowTitle(Text(DialogTextId::MeasSettingTitle, language));
    // Top to bottom: longitude, latitude, edge angle; each label left of its edit.
    const struct {
        DialogTextId label;
        int id;
        QLineEdit** edit;
    } rows[] = {{DialogTextId::MeasSettingLongitude, IDC_LONGITUDE, &m_longitudeEdit},
                {DialogTextId::MeasSettingLatitude, IDC_LATITUDE, &m_latitudeEdit},
                {DialogTextId::MeasSettingEdgeAngle, IDC_EDGE_ANGLE, &m_edgeAngleEdit}};
    int y = 10;
    for (const auto& row : rows) {
        auto* label = new QLabel(Text(row.label, language), this);
        t.Place(label, {10, y + 2, 48, 8});
        *row.edit = new QLineEdit(this);
        t.Place(*row.edit, {60, y, 50, 14}, row.id);
        (*row.edit)->setAccessibleName(label->text());
        label->setBuddy(*row.edit);
        y += 18;
    }
    t.PlaceOkCancel(DialogTextId::Ok, {120, 10, 42, 14}, DialogTextId::MeasSettingCancel,
                    {120, 28, 42, 14});
}

bool CConfDlg::Run(COrvelDoc& doc, QWidget* parent) {
    CConfDlg dlg(doc.m_language, parent);
    dlg.m_edgeAngle = doc.m_edgeAngle;
    dlg.m_longitude = doc.m_longitude;
    dlg.m_latitude = doc.m_latitude;
    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    doc.m_edgeAngle = dlg.m_edgeAngle;
    doc.m_longitude = dlg.m_longitude;
    doc.m_latitude = dlg.m_latitude;
    doc.StoreSettings();
    return true;
}

bool CConfDlg::DoDataExchange(bool save) {
    CDialogExchange dx(*this, m_language, save);
    return dx.Number(m_edgeAngleEdit, m_edgeAngle, 0.0, 90.0) &&
           dx.Number(m_latitudeEdit, m_latitude, -90.0, 90.0) &&
           dx.Number(m_longitudeEdit, m_longitude, -180.0, 180.0);
}
