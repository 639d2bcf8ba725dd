// The English and Japanese string tables, looked up by number.
#include "resources/StringTable.h"

#include "data/CLocaleFormat.h"
#include "resources/BilingualText.h"

#include <locale.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace {

using StringEntry = BilingualText<unsigned>;

// Sorted by id for the binary search below.
constexpr StringEntry kStrings[] = {
    {128, "Halvo\n\nHalvo\nHalvo Files (*.wsx)\n.wsx\nHalvo.Document\nHalvo Document",
     "Halvo\n\nHalvo\nHalvo ﾌｧｲﾙ (*.wsx)\n.wsx\nHalvo.Document\nHalvo Document"},
    {32771, "Measurement Execute\nMeasure", "測定を実行する\n測定実行"},
    {32772, "Edit Measurement Setting\nSet Measure", "測定内容の設定\n測定設定"},
    {32773, "Display Sensor Information\nSensor Info.", "センサー情報を表示\nセンサー情報"},
    {32774, "Save with Count\nSave with Count", "カウント値の保存\nカウント値保存"},
    {32775, "Start Interval Measurement\nInterval Meas.",
     "インターバル測定を開始する\nインターバル測定"},
    {32784, "Set Graph Parameter\nGraph", "グラフ表示の設定\nグラフ設定"},
    {32794, "Append & Save active document\nAppend", "作業中のファイルに追加保存\n追加保存"},
    {57344, "Halvo", "Halvo"},
    {57345, "Ready", "ﾚﾃﾞｨ"},
    {57603, "Save the active document\nSave", "作業中のﾌｧｲﾙを保存\n保存"},
    {57605, "Change the printing options\nPage Setup", "印刷設定の変更\n印刷設定"},
    {57606, "Change the printer and printing options\nPrint Setup",
     "ﾌﾟﾘﾝﾀ/印刷設定の変更\nﾌﾟﾘﾝﾀの設定"},
    {57607, "Print the active document\nPrint", "作業中のﾌｧｲﾙを印刷\n印刷"},
    {57609, "Display full pages\nPrint Preview", "ﾌﾙｽｸﾘｰﾝで表示\n印刷ﾌﾟﾚﾋﾞｭｰ"},
    {57664, "Display program information, version number and copyright\nAbout",
     "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報"},
    {57665, "Quit the application; prompts to save documents\nExit", "ｱﾌﾟﾘｹｰｼｮﾝを終了する\n終了"},
    {59136, "EXT", "EXT"},
    {59137, "CAP", "CAP"},
    {59138, "NUM", "NUM"},
    {59139, "SCRL", "SCRL"},
    {59140, "OVR", "上書"},
    {59141, "REC", "記録"},
    {59142, "KANA", "ｶﾅ"},
    {59392, "Show or hide the toolbar\nToggle ToolBar",
     "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示/非表示"},
    {59393, "Show or hide the status bar\nToggle StatusBar",
     "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示/非表示"},
    {61184, "Change the window size", "ｳｨﾝﾄﾞｳのｻｲｽﾞを変更"},
    {61185, "Change the window position", "ｳｨﾝﾄﾞｳの位置を変更"},
    {61186, "Reduce the window to an icon", "ｳｨﾝﾄﾞｳをｱｲｺﾝ化する"},
    {61187, "Enlarge the window to full size", "ｳｨﾝﾄﾞｳを最大表示にする"},
    {61188, "Switch to the next document window", "次のｳｨﾝﾄﾞｳに切り替える"},
    {61189, "Switch to the previous document window", "前のｳｨﾝﾄﾞｳに切り替える"},
    {61190, "Close the active window and prompts to save the documents",
     "作業中のｳｨﾝﾄﾞｳを閉じ、変更したﾌｧｲﾙの保存を指示"},
    {61202, "Restore the window to normal size", "ｳｨﾝﾄﾞｳを通常のｻｲｽﾞに戻す"},
    {61203, "Activate Task List", "ｱﾌﾟﾘｹｰｼｮﾝの切り替え"},
    {61445, "Close print preview mode\nCancel Preview", "印刷ﾌﾟﾚﾋﾞｭｰ ﾓｰﾄﾞを閉じる\nﾌﾟﾚﾋﾞｭｰのｷｬﾝｾﾙ"},
    {61448, "KT-530 Communication Error!\nNegotiation Fault.\nCheck Connection with Power Line.",
     "KT530通信エラー\nネゴシエーション失敗\n本体の電源を確認してください"},
    {61450, "KT-530 Communication Error!\n(Sensor Information reading fault)",
     "KT530通信エラー\nセンサー情報読みとり失敗"},
    {61451, "KT-530 Communication Error!\n(Calibration value reading fault)",
     "KT530通信エラー\n校正値読みとり失敗"},
    {61452, "Error! (File Save)", "ファイルの保存に失敗しました"},
    {61453, "Save", "保存"},
    {61454, "File does not exist.\nCreate New File?", "ファイルが存在しません\n新規保存しますか？"},
    {61455, "Stop Interval Measurement.", "インターバル測定を停止します"},
    {61456, "Data Save Folder Select", "データ保存フォルダ選択"},
    {61457, "Invalid Data Folder", "データ保存フォルダーが無効です"},
    {61458, "-- Measurement --\nExposure", "-- 測定中です --\n露光時間"},
    {61459, "-- Measure dark --\nExposure", "-- ダーク取得中 --\n露光時間"},
    {61460, "-- Meas Now --", "-- 測定中です --"},
    {61461, "Folder Attribute is ReadOnly", "読みとり専用フォルダです"},
    {61462, "OverWrite is prohibited", "オーバーライトはできません"},
    {61463, "Can't Append Data\nData format is different.",
     "異なった測器で測定されたデータに\n追加保存する事はできません"},
    {61464, "Available Area is\n%.0f - %.0f [nm]", "表示可能な波長範囲は\n%.0f - %.0f [nm]です"},
    {61467, "ShadowBand Communication Error\nNegotiation Fault.\nCheck Connection with Power Line",
     "シャドウバンド通信エラー\nネゴシエーション失敗\n本体の電源を確認してください"},
    {61469, "ShadowBand Communication Error\n(System Information reading fault)",
     "シャドウバンド通信エラー\n装置情報読み取り失敗"},
    {61470, "ShadowBand Communication Error\n(Parameter Setting fault)",
     "シャドウバンド通信エラー\n装置セッティング失敗"},
};

