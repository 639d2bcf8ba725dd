// COrvelView: the main window's view: the page on screen and on paper, and the measurements.
#include "display/qt/OrvelView.h"

#include "measurement/qt/IntDlg.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimerEvent>

#include "display/PageDrawer.h"
#include "display/qt/QtCanvas.h"
#include "display/qt/QtPageOutput.h"
#include "document/OrvelDoc.h"
#include "measurement/qt/MeasDlg.h"
#include "measurement/qt/TimeDlg.h"
#include "measurement/qt/ViewMessage.h"

namespace {

constexpr int kTimerPeriodMs = 1000;

}  // namespace

COrvelView::COrvelView(COrvelDoc& doc, IMessageBox& messageBox, const IClock& clock,
                       QWidget* parent)
    : QWidget(parent),
      m_pTimeDlg(new CTimeDlg(doc.m_language, this)),
      m_pMeasDlg(new CMeasDlg(doc.m_language, this)),
      m_controller(doc, *m_pMeasDlg, *m_pTimeDlg, *this, clock, messageBox),
      m_doc(doc) {
    setObjectName(QStringLiteral("orvelView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
}

COrvelView::~COrvelView() {
    KillTimer();
    delete m_pTimeDlg;
    delete m_pMeasDlg;
}

DrawArea COrvelView::OnPrepareDC(ICanvas& canvas, const PrinterCaps& printer) {
    const DrawArea area = DrawAreaFor(canvas.Kind(), width(), height(), printer);
    ApplyDrawArea(canvas, area);
    m_doc.m_drawWidth = area.width;
    m_doc.m_drawHeight = area.height;
    return area;
}

void COrvelView::OnDraw(ICanvas& canvas) {
    CPageDrawer drawer(canvas, m_doc.m_drawWidth, m_doc.m_drawHeight);
    drawer.Draw(m_doc.m_radData, m_doc.m_graphParam, {m_doc.m_graphTitle, m_doc.m_dataMemo});
}

void COrvelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    CQtCanvas canvas(painter, CanvasKind::Screen);
    OnPrepareDC(canvas);
    OnDraw(canvas);
}

bool COrvelView::PrintPage(QPrinter& printer, CanvasKind kind) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    {
        CQtCanvas canvas(painter, kind);
        OnPrepareDC(canvas, PrinterCapsOf(printer));
        OnDraw(canvas);
    }
    painter.end();
    return true;
}

void COrvelView::OnFilePrint() {
    if (m_printer == nullptr) {
        return;
    }
    QPrintDialog dialog(m_printer, this);
    dialog.setMinMax(1, 1);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() == QDialog::Accepted) {
        PrintPage(*m_printer, CanvasKind::Printer);
    }
}

void COrvelView::OnFilePrintDirect() {
    if (m_printer != nullptr) {
        PrintPage(*m_printer, CanvasKind::Printer);
    }
}

void COrvelView::OnFilePrintPreview() {
    if (m_printer == nullptr) {
        return;
    }
    QPrintPreviewDialog preview(m_printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintPage(*printer, CanvasKind::Preview); });
    preview.exec();
}

void COrvelView::OnMeasExecute() {
    m_controller.MeasureNow();
}

bool COrvelView::OnUpdateMeasExecute() const {
    return m_controller.CanMeasureNow();
}

void COrvelView::OnIntervalMeas() {
    CIntDlg::Run(m_doc, m_controller.m_scheduler, window());
}

bool COrvelView::OnUpdateIntervalMeas() const {
    return m_controller.CanStartInterval();
}

void COrvelView::OnInitialUpdate() {
    // Placed once, so later acquisitions only have to show it.
    m_pMeasDlg->CenterOverView();
    m_pMeasDlg->hide();
    m_controller.OnInitialUpdate();
}

void COrvelView::StartTimer() {
    if (m_timerId == 0) {
        m_timerId = startTimer(kTimerPeriodMs, Qt::PreciseTimer);
    }
}

void COrvelView::KillTimer() {
    if (m_timerId != 0) {
        killTimer(m_timerId);
        m_timerId = 0;
    }
}

void COrvelView::PostIntervalMeasure(int64_t t) {
    QCoreApplication::postEvent(this, new CViewMessage(WM_INTERVAL_MEASURE, t));
}

void COrvelView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timerId) {
        m_controller.OnTimer();
    }
}

bool COrvelView::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == WM_INTERVAL_MEASURE) {
        m_controller.OnIntervalMeasure(static_cast<CViewMessage*>(event)->m_time);
    } else if (type == WM_MEAS_BREAK) {
        m_controller.OnMeasBreak();
    } else if (type == WM_INTERVAL_BREAK) {
        m_controller.OnIntervalBreak();
    } else {
        return QWidget::event(event);
    }
    return true;
}

void COrvelView::contextMenuEvent(QContextMenuEvent* event) {
    if (m_contextMenu) {
        m_contextMenu(event->globalPos());
    }
}
