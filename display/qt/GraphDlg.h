// CGraphDlg: the "Graph Setting" dialog with its live preview of the chart.
#pragma once

#include <QDialog>
#include <string>

#include "display/ICanvas.h"
#include "document/GraphParam.h"
#include "document/qt/DialogTemplate.h"
#include "resources/DialogTexts.h"
#include "resources/Language.h"
#include "resources/ResourceIds.h"

class CColorButton;
class COrvelDoc;
class CRadData;
class QCheckBox;
class QLineEdit;
class QPaintEvent;
class QRadioButton;
class QShowEvent;

class CGraphDlg : public QDialog {
    Q_OBJECT

public:
    explicit CGraphDlg(Language language, QWidget* parent = nullptr);

    // The Graph command (32784): edits a copy of the document's graph title and settings; OK
    // copies them back and stores the settings file. Every outcome redraws the views. True on
    // OK.
    static bool Run(COrvelDoc& doc, QWidget* parent);

    // Wavelength edits. Save: a range outside [m_availMin, m_availMax] is refused with message
    // 61464 and the edits show the stored range again (0); otherwise it is taken (1).
    // Show: the stored range as "%.0f" (1).
    int ApplyRange(bool save);
    // Y edits and switches. Save: the edits go into the pair of the scale in force before this
    // call, then the switches are read. Show: the pair of the current scale as "%.0f" and the
    // switches set.
    void ApplyControls(bool save);
    // OK: closes only with an accepted wavelength range.
    void accept() override;
    // After every click on a switch or Preview: take the controls over, show them again in
    // their stored form and redraw the preview.
    void Refresh();
    // The chart of the current settings in the preview area: frame, grid and curves, no texts.
    void DrawPreview(ICanvas& canvas);
    // The area of control 1016, in the dialog's coordinates.
    CanvasRect PreviewRect() const;
    CColorButton* ColorButton() const { return m_colorButton; }

    std::string m_title;
    CRadData* m_pData = nullptr;
    CColorButton* m_colorButton;
    GRAPHPARAM m_param;
    double m_availMin = 300.0;
    double m_availMax = 1100.0;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    QCheckBox* AddCheck(int id, DialogTextId text, const DialogRect& r);
    void OnColor();
    void UpdateYEdits();

    Language m_language;
    CDialogTemplate m_template;
    QLineEdit* m_titleEdit;
    QCheckBox* m_autoScale;
    QCheckBox* m_log;
    QRadioButton* m_unitWatt;
    QRadioButton* m_unitPhoton;
    QCheckBox* m_grid;
    QCheckBox* m_marker;
    QLineEdit* m_yMaxEdit;
    QLineEdit* m_yMinEdit;
    QLineEdit* m_fromEdit;
    QLineEdit* m_toEdit;
    QWidget* m_previewArea;
};
