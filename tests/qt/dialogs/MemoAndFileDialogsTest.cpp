// The "Data Memo" dialog and the Qt save dialog, alone and under the document's save commands.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "data/qt/MemoDlg.h"
#include "document/OrvelDoc.h"
#include "document/qt/QtFileDialogs.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestRecords.h"
#include "tests/support/qt/DialogTestSupport.h"

namespace {

// A memo already held longer than fifty characters is shown whole and refused in the dialog's
// language with the focus on it (the English wording is checked under the interval dialog, the
// typing limit under the save command). OK returns the edited memo, Cancel keeps the old one.
TEST(MemoDlgTest, OkReturnsTheMemoOfAtMostFiftyCharactersAndCancelKeepsTheOldOne) {
    std::string memo(51, 'x');
    QString kept;
    Refusal refusal;
    ModalScript script;
    script.Then(Press(1));
    ThenRefused(
        script, refusal,
        [&kept](QWidget* dlg) {
            kept = TextOf(dlg, IDC_MEMO);
            SetText(dlg, IDC_MEMO, "east mast");
        },
        1);
    script.Then(Inspect([](QWidget* dlg) { SetText(dlg, IDC_MEMO, "never taken"); }));
    EXPECT_TRUE(CMemoDlg::Run(memo, Language::Japanese, nullptr));
    EXPECT_EQ(refusal.message, "50 文字以内で入力してください。");
    EXPECT_EQ(refusal.focused, IDC_MEMO);
    EXPECT_EQ(kept.size(), 51);
    EXPECT_EQ(memo, "east mast");
    EXPECT_FALSE(CMemoDlg::Run(memo, Language::English, nullptr));
    EXPECT_EQ(memo, "east mast");
}

// The data file filters with "*.*" are checked under the interval dialog's file button.
TEST(QtFileDialogsTest, FilterPairsBecomeQtFiltersThatShowTheirNamesAsWritten) {
    EXPECT_EQ(CQtFileDialogs::NameFilters("Text(*.txt;*.csv)|*.txt;*.csv||"),
              (QStringList{"Text(*.txt;*.csv) (*.txt *.csv)"}));
    EXPECT_TRUE(CQtFileDialogs::NameFilters("").isEmpty());
    EXPECT_TRUE(CQtFileDialogs::NameFilters("Unpaired").isEmpty());
}

class SaveDialogTest : public ::testing::Test {
protected:
    TempFolder folder;
    CQtFileDialogs dialogs{nullptr, Language::English};
};

// A question nobody answers, or one that never comes, fails the script.
TEST_F(SaveDialogTest, ExistingFileIsQuestionedOnlyWhenAskedFor) {
    const std::string existing = folder.Path() + "old.wsx";
    WriteFileBytes(existing, "x");
    const auto choose = [&existing](QWidget* w) { TypeIntoFileDialog(w, existing); };
    ModalScript script;
    script.Then(choose).Then(choose).Then([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::Yes)->click();
    });
    for (const bool confirmOverwrite : {false, true}) {
        std::string path;
        ASSERT_TRUE(dialogs.ChooseSaveFile({"Save", "Halvo Data Files(*.wsx)|*.wsx||", "wsx",
                                            folder.Path() + "NoName.wsx", confirmOverwrite},
                                           path));
        EXPECT_EQ(path, existing);
    }
}

// The refusal to overwrite is the document's (tested there); here the save command runs through
// the real save and memo dialogs, and typing in the memo stops at fifty characters.
TEST_F(SaveDialogTest, SaveCommandTakesTheChosenNameAndTheMemo) {
    FakeMessageBox messages;
    FakeHost host;
    COrvelDoc doc(folder.Path());
    doc.SetMessageBox(&messages);
    doc.SetHost(&host);
    FillSampleSet(doc.m_radData, 1);
    ModalScript script;
    script.Then([this](QWidget* w) { TypeIntoFileDialog(w, folder.Path() + "new"); })
        .Then(Inspect(
            [](QWidget* dlg) {
                SetText(dlg, IDC_MEMO, "east mast");
                QTest::keyClicks(Control<QLineEdit>(dlg, IDC_MEMO), QString(60, 'a'));
            },
            1));
    doc.OnFileSave(dialogs);
    const std::string saved = folder.Path() + "new.wsx";
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(host.title, saved);
    CRadData read;
    EXPECT_EQ(read.LoadFile(saved.c_str()), 1);
    EXPECT_EQ(read.m_memo, "east mast" + std::string(41, 'a'));
}

}  // namespace
