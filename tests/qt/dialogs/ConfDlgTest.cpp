// The "Meas. Setting" dialog: the values shown, the standard number checks in field order, OK
// storing at once, Cancel. The checks live in the dialog layer alone.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>

#include "document/OrvelDoc.h"
#include "measurement/qt/ConfDlg.h"
#include "tests/support/qt/DialogTestSupport.h"

namespace {

using Values = std::array<const char*, 3>;  // edge angle, latitude, longitude
constexpr int kEdits[] = {IDC_EDGE_ANGLE, IDC_LATITUDE, IDC_LONGITUDE};

// Notes what the edits show, types the values and presses OK.
ModalScript::Step Enter(Values values, QStringList* shown = nullptr) {
    return Inspect(
        [=](QWidget* dlg) {
            for (int i = 0; i < 3; ++i) {
                if (shown != nullptr) {
                    *shown << TextOf(dlg, kEdits[i]);
                }
                SetText(dlg, kEdits[i], values[i]);
            }
        },
        1);
}

class ConfDlgTest : public ::testing::Test {
protected:
    void MakeDoc(Language language) {
        doc = std::make_unique<COrvelDoc>(folder.Path(), language);
        std::filesystem::remove(doc->m_cfgPath);  // stored by the document it replaced
        doc->m_longitude = 139.75;
        doc->m_latitude = 35.0;
        doc->m_edgeAngle = 10.0;
    }
    void SetUp() override { MakeDoc(Language::English); }

    TempFolder folder;
    std::unique_ptr<COrvelDoc> doc;
};

// Each case shows what the one before stored, in its shortest form.
TEST_F(ConfDlgTest, LimitsAreInclusiveAndOkStoresTheSettingsFileAtOnce) {
    const struct {
        Values typed;
        double values[3];
        QStringList shown;
    } cases[] = {
        {{" 12.5 ", "-33.925", "18.4241"}, {12.5, -33.925, 18.4241}, {"10", "35", "139.75"}},
        {{"90", "-90", "-180"}, {90.0, -90.0, -180.0}, {"12.5", "-33.925", "18.4241"}},
        {{"0", "90", "180"}, {0.0, 90.0, 180.0}, {"90", "-90", "-180"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed[0]);
        QStringList shown;
        ModalScript script;
        script.Then(Enter(c.typed, &shown));
        EXPECT_TRUE(CConfDlg::Run(*doc, nullptr));
        EXPECT_EQ(shown, c.shown);
        const COrvelSettings stored = StoredSettings(*doc);
        for (const COrvelSettings* s : {static_cast<const COrvelSettings*>(doc.get()), &stored}) {
            EXPECT_EQ(s->m_edgeAngle, c.values[0]);
            EXPECT_EQ(s->m_latitude, c.values[1]);
            EXPECT_EQ(s->m_longitude, c.values[2]);
        }
    }
}

// Cancel after the refusal leaves the document and the settings file as they were.
TEST_F(ConfDlgTest, RefusedValueKeepsTheDialogOpenWithFocusOnTheFirstOffendingEdit) {
    const char* const between90 = "Please enter a number between -90 and 90.";
    const char* const number = "Please enter a number.";
    const struct {
        Values typed;
        const char* message;
        int focusedId;
        Language language = Language::English;
    } cases[] = {
        {{"90.5", "35", "135"}, "Please enter a number between 0 and 90.", IDC_EDGE_ANGLE},
        {{"10", "-90.01", "135"}, between90, IDC_LATITUDE},
        {{"10", "35", "180.5"}, "Please enter a number between -180 and 180.", IDC_LONGITUDE},
        {{"ten", "35", "135"}, number, IDC_EDGE_ANGLE},
        {{"10", "35N", "135"}, number, IDC_LATITUDE},
        {{"10", "35", ""}, number, IDC_LONGITUDE},
        {{"10", "nan", "135"}, number, IDC_LATITUDE},
        // Several bad values: edge angle first, then latitude, then longitude.
        {{"-1", "91", "181"}, "Please enter a number between 0 and 90.", IDC_EDGE_ANGLE},
        {{"45", "91", "181"}, between90, IDC_LATITUDE},
        {{"95", "35", "135"},
         "0 から 90 までの数値を入力してください。",
         IDC_EDGE_ANGLE,
         Language::Japanese},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed[0]) + " " + c.typed[1] + " " + c.typed[2]);
        if (c.language != doc->m_language) {
            MakeDoc(c.language);
        }
        Refusal refusal;
        ModalScript script;
        script.Then(Enter(c.typed));
        ThenRefused(script, refusal);
        EXPECT_FALSE(CConfDlg::Run(*doc, nullptr));
        EXPECT_EQ(refusal.message, c.message);
        EXPECT_EQ(refusal.focused, c.focusedId);
        EXPECT_EQ(doc->m_edgeAngle, 10.0);
        EXPECT_EQ(doc->m_latitude, 35.0);
        EXPECT_EQ(doc->m_longitude, 139.75);
        EXPECT_FALSE(std::filesystem::exists(doc->m_cfgPath));
    }
}

}  // namespace
