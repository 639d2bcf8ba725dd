// CGraphDlg: the "Graph Setting" dialog with its live preview of the chart.
#include "display/qt/GraphDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <memory>

#include "data/CLocaleFormat.h"
#include "data/RadData.h"
#include "display/GraphPlot.h"
#include "display/qt/ColorButton.h"
#include "display/qt/QtCanvas.h"
#include "document/OrvelDoc.h"
#include "document/qt/DialogExchange.h"
#include "resources/StringTable.h"

namespace {

constexpr int kDialogSize = 179;

QString Text(DialogTextId id, Language language) {
    return QString::fromUtf8(LoadDialogText(id, language));
}

// The edits are read like the C library's atof: the leading number, 0.0 without one.
double ReadEdit(const QLineEdit* edit) {
    return ParseDoubleC(edit->text().toStdString().c_str());
}

void ShowWhole(QLineEdit* edit, double value) {
    edit->setText(QString::fromStdString(FormatC("%.0f", value)));
}

}  // namespace

CGraphDlg::CGraphDlg(Language language, QWidget* parent)
    : QDialog(parent), m_language(language), m_template(*this, language, kDialogSize, kDialogSize) {
    setWindowTitle(Text(DialogTextId::GraphSettingTitle, language));
    CreateControls();
}

QCheckBox* CGraphDlg::AddCheck(int id, DialogTextId text, const DialogRect& r) {
    auto* box = new QCheckBox(Text(text, m_language), this);
    m_template.Place(box, r, id);
    connect(box, &QCheckBox::clicked, this, &CGraphDlg::Refresh);
    return box;
}

