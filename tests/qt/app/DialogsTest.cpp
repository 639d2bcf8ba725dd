// The start-up port choice, New, and the dialogs of the Help menu and the measurement.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "display/DrawArea.h"
#include "display/qt/OrvelView.h"
#include "display/qt/QtPageOutput.h"
#include "document/OrvelDoc.h"
#include "link/Serial.h"
#include "link/qt/ComSelDlg.h"
#include "measurement/qt/MeasDlg.h"
#include "measurement/qt/TimeDlg.h"
#include "measurement/qt/ViewMessage.h"
#include "resources/ResourceIds.h"
#include "tests/support/qt/AppHarness.h"
#include "tests/support/qt/ModalScript.h"

using namespace apptest;

namespace {

QStringList Entries(const QComboBox* combo) {
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

bool Lists(const QStringList& entries, const QString& port) {
    for (const QString& entry : entries) {
        if (entry.startsWith(port + " (")) {
            return true;
        }
    }
    return false;
}

// Counts the view's private messages of one type.
class MessageCounter : public QObject {
public:
    MessageCounter(QObject* target, QEvent::Type type) : m_type(type) {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == m_type ? 1 : 0;
        return false;
    }
    int count = 0;

private:
    QEvent::Type m_type;
};

}  // namespace

TEST(PortDialog, ListsOnlyPortsThatOpenNow) {
    Application();
    RunFolder folder;
    FakeWallClock clock(kNoonAtDefaultSite);
    auto free = StartSimulator(folder, clock, true, 1);
    auto busy = StartSimulator(folder, clock, true, 2);
    ASSERT_TRUE(free && busy);
    CSerial holder;
    ASSERT_EQ(holder.Open((folder.PortsDir() + "/COM2").c_str(), 38400, 8, 0, 0, 4096, 4096), 1);
    std::filesystem::create_symlink("/nonexistent/tty", folder.PortsDir() + "/COM3");

    CComSelDlg dialog(CPortMap(folder.PortsDir()), Language::English);
    QStringList entries;
    int chosen = -1;
    ModalScript answers;
    answers.Then([&entries](QWidget* modal) {
        auto* dlg = static_cast<CComSelDlg*>(modal);
        entries = Entries(dlg->m_combo);
        EXPECT_EQ(dlg->m_combo->currentIndex(), -1);
        EXPECT_EQ(dlg->windowTitle(), "COM Port");
        dlg->m_combo->setCurrentIndex(0);
        dlg->accept();
    });
    ASSERT_TRUE(dialog.ChoosePort(chosen));
    EXPECT_TRUE(Lists(entries, "COM1"));
    EXPECT_FALSE(Lists(entries, "COM2"));
    EXPECT_FALSE(Lists(entries, "COM3"));
    EXPECT_EQ(chosen, 1);
    EXPECT_TRUE(entries.front().contains("/dev/pts/")) << entries.front().toStdString();
}

TEST(PortDialog, OkWithoutSelectionKeepsThePreviousChoice) {
    Application();
    RunFolder folder;
    CComSelDlg dialog(CPortMap(folder.PortsDir()), Language::English);
    int port = 7;
    ModalScript answers;
    answers.Then([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    ASSERT_TRUE(dialog.ChoosePort(port));
    EXPECT_EQ(port, 7);
    answers.Then([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_FALSE(dialog.ChoosePort(port));
}

TEST(StartUp, CancelInThePortDialogEndsWithoutAWindow) {
    RunFolder folder;
    FakeWallClock clock(kNoonAtDefaultSite);
    auto app = MakeApp(folder, clock);
    QString title;
    ModalScript answers;
    answers.Then([&title](QWidget* modal) {
        title = modal->windowTitle();
        static_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(app->InitInstance());
    EXPECT_EQ(title, "COM Port");
    EXPECT_FALSE(app->Frame()->WasShown());
    app.reset();
    EXPECT_EQ(folder.StoredPort(), -1);  // the settings are still stored
}

TEST(StartUp, ASetUpFailureShowsItsMessageAndAsksForAnotherPort) {
    RunFolder folder;
    FakeWallClock clock(kNoonAtDefaultSite);
    folder.WriteConfig(1);
    auto simulator = StartSimulator(folder, clock);
    ASSERT_TRUE(simulator);
    simulator->SetFaults({.spectroOff = true});
    auto app = MakeApp(folder, clock);
    std::vector<QString> shown;
    // The message of step 7, then the port dialog, cancelled.
    ModalScript answers;
    answers
        .Then([&shown](QWidget* box) {
            shown.push_back(box->findChild<QLabel*>("qt_msgbox_label")->text());
            static_cast<QDialog*>(box)->accept();
        })
        .Then([&shown](QWidget* dialog) {
            shown.push_back(dialog->windowTitle());
            static_cast<QDialog*>(dialog)->reject();
        });
    EXPECT_FALSE(app->InitInstance());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0],
              "KT-530 Communication Error!\nNegotiation Fault.\nCheck Connection with Power Line.");
    EXPECT_EQ(shown[1], "COM Port");
}

TEST(StartUp, CtrlNAsksForAPortListingNoneInUse) {
    ConnectedApp run;
    ASSERT_TRUE(run.started);
    COrvelApp* app = run.app.get();
    CMainFrame& frame = *app->Frame();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));

    QStringList entries;
    bool asked = false;
    ModalScript answers;
    answers.Then([&](QWidget* modal) {
        asked = true;
        entries = Entries(static_cast<CComSelDlg*>(modal)->m_combo);
        static_cast<QDialog*>(modal)->reject();
    });
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(WaitUntil([&asked] { return asked; }));
    EXPECT_FALSE(Lists(entries, "COM1"));
    ASSERT_TRUE(WaitUntil([] { return QApplication::activeModalWidget() == nullptr; }));
    EXPECT_TRUE(app->Document()->m_link.IsOpen());  // Cancel keeps the connection
}

TEST(SensorInformation, ShowsIdentityThenTheSixCoefficients) {
    ConnectedApp run;
    ASSERT_TRUE(run.started);
    COrvelApp* app = run.app.get();
    QStringList lines;
    QString title;
    ModalScript answers;
    answers.Then([&](QWidget* modal) {
        title = modal->windowTitle();
        lines = modal->findChild<QLabel*>("sensorText")->text().split('\n', Qt::SkipEmptyParts);
        static_cast<QDialog*>(modal)->reject();
    });
    ASSERT_TRUE(RunCommand(*app, ID_SENSOR_INFO));
    EXPECT_EQ(title, "Sensor Information");
    ASSERT_EQ(lines.size(), 10);
    EXPECT_TRUE(lines[0].startsWith("Sensor ID: "));
    EXPECT_TRUE(lines[3].startsWith("Version: "));
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(lines[4 + i].startsWith(QString("C%1: ").arg(i))) << lines[4 + i].toStdString();
    }
    EXPECT_GT(lines[0].size(), QString("Sensor ID: ").size());
}

TEST(About, ShowsTheProgramVersionAndTheBuild) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    COrvelApp* app = run.app.get();
    QString version, build, title, home;
    ModalScript answers;
    answers.Then([&](QWidget* modal) {
        title = modal->windowTitle();
        version = modal->findChild<QLabel*>("aboutVersion")->text();
        build = modal->findChild<QLabel*>("aboutBuild")->text();
        home = modal->findChild<QLabel*>("aboutHome")->text();
        static_cast<QDialog*>(modal)->accept();
    });
    ASSERT_TRUE(RunCommand(*app, ID_APP_ABOUT));
    EXPECT_EQ(title, "About Halvo");
    EXPECT_EQ(version, "Halvo530 Version 5.0");
    EXPECT_EQ(build, CAboutDlg::BuildLine());
    EXPECT_EQ(home.toStdString(), "Settings and logs in " + run.folder.Path());
}

TEST(ProgressDialogs, BreakButtonsPostTheirMessagesToTheView) {
    Application();
    QWidget view;
    CMeasDlg meas(Language::English, &view);
    CTimeDlg interval(Language::English, &view);
    MessageCounter measBreaks(&view, WM_MEAS_BREAK);
    MessageCounter intervalBreaks(&view, WM_INTERVAL_BREAK);
    EXPECT_EQ(meas.m_text->text(), "Meas. Now\nExp.time 5000 msec");
    meas.m_break->click();
    interval.m_break->click();
    interval.m_break->click();
    EXPECT_EQ(measBreaks.count, 0);  // posted: delivered after this handler
    QCoreApplication::sendPostedEvents(&view);
    EXPECT_EQ(measBreaks.count, 1);
    EXPECT_EQ(intervalBreaks.count, 2);
}

TEST(Printing, PreviewDrawsThePageForThePrinterAndSetupEditsTheSamePrinter) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    COrvelApp* app = run.app.get();
    QPrinter& printer = app->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Landscape);

    QString previewClass;
    int drawWidth = 0, drawHeight = 0, pages = 0;
    ModalScript answers;
    answers.Then([&](QWidget* modal) {
        previewClass = QString::fromLatin1(modal->metaObject()->className());
        // The window repaints meanwhile; draw the preview again and look right after.
        auto* preview = modal->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        preview->updatePreview();
        drawWidth = app->Document()->m_drawWidth;
        drawHeight = app->Document()->m_drawHeight;
        pages = preview->pageCount();
        static_cast<QDialog*>(modal)->reject();
    });
    ASSERT_TRUE(RunCommand(*app, ID_FILE_PRINT_PREVIEW));
    EXPECT_EQ(previewClass, "QPrintPreviewDialog");
    EXPECT_EQ(pages, 1);
    // Laid out on the landscape printer page, not in the window.
    const DrawArea area = PrinterDrawArea(PrinterCapsOf(printer));
    EXPECT_EQ(drawWidth, area.width);
    EXPECT_EQ(drawHeight, area.height);
    EXPECT_GT(area.width, area.height);

    QString setupClass;
    answers.Then([&setupClass](QWidget* modal) {
        setupClass = QString::fromLatin1(modal->metaObject()->className());
        static_cast<QDialog*>(modal)->reject();
    });
    ASSERT_TRUE(RunCommand(*app, ID_FILE_PRINT_SETUP));
    EXPECT_EQ(setupClass, "QPageSetupDialog");
}
