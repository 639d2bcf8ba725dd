// COrvelView: the main window's view: the page on screen and on paper, and the measurements.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "display/DrawArea.h"
#include "display/ICanvas.h"
#include "measurement/IViewEvents.h"
#include "measurement/MeasurementController.h"

class CMeasDlg;
class CTimeDlg;
class COrvelDoc;
class IClock;
class IMessageBox;
class QPrinter;

class COrvelView : public QWidget, public IViewEvents {
    Q_OBJECT
public:
    // Creates the two progress dialogs, the interval dialog first; both start hidden.
    COrvelView(COrvelDoc& doc, IMessageBox& messageBox, const IClock& clock,
               QWidget* parent = nullptr);
    ~COrvelView() override;

    COrvelDoc& GetDocument() const { return m_doc; }

    // Drawing: the page area for the canvas (stored in the document), then the page.
    DrawArea OnPrepareDC(ICanvas& canvas, const PrinterCaps& printer = {});
    void OnDraw(ICanvas& canvas);

    // Printing through the printer the application keeps (Print Setup edits it).
    void SetPrinter(QPrinter* printer) { m_printer = printer; }
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // One page, the screen's drawing laid out for the printer; false when it cannot print.
    bool PrintPage(QPrinter& printer, CanvasKind kind);

    // Measure Execute and its enabling.
    void OnMeasExecute();
    bool OnUpdateMeasExecute() const;
    // Interval Meas.: the settings dialog, which starts the schedule when its checks pass.
    void OnIntervalMeas();
    bool OnUpdateIntervalMeas() const;

    // The view is first shown: the progress dialog is placed and hidden, auto-start applies.
    void OnInitialUpdate();
    // Asked before the main window closes: a running interval measurement is stopped only
    // when the user agrees; false keeps the window open.
    bool QueryClose() { return m_controller.QueryClose(); }
    void StopIntervalWithoutQuestion() { m_controller.StopIntervalWithoutQuestion(); }
    bool IsMeasuring() const { return m_controller.IsMeasuring(); }
    bool IsIntervalOn() const { return m_controller.IsIntervalOn(); }

    // The frame shows the context menu; the view only says where.
    void SetContextMenuHandler(std::function<void(const QPoint&)> handler) {
        m_contextMenu = std::move(handler);
    }

    // IViewEvents: timer 1, the posted interval slot and the frame's updates.
    void StartTimer() override;
    void KillTimer() override;
    void PostIntervalMeasure(int64_t t) override;
    void MeasurementEnded() override { emit measurementEnded(); }
    void CommandStateChanged() override { emit commandStateChanged(); }

    CTimeDlg* m_pTimeDlg;
    CMeasDlg* m_pMeasDlg;
    CMeasurementController m_controller;

signals:
    // A measurement (single or interval slot) has returned.
    void measurementEnded();
    // The interval measurement started or stopped outside a command: the toolbar follows.
    void commandStateChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    COrvelDoc& m_doc;
    QPrinter* m_printer = nullptr;
    int m_timerId = 0;
    std::function<void(const QPoint&)> m_contextMenu;
};
