// The "Meas. Setting" dialog: the values shown, the standard number checks in field order, OK
// storing at once, Cancel. The checks live in the dialog layer alone.
#include <gtest/gtest.h>

#include <array>

#include "document/OrvelDoc.h"
#include "measurement/qt/ConfDlg.h"
#include "tests/support/qt/DialogTestSupport.h"

namespace {

// The edge angle, latitude and longitude as their edits show them.
QStringList Shown(const COrvelSettings& s) {
    return {QString::number(s.m_edgeAngle), QString::number(s.m_latitude),
            QString::number(s.m_longitude)};
}

// The limits are inclusive. A refused value keeps the dialog open with the focus on the first
// offending edit (edge angle, then latitude, then longitude); Cancel then leaves the document and
// the settings file as they were (absent at first, so read as the defaults). OK stores the file at
// once, and the dialog opens on what the case before stored, in its shortest form.
TEST(ConfDlgTest, OkStoresValuesWithinTheLimitsAndARefusalKeepsTheDialogOpen) {
    TempFolder folder;
    COrvelDoc doc(folder.Path());
    doc.m_longitude = 139.75;  // off the default, so a file written on a refusal shows
    const char* const between90 = "Please enter a number between -90 and 90.";
    const char* const number = "Please enter a number.";
    const struct {
        std::array<const char*, 3> typed;  // edge angle, latitude, longitude
        const char* refusal = "";
        int focused = -1;
        bool japanese = false;  // the dialog in Japanese
    } cases[] = {
        {{"90.5", "35", "135"}, "Please enter a number between 0 and 90.", IDC_EDGE_ANGLE},
        {{"10", "-90.01", "135"}, between90, IDC_LATITUDE},
        {{"10", "35", "180.5"}, "Please enter a number between -180 and 180.", IDC_LONGITUDE},
        {{"ten", "35", "135"}, number, IDC_EDGE_ANGLE},
        {{"10", "35N", "135"}, number, IDC_LATITUDE},
        {{"10", "35", ""}, number, IDC_LONGITUDE},
        {{"10", "nan", "135"}, number, IDC_LATITUDE},
        {{"-1", "91", "181"}, "Please enter a number between 0 and 90.", IDC_EDGE_ANGLE},
        {{"45", "91", "181"}, between90, IDC_LATITUDE},
        {{" 12.5 ", "-33.925", "18.4241"}},
        {{"90", "-90", "-180"}},
        {{"95", "35", "135"}, "0 から 90 までの数値を入力してください。", IDC_EDGE_ANGLE, true},
        {{"0", "90", "180"}},
    };
    QStringList stored = Shown(doc);
    QStringList inFile = Shown(COrvelSettings(folder.Path()));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed[0]) + " " + c.typed[1] + " " + c.typed[2]);
        doc.m_language = c.japanese ? Language::Japanese : Language::English;
        const bool accepted = *c.refusal == '\0';
        QStringList shown;
        Refusal refusal;
        ModalScript script;
        script.Then(Inspect(
            [&](QWidget* dlg) {
                for (int i = 0; i < 3; ++i) {
                    const int id = std::array{IDC_EDGE_ANGLE, IDC_LATITUDE, IDC_LONGITUDE}[i];
                    shown << TextOf(dlg, id);
                    SetText(dlg, id, c.typed[i]);
                }
            },
            1));
        if (!accepted) {
            ThenRefused(script, refusal);
        }
        EXPECT_EQ(CConfDlg::Run(doc, nullptr), accepted);
        EXPECT_EQ(shown, stored);
        EXPECT_EQ(refusal.message, c.refusal);
        EXPECT_EQ(refusal.focused, c.focused);
        if (accepted) {
            stored = {QString(c.typed[0]).trimmed(), c.typed[1], c.typed[2]};
            inFile = stored;
        }
        EXPECT_EQ(Shown(doc), stored);
        EXPECT_EQ(Shown(StoredSettings(doc)), inFile);
    }
}

}  // namespace