void CGraphDlg::CreateControls() {
    const bool japanese = m_language == Language::Japanese;
    auto* titleLabel = new QLabel(Text(DialogTextId::GraphTitleLabel, m_language), this);
    m_template.Place(titleLabel, {10, 10, 35, 10});
    m_titleEdit = new QLineEdit(this);
    m_template.Place(m_titleEdit,
                     japanese ? DialogRect{45, 5, 130, 14} : DialogRect{50, 5, 125, 14}, IDC_TITLE);
    m_titleEdit->setAccessibleName(titleLabel->text());
    auto* yAxis = new QGroupBox(Text(DialogTextId::GraphYAxis, m_language), this);
    m_template.Place(yAxis, {10, 25, 165, 25});
    m_autoScale = AddCheck(IDC_AUTOSCALE, DialogTextId::GraphAutoscale, {15, 35, 47, 10});
    m_log = AddCheck(IDC_LOG, DialogTextId::GraphLog, {65, 35, 26, 10});
    m_unitWatt = new QRadioButton(Text(DialogTextId::GraphUnitWatt, m_language), this);
    m_template.Place(m_unitWatt, {95, 35, 30, 13}, IDC_UNIT_WATT);
    m_unitPhoton = new QRadioButton(Text(DialogTextId::GraphUnitPhoton, m_language), this);
    m_template.Place(m_unitPhoton, {125, 35, 45, 13}, IDC_UNIT_PHOTON);
    auto* units = new QButtonGroup(this);
    units->addButton(m_unitWatt);
    units->addButton(m_unitPhoton);
    for (QRadioButton* radio : {m_unitWatt, m_unitPhoton}) {
        connect(radio, &QRadioButton::clicked, this, &CGraphDlg::Refresh);
    }
    m_yMaxEdit = new QLineEdit(this);
    m_template.Place(m_yMaxEdit, {10, 55, 25, 14}, IDC_Y_MAX);
    m_previewArea = new QWidget(this);
    m_template.Place(m_previewArea, {40, 55, 85, 70}, IDC_PREVIEW_AREA);
    m_previewArea->hide();
    m_grid = AddCheck(IDC_GRID, DialogTextId::GraphGrid, {135, 65, 30, 10});
    m_marker = AddCheck(IDC_MARKER, DialogTextId::GraphMarker, {135, 80, 33, 10});
    m_yMinEdit = new QLineEdit(this);
    m_template.Place(m_yMinEdit, {10, 105, 25, 14}, IDC_Y_MIN);
    m_colorButton = new CColorButton(this);
    m_template.Place(m_colorButton, {130, 115, 35, 9}, IDC_COLOR);
    m_fromEdit = new QLineEdit(this);
    m_template.Place(m_fromEdit, {40, 130, 20, 14}, IDC_X_FROM);
    auto* rangeTo = new QLabel(Text(DialogTextId::GraphRangeTo, m_language), this);
    m_template.Place(rangeTo, {65, 135, 19, 8});
    m_toEdit = new QLineEdit(this);
    m_template.Place(m_toEdit, {85, 130, 20, 14}, IDC_X_TO);
    auto* nm = new QLabel(Text(DialogTextId::GraphNm, m_language), this);
    m_template.Place(nm, {112, 135, 10, 8});
    // "Preview" is the default button, so Enter redraws the preview instead of closing.
    auto* preview = new QPushButton(Text(DialogTextId::GraphPreview, m_language), this);
    m_template.Place(preview, {130, 131, 35, 14}, IDC_PREVIEW);
    preview->setDefault(true);
    auto* ok = new QPushButton(Text(DialogTextId::Ok, m_language), this);
    m_template.Place(ok, {40, 160, 55, 14}, 1);
    auto* cancel = new QPushButton(Text(DialogTextId::GraphCancel, m_language), this);
    m_template.Place(cancel, {110, 161, 55, 14}, 2);

    m_yMaxEdit->setAccessibleName(QStringLiteral("Y max"));
    m_yMinEdit->setAccessibleName(QStringLiteral("Y min"));
    m_fromEdit->setAccessibleName(QStringLiteral("nm from"));
    m_toEdit->setAccessibleName(nm->text());
    connect(preview, &QPushButton::clicked, this, &CGraphDlg::Refresh);
    connect(m_colorButton, &QPushButton::clicked, this, &CGraphDlg::OnColor);
    connect(ok, &QPushButton::clicked, this, &CGraphDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CGraphDlg::reject);
    connect(m_autoScale, &QCheckBox::toggled, this, &CGraphDlg::UpdateYEdits);
}

bool CGraphDlg::Run(COrvelDoc& doc, QWidget* parent) {
    CGraphDlg dlg(doc.m_language, parent);
    dlg.m_pData = &doc.m_radData;
    dlg.m_title = doc.m_graphTitle;
    dlg.m_param = doc.m_graphParam;
    dlg.m_availMin = doc.m_availMin;
    dlg.m_availMax = doc.m_availMax;
    const bool accepted = dlg.exec() == QDialog::Accepted;
    if (accepted) {
        doc.m_graphTitle = dlg.m_title;
        doc.m_graphParam = dlg.m_param;
        doc.StoreSettings();
    }
    doc.UpdateAllViews();
    return accepted;
}

// A range that is not a number (NaN) is refused like one outside the area.
int CGraphDlg::ApplyRange(bool save) {
    if (!save) {
        ShowWhole(m_fromEdit, m_param.xMin);
        ShowWhole(m_toEdit, m_param.xMax);
        return 1;
    }
    const double from = ReadEdit(m_fromEdit);
    const double to = ReadEdit(m_toEdit);
    if (!(m_availMin <= from && to <= m_availMax)) {
        CDialogExchange::ShowMessage(
            this, m_language,
            FormatResString(IDS_AVAILABLE_AREA, m_language, m_availMin, m_availMax));
        ShowWhole(m_fromEdit, m_param.xMin);
        ShowWhole(m_toEdit, m_param.xMax);
        return 0;
    }
    m_param.xMin = from;
    m_param.xMax = to;
    return 1;
}

