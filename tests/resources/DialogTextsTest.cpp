// The dialog texts of both languages against their expected wording.
#include <gtest/gtest.h>

#include "resources/DialogTexts.h"

namespace {

struct Expected {
    DialogTextId id;
    const char* english;
    const char* japanese;
};

using D = DialogTextId;

const Expected kExpected[] = {
    {D::AboutTitle, "About Halvo", "About Halvo"},
    {D::AboutVersion, "Halvo530 Version 5.0", "Halvo530 Version 5.0"},
    {D::ComPortTitle, "COM Port", "ポート選択"},
    {D::MeasSettingTitle, "Meas. Setting", "測定設定"},
    {D::MeasSettingLongitude, "Longitude", "経度"},
    {D::MeasSettingLatitude, "Latitude", "緯度"},
    {D::MeasSettingEdgeAngle, "Edge Angle", "エッヂ角度"},
    {D::MeasSettingCancel, "Cancel", "ｷｬﾝｾﾙ"},
    {D::IntervalTitle, "Interval Measurement", "インターバル測定"},
    {D::IntervalStart, "Start", "開始"},
    {D::IntervalCancel, "Cancel", "ｷｬﾝｾﾙ"},
    {D::IntervalUserDefine, "User define", "ユーザ指定"},
    {D::IntervalAutomatic, "Automatic - \"YYMMDD.WSX\"(Daily)",
     "自動作成－ファイル名：\"YYMMDD.WSX\"（日毎更新）"},
    {D::IntervalRef, "Ref.", "参照"},
    {D::IntervalFrom, "From", "自"},
    {D::IntervalTo, "To", "至"},
    {D::IntervalColon, ":", "："},
    {D::IntervalMin, "min", "分毎"},
    {D::IntervalEvery, "every", ""},
    {D::IntervalFileName, "File Name", "ファイル名"},
    {D::IntervalDataMemo, "Data Memo", "データメモ"},
    {D::IntervalAutoStart, "Meas.Auto Starrt", "起動時に自動で計測開始"},
    {D::GraphSettingTitle, "Graph Setting", "グラフ設定"},
    {D::GraphTitleLabel, "Graph Title", "ｸﾞﾗﾌﾀｲﾄﾙ"},
    {D::GraphYAxis, "Y Axis", "Ｙ軸"},
    {D::GraphAutoscale, "Autoscale", "ｵｰﾄｽｹｰﾙ"},
    {D::GraphLog, "Log", "Log"},
    {D::GraphUnitWatt, "W/m2", "W/m2"},
    {D::GraphUnitPhoton, "umol/m2/s", "umol/m2/s"},
    {D::GraphGrid, "Grid", "罫線"},
    {D::GraphMarker, "Marker", "ﾏｰｶｰ"},
    {D::GraphRangeTo, "nm ~", "nm ～"},
    {D::GraphNm, "nm", "nm"},
    {D::GraphPreview, "Preview", "ﾌﾟﾚﾋﾞｭｰ"},
    {D::GraphCancel, "Cancel", "ｷｬﾝｾﾙ"},
    {D::SensorInfoTitle, "Sensor Information", "センサー情報"},
    {D::SensorInfoClose, "Close", "閉じる"},
    {D::IntervalProgressTitle, "Interval Measurement", "インターバル測定実行中"},
    {D::IntervalProgressBreak, "Break", "中止"},
    {D::MeasProgressTitle, "Meas Now", "測定中"},
    {D::MeasProgressText, "Meas. Now\nExp.time 5000 msec", "測定中です\n露光時間 5000 msec"},
    {D::DataMemoTitle, "Data Memo", "データメモ"},
    {D::DataMemoCancel, "Cancel", "ｷｬﾝｾﾙ"},
};

TEST(DialogTextsTest, EveryListedTextMatchesInBothLanguages) {
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(static_cast<int>(e.id));
        EXPECT_STREQ(LoadDialogText(e.id, Language::English), e.english);
        EXPECT_STREQ(LoadDialogText(e.id, Language::Japanese), e.japanese);
    }
}

// Only the Japanese "every" label is absent; every other text exists in both languages.
TEST(DialogTextsTest, NoOtherTextIsEmpty) {
    for (int i = 0; i < static_cast<int>(DialogTextId::Count); ++i) {
        const auto id = static_cast<DialogTextId>(i);
        SCOPED_TRACE(i);
        EXPECT_STRNE(LoadDialogText(id, Language::English), "");
        if (id != DialogTextId::IntervalEvery) {
            EXPECT_STRNE(LoadDialogText(id, Language::Japanese), "");
        }
    }
    EXPECT_STREQ(LoadDialogText(DialogTextId::Count, Language::English), "");
}

TEST(DialogTextsTest, FontFollowsTheLanguage) {
    EXPECT_STREQ(DialogFontName(Language::English), "Arial");
    EXPECT_STREQ(DialogFontName(Language::Japanese), "ＭＳ Ｐゴシック");
}

}  // namespace
