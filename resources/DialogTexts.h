// DialogTextId: the texts of the dialogs in English and Japanese, and the dialogs' font.
#pragma once

#include "resources/Language.h"

// One entry per text a dialog shows, grouped by dialog.
enum class DialogTextId {
    // 100, the About box (AboutNote is its second line)
    AboutTitle,
    AboutVersion,
    AboutNote,
    // OK buttons of every dialog
    Ok,
    // 130, the port choice
    ComPortTitle,
    ComPortCancel,
    // 131, site and edge angle
    MeasSettingTitle,
    MeasSettingLongitude,
    MeasSettingLatitude,
    MeasSettingEdgeAngle,
    MeasSettingCancel,
    // 133, interval measurement set-up
    IntervalTitle,
    IntervalStart,
    IntervalCancel,
    IntervalUserDefine,
    IntervalAutomatic,
    IntervalRef,
    IntervalFrom,
    IntervalTo,
    IntervalColon,
    IntervalMin,
    IntervalEvery,
    IntervalFileName,
    IntervalDataMemo,
    IntervalAutoStart,
    // 134, graph settings
    GraphSettingTitle,
    GraphTitleLabel,
    GraphYAxis,
    GraphAutoscale,
    GraphLog,
    GraphUnitWatt,
    GraphUnitPhoton,
    GraphGrid,
    GraphMarker,
    GraphRangeTo,
    GraphNm,
    GraphPreview,
    GraphCancel,
    // 135, sensor information
    SensorInfoTitle,
    SensorInfoClose,
    // 136, interval progress
    IntervalProgressTitle,
    IntervalProgressBreak,
    // 137, measurement progress
    MeasProgressTitle,
    MeasProgressText,
    MeasProgressBreak,
    // 138, data memo
    DataMemoTitle,
    DataMemoCancel,
    // The checks of the dialogs' number and text fields
    ValidateInteger,
    ValidateNumber,
    ValidateIntegerRange,
    ValidateNumberRange,
    ValidateTextLength,
    // The About box's line naming the home folder
    AboutHomeFolder,
    Count
};

// The text in lang (UTF-8, static storage). An empty text means the control is not shown in
// that language (the Japanese interval dialog has no "every" label). The validation messages
// use %1 and %2 for the limits.
const char* LoadDialogText(DialogTextId id, Language lang);

// "Arial" for English dialogs, "ＭＳ Ｐゴシック" for Japanese ones.
const char* DialogFontName(Language lang);
