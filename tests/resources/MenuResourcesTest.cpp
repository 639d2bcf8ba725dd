// Menus, toolbar, accelerators and status-bar panes against their expected contents.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/MenuResources.h"
#include "resources/StringTable.h"

namespace {

struct ExpectedItem {
    const char* english;  // nullptr: a separator
    const char* japanese;
    unsigned command;
};

struct ExpectedPopup {
    const char* english;
    const char* japanese;
    std::vector<ExpectedItem> items;
};

const ExpectedItem kSep{nullptr, nullptr, 0};

const std::vector<ExpectedPopup> kMainMenu = {
    {"File(&F)",
     "ﾌｧｲﾙ(&F)",
     {{"Save(&A)...", "新規保存(&A)...", 57603},
      {"Save Append", "追加保存", 32794},
      {"Save with Count", "カウント値で保存", 32774},
      kSep,
      {"Print(&P)...\tCtrl+P", "印刷(&P)...\tCtrl+P", 57607},
      {"Print Preview(&V)", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", 57609},
      {"Print Setup(&R)...", "ﾌﾟﾘﾝﾀの設定(&R)...", 57606},
      kSep,
      {"Exit(&X)", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", 57665}}},
    {"View(&V)",
     "表示(&V)",
     {{"Toolbar(&T)", "ﾂｰﾙ ﾊﾞｰ(&T)", 59392}, {"Status Bar(&S)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", 59393}}},
    {"Measure",
     "測定",
     {{"Execute", "測定実行", 32771}, {"Interval Meas.", "インターバル測定", 32775}}},
    {"Setting", "設定", {{"Measure", "測定設定", 32772}, {"Graph", "グラフ設定", 32784}}},
    {"Help(&H)",
     "ﾍﾙﾌﾟ(&H)",
     {{"About Halvo (&A)...", "ﾊﾞｰｼﾞｮﾝ情報(Halvo) (&A)...", 57664},
      {"Sensor Information", "センサ情報", 32773}}},
};

const std::vector<ExpectedPopup> kContextMenu = {
    {"",
     "",
     {{"Meas Execute", "測定実行", 32771},
      kSep,
      {"Meas Setting", "測定設定", 32772},
      {"Graph Setting", "グラフ設定", 32784},
      kSep,
      {"Save Append", "追加保存", 32794}}},
};

std::string TextOf(const char* text) {
    return text == nullptr ? "<separator>" : text;
}

void ExpectMenu(unsigned menuId, const std::vector<ExpectedPopup>& expected) {
    for (Language lang : {Language::English, Language::Japanese}) {
        const bool ja = lang == Language::Japanese;
        SCOPED_TRACE(ja ? "Japanese" : "English");
        const auto popups = LoadMenuResource(menuId, lang);
        ASSERT_EQ(popups.size(), expected.size());
        for (size_t p = 0; p < expected.size(); ++p) {
            const ExpectedPopup& want = expected[p];
            EXPECT_STREQ(popups[p].text, ja ? want.japanese : want.english);
            ASSERT_EQ(popups[p].items.size(), want.items.size()) << TextOf(want.english);
            for (size_t i = 0; i < want.items.size(); ++i) {
                const ExpectedItem& item = want.items[i];
                EXPECT_EQ(TextOf(popups[p].items[i].text),
                          TextOf(ja ? item.japanese : item.english));
                EXPECT_EQ(popups[p].items[i].command, item.command);
            }
        }
    }
}

TEST(MenuResourcesTest, MainMenuHoldsEveryPopupAndItemInBothLanguages) {
    ExpectMenu(128, kMainMenu);
}

TEST(MenuResourcesTest, ContextMenuHoldsOnePopupInBothLanguagesAndOtherIdsNone) {
    ExpectMenu(139, kContextMenu);
    EXPECT_TRUE(LoadMenuResource(100, Language::English).empty());
    EXPECT_TRUE(LoadMenuResource(0, Language::Japanese).empty());
}

TEST(MenuResourcesTest, ToolbarButtonsInOrderWithGaps) {
    const std::vector<unsigned> expected = {57603, 32794, 0,     32784, 0,     32772,
                                            32771, 0,     32775, 0,     57607, 57664};
    const auto buttons = ToolbarButtons();
    EXPECT_EQ(std::vector<unsigned>(buttons.begin(), buttons.end()), expected);
}

TEST(MenuResourcesTest, AcceleratorsBindTheirKeys) {
    const std::vector<std::pair<std::string, unsigned>> expected = {
        {"Ctrl+N", 57600}, {"Ctrl+O", 57601},        {"Ctrl+S", 57603}, {"Ctrl+P", 57607},
        {"Ctrl+Z", 57643}, {"Alt+Backspace", 57643}, {"Ctrl+X", 57635}, {"Shift+Del", 57635},
        {"Ctrl+C", 57634}, {"Ctrl+Ins", 57634},      {"Ctrl+V", 57637}, {"Shift+Ins", 57637},
        {"F6", 57680},     {"Shift+F6", 57681},
    };
    std::vector<std::pair<std::string, unsigned>> actual;
    for (const AcceleratorDef& a : Accelerators()) {
        actual.emplace_back(a.keys, a.command);
    }
    EXPECT_EQ(actual, expected);
}

TEST(MenuResourcesTest, StatusBarShowsMessagePaneThenKanaCapsNumScroll) {
    const auto panes = StatusBarIndicators();
    EXPECT_EQ(std::vector<unsigned>(panes.begin(), panes.end()),
              (std::vector<unsigned>{0, 59142, 59137, 59138, 59139}));
}

// Every menu item and toolbar button shows a status-bar prompt and a tooltip from the table.
TEST(MenuResourcesTest, EveryMenuAndToolbarCommandHasAPrompt) {
    std::vector<unsigned> commands(ToolbarButtons().begin(), ToolbarButtons().end());
    for (unsigned menuId : {128u, 139u}) {
        for (const MenuPopupDef& popup : LoadMenuResource(menuId, Language::English)) {
            for (const MenuItemDef& item : popup.items) {
                commands.push_back(item.command);
            }
        }
    }
    for (unsigned id : commands) {
        if (id == ID_SEPARATOR) {
            continue;
        }
        SCOPED_TRACE(id);
        for (Language lang : {Language::English, Language::Japanese}) {
            const CommandPrompt prompt = LoadCommandPrompt(id, lang);
            EXPECT_FALSE(prompt.statusText.empty());
            EXPECT_FALSE(prompt.toolTip.empty());
        }
    }
}

}  // namespace
