// The string table: every text by number in English and Japanese, and its printf-style use.
#pragma once

#include <span>
#include <string>

#include "resources/Language.h"
#include "resources/ResourceIds.h"

// The text of string id in lang (UTF-8, static storage); "" when the table has no such id.
const char* LoadResString(unsigned id, Language lang);
bool HasResString(unsigned id);
// Every id of the table, ascending.
std::span<const unsigned> ResStringIds();

// The text of id used as a printf format with the given arguments, numbers in the "C" locale
// (61464: two doubles, the lowest and highest wavelength).
std::string FormatResString(unsigned id, Language lang, ...);

// A progress line of the measurement: the text of id, a blank, the exposure and " msec"
// (61458 and 61459: "-- Measurement --\nExposure 100 msec").
std::string ExposureProgressText(unsigned id, Language lang, int exposureMs);

// A command prompt's two halves: the status-bar text before the first "\n" and the tooltip
// after it (empty when the text has no "\n").
struct CommandPrompt {
    std::string statusText;
    std::string toolTip;
};
CommandPrompt LoadCommandPrompt(unsigned id, Language lang);
