// CProfDlg: the "Sensor Information" dialog showing the sensor's identity and coefficients.
#pragma once

#include <QDialog>
#include <QString>

#include "resources/Language.h"

class QLabel;

class CProfDlg : public QDialog {
    Q_OBJECT
public:
    explicit CProfDlg(Language language, QWidget* parent = nullptr);

    // Puts m_text into the static text before the dialog shows.
    void showEvent(QShowEvent* event) override;

    QString m_text;
    QLabel* m_label;
};
