// The resource language chosen from locale names.
#include <gtest/gtest.h>

#include "resources/Language.h"

namespace {

TEST(LanguageTest, JapaneseOnlyForJapaneseLocaleNames) {
    const struct {
        const char* name;
        Language expected;
    } cases[] = {
        {"ja_JP.UTF-8", Language::Japanese},
        {"ja_JP", Language::Japanese},
        {"ja-JP", Language::Japanese},
        {"ja", Language::Japanese},
        {"JA_jp.eucJP", Language::Japanese},
        {"ja_JP@cjknarrow", Language::Japanese},
        {"Japanese_Japan.932", Language::Japanese},
        {"en_US.UTF-8", Language::English},
        {"de_DE.UTF-8", Language::English},
        {"jam", Language::English},  // Jamaican Creole, not Japanese
        {"j", Language::English},
        {"C", Language::English},
        {"POSIX", Language::English},
        {"", Language::English},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageFromLocaleName(c.name), c.expected) << '"' << c.name << '"';
    }
}

}  // namespace
