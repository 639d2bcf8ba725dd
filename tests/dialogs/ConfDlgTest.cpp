// The "Meas. Setting" dialog: limits, the order of its checks, OK storing at once, Cancel.
#include <gtest/gtest.h>

#include <QPushButton>
#include <filesystem>
#include <memory>

#include "DialogTestSupport.h"
#include "ModalScript.h"
#include "document/OrvelDoc.h"
#include "measurement/ConfDlg.h"

namespace {

class ConfDlgTest : public ::testing::Test {
protected:
    void MakeDoc(Language language) {
        doc = std::make_unique<COrvelDoc>(folder.Path(), language);
        doc->m_longitude = 139.75;
        doc->m_latitude = 35.0;
        doc->m_edgeAngle = 10.0;
    }
    void SetUp() override { MakeDoc(Language::English); }
    void TearDown() override { doc.reset(); }

    bool SettingsFileExists() const { return std::filesystem::exists(doc->m_cfgPath); }

    // Types the three values and presses OK.
    static ModalScript::Step Enter(const char* edge, const char* latitude, const char* longitude) {
        return [=](QWidget* dlg) {
            SetText(dlg, CConfDlg::IDC_EDGE_ANGLE, edge);
            SetText(dlg, CConfDlg::IDC_LATITUDE, latitude);
            SetText(dlg, CConfDlg::IDC_LONGITUDE, longitude);
            Click(dlg, 1);
        };
    }

    TempFolder folder;
    std::unique_ptr<COrvelDoc> doc;
};

TEST_F(ConfDlgTest, OpensWithTheDocumentValuesInShortestForm) {
    QString longitude, latitude, edge, title;
    ModalScript script;
    script.Then([&](QWidget* dlg) {
        title = dlg->windowTitle();
        longitude = TextOf(dlg, CConfDlg::IDC_LONGITUDE);
        latitude = TextOf(dlg, CConfDlg::IDC_LATITUDE);
        edge = TextOf(dlg, CConfDlg::IDC_EDGE_ANGLE);
        Click(dlg, 2);
    });
    EXPECT_FALSE(CConfDlg::Run(*doc, nullptr));
    EXPECT_EQ(title, "Meas. Setting");
    EXPECT_EQ(longitude, "139.75");
    EXPECT_EQ(latitude, "35");
    EXPECT_EQ(edge, "10");
}

struct AcceptedCase {
    const char* edge;
    const char* latitude;
    const char* longitude;
    double edgeValue;
    double latitudeValue;
    double longitudeValue;
};

TEST_F(ConfDlgTest, LimitsAreInclusiveAndOkStoresTheSettingsFileAtOnce) {
    const AcceptedCase cases[] = {
        {"90", "-90", "-180", 90.0, -90.0, -180.0},
        {"0", "90", "180", 0.0, 90.0, 180.0},
        {" 12.5 ", "-33.925", "18.4241", 12.5, -33.925, 18.4241},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(c.edge);
        ModalScript script;
        script.Then(Enter(c.edge, c.latitude, c.longitude));
        EXPECT_TRUE(CConfDlg::Run(*doc, nullptr));
        EXPECT_EQ(doc->m_edgeAngle, c.edgeValue);
        EXPECT_EQ(doc->m_latitude, c.latitudeValue);
        EXPECT_EQ(doc->m_longitude, c.longitudeValue);
        COrvelSettings stored(folder.Path());
        ASSERT_EQ(stored.LoadSaveConfig(doc->m_cfgPath, COrvelSettings::kLoad), 1);
        EXPECT_EQ(stored.m_edgeAngle, c.edgeValue);
        EXPECT_EQ(stored.m_latitude, c.latitudeValue);
        EXPECT_EQ(stored.m_longitude, c.longitudeValue);
    }
}

struct RefusedCase {
    const char* edge;
    const char* latitude;
    const char* longitude;
    const char* message;
    int focusedId;
};

TEST_F(ConfDlgTest, RefusedValueKeepsTheDialogOpenWithFocusOnTheFirstOffendingEdit) {
    const RefusedCase cases[] = {
        {"90.5", "35", "135", "Please enter a number between 0 and 90.", CConfDlg::IDC_EDGE_ANGLE},
        {"10", "-90.01", "135", "Please enter a number between -90 and 90.",
         CConfDlg::IDC_LATITUDE},
        {"10", "35", "180.5", "Please enter a number between -180 and 180.",
         CConfDlg::IDC_LONGITUDE},
        {"ten", "35", "135", "Please enter a number.", CConfDlg::IDC_EDGE_ANGLE},
        {"10", "35N", "135", "Please enter a number.", CConfDlg::IDC_LATITUDE},
        {"10", "35", "", "Please enter a number.", CConfDlg::IDC_LONGITUDE},
        {"10", "nan", "135", "Please enter a number.", CConfDlg::IDC_LATITUDE},
        // Several bad values: edge angle first, then latitude, then longitude.
        {"-1", "91", "181", "Please enter a number between 0 and 90.", CConfDlg::IDC_EDGE_ANGLE},
        {"45", "91", "181", "Please enter a number between -90 and 90.", CConfDlg::IDC_LATITUDE},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(std::string(c.edge) + " " + c.latitude + " " + c.longitude);
        std::string message;
        int focused = -1;
        bool stillOpen = false;
        QString selected;
        ModalScript script;
        script.Then(Enter(c.edge, c.latitude, c.longitude))
            .Then([&](QWidget* box) {
                message = MessageText(box);
                PressDefault(box);
            })
            .Then([&](QWidget* dlg) {
                stillOpen = dlg->isVisible();
                focused = FocusedId(dlg);
                Click(dlg, 2);
            });
        EXPECT_FALSE(CConfDlg::Run(*doc, nullptr));
        EXPECT_EQ(message, c.message);
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(focused, c.focusedId);
        EXPECT_EQ(doc->m_edgeAngle, 10.0);
        EXPECT_EQ(doc->m_latitude, 35.0);
        EXPECT_EQ(doc->m_longitude, 139.75);
        EXPECT_FALSE(SettingsFileExists());
    }
}

TEST_F(ConfDlgTest, CancelAfterEditingChangesNeitherDocumentNorSettingsFile) {
    ModalScript script;
    script.Then([](QWidget* dlg) {
        SetText(dlg, CConfDlg::IDC_EDGE_ANGLE, "20");
        SetText(dlg, CConfDlg::IDC_LATITUDE, "-10");
        SetText(dlg, CConfDlg::IDC_LONGITUDE, "100");
        Click(dlg, 2);
    });
    EXPECT_FALSE(CConfDlg::Run(*doc, nullptr));
    EXPECT_EQ(doc->m_edgeAngle, 10.0);
    EXPECT_EQ(doc->m_latitude, 35.0);
    EXPECT_EQ(doc->m_longitude, 139.75);
    EXPECT_FALSE(SettingsFileExists());
}

TEST_F(ConfDlgTest, JapaneseDialogUsesJapaneseTitleAndMessages) {
    MakeDoc(Language::Japanese);
    QString title;
    std::string message;
    ModalScript script;
    script
        .Then([&](QWidget* dlg) {
            title = dlg->windowTitle();
            Enter("95", "35", "135")(dlg);
        })
        .Then([&](QWidget* box) {
            message = MessageText(box);
            PressDefault(box);
        })
        .Then([](QWidget* dlg) { Click(dlg, 2); });
    EXPECT_FALSE(CConfDlg::Run(*doc, nullptr));
    EXPECT_EQ(title, QString::fromUtf8("測定設定"));
    EXPECT_EQ(message, "0 から 90 までの数値を入力してください。");
}

}  // namespace
