// The menu, toolbar, accelerator and status-bar tables in English and Japanese.
#include "resources/MenuResources.h"

namespace {

constexpr MenuItemDef kSeparator{nullptr, ID_SEPARATOR};

constexpr MenuItemDef kFileEn[] = {
    {"Save(&A)...", ID_FILE_SAVE},
    {"Save Append", ID_SAVE_APPEND},
    {"Save with Count", ID_SAVE_COUNT},
    kSeparator,
    {"Print(&P)...\tCtrl+P", ID_FILE_PRINT},
    {"Print Preview(&V)", ID_FILE_PRINT_PREVIEW},
    {"Print Setup(&R)...", ID_FILE_PRINT_SETUP},
    kSeparator,
    {"Exit(&X)", ID_APP_EXIT},
};
constexpr MenuItemDef kFileJa[] = {
    {"新規保存(&A)...", ID_FILE_SAVE},           {"追加保存", ID_SAVE_APPEND},
    {"カウント値で保存", ID_SAVE_COUNT},         kSeparator,
    {"印刷(&P)...\tCtrl+P", ID_FILE_PRINT},      {"印刷ﾌﾟﾚﾋﾞｭｰ(&V)", ID_FILE_PRINT_PREVIEW},
    {"ﾌﾟﾘﾝﾀの設定(&R)...", ID_FILE_PRINT_SETUP}, kSeparator,
    {"ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", ID_APP_EXIT},
};
constexpr MenuItemDef kViewEn[] = {
    {"Toolbar(&T)", ID_VIEW_TOOLBAR},
    {"Status Bar(&S)", ID_VIEW_STATUS_BAR},
};
constexpr MenuItemDef kViewJa[] = {
    {"ﾂｰﾙ ﾊﾞｰ(&T)", ID_VIEW_TOOLBAR},
    {"ｽﾃｰﾀｽ ﾊﾞｰ(&S)", ID_VIEW_STATUS_BAR},
};
constexpr MenuItemDef kMeasureEn[] = {
    {"Execute", ID_MEAS_EXECUTE},
    {"Interval Meas.", ID_INTERVAL_MEAS},
};
constexpr MenuItemDef kMeasureJa[] = {
    {"測定実行", ID_MEAS_EXECUTE},
    {"インターバル測定", ID_INTERVAL_MEAS},
};
constexpr MenuItemDef kSettingEn[] = {
    {"Measure", ID_MEAS_SETTING},
    {"Graph", ID_GRAPH_SETTING},
};
constexpr MenuItemDef kSettingJa[] = {
    {"測定設定", ID_MEAS_SETTING},
    {"グラフ設定", ID_GRAPH_SETTING},
};
constexpr MenuItemDef kHelpEn[] = {
    {"About Halvo (&A)...", ID_APP_ABOUT},
    {"Sensor Information", ID_SENSOR_INFO},
};
constexpr MenuItemDef kHelpJa[] = {
    {"ﾊﾞｰｼﾞｮﾝ情報(Halvo) (&A)...", ID_APP_ABOUT},
    {"センサ情報", ID_SENSOR_INFO},
};

constexpr MenuPopupDef kMainMenuEn[] = {
    {"File(&F)", kFileEn},   {"View(&V)", kViewEn}, {"Measure", kMeasureEn},
    {"Setting", kSettingEn}, {"Help(&H)", kHelpEn},
};
constexpr MenuPopupDef kMainMenuJa[] = {
    {"ﾌｧｲﾙ(&F)", kFileJa}, {"表示(&V)", kViewJa}, {"測定", kMeasureJa},
    {"設定", kSettingJa},  {"ﾍﾙﾌﾟ(&H)", kHelpJa},
};

constexpr MenuItemDef kContextEn[] = {
    {"Meas Execute", ID_MEAS_EXECUTE},   kSeparator, {"Meas Setting", ID_MEAS_SETTING},
    {"Graph Setting", ID_GRAPH_SETTING}, kSeparator, {"Save Append", ID_SAVE_APPEND},
};
constexpr MenuItemDef kContextJa[] = {
    {"測定実行", ID_MEAS_EXECUTE},    kSeparator, {"測定設定", ID_MEAS_SETTING},
    {"グラフ設定", ID_GRAPH_SETTING}, kSeparator, {"追加保存", ID_SAVE_APPEND},
};
constexpr MenuPopupDef kContextMenuEn[] = {{"", kContextEn}};
constexpr MenuPopupDef kContextMenuJa[] = {{"", kContextJa}};

constexpr unsigned kToolbar[] = {
    ID_FILE_SAVE,     ID_SAVE_APPEND,  ID_SEPARATOR,    ID_GRAPH_SETTING,
    ID_SEPARATOR,     ID_MEAS_SETTING, ID_MEAS_EXECUTE, ID_SEPARATOR,
    ID_INTERVAL_MEAS, ID_SEPARATOR,    ID_FILE_PRINT,   ID_APP_ABOUT,
};

constexpr AcceleratorDef kAccelerators[] = {
    {"Ctrl+N", ID_FILE_NEW},    {"Ctrl+O", ID_FILE_OPEN},   {"Ctrl+S", ID_FILE_SAVE},
    {"Ctrl+P", ID_FILE_PRINT},  {"Ctrl+Z", ID_EDIT_UNDO},   {"Alt+Backspace", ID_EDIT_UNDO},
    {"Ctrl+X", ID_EDIT_CUT},    {"Shift+Del", ID_EDIT_CUT}, {"Ctrl+C", ID_EDIT_COPY},
    {"Ctrl+Ins", ID_EDIT_COPY}, {"Ctrl+V", ID_EDIT_PASTE},  {"Shift+Ins", ID_EDIT_PASTE},
    {"F6", ID_NEXT_PANE},       {"Shift+F6", ID_PREV_PANE},
};

constexpr unsigned kIndicators[] = {
    ID_SEPARATOR, IDS_INDICATOR_KANA, IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL,
};

}  // namespace

std::span<const MenuPopupDef> LoadMenuResource(unsigned menuId, Language lang) {
    const bool japanese = lang == Language::Japanese;
    switch (menuId) {
        case IDR_MAINFRAME:
            return japanese ? std::span<const MenuPopupDef>(kMainMenuJa) : kMainMenuEn;
        case IDR_CONTEXT_MENU:
            return japanese ? std::span<const MenuPopupDef>(kContextMenuJa) : kContextMenuEn;
        default:
            return {};
    }
}

std::span<const unsigned> ToolbarButtons() {
    return kToolbar;
}

std::span<const AcceleratorDef> Accelerators() {
    return kAccelerators;
}

std::span<const unsigned> StatusBarIndicators() {
    return kIndicators;
}
