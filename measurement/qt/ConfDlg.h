// CConfDlg: the "Meas. Setting" dialog for the site and the shadow band's edge angle.
#pragma once

#include "document/qt/ExchangeDialog.h"
#include "resources/Language.h"
#include "resources/ResourceIds.h"

class COrvelDoc;
class QLineEdit;

class CConfDlg : public CExchangeDialog {
    Q_OBJECT

public:
    explicit CConfDlg(Language language, QWidget* parent = nullptr);

    // The Meas. Setting command (32772): shows the document's longitude, latitude and edge angle;
    // OK copies the accepted values back and stores the settings file at once, Cancel changes
    // nothing. True on OK.
    static bool Run(COrvelDoc& doc, QWidget* parent);

    double m_edgeAngle = 0.0;
    double m_latitude = 0.0;
    double m_longitude = 0.0;

protected:
    // The three values are checked edge angle first, then latitude, then longitude; the first
    // one refused keeps the dialog open with the focus on its edit.
    bool DoDataExchange(bool save) override;

private:
    Language m_language;
    QLineEdit* m_longitudeEdit;
    QLineEdit* m_latitudeEdit;
    QLineEdit* m_edgeAngleEdit;
};
