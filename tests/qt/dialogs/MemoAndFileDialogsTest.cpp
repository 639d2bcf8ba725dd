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

// Typing stops at fifty characters; a longer memo already held is shown whole and refused in the
// dialog's language with the focus on it (the English wording is checked under the interval
// dialog). OK returns the edited memo, Cancel keeps the old one.
TEST(MemoDlgTest, OkReturnsTheMemoOfAtMostFiftyCharactersAndCancelKeepsTheOldOne) {
    std::string memo = "Data Memo";
    QString shown, typed, kept;
    Refusal refusal;
    ModalScript script;
    script.Then(Inspect(
        [&](QWidget* dlg) {
            shown = TextOf(dlg, IDC_MEMO);
            QTest::keyClicks(Control<QLineEdit>(dlg, IDC_MEMO), QString(60, 'a'));
            typed = TextOf(dlg, IDC_MEMO);
            SetText(dlg, IDC_MEMO, "south roof");
        },
        1));
    EXPECT_TRUE(CMemoDlg::Run(memo, Language::English, nullptr));
    EXPECT_EQ(shown, "Data Memo");
    EXPECT_EQ(typed, "Data Memo" + QString(41, 'a'));
    EXPECT_EQ(memo, "south roof");

    memo = std::string(51, 'x');
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

TEST(QtFileDialogsTest, FilterPairsBecomeQtFiltersThatShowTheirNamesAsWritten) {
    EXPECT_EQ(CQtFileDialogs::NameFilters("Halvo Data Files(*.wsx)|*.wsx|All Files(*.*)|*.*||"),
              (QStringList{"Halvo Data Files(*.wsx) (*.wsx)", "All Files(*.*) (*)"}));
    EXPECT_EQ(CQtFileDialogs::NameFilters("Text(*.txt;*.csv)|*.txt;*.csv||"),
              (QStringList{"Text(*.txt;*.csv) (*.txt *.csv)"}));
    EXPECT_TRUE(CQtFileDialogs::NameFilters("").isEmpty());
    EXPECT_TRUE(CQtFileDialogs::NameFilters("Unpaired").isEmpty());
}

class SaveDialogTest : public ::testing::Test {
protected:
    // Accepts the save dialog with name typed into it.
    static ModalScript::Step Choose(const std::string& name) {
        return [name](QWidget* w) { TypeIntoFileDialog(w, name); };
    }

    TempFolder folder;
    CQtFileDialogs dialogs{nullptr, Language::English};
};

// A question nobody answers, or one that never comes, fails the script.
TEST_F(SaveDialogTest, ExistingFileIsQuestionedOnlyWhenAskedFor) {
    const std::string existing = folder.Path() + "old.wsx";
    WriteFileBytes(existing, "x");
    ModalScript script;
    script.Then(Choose(existing)).Then(Choose(existing)).Then([](QWidget* w) {
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
// the real save and memo dialogs.
TEST_F(SaveDialogTest, SaveCommandTakesTheChosenNameAndTheMemo) {
    FakeMessageBox messages;
    FakeHost host;
    COrvelDoc doc(folder.Path());
    doc.SetMessageBox(&messages);
    doc.SetHost(&host);
    FillSampleSet(doc.m_radData, 1);
    ModalScript script;
    script.Then(Choose(folder.Path() + "new"))
        .Then(Inspect([](QWidget* dlg) { SetText(dlg, IDC_MEMO, "east mast"); }, 1));
    doc.OnFileSave(dialogs);
    const std::string saved = folder.Path() + "new.wsx";
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(host.title, saved);
    CRadData read;
    EXPECT_EQ(read.LoadFile(saved.c_str()), 1);
    EXPECT_EQ(read.m_memo, "east mast");
}

}  // namespace
