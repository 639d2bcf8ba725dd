// The dialog texts of both languages, indexed by DialogTextId.
#include "resources/DialogTexts.h"

#include <cstddef>
#include <iterator>

#include "resources/BilingualText.h"

namespace {

using DialogTextEntry = BilingualText<DialogTextId>;

constexpr DialogTextEntry kDialogTexts[] = {
    {DialogTextId::AboutTitle, "About Halvo", "About Halvo"},
    {DialogTextId::AboutVersion, "Halvo530 Version 5.0", "Halvo530 Version 5.0"},
    {DialogTextId::AboutNote, "KT-530 spectroradiometer with rotating shadow band",
     "KT-530 分光放射計・回転シャドウバンド"},
    {DialogTextId::Ok, "OK", "OK"},
    {DialogTextId::ComPortTitle, "COM Port", "ポート選択"},
    {DialogTextId::ComPortCancel, "Cancel", "Cancel"},
    {DialogTextId::MeasSettingTitle, "Meas. Setting", "測定設定"},
    {DialogTextId::MeasSettingLongitude, "Longitude", "経度"},
    {DialogTextId::MeasSettingLatitude, "Latitude", "緯度"},
    {DialogTextId::MeasSettingEdgeAngle, "Edge Angle", "エッヂ角度"},
    {DialogTextId::MeasSettingCancel, "Cancel", "ｷｬﾝｾﾙ"},
    {DialogTextId::IntervalTitle, "Interval Measurement", "インターバル測定"},
    {DialogTextId::IntervalStart, "Start", "開始"},
    {DialogTextId::IntervalCancel, "Cancel", "ｷｬﾝｾﾙ"},
    {DialogTextId::IntervalUserDefine, "User define", "ユーザ指定"},
    {DialogTextId::IntervalAutomatic, "Automatic - \"YYMMDD.WSX\"(Daily)",
     "自動作成－ファイル名：\"YYMMDD.WSX\"（日毎更新）"},
    {DialogTextId::IntervalRef, "Ref.", "参照"},
    {DialogTextId::IntervalFrom, "From", "自"},
    {DialogTextId::IntervalTo, "To", "至"},
    {DialogTextId::IntervalColon, ":", "："},
    {DialogTextId::IntervalMin, "min", "分毎"},
    {DialogTextId::IntervalEvery, "every", ""},
    {DialogTextId::IntervalFileName, "File Name", "ファイル名"},
    {DialogTextId::IntervalDataMemo, "Data Memo", "データメモ"},
    {DialogTextId::IntervalAutoStart, "Meas.Auto Starrt", "起動時に自動で計測開始"},
    {DialogTextId::GraphSettingTitle, "Graph Setting", "グラフ設定"},
    {DialogTextId::GraphTitleLabel, "Graph Title", "ｸﾞﾗﾌﾀｲﾄﾙ"},
    {DialogTextId::GraphYAxis, "Y Axis", "Ｙ軸"},
    {DialogTextId::GraphAutoscale, "Autoscale", "ｵｰﾄｽｹｰﾙ"},
    {DialogTextId::GraphLog, "Log", "Log"},
    {DialogTextId::GraphUnitWatt, "W/m2", "W/m2"},
    {DialogTextId::GraphUnitPhoton, "umol/m2/s", "umol/m2/s"},
    {DialogTextId::GraphGrid, "Grid", "罫線"},
    {DialogTextId::GraphMarker, "Marker", "ﾏｰｶｰ"},
    {DialogTextId::GraphRangeTo, "nm ~", "nm ～"},
    {DialogTextId::GraphNm, "nm", "nm"},
    {DialogTextId::GraphPreview, "Preview", "ﾌﾟﾚﾋﾞｭｰ"},
    {DialogTextId::GraphCancel, "Cancel", "ｷｬﾝｾﾙ"},
    {DialogTextId::SensorInfoTitle, "Sensor Information", "センサー情報"},
    {DialogTextId::SensorInfoClose, "Close", "閉じる"},
    {DialogTextId::IntervalProgressTitle, "Interval Measurement", "インターバル測定実行中"},
    {DialogTextId::IntervalProgressBreak, "Break", "中止"},
    {DialogTextId::MeasProgressTitle, "Meas Now", "測定中"},
    {DialogTextId::MeasProgressText, "Meas. Now\nExp.time 5000 msec",
     "測定中です\n露光時間 5000 msec"},
    {DialogTextId::MeasProgressBreak, "Break", "Break"},
    {DialogTextId::DataMemoTitle, "Data Memo", "データメモ"},
    {DialogTextId::DataMemoCancel, "Cancel", "ｷｬﾝｾﾙ"},
    {DialogTextId::ValidateInteger, "Please enter an integer.", "整数を入力してください。"},
    {DialogTextId::ValidateNumber, "Please enter a number.", "数値を入力してください。"},
    {DialogTextId::ValidateIntegerRange, "Please enter an integer between %1 and %2.",
     "%1 から %2 までの整数を入力してください。"},
    {DialogTextId::ValidateNumberRange, "Please enter a number between %1 and %2.",
     "%1 から %2 までの数値を入力してください。"},
    {DialogTextId::ValidateTextLength, "Please enter no more than %1 characters.",
     "%1 文字以内で入力してください。"},
    {DialogTextId::AboutHomeFolder, "Settings and logs in %1", "設定とログの保存先: %1"},
};

constexpr bool IsIndexedById() {
    for (size_t i = 0; i < std::size(kDialogTexts); ++i) {
        if (static_cast<size_t>(kDialogTexts[i].id) != i) {
            return false;
        }
    }
    return std::size(kDialogTexts) == static_cast<size_t>(DialogTextId::Count);
}
static_assert(IsIndexedById());

}  // namespace

const char* LoadDialogText(DialogTextId id, Language lang) {
    const auto index = static_cast<size_t>(id);
    if (index >= std::size(kDialogTexts)) {
        return "";
    }
    const DialogTextEntry& e = kDialogTexts[index];
    return lang == Language::Japanese ? e.japanese : e.english;
}

const char* DialogFontName(Language lang) {
    return lang == Language::Japanese ? "ＭＳ Ｐゴシック" : "Arial";
}
