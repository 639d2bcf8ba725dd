// CLocaleScope: the calling thread in the "C" locale for the lifetime of the object.
#pragma once

#include <locale.h>

#include "data/NonCopyable.h"

// Number formatting and parsing inside the scope write and read a decimal point, whatever
// locale the user runs under.
class CLocaleScope : CNonCopyable {
public:
    CLocaleScope();
    ~CLocaleScope();

    // The "C" locale object, made once (for the *_l functions).
    static locale_t CLocale();

private:
    locale_t m_previous = static_cast<locale_t>(nullptr);
};
