// Language: the two languages of the resource texts, and the choice of one from a locale name.
#pragma once

#include <string_view>

enum class Language { English, Japanese };

// Japanese when the locale name names the Japanese language ("ja_JP.UTF-8", "ja_JP", "ja-JP",
// "ja", "Japanese_Japan.932"), English for anything else, including "C", "POSIX" and "".
// The caller passes the name it got from the window system or the environment (for example
// QLocale::system().name(), or LC_ALL / LC_MESSAGES / LANG in that order); the core never looks.
Language LanguageFromLocaleName(std::string_view localeName);
