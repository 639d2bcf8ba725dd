// Picks the resource language from the language part of a locale name.
#include "resources/Language.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

Language LanguageFromLocaleName(std::string_view localeName) {
    // language[_territory][.codeset][@modifier], or language-territory as in BCP 47
    const std::string_view language = localeName.substr(0, localeName.find_first_of("_-.@"));
    if (EqualsIgnoringCase(language, "ja") || EqualsIgnoringCase(language, "Japanese")) {
        return Language::Japanese;
    }
    return Language::English;
}