constexpr bool IsSortedById() {
    for (size_t i = 1; i < std::size(kStrings); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(IsSortedById());

constexpr auto MakeIdList() {
    std::array<unsigned, std::size(kStrings)> ids{};
    for (size_t i = 0; i < ids.size(); ++i) {
        ids[i] = kStrings[i].id;
    }
    return ids;
}
constexpr auto kStringIds = MakeIdList();

const StringEntry* Find(unsigned id) {
    const auto* it =
        std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                         [](const StringEntry& e, unsigned key) { return e.id < key; });
    return it != std::end(kStrings) && it->id == id ? it : nullptr;
}

}  // namespace

const char* LoadResString(unsigned id, Language lang) {
    const StringEntry* e = Find(id);
    if (e == nullptr) {
        return "";
    }
    return lang == Language::Japanese ? e->japanese : e->english;
}

bool HasResString(unsigned id) {
    return Find(id) != nullptr;
}

std::span<const unsigned> ResStringIds() {
    return kStringIds;
}

std::string FormatResString(unsigned id, Language lang, ...) {
    std::string out;
    va_list args;
    va_start(args, lang);
    AppendFormatCV(out, LoadResString(id, lang), args);  // NOLINT(clang-analyzer-valist.*)
    va_end(args);
    return out;
}

std::string ExposureProgressText(unsigned id, Language lang, int exposureMs) {
    return std::string(LoadResString(id, lang)) + " " + std::to_string(exposureMs) + " msec";
}

CommandPrompt LoadCommandPrompt(unsigned id, Language lang) {
    const std::string_view text = LoadResString(id, lang);
    const size_t newline = text.find('\n');
    if (newline == std::string_view::npos) {
        return {std::string(text), {}};
    }
    return {std::string(text.substr(0, newline)), std::string(text.substr(newline + 1))};
}
