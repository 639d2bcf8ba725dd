// The "Meas. Setting" dialog: limits, the order of its checks, OK storing at once, Cancel.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "document/OrvelDoc.h"
#include "measurement/qt/ConfDlg.h"
#include "tests/support/qt/DialogTestSupport.h"
#include "tests/support/qt/ModalScript.h"

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

    void ExpectUnchanged() const {
        EXPECT_EQ(doc->m_edgeAngle, 10.0);
        EXPECT_EQ(doc->m_latitude, 35.0);
        EXPECT_EQ(doc->m_longitude, 139.75);
        EXPECT_FALSE(std::filesystem::exists(doc->m_cfgPath));
    }

    // Types the three values and presses OK.
    static ModalScript::Step Enter(const char* edge, const char* latitude, const char* longitude,
                                   int press = 1) {
        return Inspect(
            [=](QWidget* dlg) {
                SetText(dlg, IDC_EDGE_ANGLE, edge);
                SetText(dlg, IDC_LATITUDE, latitude);
                SetText(dlg, IDC_LONGITUDE, longitude);
            },
            press);
    }

    TempFolder folder;
    std::unique_ptr<COrvelDoc> doc;
};

// The values show in their shortest form; Cancel after editing them changes nothing.
TEST_F(ConfDlgTest, OpensWithTheDocumentValuesAndCancelKeepsThem) {
    QStringList shown;
    QString title;
    ModalScript script;
    script.Then([&](QWidget* dlg) {
        title = dlg->windowTitle();
        for (int id : {IDC_LONGITUDE, IDC_LATITUDE, IDC_EDGE_ANGLE}) {
            shown << TextOf(dlg, id);
        }
        Enter("20", "-10", "100", 2)(dlg);
    });
    EXPECT_FALSE(CConfDlg::Run(*doc, nullptr));
    EXPECT_EQ(title, "Meas. Setting");
    EXPECT_EQ(shown, (QStringList{"139.75", "35", "10"}));
    ExpectUnchanged();
}

TEST_F(ConfDlgTest, LimitsAreInclusiveAndOkStoresTheSettingsFileAtOnce) {
    const struct {
        const char *edge, *latitude, *longitude;
        double values[3];
    } cases[] = {
        {"90", "-90", "-180", {90.0, -90.0, -180.0}},
        {"0", "90", "180", {0.0, 90.0, 180.0}},
        {" 12.5 ", "-33.925", "18.4241", {12.5, -33.925, 18.4241}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edge);
        ModalScript script;
        script.Then(Enter(c.edge, c.latitude, c.longitude));
        EXPECT_TRUE(CConfDlg::Run(*doc, nullptr));
        COrvelSettings stored(folder.Path());
        ASSERT_EQ(stored.LoadSaveConfig(doc->m_cfgPath, COrvelSettings::kLoad), 1);
        for (const COrvelSettings* s : std::vector<const COrvelSettings*>{doc.get(), &stored}) {
            EXPECT_EQ(s->m_edgeAngle, c.values[0]);
            EXPECT_EQ(s->m_latitude, c.values[1]);
            EXPECT_EQ(s->m_longitude, c.values[2]);
        }
    }
}

TEST_F(ConfDlgTest, RefusedValueKeepsTheDialogOpenWithFocusOnTheFirstOffendingEdit) {
    const char* const between90 = "Please enter a number between -90 and 90.";
    const struct {
        const char *edge, *latitude, *longitude, *message;
        int focusedId;
        Language language = Language::English;
    } cases[] = {
        {"90.5", "35", "135", "Please enter a number between 0 and 90.", IDC_EDGE_ANGLE},
        {"10", "-90.01", "135", between90, IDC_LATITUDE},
        {"10", "35", "180.5", "Please enter a number between -180 and 180.", IDC_LONGITUDE},
        {"ten", "35", "135", "Please enter a number.", IDC_EDGE_ANGLE},
        {"10", "35N", "135", "Please enter a number.", IDC_LATITUDE},
        {"10", "35", "", "Please enter a number.", IDC_LONGITUDE},
        {"10", "nan", "135", "Please enter a number.", IDC_LATITUDE},
        // Several bad values: edge angle first, then latitude, then longitude.
        {"-1", "91", "181", "Please enter a number between 0 and 90.", IDC_EDGE_ANGLE},
        {"45", "91", "181", between90, IDC_LATITUDE},
        {"95", "35", "135", "0 から 90 までの数値を入力してください。", IDC_EDGE_ANGLE,
         Language::Japanese},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.edge) + " " + c.latitude + " " + c.longitude);
        if (c.language != doc->m_language) {
            MakeDoc(c.language);
            std::filesystem::remove(doc->m_cfgPath);  // stored by the document it replaced
        }
        std::string message;
        int focused = -1;
        bool stillOpen = false;
        ModalScript script;
        script.Then(Enter(c.edge, c.latitude, c.longitude))
            .Then(Acknowledge(message))
            .Then(Inspect([&](QWidget* dlg) {
                stillOpen = dlg->isVisible();
                focused = FocusedId(dlg);
            }));
        EXPECT_FALSE(CConfDlg::Run(*doc, nullptr));
        EXPECT_EQ(message, c.message);
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(focused, c.focusedId);
        ExpectUnchanged();
    }
}

}  // namespace