void CGraphDlg::ApplyControls(bool save) {
    GRAPHPARAM& p = m_param;
    const bool logScale = p.logScale == 1;
    if (save) {
        (logScale ? p.yMaxLog : p.yMaxLin) = ReadEdit(m_yMaxEdit);
        (logScale ? p.yMinLog : p.yMinLin) = ReadEdit(m_yMinEdit);
        p.autoScale = m_autoScale->isChecked() ? 1 : 0;
        p.logScale = m_log->isChecked() ? 1 : 0;
        p.unit = m_unitPhoton->isChecked() ? 1 : 0;
        p.grid = m_grid->isChecked() ? 1 : 0;
        p.marker = m_marker->isChecked() ? 1 : 0;
        return;
    }
    ShowWhole(m_yMaxEdit, logScale ? p.yMaxLog : p.yMaxLin);
    ShowWhole(m_yMinEdit, logScale ? p.yMinLog : p.yMinLin);
    m_autoScale->setChecked(p.autoScale == 1);
    m_log->setChecked(logScale);
    (p.unit == 0 ? m_unitWatt : m_unitPhoton)->setChecked(true);
    m_grid->setChecked(p.grid == 1);
    m_marker->setChecked(p.marker == 1);
}

void CGraphDlg::accept() {
    if (ApplyRange(true) != 1) {
        return;
    }
    ApplyControls(true);
    m_title = m_titleEdit->text().toStdString();
    QDialog::accept();
}

void CGraphDlg::Refresh() {
    ApplyRange(true);
    ApplyControls(true);
    ApplyControls(false);
    update();
}

void CGraphDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        m_titleEdit->setText(QString::fromStdString(m_title));
        ApplyControls(false);
        ApplyRange(false);
        m_colorButton->m_color = m_param.color0;
        UpdateYEdits();
    }
    QDialog::showEvent(event);
}

void CGraphDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    CQtCanvas canvas(painter, CanvasKind::Screen);
    DrawPreview(canvas);
}

CanvasRect CGraphDlg::PreviewRect() const {
    const QRect r = m_previewArea->geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void CGraphDlg::DrawPreview(ICanvas& canvas) {
    auto plot = std::make_unique<CGraphPlot>();
    plot->m_rect = PreviewRect();
    plot->DrawFrame(canvas, kChartGreen, 2);
    if (m_pData == nullptr || m_pData->GetSize() == 0) {
        return;
    }
    const int r = m_pData->m_curRecord;
    if (!m_pData->Select(r, 0)) {
        return;
    }
    plot->LoadSpectrum(m_param, *m_pData);
    plot->SetRange(m_param);
    if (m_param.grid == 1) {
        plot->DrawXGrid(canvas, kChartGreen);
        plot->DrawYGrid(canvas, kChartGreen);
    }
    const RADDATA* record = m_pData->GetRecord(r);
    for (int m = kSpectraPerRecord - 1; m >= 0; --m) {
        if (record->spec[m].valid != 0) {
            m_pData->Select(r, m);
            plot->LoadSpectrum(m_param, *m_pData);
            plot->DrawSpectrum(canvas, CurveColour(m_param, m), m_param.marker);
        }
    }
}

void CGraphDlg::OnColor() {
    const QColor chosen = QColorDialog::getColor(CQtCanvas::ToQColor(m_param.color0), this);
    if (!chosen.isValid()) {
        return;
    }
    m_param.color0 =
        MakeRgb(static_cast<unsigned>(chosen.red()), static_cast<unsigned>(chosen.green()),
                static_cast<unsigned>(chosen.blue()));
    m_colorButton->m_color = m_param.color0;
    m_colorButton->update();
    Refresh();
}

void CGraphDlg::UpdateYEdits() {
    const bool manual = !m_autoScale->isChecked();
    m_yMaxEdit->setEnabled(manual);
    m_yMinEdit->setEnabled(manual);
}
