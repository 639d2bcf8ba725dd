// The resource language chosen from locale names.
#include <gtest/gtest.h>

#include "resources/Language.h"

namespace {

// "jam" is Jamaican Creole, not Japanese.
TEST(LanguageTest, JapaneseOnlyForJapaneseLocaleNames) {
    for (const char* name : {"ja_JP.UTF-8", "ja_JP", "ja-JP", "ja", "JA_jp.eucJP",
                             "ja_JP@cjknarrow", "Japanese_Japan.932"}) {
        EXPECT_EQ(LanguageFromLocaleName(name), Language::Japanese) << '"' << name << '"';
    }
    for (const char* name : {"en_US.UTF-8", "de_DE.UTF-8", "jam", "j", "C", "POSIX", ""}) {
        EXPECT_EQ(LanguageFromLocaleName(name), Language::English) << '"' << name << '"';
    }
}

}  // namespace
